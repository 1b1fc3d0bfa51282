#include "tests/support/TestFolders.h"

#include <windows.h>

#include <cstdio>

CartellaProva::CartellaProva(const std::string& prefisso) {
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    static unsigned contatore = 0;
    for (;;) {
        char nome[MAX_PATH];
        std::snprintf(nome, sizeof nome, "%s%s%lu_%u", temp, prefisso.c_str(), GetCurrentProcessId(), ++contatore);
        if (CreateDirectoryA(nome, nullptr)) {
            percorso_ = nome;
            break;
        }
    }
}

CartellaProva::~CartellaProva() { RimuoviAlbero(percorso_); }

void RimuoviAlbero(const std::string& percorso) {
    WIN32_FIND_DATAA d;
    HANDLE h = FindFirstFileA((percorso + "\\*").c_str(), &d);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            const std::string nome = d.cFileName;
            if (nome == "." || nome == "..") continue;
            const std::string figlio = percorso + "\\" + nome;
            if (d.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RimuoviAlbero(figlio);
            } else {
                SetFileAttributesA(figlio.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(figlio.c_str());
            }
        } while (FindNextFileA(h, &d));
        FindClose(h);
    }
    RemoveDirectoryA(percorso.c_str());
}

std::string LeggiFileProva(const std::string& percorso) {
    std::string s;
    if (FILE* f = std::fopen(percorso.c_str(), "rb")) {
        char buf[4096];
        size_t n;
        while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) s.append(buf, n);
        std::fclose(f);
    }
    return s;
}

bool ScriviFileProva(const std::string& percorso, const std::string& contenuto) {
    FILE* f = std::fopen(percorso.c_str(), "wb");
    if (!f) return false;
    const bool ok = std::fwrite(contenuto.data(), 1, contenuto.size(), f) == contenuto.size();
    return std::fclose(f) == 0 && ok;
}

bool EsisteFileProva(const std::string& percorso) {
    return GetFileAttributesA(percorso.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string CartellaTest() {
    char p[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, p, MAX_PATH);
    std::string s = p;
    return s.substr(0, s.find_last_of('\\'));
}

std::string CartellaProgrammi() { return CartellaTest(); }
