#include "runservices/PlayerKeys.h"

#include <windows.h>

#include "core/MediaLog.h"
#include "core/SharedState.h"
#include "runservices/GameWindow.h"
#include "platform/Clock.h"

namespace {

uint32_t Segno = 0;

constexpr uint32_t SilenzioRichiesto = 300;
constexpr uint32_t LimiteSilenzio = 5000;
constexpr uint32_t LimiteEscape = 10000;

bool TastoGiu() {
    // Mouse buttons are no keys of the game.
    for (int vk = VK_BACK; vk <= 0xFE; ++vk)
        if (GetAsyncKeyState(vk) & 0x8000) return true;
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
    // The blocked input is quiet; the game's end is still for the caller to hear.
    if (HaBit(StatoGioco, InputUtenteSospeso)) return RichiestaAbort();
    const uint32_t inizio = ClockTick();
    uint32_t silenzio = inizio;
    for (;;) {
        if (!RichiestaAbort()) return false;
        const uint32_t adesso = ClockTick();
        if (TastoGiu()) silenzio = adesso;
        if (adesso - silenzio >= SilenzioRichiesto) return true;
        if (adesso - inizio >= LimiteSilenzio) {
            StampaLog("WARNING: time out wating silent user input");
            return true;
        }
        ClockSleep(50);
    }
}

void AttendiFineEscape(bool) {
    // Bounded: a key held for ever must not stop the run.
    const uint32_t inizio = ClockTick();
    while ((GetAsyncKeyState(VK_ESCAPE) & 0x8000) && ClockTick() - inizio < LimiteEscape) ClockSleep(20);
}
