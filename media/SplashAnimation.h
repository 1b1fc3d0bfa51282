#pragma once
// The animations of a splash screen played on the cover window (a sprite
// moved over the screen, a landscape panned and zoomed into a target, a
// fixed image held for a time), and the splash's small drawing routines:
// copies between the cover and the work device context, a picture stretched
// over the cover, the splash text, clip regions.
#include <windows.h>

#include <cstdint>
#include <string>

#include "core/ImageLoading.h"
#include "core/SharedState.h"
#include "media/SplashSyntax.h"
#include "runservices/DisplayModes.h"

// The state of the current animation, saved and restored whole by the
// dispatcher around nested media.
struct AnimazioneSplashMedia {
    Rettangolo CurrentRect;  // pixels
    Rettangolo StartRect;
    Rettangolo EndRect;
    Rettangolo TargetRect;
    Rettangolo LastLandscapeRect;
    int32_t FrameWidth = 0;
    int32_t FrameHeight = 0;
    int32_t SoundEvery = 0;
    int32_t FrameCount = 0;
    float Step[4] = {};      // x, y, width, height per movement step
    float Position[4] = {};  // x, y, width, height
    uint32_t StepTick = 0;
    int32_t StepInterval = 0;  // ms
    float StepsPerCycle = 0;
    int32_t SpriteFrameCount = 0;
    int32_t SpriteFrame = 0;
    int32_t SpriteDelay = 0;  // ms, -1: one picture per movement step
    uint32_t SpriteTick = 0;
    int32_t SpriteDirection = 1;
    bool FirstCall = false;
    int32_t AnimFlags = 0;
    int32_t TransparentColour = 0;
    int32_t AnimIndex = 0;
    uint32_t AnimStartTick = 0;
    int32_t AnimSeconds = 0;
    HRGN ClipRegion = nullptr;  // kept for ReuseClip; this module deletes it
    bool ClipOutsideSaved = false;
    bool HoldSpriteFrame = false;
    // The cover draws through ClipRegion until the clip is removed.
    bool ClipSelezionata = false;
    // The work device context of the splash (the saved background) and the
    // object it replaced, as CreaDCMemoria gives them to the performer.
    HDC AnimazioneSplash = nullptr;
    HGDIOBJ PrecedenteSplash = nullptr;
};
extern AnimazioneSplashMedia StatoAnimazioneSplash;

// Where the splash draws: this surface when one is given (a memory surface
// of RettCover's size), else the cover window's device context.
extern HDC SuperficieSplash;

// How the splash text is written on the cover: the font made by
// ImpostaFontCoverSplash, its colour, transparent or on an opaque colour.
struct TestoCoverSplash {
    HFONT Font = nullptr;
    COLORREF Colore = 0;
    bool Opaco = false;
    COLORREF Sfondo = 0;
};
extern TestoCoverSplash TestoCover;
// A bold font of <altezza> pixels for the cover's text, in place of the
// previous one; False, with an error line, when it cannot be made.
bool ImpostaFontCoverSplash(const std::string& faccia, int32_t altezza);

// Prepares animation <indice> of ParametriSplash; False, with an error line,
// for a formula that cannot be evaluated, a picture that cannot be loaded
// or a movement that its frames cannot make.
bool InitAnimation(int32_t& indice);
// One step of the current animation; True once it is complete.
bool AnimaFrame();
// The tick at which the current animation's next step or picture is due,
// so that a caller's loop can wake for it; False when its intervals are 0
// or less: it is due at every pass of the loop and sets no pace.
bool TickProssimoFotogrammaSplash(uint32_t& dovuto);

// The work device context onto the cover, at RettCover's size.
void CopiaSfondoSplash(HDC lavoro, bool aggiorna);
// The cover's picture into the work device context.
void CopiaSchermoInDC(HDC lavoro);
// The picture stretched over the whole cover; False, with an error line,
// when it cannot be loaded.
bool StretchSfondoSplash(const std::string& file);
// The text (UTF-8) in the working BoundRect (pixels) with the format's Align.
void DisegnaTestoSplash(const std::string& testo);
// A rectangle in thousandths of the splash area, or the ellipse inscribed in
// it when its left value is 4096 or more (4096 then taken away).
HRGN CreaRegioneClip(const Rettangolo& millesimi);
// The cover draws everywhere again; the region stays kept for ReuseClip.
void RimuoviClipCover();
// Makes what the splash drew visible.
void AggiornaCoverSplash();
// At the end of a splash: the clip region, the animation's picture and the
// cover's font are deleted.
void LiberaAnimazioniSplash();

// What a splash holds on the cover (its picture, place and colours, the
// surface it draws on, its work device context, clip region, animation
// picture and fonts, its marks in ModificheAvvio and the held guardian),
// taken out of reach of a media performed inside it, which draws on the
// same cover and gives back or frees what it finds there; all given back
// when that media has ended.
class SplashSospeso {
public:
    SplashSospeso();
    ~SplashSospeso();
    SplashSospeso(const SplashSospeso&) = delete;
    SplashSospeso& operator=(const SplashSospeso&) = delete;

private:
    DibMemoria picture_;
    RettangoloDim rett_{};
    bool visibile_ = false;
    COLORREF sfondo_ = 0;
    COLORREF testo_ = 0;
    bool superficie_ = false;
    HRGN clip_ = nullptr;
    bool clipFuori_ = false;
    bool clipSelezionata_ = false;
    HDC lavoro_ = nullptr;
    HGDIOBJ precedente_ = nullptr;
    DibMemoria immagine_;
    TestoCoverSplash testoCover_{};
    int32_t bitAvvio_ = 0;
    bool hookSospeso_ = false;
};
