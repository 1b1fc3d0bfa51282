#include "gamerun/ScriptDat.h"

#include "core/FileUtils.h"
#include "core/MediaLog.h"
#include "core/SystemUtils.h"
#include "core/TextUtils.h"
#include "gamerun/RunState.h"

std::string PercorsoFileTr4(int32_t livello) {
    if (livello >= 0 && livello < NumLivelli && livello < static_cast<int32_t>(FileLivelli.size()))
        return FileLivelli[static_cast<size_t>(livello)];
    StampaLog("WARNING: not valid level number in PercorsoFileTr4(): " + std::to_string(livello));
    return "";
}

namespace {
std::string PercorsoScriptDat() { return Trim(CartellaTrle) + "\\script.dat"; }

int32_t Int16Le(const std::string& b, size_t p) {
    return static_cast<int16_t>(static_cast<uint8_t>(b[p]) | (static_cast<uint8_t>(b[p + 1]) << 8));
}
}  // namespace

int32_t CercaCdTitolo() {
    const std::string percorso = PercorsoScriptDat();
    std::string b;
    if (!EsisteFile(percorso) || !LeggiFileIntero(percorso, b)) {
        StampaLog("ERROR: non found script.dat in : " + percorso, true);
        return -1;
    }
    const auto fallito = [&] {
        StampaLog("ERROR: searching title cd in: " + percorso, true);
        return -1;
    };
    if (b.size() < 56) return fallito();
    const int32_t livelli = static_cast<uint8_t>(b[9]);
    const int32_t percorsi = Int16Le(b, 10);
    const int32_t blocco = Int16Le(b, 12);
    // Every table is bounded by the file: a count past it is a damaged file.
    if (percorsi <= 0 || blocco < 0 || percorsi > livelli) return fallito();
    const size_t offsetLivelli = 56 + 2 * static_cast<size_t>(percorsi) + static_cast<size_t>(blocco);
    const size_t inizio = offsetLivelli + 2 * static_cast<size_t>(livelli);
    if (inizio + 37 > b.size()) return fallito();
    for (int32_t i = 1; i < percorsi; ++i)
        if (Int16Le(b, offsetLivelli + 2 * i) <= Int16Le(b, offsetLivelli + 2 * (i - 1))) return fallito();
    const uint8_t cd = static_cast<uint8_t>(b[inizio + 36]);
    if (static_cast<uint8_t>(b[inizio]) != 0x91 || cd > 111) return fallito();
    return cd;
}

int32_t ComputeCheckSumScriptDat(bool& Errore) {
    Errore = false;
    const std::string percorso = PercorsoScriptDat();
    std::string b;
    if (!EsisteFile(percorso) || !LeggiFileIntero(percorso, b) || b.empty()) {
        Messaggio("ERROR: not found script.dat file in: " + percorso, StileErroreCritico);
        Errore = true;
        return 0;
    }
    uint32_t somma = 0;
    for (char c : b) somma += static_cast<uint8_t>(c);
    const uint32_t s = somma & 0xFF;
    return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint8_t>(b[0])) * 65536 + s * 256 + (s ^ 0x55));
}
