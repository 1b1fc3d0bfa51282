#pragma once
// Splash screens. Least form: not performed yet; the syntax gives no flags.
#include <cstdint>
#include <string>
#include <vector>

// One animation of a splash (its section ANIMATION<n>); the images are
// author's texts until they are located, then the paths found.
struct DatiAnimazione {
    int32_t Flags = 0;
    std::string Image;
    std::string BackImage;
};
enum BitFlagAnimazione : int32_t {
    AnimazioneSprite = 0x1,
    AnimazioneLandscape = 0x2,
    AnimazioneShowBackImage = 0x800,
};

struct ParametriSplashMedia {
    int32_t Flags = 0;
    int32_t Modo = 0;
    int32_t Codice = -1;  // the media that operation 32 performs
    int32_t Limite = 0;   // the animations in use
    std::vector<DatiAnimazione> Animazioni;
};
enum BitFlagSplash : int32_t {
    SplashCaptureKeyboard = 0x8,  // the game must be in stand-by
    SplashBackupSavegames = 0x800,
};
// The splash animation's record and its running state.
struct AnimazioneSplashMedia {
    int32_t Flags = 0;
};

extern ParametriSplashMedia ParametriSplash;
extern AnimazioneSplashMedia StatoAnimazioneSplash;

bool EseguiSplashScreen(bool& BreakEscape, bool& TestError);
bool SintassiSplash(const std::string& sezione);
void CopiaSfondoSplash(const AnimazioneSplashMedia& animazione, bool tutto);
void DisegnaTestoSplash(const std::string& testo);
