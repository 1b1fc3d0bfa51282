#include "runservices/GameControls.h"

#include <windows.h>

#include "core/MediaLog.h"
#include "core/SystemUtils.h"
#include "runservices/JoystickBin.h"
#include "runservices/TombSettings.h"

namespace {
constexpr int16_t BitJoystick = 0x100;
// The width of the button word the joystick reports.
constexpr int32_t PulsantiJoystick = 32;

bool TastoGiu(int16_t codice) {
    const int32_t vk = ScanCodeDaTasto(codice);
    return vk != 0 && TastiPremuti(vk);
}

bool GiocoConJoystick() { return ImpostazioniTombCorrenti.ControlMethod == 1; }

// The stick of the run. Without one found by the set-up nothing is read and
// nothing is said, on every test of every tick.
bool LeggiStick(PosizioneJoystick& posizione, bool scriviErrore) {
    if (PortaJoystickAttiva == NessunJoystick) return false;
    if (LeggiJoystick(posizione, static_cast<uint32_t>(PortaJoystickAttiva))) return true;
    if (scriviErrore) StampaLog("ERROR reading joystick on gameport = " + std::to_string(PortaJoystickAttiva), true);
    return false;
}

// Wide enough for a rest range of the whole 32-bit span and its tolerance.
bool SottoRiposo(uint32_t valore, int32_t minimo) {
    return static_cast<int64_t>(valore) < static_cast<int64_t>(minimo) - TolleranzaJoystick;
}
bool SopraRiposo(uint32_t valore, int32_t massimo) {
    return static_cast<int64_t>(valore) > static_cast<int64_t>(massimo) + TolleranzaJoystick;
}
}  // namespace

int32_t ScanCodeDaTasto(int32_t codice) { return static_cast<int32_t>(MapVirtualKeyA(codice & 127, 1)); }

int16_t TastoGiocoPremuto(int16_t tasto, int16_t predefinito) {
    const bool pulsante = (tasto & BitJoystick) != 0;
    if (pulsante && GiocoConJoystick()) {
        PosizioneJoystick p;
        const int32_t numero = tasto & 255;
        // A button past the reported word is never down.
        if (LeggiStick(p, true) && numero < PulsantiJoystick && ((p.Pulsanti >> numero) & 1u)) return -1;
    }
    if (TastoGiu(pulsante ? predefinito : tasto)) return -1;
    if (!pulsante && TastoGiu(predefinito)) return -1;
    return 0;
}

bool LeggiMovimentoJoystick() {
    if (GiocoConJoystick()) {
        PosizioneJoystick p;
        if (LeggiStick(p, true) && (SottoRiposo(p.Y, DatiJoystick.YMin) || SopraRiposo(p.Y, DatiJoystick.YMax))) {
            StampaLog("Detected movements with joystick");
            return true;
        }
    }
    if (TastoGiu(TastoAssegnato(ImpostazioniTombCorrenti, TastoGioco::Up))) {
        StampaLog("Detected movement with keyboard: move up");
        return true;
    }
    if (TastoGiu(TastoAssegnato(ImpostazioniTombCorrenti, TastoGioco::Down))) {
        StampaLog("Detected movement with keyboard: move down");
        return true;
    }
    return false;
}

int32_t LeggiDirezioniGioco() {
    // Combined, not added: a direction seen twice stays that direction.
    int32_t direzioni = 0;
    PosizioneJoystick p;
    if (GiocoConJoystick() && LeggiStick(p, LogAbilitato)) {
        if (SottoRiposo(p.Y, DatiJoystick.YMin)) direzioni = DirezioneSu;
        if (SopraRiposo(p.Y, DatiJoystick.YMax)) direzioni = DirezioneGiu;
        if (SopraRiposo(p.X, DatiJoystick.XMax)) direzioni |= DirezioneDestra;
        if (SottoRiposo(p.X, DatiJoystick.XMin)) direzioni |= DirezioneSinistra;
    }
    for (const ControlloDirezione& c : ControlliDirezione)
        if (TastoGiu(TastoAssegnato(ImpostazioniTombCorrenti, c.tasto))) direzioni |= c.bit;
    return direzioni;
}
