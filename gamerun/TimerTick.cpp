#include "gamerun/TimerTick.h"

#include <windows.h>

#include "core/MediaLog.h"
#include "gamerun/EndGame.h"
#include "gamerun/RunState.h"

namespace {
// True while the game process still runs.
bool GiocoInCorso() {
    return ProcessoGioco.hProcess != nullptr &&
           WaitForSingleObject(static_cast<HANDLE>(ProcessoGioco.hProcess), 0) == WAIT_TIMEOUT;
}
}  // namespace

bool ControllaFineGioco() {
    if (!TimerAbilitato) return false;
    if (!GiocoInCorso()) {
        StampaLog("Tomb Raider program is terminated");
        StampaLog("EndGameConfig()");
        CambiaTabulatoreLog(1);
        EndGameConfig();
        CambiaTabulatoreLog(-1);
        return true;
    }
    return false;
}

bool IsPreviewMode() { return FuoriGioco; }
