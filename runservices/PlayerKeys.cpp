#include "runservices/PlayerKeys.h"

#include <windows.h>

#include "core/MediaLog.h"
#include "core/SharedState.h"
#include "core/SystemUtils.h"
#include "runservices/GameControls.h"
#include "runservices/GameWindow.h"
#include "runservices/TombSettings.h"
#include "platform/Clock.h"
#include "platform/Forms.h"

namespace {

uint32_t Segno = 0;

// The player must be still this long; past the limit the wait gives up.
constexpr uint32_t SilenzioRichiesto = 100;
constexpr uint32_t LimiteSilenzio = 4000;
constexpr uint32_t PassoSilenzio = 100;
// Escape must stay up this long before the long method trusts it.
constexpr uint32_t RilascioEscape = 1000;
constexpr uint32_t PassoEscape = 10;
// Bounded: a key held for ever must not stop the run.
constexpr uint32_t LimiteEscape = 10000;

bool EscapeGiu() { return (GetAsyncKeyState(VK_ESCAPE) & 0x8000) != 0; }

// Up and Down are the movement; the other controls count by their keys.
bool AttivitaGiocatore() {
    if (LeggiMovimentoJoystick()) return true;
    const ImpostazioniTomb& imp = ImpostazioniTombCorrenti;
    for (int i = static_cast<int>(TastoGioco::Left); i < NumeroTastiGioco; ++i)
        if (TastoGiocoPremuto(imp.Tasti[i], imp.TastiDefault[i]) != 0) return true;
    return false;
}

}  // namespace

void SegnaTempo() { Segno = ClockTick(); }

void AttendiDaSegno(int32_t millisecondi) {
    const uint32_t passati = ClockTick() - Segno;
    if (millisecondi > 0 && passati < static_cast<uint32_t>(millisecondi))
        ClockSleep(static_cast<uint32_t>(millisecondi) - passati);
}

bool PeekTastoPremuto(int32_t& tasto) {
    MSG m;
    if (!PeekMessageA(&m, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE)) return false;
    if (m.message != WM_KEYDOWN) return false;
    tasto = static_cast<int32_t>(m.wParam);
    return true;
}

void RimuoviMessaggiTastiera() {
    int32_t tasto = 0;
    while (PeekTastoPremuto(tasto)) {
    }
}

bool TastoSistemaInCoda() {
    // Asked several times in every tick: a queue with nothing posted (a quit
    // counts as posted) and nothing sent needs no look at its messages.
    if (!(HIWORD(GetQueueStatus(QS_POSTMESSAGE | QS_SENDMESSAGE)) & (QS_POSTMESSAGE | QS_SENDMESSAGE))) return false;
    MSG m;
    return PeekMessageA(&m, nullptr, WM_CLOSE, WM_CLOSE, PM_NOREMOVE) ||
           PeekMessageA(&m, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE);
}

bool AttendiTastieraSilenziosa() {
    if (HaBit(StatoGioco, InputUtenteSospeso) && SistemaNT) {
        StampaLog("Don't wait for silent keyboard because user input is stopped");
        // The blocked input is quiet. Asking after the game here would close
        // it for a quit message that the caller's own waits still hear.
        return true;
    }
    const uint32_t inizio = ClockTick();
    uint32_t attivita = inizio;
    for (;;) {
        // A mark of its own: the caller's paced loop keeps its own.
        const uint32_t segno = ClockTick();
        const bool attivo = AttivitaGiocatore();
        if (attivo) {
            attivita = ClockTick();
            StampaLog("Detected player input activity");
        }
        if (!RichiestaAbort()) {
            StampaLog("Tomb raider program is terminated: abort command");
            return false;
        }
        const uint32_t passati = ClockTick() - segno;
        if (passati < PassoSilenzio) ClockSleep(PassoSilenzio - passati);
        const uint32_t adesso = ClockTick();
        // A pass that saw the player is never quiet, however the clock
        // rounds the time since.
        if (!attivo && adesso - attivita >= SilenzioRichiesto) return true;
        if (adesso - inizio >= LimiteSilenzio) {
            StampaLog("WARNING: time out wating silent user input");
            return true;
        }
    }
}

void AttendiFineEscape(bool metodoLungo) {
    StampaLog("Wait for end escape");
    if (!metodoLungo) {
        StampaLog("Short method");
        // Asked before every picture of a sequence: a key already up costs
        // the picture no tenth of its time.
        const uint32_t inizio = ClockTick();
        while (EscapeGiu() && ClockTick() - inizio < LimiteEscape) {
            AttendiDecimi(1, true);
            DoEvents();
        }
        return;
    }
    StampaLog("Long method");
    const uint32_t inizio = ClockTick();
    uint32_t rilascio = inizio;
    bool visto = false;
    while (ClockTick() - inizio < LimiteEscape) {
        const bool giu = EscapeGiu();
        // Its key-downs must not reach whoever reads the queue next.
        RimuoviMessaggiTastiera();
        if (giu) {
            rilascio = ClockTick();
            visto = true;
        } else if (!visto || ClockTick() - rilascio >= RilascioEscape) {
            return;
        }
        ClockSleep(PassoEscape);
    }
}
