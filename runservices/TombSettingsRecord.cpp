#include "runservices/TombSettingsRecord.h"

namespace {

void Metti(std::string& s, uint32_t v, int larghezza) {
    for (int i = 0; i < larghezza; ++i) s += static_cast<char>((v >> (8 * i)) & 0xFF);
}

uint32_t Prendi(const std::string& s, size_t& pos, int larghezza) {
    uint32_t v = 0;
    for (int i = larghezza - 1; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(s[pos + i]);
    pos += larghezza;
    return v;
}

}  // namespace

bool operator==(const ImpostazioniTomb& a, const ImpostazioniTomb& b) {
    return BytesOldSettings(a) == BytesOldSettings(b);
}

int16_t TastoAssegnato(const ImpostazioniTomb& imp, TastoGioco tasto) {
    const int i = static_cast<int>(tasto);
    if (i < 0 || i >= NumeroTastiGioco) return 0;
    return (imp.Tasti[i] & TastoUsaDefault) ? imp.TastiDefault[i] : imp.Tasti[i];
}

std::string BytesOldSettings(const ImpostazioniTomb& imp) {
    std::string s;
    s.reserve(DimensioneOldSettings);
    Metti(s, imp.AutoTarget, 1);
    Metti(s, imp.ControlMethod, 1);
    for (int16_t t : imp.TastiDefault) Metti(s, static_cast<uint16_t>(t), 2);
    for (int16_t t : imp.Tasti) Metti(s, static_cast<uint16_t>(t), 2);
    Metti(s, static_cast<uint16_t>(imp.MusicVolume), 2);
    Metti(s, static_cast<uint16_t>(imp.SFXVolume), 2);
    Metti(s, static_cast<uint16_t>(imp.SoundQuality), 2);
    Metti(s, static_cast<uint32_t>(imp.WindowX), 4);
    Metti(s, static_cast<uint32_t>(imp.WindowY), 4);
    for (uint8_t b : {imp.BumpLow, imp.BumpMap, imp.D3D, imp.DD, imp.DisableSound, imp.DS, imp.Filter, imp.HardWare,
                      imp.NoFMV, imp.Setup, imp.TextLow, imp.TFormat, imp.VMode, imp.Volumetric, imp.Window})
        Metti(s, b, 1);
    return s;
}

bool OldSettingsDaBytes(const std::string& dati, ImpostazioniTomb& imp, std::string& errore) {
    if (dati.size() != DimensioneOldSettings) {
        errore = "wrong size (" + std::to_string(dati.size()) + " bytes instead of " +
                 std::to_string(DimensioneOldSettings) + ")";
        return false;
    }
    ImpostazioniTomb r;
    size_t pos = 0;
    r.AutoTarget = static_cast<uint8_t>(Prendi(dati, pos, 1));
    r.ControlMethod = static_cast<uint8_t>(Prendi(dati, pos, 1));
    for (int16_t& t : r.TastiDefault) t = static_cast<int16_t>(Prendi(dati, pos, 2));
    for (int16_t& t : r.Tasti) t = static_cast<int16_t>(Prendi(dati, pos, 2));
    r.MusicVolume = static_cast<int16_t>(Prendi(dati, pos, 2));
    r.SFXVolume = static_cast<int16_t>(Prendi(dati, pos, 2));
    r.SoundQuality = static_cast<int16_t>(Prendi(dati, pos, 2));
    r.WindowX = static_cast<int32_t>(Prendi(dati, pos, 4));
    r.WindowY = static_cast<int32_t>(Prendi(dati, pos, 4));
    for (uint8_t* b : {&r.BumpLow, &r.BumpMap, &r.D3D, &r.DD, &r.DisableSound, &r.DS, &r.Filter, &r.HardWare,
                       &r.NoFMV, &r.Setup, &r.TextLow, &r.TFormat, &r.VMode, &r.Volumetric, &r.Window})
        *b = static_cast<uint8_t>(Prendi(dati, pos, 1));
    imp = r;
    return true;
}
