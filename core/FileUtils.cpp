#include "core/FileUtils.h"

#include <windows.h>

#include "core/TextUtils.h"

std::string PulisciStringa(const std::string& testo) {
    std::string s = testo;
    for (char& c : s)
        if (c == '\0') c = ' ';
    return Trim(s);
}

bool EsisteFile(const std::string& percorso) {
    if (PulisciStringa(percorso).empty()) return false;
    WIN32_FIND_DATAA dati;
    HANDLE h = FindFirstFileA(percorso.c_str(), &dati);
    if (h == INVALID_HANDLE_VALUE) return false;
    bool trovato = false;
    do {
        if (!(dati.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) trovato = true;
    } while (FindNextFileA(h, &dati));
    FindClose(h);
    return trovato;
}

bool CancellaFile(const std::string& percorso) {
    if (!EsisteFile(percorso)) return true;
    const DWORD attributi = GetFileAttributesA(percorso.c_str());
    if (attributi != INVALID_FILE_ATTRIBUTES && (attributi & FILE_ATTRIBUTE_READONLY)) {
        if (!SetFileAttributesA(percorso.c_str(), FILE_ATTRIBUTE_ARCHIVE)) return false;
    }
    return DeleteFileA(percorso.c_str()) != 0;
}

bool EsisteCartella(const std::string& percorso) {
    if (Trim(percorso).empty()) return false;
    const DWORD attributi = GetFileAttributesA(percorso.c_str());
    return attributi != INVALID_FILE_ATTRIBUTES && (attributi & FILE_ATTRIBUTE_DIRECTORY);
}

bool CreaCartella(const std::string& percorso) {
    if (EsisteCartella(percorso)) return true;
    return CreateDirectoryA(percorso.c_str(), nullptr) != 0;
}

std::string NomeFileDaPercorso(const std::string& percorso) {
    const size_t p = percorso.find_last_of("\\:");
    return p == std::string::npos ? percorso : percorso.substr(p + 1);
}

std::string CartellaDaPercorso(const std::string& percorso) {
    const size_t p = percorso.find_last_of('\\');
    return p == std::string::npos ? std::string() : percorso.substr(0, p);
}
