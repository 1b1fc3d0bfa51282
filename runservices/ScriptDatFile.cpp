#include "runservices/ScriptDatFile.h"

namespace {

int16_t I16(const std::string& dati, size_t posizione) {
    const auto basso = static_cast<uint8_t>(dati[posizione]);
    const auto alto = static_cast<uint8_t>(dati[posizione + 1]);
    return static_cast<int16_t>(static_cast<uint16_t>(basso | (alto << 8)));
}

bool Fallito(std::string& motivo, const std::string& testo) {
    motivo = testo;
    return false;
}

}  // namespace

bool AnalizzaScriptDat(const std::string& dati, TabelleScriptDat& tabelle, std::string& motivo) {
    tabelle = TabelleScriptDat{};
    motivo.clear();
    const size_t n = dati.size();
    if (n < LunghezzaHeaderScriptDat)
        return Fallito(motivo, "the file has " + std::to_string(n) + " bytes, fewer than its " +
                                   std::to_string(LunghezzaHeaderScriptDat) + "-byte header");
    const int32_t livelli = static_cast<uint8_t>(dati[OffsetNumLivelliScriptDat]);
    const int32_t percorsi = I16(dati, OffsetNumPercorsiScriptDat);
    const int32_t lunghezza = I16(dati, OffsetBloccoPercorsiScriptDat);
    if (percorsi <= 0) return Fallito(motivo, "it names " + std::to_string(percorsi) + " level paths");
    if (percorsi > livelli)
        return Fallito(motivo, "it names " + std::to_string(percorsi) + " level paths but only " +
                                   std::to_string(livelli) + " levels");
    if (lunghezza < 0)
        return Fallito(motivo, "its path block has the negative length " + std::to_string(lunghezza));

    // All sizes below are bounded by 16-bit counts: no sum can overflow.
    const size_t inizioOffsetPercorsi = LunghezzaHeaderScriptDat;
    const size_t inizioPercorsi = inizioOffsetPercorsi + 2 * static_cast<size_t>(percorsi);
    const size_t inizioOffsetLivelli = inizioPercorsi + static_cast<size_t>(lunghezza);
    const size_t inizioLivelli = inizioOffsetLivelli + 2 * static_cast<size_t>(livelli);
    if (inizioPercorsi > n) return Fallito(motivo, "its path offset table runs past the end of the file");
    if (inizioOffsetLivelli > n) return Fallito(motivo, "its path block runs past the end of the file");
    if (inizioLivelli > n) return Fallito(motivo, "its level offset table runs past the end of the file");

    for (int32_t i = 0; i < percorsi; ++i) {
        const int32_t offset = I16(dati, inizioOffsetPercorsi + 2 * static_cast<size_t>(i));
        if (offset < 0 || offset >= lunghezza)
            return Fallito(motivo, "the offset " + std::to_string(offset) + " of level path " + std::to_string(i) +
                                       " lies outside its path block of " + std::to_string(lunghezza) + " bytes");
    }
    for (int32_t i = 1; i < percorsi; ++i) {
        const int16_t prima = I16(dati, inizioOffsetLivelli + 2 * static_cast<size_t>(i - 1));
        const int16_t dopo = I16(dati, inizioOffsetLivelli + 2 * static_cast<size_t>(i));
        if (dopo <= prima)
            return Fallito(motivo, "the offset of level block " + std::to_string(i) +
                                       " does not follow the one before it");
    }
    tabelle.NumLivelli = livelli;
    tabelle.NumPercorsi = percorsi;
    tabelle.LunghezzaPercorsi = lunghezza;
    tabelle.InizioOffsetPercorsi = inizioOffsetPercorsi;
    tabelle.InizioPercorsi = inizioPercorsi;
    tabelle.InizioOffsetLivelli = inizioOffsetLivelli;
    tabelle.InizioLivelli = inizioLivelli;
    return true;
}

bool PercorsiScriptDat(const std::string& dati, std::vector<std::string>& percorsi, std::string& motivo) {
    percorsi.clear();
    TabelleScriptDat t;
    if (!AnalizzaScriptDat(dati, t, motivo)) return false;
    const size_t fineBlocco = t.InizioPercorsi + static_cast<size_t>(t.LunghezzaPercorsi);
    std::vector<std::string> letti;
    letti.reserve(static_cast<size_t>(t.NumPercorsi));
    for (int32_t i = 0; i < t.NumPercorsi; ++i) {
        const size_t inizio = t.InizioPercorsi + static_cast<size_t>(I16(dati, t.InizioOffsetPercorsi + 2 * static_cast<size_t>(i)));
        // A string without its NUL ends with the block.
        size_t fine = inizio;
        while (fine < fineBlocco && dati[fine] != '\0') ++fine;
        letti.push_back(dati.substr(inizio, fine - inizio));
    }
    percorsi = std::move(letti);
    return true;
}

int32_t CdTitoloScriptDat(const std::string& dati, std::string& motivo) {
    TabelleScriptDat t;
    if (!AnalizzaScriptDat(dati, t, motivo)) return -1;
    if (dati.size() - t.InizioLivelli < LunghezzaInizioTitolo) {
        motivo = "the title level's block is cut short by the end of the file";
        return -1;
    }
    const auto primo = static_cast<uint8_t>(dati[t.InizioLivelli]);
    const int32_t cd = static_cast<uint8_t>(dati[t.InizioLivelli + OffsetCdTitolo]);
    if (primo != CodiceInizioTitolo) {
        motivo = "the title level's block does not start with the title code";
        return -1;
    }
    if (cd > MassimoCdTitolo) {
        motivo = "the title level's CD track " + std::to_string(cd) + " is not a track";
        return -1;
    }
    return cd;
}

bool ChecksumScriptDat(const std::string& dati, int32_t& checksum) {
    checksum = 0;
    if (dati.empty()) return false;
    uint32_t somma = 0;
    for (const char c : dati) somma += static_cast<uint8_t>(c);
    const uint32_t s = somma & 0xFF;
    checksum = static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint8_t>(dati[0])) * 65536 + s * 256 + (s ^ 0x55));
    return true;
}
