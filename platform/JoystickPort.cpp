#include "platform/JoystickPort.h"

#include <windows.h>

#include <mmsystem.h>

bool InterrogaJoystickDiSistema(uint32_t id, PosizioneJoystick& posizione) {
    JOYINFOEX info{};
    info.dwSize = sizeof info;
    info.dwFlags = JOY_RETURNX | JOY_RETURNY | JOY_RETURNZ | JOY_RETURNBUTTONS;
    if (joyGetPosEx(id, &info) != JOYERR_NOERROR) return false;
    posizione.X = info.dwXpos;
    posizione.Y = info.dwYpos;
    posizione.Z = info.dwZpos;
    posizione.Pulsanti = info.dwButtons;
    return true;
}

bool (*InterrogaJoystick)(uint32_t id, PosizioneJoystick& posizione) = InterrogaJoystickDiSistema;
