#include "runservices/GameFocus.h"

#include <windows.h>

#include "core/MediaLog.h"
#include "runservices/Desktop.h"
#include "runservices/DisplayModes.h"
#include "runservices/GameWindow.h"
#include "runservices/KeyboardHook.h"
#include "runservices/PlayerKeys.h"
#include "runservices/RunState.h"
#include "platform/Clock.h"
#include "platform/Forms.h"

namespace {

// The wake-up gives the focus again through this routine: inside it the game
// is activated directly, so that a wake-up can never call itself.
bool RisveglioInCorso = false;

// How long Windows 9x may take to paint the back cover over the game.
constexpr uint32_t AttesaSchermoNero = 3000;

struct RicercaFinestra {
    DWORD pid;
    HWND trovata;
};

BOOL CALLBACK CercaFinestraProcesso(HWND h, LPARAM valore) {
    auto* ricerca = reinterpret_cast<RicercaFinestra*>(valore);
    DWORD pid = 0;
    GetWindowThreadProcessId(h, &pid);
    if (pid != ricerca->pid || !IsWindowVisible(h) || GetWindow(h, GW_OWNER) != nullptr) return TRUE;
    ricerca->trovata = h;
    return FALSE;
}

}  // namespace

void AttivaApplicazione(uint32_t pid) {
    HWND finestra = static_cast<HWND>(FinestraGioco);
    DWORD pidFinestra = 0;
    GetWindowThreadProcessId(finestra, &pidFinestra);
    if (pidFinestra != pid) {
        RicercaFinestra ricerca{pid, nullptr};
        EnumWindows(CercaFinestraProcesso, reinterpret_cast<LPARAM>(&ricerca));
        finestra = ricerca.trovata;
    }
    if (finestra) SetForegroundWindow(finestra);
}

void FocusFinestraTomb() {
    StampaLog("Set focus to tomb raider window");
    if (FinestraGioco == nullptr) {
        StampaLog("WARNING. handle of window tomb is not yet set");
        return;
    }
    StampaLog("ShowWindowAsync for tomb raider");
    ShowWindowAsync(static_cast<HWND>(FinestraGioco), SW_SHOWNA);
    if (IsModoFinestra() && HaBit(ModificheAvvio, GiocoInStandBy) && !RisveglioInCorso) {
        StampaLog("Warning: tomb is in stand-by, to use RiattivaTomb() function");
        RisveglioInCorso = true;
        RipristinaFinestraTomb();
        RisveglioInCorso = false;
        return;
    }
    AttivaApplicazione(ProcessoGioco.dwProcessId);
    TogliBit(StatoSequenza, StandByAttivo);
}

bool SospendiTomb() {
    if (IsPreviewMode()) {
        StampaLog("Preview mode: no standby operation performed");
        return true;
    }
    ImpostaBit(ModificheAvvio, GiocoInStandBy);
    SospendiHookTastiera();
    RipristinaPrioritaGioco(true);
    ImpostaBit(StatoSequenza, StandByAttivo);
    bool risultato = false;
    if (IsModoFinestra())
        risultato = NascondiFinestraTomb();
    else if (RichiestaAbort())
        // The wait for the desktop's screen is pointless once the game has gone.
        risultato = AttendiRisoluzioneIniziale();
    RiduciPrioritaGioco(true);
    return risultato;
}

bool NascondiFinestraTomb() {
    const uint32_t inizio = ClockTick();
    ShowWindowAsync(static_cast<HWND>(FinestraGioco), SW_HIDE);
    MostraBackCover();
    if (!SistemaNT) {
        // Windows 9x may still show the game's last frame over the cover.
        for (;;) {
            MostraBackCover();
            if (IsHdcValido() || ClockTick() - inizio >= AttesaSchermoNero || !RichiestaAbort()) break;
            DoEvents();
            ClockSleep(10);
        }
    }
    return true;
}

void RiattivaTomb() {
    if (IsPreviewMode()) {
        StampaLog("Preview mode: no wake up operation performd");
        return;
    }
    // Only a running game could read the Escape that ended the media.
    if (RichiestaAbort()) AttendiFineEscape(false);
    if (HaBit(ModificheAvvio, GiocoInStandBy)) {
        TogliBit(ModificheAvvio, GiocoInStandBy);
        TogliBit(StatoSequenza, StandByAttivo);
        if (IsModoFinestra())
            RipristinaFinestraTomb();
        else
            RisvegliaFinestraTomb();
    }
    RipristinaHookTastiera();
}

void RipristinaFinestraTomb() {
    // The player must not see the game window jump into place.
    const bool spento = !CoverVisibile();
    if (spento) SpegniMonitor();
    MostraFinestraGioco();
    TogliBit(ModificheAvvio, GiocoInStandBy);
    TogliBit(StatoSequenza, StandByAttivo);
    FocusFinestraTomb();
    AllineaFinestraTomb(false);
    if (spento) AccendiMonitor(false);
}
