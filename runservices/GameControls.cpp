#include "runservices/GameControls.h"

#include <windows.h>

#include "core/MediaLog.h"
#include "core/SystemUtils.h"
#include "runservices/TombSettings.h"

namespace {
constexpr int16_t BitJoystick = 0x100;

bool TastoGiu(int16_t codice) {
    const int32_t vk = ScanCodeDaTasto(codice);
    return vk != 0 && TastiPremuti(vk);
}

bool GiocoConJoystick() { return ImpostazioniTombCorrenti.ControlMethod == 1; }
}  // namespace

int32_t ScanCodeDaTasto(int32_t codice) { return static_cast<int32_t>(MapVirtualKeyA(codice & 127, 1)); }

int16_t TastoGiocoPremuto(int16_t tasto, int16_t predefinito) {
    // The joystick button of a binding with bit 0x100 is not read yet: only
    // the keyboard road is taken, as when the joystick cannot be read.
    const bool joystick = (tasto & BitJoystick) != 0;
    if (joystick && GiocoConJoystick()) StampaNonCostruito("TastoGiocoPremuto (joystick button)");
    if (TastoGiu(joystick ? predefinito : tasto)) return -1;
    if (!joystick && TastoGiu(predefinito)) return -1;
    return 0;
}

int32_t LeggiDirezioniGioco() {
    // The stick is not read yet: the keys alone, as when it cannot be read.
    if (GiocoConJoystick()) StampaNonCostruito("LeggiDirezioniGioco (joystick)");
    // Combined, not added: a direction seen twice stays that direction.
    int32_t direzioni = 0;
    for (const ControlloDirezione& c : ControlliDirezione)
        if (TastoGiu(TastoAssegnato(ImpostazioniTombCorrenti, c.tasto))) direzioni |= c.bit;
    return direzioni;
}
