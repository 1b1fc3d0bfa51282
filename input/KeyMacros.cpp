#include "input/KeyMacros.h"

#include "core/MediaLog.h"

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

bool InitSendKeys() {
    StampaNonCostruito("InitSendKeys");
    return true;
}

void TerminateSendKeys() { StampaNonCostruito("TerminateSendKeys"); }

void AggiungiTastoPremuto(int32_t valore, std::vector<int32_t>& lista, int32_t& conteggio, bool senzaDoppi) {
    if (conteggio < 0) conteggio = 0;
    if (static_cast<size_t>(conteggio) > lista.size()) conteggio = static_cast<int32_t>(lista.size());
    if (senzaDoppi) {
        for (int32_t i = 0; i < conteggio; ++i)
            if (lista[static_cast<size_t>(i)] == valore) return;
    }
    lista.resize(static_cast<size_t>(conteggio));
    lista.push_back(valore);
    ++conteggio;
}
