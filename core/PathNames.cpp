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

std::string NellaCartella(const std::string& cartella, const std::string& nome) {
    if (cartella.empty()) return nome;
    return cartella.back() == '\\' ? cartella + nome : cartella + "\\" + nome;
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

bool IsNomeSavegame(const std::string& percorso) {
    if (!UgualeSenzaCaso(NomeSenzaEstensione(percorso), "savegame")) return false;
    const std::string estensione = EstensioneFile(NomeFileDaPercorso(percorso));
    const std::string numero = estensione.empty() ? std::string() : estensione.substr(1);
    if (numero.empty() || numero.find_first_not_of("0123456789") != std::string::npos) return false;
    // Leading zeros do not change the number; a long one is out of range.
    const size_t cifra = numero.find_first_not_of('0');
    const std::string valore = cifra == std::string::npos ? "0" : numero.substr(cifra);
    return valore.size() <= 2 && std::stoi(valore) < NumSlotSavegame;
}
