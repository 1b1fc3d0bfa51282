#pragma once
// Processes, waits and system queries.
#include <cstdint>
#include <string>

// Button and icon styles of Messaggio, as the system numbers them.
constexpr uint32_t StileOk = 0x0;
constexpr uint32_t StileErroreCritico = 0x10;
constexpr uint32_t StileAttenzione = 0x30;
constexpr int32_t RispostaSi = 6;

extern const char* const TitoloProgramma;  // "Vorn Media Module"

// A message box with the program's caption when the title is empty; the
// code of the button pressed.
int32_t Messaggio(const std::string& testo, uint32_t stile, std::string titolo = "");

// 0 unknown, 1 Windows 95/98, 4 Windows Me and later 9x, 5 NT 5, 6 other NT.
int32_t PiattaformaWindows();
bool IsWindowsNT();

// The decimal separator of the user's locale.
char SeparatoreDecimale();
