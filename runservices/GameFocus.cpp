#include "runservices/GameFocus.h"

#include <windows.h>

#include "core/MediaLog.h"
#include "runservices/DisplayModes.h"
#include "gamerun/MediaDispatcher.h"
#include "runservices/RunState.h"

namespace {

// The wake-up gives the focus again through this routine: inside it the game
// is activated directly, so that a wake-up can never call itself.
bool RisveglioInCorso = false;

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
