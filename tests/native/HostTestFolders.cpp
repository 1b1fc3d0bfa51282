// The test folders on the host. Tests join names with a backslash, as on
// Windows; here such a name is a file of one real folder, so Percorso() is
// a prefix inside that folder and everything joined to it goes with it.
#include "tests/support/TestFolders.h"

#include <ftw.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

namespace {
std::string CartellaReale(const std::string& percorso) { return percorso.substr(0, percorso.find_last_of('/')); }

int Rimuovi(const char* percorso, const struct stat*, int, struct FTW*) { return ::remove(percorso); }
}  // namespace

CartellaProva::CartellaProva(const std::string& prefisso) {
    std::string modello = "/tmp/" + prefisso + "XXXXXX";
    if (char* creata = mkdtemp(modello.data())) percorso_ = std::string(creata) + "/c";
}

CartellaProva::~CartellaProva() {
    if (!percorso_.empty()) RimuoviAlbero(CartellaReale(percorso_));
}

void RimuoviAlbero(const std::string& percorso) {
    nftw(percorso.c_str(), Rimuovi, 16, FTW_DEPTH | FTW_PHYS);
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
    struct stat s;
    return stat(percorso.c_str(), &s) == 0;
}

std::string CartellaTest() {
    char p[4096] = {};
    const ssize_t n = readlink("/proc/self/exe", p, sizeof p - 1);
    return n > 0 ? CartellaReale(std::string(p, static_cast<size_t>(n))) : std::string(".");
}

std::string CartellaProgrammi() { return CartellaTest(); }
