#include "gamerun/TimerTick.h"

#include <windows.h>

#include "core/MediaLog.h"
#include "gamerun/EndGame.h"
#include "gamerun/GameWindow.h"
#include "gamerun/RunState.h"

bool ControllaFineGioco() {
    if (!TimerAbilitato) return false;
    if (!RichiestaAbort()) {
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

void AbilitaTimerPrincipale() { TimerAbilitato = true; }

void DisabilitaTimerPrincipale() { TimerAbilitato = false; }
