#include "gamerun/GameWindow.h"

#include <windows.h>

#include "core/MediaLog.h"
#include "gamerun/LoggerClient.h"
#include "gamerun/RunState.h"

bool IsLoggerAlive() {
    if (!LoggerAttivo()) return false;
    return hProcessLogger != nullptr && WaitForSingleObject(hProcessLogger, 0) == WAIT_TIMEOUT;
}

void ChiudiGioco() {
    if (ProcessoGioco.hProcess == nullptr) return;
    StampaLog("Close tomb raider program");
    TerminateProcess(ProcessoGioco.hProcess, 0);
    ProcessoGioco.hProcess = nullptr;
}
