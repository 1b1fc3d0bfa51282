#pragma once
// The game's settings record and its 103-byte image in Old_Settings.trg.
// No Windows types: the registry side lives in TombSettings.
#include <cstdint>
#include <string>

constexpr int NumeroTastiGioco = 18;
constexpr size_t DimensioneOldSettings = 103;
// A key entry with this bit uses the default key of its control.
constexpr int16_t TastoUsaDefault = 0x100;

// The game controls, indexes into Tasti and TastiDefault.
enum class TastoGioco : int32_t {
    Up = 0,
    Down = 1,
    Left = 2,
    Right = 3,
    Duck = 4,
    Dash = 5,
    Walk = 6,
    Jump = 7,
    Action = 8,
    Extract_Weapon = 9,
    Extract_Flare = 10,
    Look = 11,
    Roll = 12,
};

struct ImpostazioniTomb {
    uint8_t AutoTarget = 1;
    uint8_t ControlMethod = 0;  // 1: joystick
    int16_t TastiDefault[NumeroTastiGioco] = {200, 208, 203, 205, 52, 53, 54, 184, 157,
                                              57,  51,  82,  207, 1,  211, 209, 25, 28};
    int16_t Tasti[NumeroTastiGioco] = {200, 208, 203, 205, 52, 53, 54, 184, 157,
                                       57,  51,  82,  207, 1,  211, 209, 25, 28};
    int16_t MusicVolume = 80;
    int16_t SFXVolume = 90;
    int16_t SoundQuality = 1;
    int32_t WindowX = 0;
    int32_t WindowY = 0;
    uint8_t BumpLow = 0;
    uint8_t BumpMap = 0;
    uint8_t D3D = 1;
    uint8_t DD = 0;
    uint8_t DisableSound = 0;
    uint8_t DS = 0;
    uint8_t Filter = 1;
    uint8_t HardWare = 1;
    uint8_t NoFMV = 0;
    uint8_t Setup = 1;
    uint8_t TextLow = 0;
    uint8_t TFormat = 0;
    uint8_t VMode = 10;  // index into the video list
    uint8_t Volumetric = 0;
    uint8_t Window = 0;  // 1: the game runs in a window
};

bool operator==(const ImpostazioniTomb& a, const ImpostazioniTomb& b);

// The scan code control <tasto> is bound to, the default one when its entry
// asks for it.
int16_t TastoAssegnato(const ImpostazioniTomb& imp, TastoGioco tasto);

std::string BytesOldSettings(const ImpostazioniTomb& imp);
// False with a reason when <dati> is not a 103-byte image; <imp> untouched.
bool OldSettingsDaBytes(const std::string& dati, ImpostazioniTomb& imp, std::string& errore);
