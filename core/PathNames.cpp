#include "core/PathNames.h"

#include "core/TextUtils.h"

std::string PulisciStringa(const std::string& testo) {
    std::string s = testo;
    for (char& c : s)
        if (c == '\0') c = ' ';
    return Trim(s);
}

std::string NomeFileDaPercorso(const std::string& percorso) {
    const size_t p = percorso.find_last_of("\\:");
    return p == std::string::npos ? percorso : percorso.substr(p + 1);
}

std::string CartellaDaPercorso(const std::string& percorso) {
    const size_t p = percorso.find_last_of('\\');
    return p == std::string::npos ? std::string() : percorso.substr(0, p);
}

std::string EstensioneFile(const std::string& nomeFile) {
    const size_t p = nomeFile.find_last_of('.');
    return p == std::string::npos ? std::string() : nomeFile.substr(p);
}

std::string TogliEstensione(const std::string& nomeFile) {
    const size_t p = nomeFile.find_last_of('.');
    return p == std::string::npos ? nomeFile : nomeFile.substr(0, p);
}

std::string NomeSenzaEstensione(const std::string& percorso) { return TogliEstensione(NomeFileDaPercorso(percorso)); }

std::string CambiaEstensione(const std::string& nomeFile, const std::string& estensione) {
    const size_t p = nomeFile.find_last_of('.');
    // A name without a dot after its first character keeps its text.
    if (p == std::string::npos || p == 0) return nomeFile + estensione;
    return nomeFile.substr(0, p) + estensione;
}
