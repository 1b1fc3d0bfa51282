#include "input/KeyboardHook.h"

#include <windows.h>

#include "core/MediaLog.h"
#include "core/SharedState.h"

void SospendiHookTastiera() {
    if (HaBit(StatoGioco, HookTastieraAttivo)) ImpostaBit(StatoGioco, HookSospeso);
}

void RipristinaHookTastiera() { TogliBit(StatoGioco, HookSospeso); }

void RimuoviMessaggiTastiera() {
    MSG m;
    while (PeekMessageA(&m, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE)) {
    }
}

void RilasciaTastiSpeciali() {
    for (BYTE tasto : {BYTE(VK_RETURN), BYTE(VK_F5), BYTE(VK_F6)})
        if (GetAsyncKeyState(tasto) & 0x8000) keybd_event(tasto, 0, KEYEVENTF_KEYUP, 0);
}

// No hook is set yet: the bit is only ever found clear, and cleared here.
void RimuoviHookTastiera() {
    if (!HaBit(StatoGioco, HookTastieraAttivo)) return;
    StampaLog("Removed keyboard hook");
    TogliBit(StatoGioco, HookTastieraAttivo);
}
