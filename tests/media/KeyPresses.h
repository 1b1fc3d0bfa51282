#pragma once
// Keys as the player's keyboard sends them, for the media tests and the
// graph menu's bench: a press and a release are separate, so that a key can
// be held while the screen is watched.
#include <windows.h>

#include "runservices/TombSettings.h"

namespace tasti {

inline void Tasto(WORD vk, bool giu) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.wScan = static_cast<WORD>(MapVirtualKeyA(vk, 0));
    in.ki.dwFlags = giu ? 0 : KEYEVENTF_KEYUP;
    SendInput(1, &in, sizeof in);
}

// The virtual key of a game control's bound key.
inline WORD TastoControllo(TastoGioco controllo) {
    return static_cast<WORD>(MapVirtualKeyA(TastoAssegnato(ImpostazioniTombCorrenti, controllo) & 127, 1));
}

}  // namespace tasti
