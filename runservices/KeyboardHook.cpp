#include "runservices/KeyboardHook.h"

#include <windows.h>

#include "core/MediaLog.h"
#include "core/SharedState.h"
#include "platform/Clock.h"
#include "platform/Forms.h"
#include "platform/KeyDriver.h"
#include "runservices/CheatCapture.h"

void* HandleHookTastiera = nullptr;
bool JournalSospeso = false;

intptr_t __stdcall HookJournalProc(int codice, uintptr_t wParam, intptr_t lParam) {
    if (codice == HC_SYSMODALOFF) JournalSospeso = false;
    if (codice == HC_SYSMODALON) JournalSospeso = true;
    if (JournalSospeso) return 0;
    if (codice < 0) return CallNextHookEx(static_cast<HHOOK>(HandleHookTastiera), codice, wParam, lParam);
    if (codice == HC_ACTION && lParam) {
        const EVENTMSG* evento = reinterpret_cast<const EVENTMSG*>(lParam);
        CatturaTastoHook(evento->message, evento->paramL & 0xFF);
    }
    return 0;
}

intptr_t __stdcall HookTastieraLLProc(int codice, uintptr_t wParam, intptr_t lParam) {
    if (codice == HC_ACTION && lParam) {
        const KBDLLHOOKSTRUCT* tasto = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
        // The program's own keys, its macros, are no letters the player typed.
        const bool nostro = (tasto->flags & LLKHF_INJECTED) && tasto->dwExtraInfo == MarcaTastiProgramma;
        if (!nostro) CatturaTastoHook(static_cast<uint32_t>(wParam), tasto->vkCode);
    }
    return CallNextHookEx(static_cast<HHOOK>(HandleHookTastiera), codice, wParam, lParam);
}

bool InstallaHookTastiera() {
    if (HandleHookTastiera) return true;
    JournalSospeso = false;
    TastiCatturati.clear();
    HHOOK hook = SistemaNT ? SetWindowsHookExA(WH_KEYBOARD_LL, reinterpret_cast<HOOKPROC>(HookTastieraLLProc),
                                               GetModuleHandleA(nullptr), 0)
                           : SetWindowsHookExA(WH_JOURNALRECORD, reinterpret_cast<HOOKPROC>(HookJournalProc),
                                               GetModuleHandleA(nullptr), 0);
    if (!hook) {
        StampaLog("ERROR trying to create hook for keyboard messages", true);
        return false;
    }
    HandleHookTastiera = hook;
    // The system calls the hook only while this thread answers it.
    ClockServiMessaggi(true);
    ImpostaBit(StatoGioco, HookTastieraAttivo);
    StampaLog("Created keyboard hook");
    return true;
}

void RimuoviHookTastiera() {
    const bool installato = HandleHookTastiera || HaBit(StatoGioco, HookTastieraAttivo);
    if (!installato && !HaBit(StatoGioco, HookSospeso)) return;
    if (installato) StampaLog("Removed keyboard hook");
    if (HandleHookTastiera) UnhookWindowsHookEx(static_cast<HHOOK>(HandleHookTastiera));
    HandleHookTastiera = nullptr;
    ClockServiMessaggi(false);
    TogliBit(StatoGioco, HookTastieraAttivo);
    TogliBit(StatoGioco, HookSospeso);
    TastiCatturati.clear();
}

void SospendiHookTastiera() {
    if (!HandleHookTastiera) return;
    StampaLog("Suspend keyboard hook");
    UnhookWindowsHookEx(static_cast<HHOOK>(HandleHookTastiera));
    HandleHookTastiera = nullptr;
    ClockServiMessaggi(false);
    TogliBit(StatoGioco, HookTastieraAttivo);
    ImpostaBit(StatoGioco, HookSospeso);
    DoEvents();
}

void RipristinaHookTastiera() {
    if (!HaBit(StatoGioco, HookSospeso)) return;
    StampaLog("Restore keyboard hook");
    InstallaHookTastiera();
    TogliBit(StatoGioco, HookSospeso);
}
