#pragma once
// The joystick's rest range: read from joystick.bin in the store folder, or
// calibrated once and kept there. The control tests read it through
// runservices/JoystickBin.h.
#include <string>

// False when no joystick was found (the file then says so) or the file
// could not be read or written.
bool InitJoystick();
std::string PercorsoJoystickBin();
