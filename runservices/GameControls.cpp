#include "runservices/GameControls.h"

#include <windows.h>

#include "core/SystemUtils.h"

namespace {
constexpr int16_t BitJoystick = 0x100;

bool TastoGiu(int16_t codice) {
    const int32_t vk = ScanCodeDaTasto(codice);
    return vk != 0 && TastiPremuti(vk);
}
}  // namespace

int32_t ScanCodeDaTasto(int32_t codice) { return static_cast<int32_t>(MapVirtualKeyA(codice & 127, 1)); }

int16_t TastoGiocoPremuto(int16_t tasto, int16_t predefinito) {
    // The joystick button of a binding with bit 0x100 is not read yet: only
    // the keyboard road is taken, as when the joystick cannot be read.
    const bool joystick = (tasto & BitJoystick) != 0;
    if (TastoGiu(joystick ? predefinito : tasto)) return -1;
    if (!joystick && TastoGiu(predefinito)) return -1;
    return 0;
}
