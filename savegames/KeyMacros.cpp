#include "savegames/KeyMacros.h"

#include <windows.h>

#include "platform/Clock.h"

void InviaCodici(const std::string& macro, const std::vector<std::pair<int32_t, int32_t>>& tasti) {
    for (const auto& [codice, pausa] : tasti) {
        INPUT in{};
        in.type = INPUT_KEYBOARD;
        in.ki.wScan = static_cast<WORD>(codice & 0x7F);
        in.ki.dwFlags = KEYEVENTF_SCANCODE | ((codice & 0x80) ? KEYEVENTF_KEYUP : 0);
        SendInput(1, &in, sizeof in);
        ClockSleep(static_cast<uint32_t>(pausa));
    }
}
