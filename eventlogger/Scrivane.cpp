// Entry of Scrivane.
#include <windows.h>

#include "eventlogger/LoggerProgram.h"

int WINAPI WinMain(HINSTANCE istanza, HINSTANCE, LPSTR rigaComando, int) {
    return LoggerWinMain(istanza, rigaComando);
}
