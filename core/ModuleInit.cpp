#include "core/ModuleInit.h"

#include <windows.h>

#include "core/MediaLog.h"
#include "gamerun/RunState.h"

bool InitModMedia() {
    LinguaForzata.clear();
    SchermoOrigX = SchermoX = GetSystemMetrics(SM_CXSCREEN);
    SchermoOrigY = SchermoY = GetSystemMetrics(SM_CYSCREEN);
    InitMediaLog();
    FuoriGioco = true;
    return true;
}
