#pragma once
// The joystick of the joystick media. Least form: nothing is set up.
void InitJoystick();
