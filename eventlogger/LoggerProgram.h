#pragma once
// Scrivane's start-up, window and end: the shared memories, the commands of
// the main program and the game's WM_NULL messages.
#include <windows.h>

#include <string>

extern HANDLE MediaModuleHandle;
extern HANDLE TombProcessHandle;
extern bool ClosedByWmClose;

int LoggerWinMain(HINSTANCE istanza, const char* rigaComando);
bool RegisterLoggerClass(HINSTANCE istanza);
HWND CreateLoggerWindow(HINSTANCE istanza);
bool InitLogger();
LRESULT CALLBACK LoggerWndProc(HWND finestra, UINT messaggio, WPARAM wp, LPARAM lp);
void QuitLogger(bool errore);
void RestoreDesktop();
bool IsProcessAlive(HANDLE processo);

void SetStructureCount(uint32_t valore);
uint32_t GetStructureCount();
void SetReceivedCount(uint32_t valore);
uint32_t GetReceivedCount();
