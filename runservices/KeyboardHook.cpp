#include "runservices/KeyboardHook.h"

#include <windows.h>

#include "core/MediaLog.h"
#include "core/SharedState.h"

bool InstallaHookTastiera() {
    StampaNonCostruito("InstallaHookTastiera");
    return false;
}

void SospendiHookTastiera() {
    StampaNonCostruito("SospendiHookTastiera");
    if (HaBit(StatoGioco, HookTastieraAttivo)) ImpostaBit(StatoGioco, HookSospeso);
}

void RipristinaHookTastiera() {
    StampaNonCostruito("RipristinaHookTastiera");
    TogliBit(StatoGioco, HookSospeso);
}

// No hook is set yet: the bit is only ever found clear, and cleared here.
void RimuoviHookTastiera() {
    if (!HaBit(StatoGioco, HookTastieraAttivo)) return;
    StampaLog("Removed keyboard hook");
    TogliBit(StatoGioco, HookTastieraAttivo);
}
