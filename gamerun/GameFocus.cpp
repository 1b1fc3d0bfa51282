#include "gamerun/GameFocus.h"

#include <windows.h>

#include "gamerun/RunState.h"

void FocusFinestraTomb() {
    if (FinestraGioco) SetForegroundWindow(static_cast<HWND>(FinestraGioco));
}
