// The test folders of the host build: under the host's temporary folder,
// with the program's "\" paths mapped as the host platform maps them.
#include <ftw.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "tests/native/HostPlatform.h"
#include "tests/support/TestFolders.h"

CartellaProva::CartellaProva(const std::string& prefisso) {
    const char* temp = std::getenv("TMPDIR");
    std::string modello = std::string(temp && *temp ? temp : "/tmp") + "/" + prefisso + "XXXXXX";
    if (mkdtemp(modello.data())) percorso_ = modello;
}

CartellaProva::~CartellaProva() { RimuoviAlbero(percorso_); }

void RimuoviAlbero(const std::string& percorso) {
    if (percorso.empty()) return;
    nftw(
        PercorsoHost(percorso).c_str(),
        [](const char* p, const struct stat*, int, struct FTW*) { return std::remove(p); }, 16, FTW_DEPTH | FTW_PHYS);
}

std::string LeggiFileProva(const std::string& percorso) {
    std::string s;
    if (std::FILE* f = std::fopen(PercorsoHost(percorso).c_str(), "rb")) {
        char buf[4096];
        size_t n;
        while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) s.append(buf, n);
        std::fclose(f);
    }
    return s;
}

bool ScriviFileProva(const std::string& percorso, const std::string& contenuto) {
    std::FILE* f = std::fopen(PercorsoHost(percorso).c_str(), "wb");
    if (!f) return false;
    const bool ok = std::fwrite(contenuto.data(), 1, contenuto.size(), f) == contenuto.size();
    return std::fclose(f) == 0 && ok;
}

bool EsisteFileProva(const std::string& percorso) { return access(PercorsoHost(percorso).c_str(), F_OK) == 0; }

std::string CartellaTest() {
    char p[4096] = {};
    const ssize_t n = readlink("/proc/self/exe", p, sizeof p - 1);
    const std::string s = n > 0 ? std::string(p, static_cast<size_t>(n)) : std::string(".");
    return s.substr(0, s.find_last_of('/'));
}

std::string CartellaProgrammi() { return CartellaTest(); }
