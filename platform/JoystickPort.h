#pragma once
// The joystick position query of the multimedia library (joyGetPosEx).
// Tests put a function of their own here to script the stick's positions
// and buttons, which this platform has no device for.
#include <cstdint>

struct PosizioneJoystick {
    uint32_t X = 0, Y = 0, Z = 0;
    uint32_t Pulsanti = 0;  // bit n: button n down
};

// False when the joystick <id> cannot be read.
extern bool (*InterrogaJoystick)(uint32_t id, PosizioneJoystick& posizione);
// The platform's own query, for tests that put it back.
bool InterrogaJoystickDiSistema(uint32_t id, PosizioneJoystick& posizione);
