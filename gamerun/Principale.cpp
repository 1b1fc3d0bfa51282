#include "gamerun/Principale.h"

#include "core/MediaLog.h"
#include "gamerun/EndGame.h"
#include "gamerun/GameWindow.h"
#include "gamerun/RunState.h"
#include "gamerun/Startup.h"
#include "gamerun/TimerTick.h"

Principale::Principale()
    : Form("LudovaneMain", "Ludovane"), Timer1(*this, 200, true, [this] { Timer1_Timer(); }) {}

Principale& FormPrincipale() {
    static Principale principale;
    return principale;
}

void Principale::Form_Load() {
    if (IstanzaPrecedente()) {
        Unload();
        return;
    }
    AvvioProgramma();
}

void Principale::Form_QueryUnload(int16_t& Cancel, int16_t UnloadMode) {
    StampaLog("Required unload for Principale");
    if (UnloadMode == UnloadDaTaskManager) {
        StampaLog("Required to close program from task manager");
        if (HaBit(ModificheAvvio, GiocoConfigurato)) ChiudiGioco();
        Cancel = 0;
    }
}

void Principale::Form_Unload(int16_t& Cancel) {
    if (HaBit(ModificheAvvio, GiocoConfigurato)) {
        StampaLog("WARNING: abnormal termination");
        StampaLog("EndGameConfig()");
        CambiaTabulatoreLog(1);
        EndGameConfig();
        CambiaTabulatoreLog(-1);
    }
    for (Form* f : FormsAperti())
        if (f != this) f->Unload();
}

void Principale::Timer1_Timer() {
    if (ControllaFineGioco()) Unload();
}
