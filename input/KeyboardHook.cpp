#include "input/KeyboardHook.h"

#include <windows.h>

#include "gamerun/RunState.h"

void SospendiHookTastiera() {
    if (HaBit(StatoGioco, HookTastieraAttivo)) ImpostaBit(StatoGioco, HookSospeso);
}

void RipristinaHookTastiera() { TogliBit(StatoGioco, HookSospeso); }

void RimuoviMessaggiTastiera() {
    MSG m;
    while (PeekMessageA(&m, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE)) {
    }
}
