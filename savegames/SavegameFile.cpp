#include "savegames/SavegameFile.h"

#include <windows.h>

#include <algorithm>

#include "core/FileUtils.h"
#include "core/MediaLog.h"
#include "core/SharedState.h"
#include "core/TextUtils.h"

bool IsPathSavegame(const std::string& percorso, bool saltaCartella) {
    const bool valido = (saltaCartella || UgualeSenzaCaso(CartellaDaPercorso(percorso), Trim(CartellaTrle))) &&
                        IsNomeSavegame(percorso);
    // Outside a run (preview mode) nothing is reported.
    if (!valido && !saltaCartella && !FuoriGioco)
        StampaLog("WARNING: file path \"" + percorso + "\" is not a valid path for savegame");
    return valido;
}

void CancellaSavegameCartella(const std::string& cartella) {
    for (int32_t n = 0; n < NumSlotSavegame; ++n) {
        const std::string file = cartella + "\\savegame." + std::to_string(n);
        if (EsisteFile(file)) CancellaFile(file);
    }
}

int32_t LeggiValoreSavegame(const std::string& dati, int32_t dimensione, int32_t offset) {
    if (offset < 0 || (dimensione != 1 && dimensione != 2 && dimensione != 4) ||
        static_cast<int64_t>(offset) + dimensione > static_cast<int64_t>(dati.size()))
        return 0;
    const auto byte = [&](int32_t i) { return static_cast<uint32_t>(static_cast<uint8_t>(dati[offset + i])); };
    if (dimensione == 1) return static_cast<int32_t>(byte(0));
    if (dimensione == 2) return static_cast<int16_t>(byte(0) | byte(1) << 8);
    return static_cast<int32_t>(byte(0) | byte(1) << 8 | byte(2) << 16 | byte(3) << 24);
}

std::string VerificaFileSavegame(const std::string& percorso) {
    std::string dati;
    std::string titolo = "<NOT READABLE>";
    int32_t numero = -1;
    if (LeggiFileIntero(percorso, dati, DimensioneSavegame) && dati.size() > OffsetNumeroSavegame + 1) {
        titolo = dati.substr(0, std::min<size_t>(65, dati.size()));
        titolo = titolo.substr(0, titolo.find('\0'));
        numero = LeggiValoreSavegame(dati, 2, OffsetNumeroSavegame);
    }
    return NomeFileDaPercorso(percorso) + " [" + std::to_string(numero) + ": " + titolo + "]";
}
