#include "eventlogger/LoggerProtocol.h"

#include <cstring>

namespace {
const char* const NomiEventi[NumeroEventi] = {
    "NULL",          "PreLoading",     "EndLoading",      "StartCDSound",  "EndCDSound",     "GetVideoExclusive",
    "GetVideoShared", "MovedWindow",   "LoadingLevel",    "HangGame",      "ResumeGame",     "EndGame",
    "Error",         "StartInventory", "EndInventory",    "BootScreen",    "StartChangeMode", "EndChangeMode",
    "OverflowBuffer", "AlreadyInScene", "Time_Init",      "ReceivedWMClose", "LoadSavegame",
};
}  // namespace

const char* NomeEvento(int codice) {
    if (codice < 0 || codice >= NumeroEventi) return "?";
    return NomiEventi[codice];
}

std::string NomiFasi(uint8_t fasi) {
    struct Nome {
        uint8_t bit;
        const char* testo;
    };
    static const Nome ordine[] = {{ABORT_LOG, "ABORT_LOG "},       {CreatedWindow, "CreatedWindow "},
                                  {HangGame, "HangGame "},         {Inventory, "Inventory "},
                                  {LoadingLevel, "LoadingLevel "}, {ChangingMode, "ChangingMode "},
                                  {SharedMode, "SharedMode "}};
    std::string testo;
    for (const Nome& n : ordine)
        if (fasi & n.bit) testo += n.testo;
    return testo;
}

std::vector<uint8_t> ScriviLoggerBin(const LoggerBin& bin) {
    const size_t quanti = bin.NomiLivelli.size() > static_cast<size_t>(MaxNomiLivelli)
                              ? static_cast<size_t>(MaxNomiLivelli)
                              : bin.NomiLivelli.size();
    std::vector<uint8_t> dati(sizeof(LoggerBinHeader) + quanti * DimensioneNomeLivello, ' ');
    LoggerBinHeader testa{static_cast<int32_t>(quanti), bin.TempoBaseLog};
    std::memcpy(dati.data(), &testa, sizeof testa);
    for (size_t i = 0; i < quanti; ++i) {
        const std::string& nome = bin.NomiLivelli[i];
        const size_t n = nome.size() < DimensioneNomeLivello - 1 ? nome.size() : DimensioneNomeLivello - 1;
        uint8_t* campo = dati.data() + sizeof testa + i * DimensioneNomeLivello;
        std::memcpy(campo, nome.data(), n);
        campo[n] = 0;
    }
    return dati;
}

bool LeggiLoggerBin(const uint8_t* dati, size_t dimensione, LoggerBin& bin, std::string& errore) {
    bin = LoggerBin{};
    if (dati == nullptr || dimensione < sizeof(LoggerBinHeader)) {
        errore = "file shorter than its header";
        return false;
    }
    LoggerBinHeader testa;
    std::memcpy(&testa, dati, sizeof testa);
    if (testa.NumeroLivelli < 0) {
        errore = "negative number of levels";
        return false;
    }
    int32_t quanti = testa.NumeroLivelli > MaxNomiLivelli ? MaxNomiLivelli : testa.NumeroLivelli;
    if (sizeof testa + static_cast<size_t>(quanti) * DimensioneNomeLivello > dimensione) {
        errore = "file shorter than the names its count announces";
        return false;
    }
    bin.TempoBaseLog = testa.TempoBaseLog;
    for (int32_t i = 0; i < quanti; ++i) {
        const char* campo = reinterpret_cast<const char*>(dati + sizeof testa + i * DimensioneNomeLivello);
        size_t n = 0;
        while (n < DimensioneNomeLivello - 1 && campo[n] != 0) ++n;
        bin.NomiLivelli.emplace_back(campo, n);
    }
    return true;
}

LoggerStructure StrutturaIniziale() { return LoggerStructure{0, 0, NessunValore, NessunValore, EventoNullo, 0, 0}; }

bool StruttureUguali(const LoggerStructure& a, const LoggerStructure& b) {
    return a.Fasi == b.Fasi && a.CdTrack == b.CdTrack && a.Livello == b.Livello && a.Codice == b.Codice &&
           a.ValoreX == b.ValoreX && a.ValoreY == b.ValoreY;
}
