#include "savegames/SavegameFile.h"

#include <windows.h>

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
