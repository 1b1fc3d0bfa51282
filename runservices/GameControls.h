#pragma once
// Tests of the game's controls by the keys the game binds to them.
#include <cstdint>

// The virtual key of a game key code (a set-1 scan code, low 7 bits).
int32_t ScanCodeDaTasto(int32_t codice);
// Non-zero while the control is held: the bound key, else the default key.
// A binding with bit 0x100 names a joystick button; its default key stands
// for it here.
int16_t TastoGiocoPremuto(int16_t tasto, int16_t predefinito);
