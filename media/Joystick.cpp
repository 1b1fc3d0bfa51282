#include "media/Joystick.h"

#include <algorithm>
#include <cstdint>

#include "core/FileUtils.h"
#include "core/MediaLog.h"
#include "core/PathNames.h"
#include "core/SharedState.h"
#include "core/SystemUtils.h"
#include "platform/Clock.h"
#include "runservices/JoystickBin.h"
#include "runservices/PlayerKeys.h"

namespace {

constexpr uint32_t DurataCalibrazione = 3000;
constexpr int32_t PassoCalibrazione = 100;
constexpr int32_t RiposoIniziale = 200000;

void StampaRiposo() {
    StampaLog("Joystick game port: " + std::to_string(DatiJoystick.Porta + 1));
    StampaLog("Rest position X axis: " + std::to_string(DatiJoystick.XMin) + " / " +
              std::to_string(DatiJoystick.XMax));
    StampaLog("Rest position Y axis: " + std::to_string(DatiJoystick.YMin) + " / " +
              std::to_string(DatiJoystick.YMax));
}

// The query reports 0 to 65535; anything past the file's fields is cut.
int32_t Coordinata(uint32_t valore) { return static_cast<int32_t>(std::min<uint32_t>(valore, INT32_MAX)); }

bool Scrivi(const std::string& percorso) {
    StampaLog("Create file: " + percorso);
    if (RiscriviSenzaBackup(percorso, BytesJoystickBin(DatiJoystick))) return true;
    StampaLog("ERROR in InitJoystick() : cannot write " + percorso, true);
    return false;
}

// The stick left alone for the whole time: the range it wanders in at rest.
void Calibra(uint32_t porta) {
    DatiJoystick.XMin = DatiJoystick.YMin = RiposoIniziale;
    DatiJoystick.XMax = DatiJoystick.YMax = -RiposoIniziale;
    const uint32_t inizio = ClockTick();
    while (ClockTick() - inizio < DurataCalibrazione) {
        SegnaTempo();
        PosizioneJoystick p;
        if (LeggiJoystick(p, porta)) {
            StampaLog("X_Pos=" + std::to_string(p.X) + "  Y_Pos=" + std::to_string(p.Y));
            const int32_t x = Coordinata(p.X), y = Coordinata(p.Y);
            DatiJoystick.XMin = std::min(DatiJoystick.XMin, x);
            DatiJoystick.XMax = std::max(DatiJoystick.XMax, x);
            DatiJoystick.YMin = std::min(DatiJoystick.YMin, y);
            DatiJoystick.YMax = std::max(DatiJoystick.YMax, y);
        }
        AttendiDaSegno(PassoCalibrazione);
    }
}

bool SenzaJoystick(const std::string& percorso) {
    DatiJoystick = JoystickBin{};
    PortaJoystickAttiva = NessunJoystick;
    // Remembered, so that later runs do not look again.
    Scrivi(percorso);
    return false;
}

bool InitJoystickDaFile(const std::string& percorso) {
    StampaLog("Found 'joystick.bin' file: use settings in this file");
    std::string dati, motivo;
    if (!LeggiFileIntero(percorso, dati, 4096) || !JoystickBinDaBytes(dati, DatiJoystick, motivo)) {
        StampaLog("ERROR in InitJoystick() : " + (motivo.empty() ? "cannot read " + percorso : motivo), true);
        PortaJoystickAttiva = NessunJoystick;
        return false;
    }
    PortaJoystickAttiva = DatiJoystick.Porta;
    if (DatiJoystick.Porta == NessunJoystick)
        StampaLog("Missing joystick: disable it");
    else
        StampaRiposo();
    return true;
}

bool InitJoystickNuovo(const std::string& percorso) {
    StampaLog("Missing 'joystick.bin' file: initialize joystick settings");
    int32_t trovato = NessunJoystick;
    for (int32_t id : {0, 1}) {
        PosizioneJoystick p;
        if (LeggiJoystick(p, static_cast<uint32_t>(id))) {
            trovato = id;
            break;
        }
    }
    if (trovato == NessunJoystick) {
        StampaLog("Found no joystick in this computer");
        return SenzaJoystick(percorso);
    }
    StampaLog("Detected joystick in game port #" + std::to_string(trovato + 1));
    PortaJoystickAttiva = DatiJoystick.Porta = trovato;
    StampaLog("Starting joystick auto-calibration");
    const bool avviso = !HaBit(StatoGioco, ModoTester);
    if (avviso) MostraAvviso("Auto-calibration joystick in progress. Please don't move the joystick");
    Calibra(static_cast<uint32_t>(trovato));
    StampaLog("Joystick autocalibration is complete");
    if (avviso) ChiudiAvviso();
    // A stick never read while at rest has no rest range: any position would
    // read as pushed for the whole run.
    if (DatiJoystick.XMin > DatiJoystick.XMax || DatiJoystick.YMin > DatiJoystick.YMax) {
        StampaLog("WARNING: joystick not readable during auto-calibration: disable it");
        return SenzaJoystick(percorso);
    }
    StampaRiposo();
    return Scrivi(percorso);
}

}  // namespace

std::string PercorsoJoystickBin() { return NellaCartella(PercorsoStore, "joystick.bin"); }

bool InitJoystick() {
    StampaLog("InitJoystick()");
    CambiaTabulatoreLog(1);
    const std::string percorso = PercorsoJoystickBin();
    const bool esito = EsisteFile(percorso) ? InitJoystickDaFile(percorso) : InitJoystickNuovo(percorso);
    CambiaTabulatoreLog(-1);
    return esito;
}
