#include "media/WorkingMedia.h"

#include <windows.h>

#include "core/MediaLog.h"
#include "core/SharedState.h"
#include "gamerun/GameWindow.h"
#include "platform/Clock.h"

namespace {

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

bool EseguiWorkingMedia(int32_t, bool& BreakEscape) {
    StampaNonCostruito("EseguiWorkingMedia");
    BreakEscape = false;
    return false;
}

bool AttendiTastieraSilenziosa() {
    if (HaBit(StatoGioco, InputUtenteSospeso)) return true;
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
