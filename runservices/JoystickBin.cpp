#include "runservices/JoystickBin.h"

#include "core/ByteStream.h"

JoystickBin DatiJoystick;
int32_t PortaJoystickAttiva = NessunJoystick;

std::string BytesJoystickBin(const JoystickBin& dati) {
    ScrittoreByte s;
    for (int32_t v : {dati.XMin, dati.YMin, dati.XMax, dati.YMax, dati.Porta}) s.ScriviI32(v);
    return s.Dati();
}

bool JoystickBinDaBytes(const std::string& bytes, JoystickBin& dati, std::string& motivo) {
    if (bytes.size() != DimensioneJoystickBin) {
        motivo = "joystick.bin holds " + std::to_string(bytes.size()) + " bytes instead of " +
                 std::to_string(DimensioneJoystickBin);
        return false;
    }
    LettoreByte l(bytes);
    JoystickBin letti;
    for (int32_t* campo : {&letti.XMin, &letti.YMin, &letti.XMax, &letti.YMax, &letti.Porta}) l.LeggiI32(*campo);
    if (letti.Porta != NessunJoystick && letti.Porta != 0 && letti.Porta != 1) {
        motivo = "joystick.bin names game port " + std::to_string(letti.Porta);
        return false;
    }
    dati = letti;
    return true;
}
