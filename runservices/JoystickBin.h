#pragma once
// The joystick's rest range and port (joystick.bin in the store folder, 20
// bytes), kept in memory for the whole run. Bytes and values only.
#include <cstdint>
#include <string>

constexpr size_t DimensioneJoystickBin = 20;
constexpr int32_t NessunJoystick = -1;
// Around the rest range: what lies within is still rest.
constexpr int32_t TolleranzaJoystick = 1000;

struct JoystickBin {
    int32_t XMin = 0;
    int32_t YMin = 0;
    int32_t XMax = 0;
    int32_t YMax = 0;
    int32_t Porta = NessunJoystick;  // joystick id 0 or 1
};

extern JoystickBin DatiJoystick;
// The joystick id the control tests read; no joystick until the set-up found
// one.
extern int32_t PortaJoystickAttiva;

std::string BytesJoystickBin(const JoystickBin& dati);
// False with a reason when <bytes> is not a 20-byte image or names a port
// other than 0, 1 or -1; <dati> untouched.
bool JoystickBinDaBytes(const std::string& bytes, JoystickBin& dati, std::string& motivo);
