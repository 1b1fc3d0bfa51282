#include "gamerun/Principale.h"

#include <windows.h>

#include "core/MediaLog.h"
#include "gamerun/EndGame.h"
#include "runservices/GameWindow.h"
#include "runservices/RunState.h"
#include "gamerun/Startup.h"
#include "gamerun/TimerTick.h"

Principale::Principale()
    : Form("LudovaneMain", "Ludovane"), Timer1(*this, 200, true, [this] { Timer1_Timer(); }) {}

Principale& FormPrincipale() {
    static Principale principale;
    return principale;
}

namespace {
// The start runs inside the load event; a close from outside while it pumps
// events unloads the window under it.
bool AvvioInCorso = false;
bool ChiusoDaFuori = false;
}  // namespace

void Principale::Form_Load() {
    if (IstanzaPrecedente()) {
        Unload();
        return;
    }
    AvvioInCorso = true;
    AvvioProgramma();
    AvvioInCorso = false;
}

void Principale::Form_QueryUnload(int16_t& Cancel, int16_t UnloadMode) {
    StampaLog("Required unload for Principale");
    if (UnloadMode != UnloadDaCodice) ChiusoDaFuori = true;
    if (UnloadMode == UnloadDaTaskManager) {
        StampaLog("Required to close program from task manager");
        if (HaBit(ModificheAvvio, GiocoConfigurato)) ChiudiGioco();
        Cancel = 0;
    }
}

void Principale::Form_Unload(int16_t& Cancel) {
    // The end already runs under this close: it unloads the window itself
    // once everything is given back.
    if (FineRunInCorso()) {
        Cancel = 1;
        return;
    }
    // Also a start closed before it was configured has changed the desktop.
    if (FineRunInSospeso()) {
        StampaLog("WARNING: abnormal termination");
        StampaLog("EndGameConfig()");
        CambiaTabulatoreLog(1);
        EndGameConfig();
        CambiaTabulatoreLog(-1);
    }
    for (Form* f : FormsAperti())
        if (f != this) f->Unload();
    // Closed while the start pumps events: the start must not go on to
    // change again what was just given back, nor launch the game.
    if (AvvioInCorso && ChiusoDaFuori) {
        ScriviBufferLog(true);
        ExitProcess(0);
    }
}

void Principale::Timer1_Timer() {
    if (ControllaFineGioco()) Unload();
}
