#pragma once
// Tests of the game's controls by the keys the game binds to them.
#include <cstdint>

#include "runservices/TombSettingsRecord.h"

// The virtual key of a game key code (a set-1 scan code, low 7 bits).
int32_t ScanCodeDaTasto(int32_t codice);
// Non-zero while the control is held: the bound key, else the default key.
// A binding with bit 0x100 names a joystick button (the low byte), tested
// while the game is played with the joystick, and then the default key.
int16_t TastoGiocoPremuto(int16_t tasto, int16_t predefinito);
// True while the player pushes forward or back: the stick's Y past the rest
// range, else the key of the Up or Down control.
bool LeggiMovimentoJoystick();

// The directions the player pushes with the game's controls.
enum DirezioneGioco : int32_t {
    DirezioneSu = 1,
    DirezioneGiu = 2,
    DirezioneSinistra = 4,
    DirezioneDestra = 8,
};
// The game control of each direction.
struct ControlloDirezione {
    TastoGioco tasto;
    int32_t bit;
};
inline constexpr ControlloDirezione ControlliDirezione[] = {{TastoGioco::Up, DirezioneSu},
                                                            {TastoGioco::Down, DirezioneGiu},
                                                            {TastoGioco::Left, DirezioneSinistra},
                                                            {TastoGioco::Right, DirezioneDestra}};
// The pushed directions: the stick past its rest range while the game is
// played with the joystick, and the Up, Down, Left and Right controls, each
// by its bound key (its default key when bound to a joystick button).
int32_t LeggiDirezioniGioco();
