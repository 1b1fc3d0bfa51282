#include "media/Joystick.h"

#include "core/MediaLog.h"

void InitJoystick() { StampaNonCostruito("InitJoystick"); }
