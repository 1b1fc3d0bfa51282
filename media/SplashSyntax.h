#pragma once
// The "SPLASH" section of a splash screen's syntax text and its animation
// sections "ANIMATION1", "ANIMATION2", ... Bytes and values only.
#include <cstdint>
#include <string>
#include <vector>

#include "core/SharedState.h"

// One animation of a splash (its section ANIMATION<n>); the images are
// author's texts until they are located, then the paths found.
struct DatiAnimazione {
    int32_t Flags = 0;
    std::string Image;  // "" none
    Rettangolo RectStart;
    Rettangolo RectEnd;
    Rettangolo RectTarget;
    int32_t Frames = 0;
    int32_t CycleSeconds = 0;
    int32_t AnimationSeconds = 0;
    int32_t SpriteFrames = 0;
    int32_t DelaySpriteFrames = 0;  // -1: one picture per movement step
    std::string BackImage;          // "" none
    int32_t TotClips = 0;
    std::vector<Rettangolo> Clips;  // thousandths; 4096 added to Left: an ellipse
    // Formulas that replace values at the start of the animation; "" none.
    std::string StartX, StartY, EndX, EndY;
    std::string NewFrames, NewSeconds;
    int32_t SoundFrames = 0;
};
enum BitFlagAnimazione : int32_t {
    AnimazioneSprite = 0x1,
    AnimazioneLandscape = 0x2,
    AnimazioneSaveBackground = 0x4,
    AnimazioneRestoreBackground = 0x8,
    AnimazioneReuseClip = 0x10,
    AnimazioneTransparent = 0x20,
    AnimazioneNoErase = 0x40,
    AnimazioneFixedImage = 0x80,
    AnimazioneLoop = 0x100,
    AnimazioneInverseLoop = 0x200,
    AnimazioneClipOutside = 0x400,
    AnimazioneShowBackImage = 0x800,
    AnimazionePingPongFrames = 0x1000,
    AnimazioneStartOutside = 0x2000,
    AnimazioneEndOutside = 0x4000,
    AnimazioneSoundEveryFrames = 0x8000,
};
// A clip's left value at or past this selects the ellipse inscribed in it.
constexpr int32_t ClipEllisse = 4096;

struct ParametriSplashMedia {
    int32_t Flags = 0;
    int32_t Modo = 0;
    int32_t BackColor = 0;  // RGB
    int32_t MaxChars = 0;
    int32_t CdSound = -1;
    int32_t EndTextTime = 0;  // seconds
    int32_t Limite = 0;       // the animations in use
    std::vector<DatiAnimazione> Animazioni;
    int32_t Codice = -1;     // the media that operation 32 performs
    Rettangolo BoundWindow;  // thousandths of the screen, for an input box
    int32_t TimeOut = -1;    // seconds, -1 none
    std::string LastInput;   // the expected input text
};
enum BitFlagSplash : int32_t {
    SplashStandByAtEnd = 0x1,
    SplashProgressiveText = 0x2,
    SplashTextAfterAnimations = 0x4,
    SplashCaptureKeyboard = 0x8,  // the game must be in stand-by
    SplashWaitAllAnimations = 0x10,
    SplashNoPromptCursor = 0x100,
    SplashNoImmediateCover = 0x200,
    SplashBackupSavegames = 0x800,
    SplashCaptureOnInput = 0x1000,
    SplashDontWaitHdcReady = 0x2000,
    SplashAnimationFirst = 0x10000,
    SplashOperationsFirst = 0x20000,
    SplashSuspendUserInput = 0x40000,
    SplashOpaqueText = 0x80000,
};
// What a splash does besides showing itself (its Modo, also the code of the
// game operation it performs); the input box's window has a place of its own.
constexpr int32_t ModoSalva = 1;
constexpr int32_t ModoCarica = 2;
constexpr int32_t ModoAttendiCd = 4;
constexpr int32_t ModoAnimazione = 8;
constexpr int32_t ModoTitoli = 16;
constexpr int32_t ModoSalvaMediaCarica = 32;
constexpr int32_t ModoInput = 64;

// The most animations of a splash and clip shapes of an animation: each
// count sizes an array before any of its sections is read.
constexpr int32_t MassimoAnimazioniSplash = 1000;
constexpr int32_t MassimoClipAnimazione = 1000;

extern ParametriSplashMedia ParametriSplash;

// The SPLASH section into ParametriSplash, defaults first; False at the
// first faulty tag, with what was read before it kept.
bool SintassiSplash(const std::string& sezione);
// One animation section into <animazione>.
bool SintassiAnimazione(const std::string& sezione, DatiAnimazione& animazione);
