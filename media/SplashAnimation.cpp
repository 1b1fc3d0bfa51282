#include "media/SplashAnimation.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <utility>

#include "core/ImageLoading.h"
#include "core/LevelVariables.h"
#include "core/MediaLog.h"
#include "core/MediaTrigger.h"
#include "core/TextUtils.h"
#include "core/Utf8Text.h"
#include "platform/Clock.h"
#include "core/ModuleInit.h"
#include "media/TextLayout.h"
#include "runservices/Desktop.h"
#include "runservices/DisplayModes.h"
#include "runservices/GameWindow.h"
#include "runservices/KeyboardHook.h"
#include "runservices/Sounds.h"

AnimazioneSplashMedia StatoAnimazioneSplash;
HDC SuperficieSplash = nullptr;
TestoCoverSplash TestoCover;

namespace {

constexpr int32_t EffettoSprite = 7;
constexpr int32_t EffettoLandscape = 8;
constexpr int32_t EffettoImmagineFissa = 4;
constexpr UINT FormatoTestoSplash = DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX;
// Steps of a float that land this near their end have reached it.
constexpr float Tolleranza = 0.001f;

// The picture of the current animation: the strip of a sprite or the image
// of a landscape, loaded once per animation.
DibMemoria Immagine;

std::string S(int32_t v) { return std::to_string(v); }

// The cover's device context for one drawing, clipped as the animation asks.
class DcCover {
public:
    DcCover() {
        if (SuperficieSplash) {
            dc_ = SuperficieSplash;
        } else {
            Dialog_Cover& cover = DialogCover();
            if (!cover.Loaded()) return;
            finestra_ = cover.hWnd();
            dc_ = GetDC(finestra_);
        }
        if (dc_) ApplicaClip();
    }
    ~DcCover() {
        if (finestra_ && dc_) ReleaseDC(finestra_, dc_);
    }
    DcCover(const DcCover&) = delete;
    DcCover& operator=(const DcCover&) = delete;
    HDC dc() const { return dc_; }

private:
    void ApplicaClip() {
        const AnimazioneSplashMedia& s = StatoAnimazioneSplash;
        if (!s.ClipSelezionata || !s.ClipRegion) {
            SelectClipRgn(dc_, nullptr);
            return;
        }
        if (!s.ClipOutsideSaved) {
            SelectClipRgn(dc_, s.ClipRegion);
            return;
        }
        // Outside the shapes: the whole surface less the region.
        HRGN fuori = CreateRectRgn(0, 0, 0x7FFF, 0x7FFF);
        if (!fuori) return;
        CombineRgn(fuori, fuori, s.ClipRegion, RGN_DIFF);
        SelectClipRgn(dc_, fuori);
        DeleteObject(fuori);
    }

    HWND finestra_ = nullptr;
    HDC dc_ = nullptr;
};

bool Uguali(const Rettangolo& a, const Rettangolo& b) {
    return a.Left == b.Left && a.Top == b.Top && a.Right == b.Right && a.Bottom == b.Bottom;
}

void LiberaImmagine() {
    if (Immagine.dc) LiberaDibMemoria(Immagine);
    Immagine = DibMemoria{};
}

void LiberaRegione() {
    AnimazioneSplashMedia& s = StatoAnimazioneSplash;
    if (s.ClipRegion) DeleteObject(s.ClipRegion);
    s.ClipRegion = nullptr;
    s.ClipSelezionata = false;
}

// A start or end rectangle of the animation in pixels: its formulas move its
// left or top keeping its size; a sprite's is in thousandths of the screen,
// a landscape's in thousandths of the image.
bool RettangoloAnimazione(Rettangolo r, const std::string& formulaX, const std::string& formulaY, bool fuori,
                          const char* quale, Rettangolo& pixel) {
    const AnimazioneSplashMedia& s = StatoAnimazioneSplash;
    // The formula's value is the new low edge; the size stays.
    auto sposta = [quale](const std::string& formula, const char* asse, int32_t& basso, int32_t& alto) {
        if (formula.empty()) return true;
        StampaLog(std::string("Modify ") + asse + " Position of " + quale + " Rect");
        bool errore = false;
        const int32_t valore = CalcolaFormula(formula, errore);
        if (errore) return false;
        alto = valore + (alto - basso);
        basso = valore;
        return true;
    };
    if (!sposta(formulaX, "X", r.Left, r.Right) || !sposta(formulaY, "Y", r.Top, r.Bottom)) return false;
    if (s.AnimFlags & AnimazioneSprite) {
        if (fuori) r = RettangoloFuoriSchermo(r);
        pixel = ScalaSchermo(r);
    } else {
        pixel = Rettangolo{Arrotonda(MillesimiDi(s.FrameWidth, r.Left)), Arrotonda(MillesimiDi(s.FrameHeight, r.Top)),
                           Arrotonda(MillesimiDi(s.FrameWidth, r.Right)),
                           Arrotonda(MillesimiDi(s.FrameHeight, r.Bottom))};
    }
    return true;
}

void PosizioneAllInizio() {
    AnimazioneSplashMedia& s = StatoAnimazioneSplash;
    const Rettangolo& st = s.StartRect;
    s.Position[0] = static_cast<float>(st.Left);
    s.Position[1] = static_cast<float>(st.Top);
    s.Position[2] = static_cast<float>(st.Right - st.Left);
    s.Position[3] = static_cast<float>(st.Bottom - st.Top);
}

bool ErroreFormula(int32_t indice) { return RigaErrore("ERROR: syntax error in animation " + S(indice)); }

void SelezionaClip(const DatiAnimazione& a) {
    AnimazioneSplashMedia& s = StatoAnimazioneSplash;
    if (a.Flags & AnimazioneReuseClip) {
        if (s.ClipRegion) s.ClipSelezionata = true;
        return;
    }
    if (a.TotClips <= 0 || a.Clips.empty()) return;
    LiberaRegione();
    HRGN regione = CreaRegioneClip(a.Clips[0]);
    if (!regione) return;
    const size_t n = std::min(static_cast<size_t>(a.TotClips), a.Clips.size());
    for (size_t i = 1; i < n; ++i) {
        if (HRGN altra = CreaRegioneClip(a.Clips[i])) {
            CombineRgn(regione, regione, altra, RGN_OR);
            DeleteObject(altra);
        }
    }
    s.ClipRegion = regione;
    s.ClipOutsideSaved = (a.Flags & AnimazioneClipOutside) != 0;
    s.ClipSelezionata = true;
}

void Suono(int32_t effetto) {
    AnimazioneSplashMedia& s = StatoAnimazioneSplash;
    // A sound every zero frames is no sound.
    if ((s.AnimFlags & AnimazioneSoundEveryFrames) && s.SoundEvery > 0 && s.FrameCount % s.SoundEvery == 0)
        SuonaEffetto(effetto, true, false);
    ++s.FrameCount;
}

// The next picture of the strip: wrapping, or back and forth without
// showing an end picture twice.
void ProssimaImmagine() {
    AnimazioneSplashMedia& s = StatoAnimazioneSplash;
    const int32_t prossima = s.SpriteFrame + s.SpriteDirection;
    if (prossima >= 0 && prossima < s.SpriteFrameCount) {
        s.SpriteFrame = prossima;
    } else if (s.AnimFlags & AnimazionePingPongFrames) {
        s.SpriteDirection = -s.SpriteDirection;
        s.SpriteFrame = s.SpriteDirection < 0 ? s.SpriteFrameCount - 2 : 1;
    } else {
        s.SpriteFrame = 0;
    }
}

// One movement step; True when all four values reached their ends.
bool Muovi() {
    AnimazioneSplashMedia& s = StatoAnimazioneSplash;
    const Rettangolo& e = s.EndRect;
    const float fine[4] = {static_cast<float>(e.Left), static_cast<float>(e.Top),
                           static_cast<float>(e.Right - e.Left), static_cast<float>(e.Bottom - e.Top)};
    bool completo = true;
    for (int i = 0; i < 4; ++i) {
        float v = s.Position[i] + s.Step[i];
        if (s.Step[i] > 0 ? v > fine[i] : v < fine[i]) v = fine[i];
        if (std::fabs(v - fine[i]) < Tolleranza) v = fine[i];
        s.Position[i] = v;
        if (v != fine[i]) completo = false;
    }
    return completo;
}

// The tick a step that came due at <adesso> counts from: the one it was due
// at, so that a late wake-up does not push every later step back; after a
// whole interval lost the pace starts again from now.
uint32_t ProssimaScadenza(uint32_t ultimo, int32_t intervallo, uint32_t adesso) {
    if (intervallo <= 0 || static_cast<int64_t>(adesso - ultimo) >= 2 * static_cast<int64_t>(intervallo)) return adesso;
    return ultimo + static_cast<uint32_t>(intervallo);
}

void DisegnaSprite(HDC dc) {
    AnimazioneSplashMedia& s = StatoAnimazioneSplash;
    const Rettangolo& r = s.CurrentRect;
    const int32_t w = r.Right - r.Left, h = r.Bottom - r.Top;
    if (dc && Immagine.dc) {
        const int32_t x = s.FrameWidth * s.SpriteFrame;
        if (s.AnimFlags & AnimazioneTransparent)
            TransparentBlt(dc, r.Left, r.Top, w, h, Immagine.dc, x, 0, s.FrameWidth, s.FrameHeight,
                           static_cast<UINT>(s.TransparentColour));
        else
            StretchBlt(dc, r.Left, r.Top, w, h, Immagine.dc, x, 0, s.FrameWidth, s.FrameHeight, SRCCOPY);
    }
    if (LogAbilitato)
        StampaLog("Animation " + S(s.AnimIndex) + ": Move Sprite: Org=(" + S(r.Left) + ", " + S(r.Top) +
                  ")  Size=" + S(w) + " x " + S(h));
}

void DisegnaLandscape(HDC dc) {
    AnimazioneSplashMedia& s = StatoAnimazioneSplash;
    const Rettangolo& r = s.CurrentRect;
    const Rettangolo& t = s.TargetRect;
    const int32_t w = r.Right - r.Left, h = r.Bottom - r.Top;
    if (dc && Immagine.dc)
        StretchBlt(dc, t.Left, t.Top, t.Right - t.Left, t.Bottom - t.Top, Immagine.dc, r.Left, r.Top, w, h, SRCCOPY);
    if (LogAbilitato)
        StampaLog("Animation " + S(s.AnimIndex) + ": Animate Landscape: Org=(" + S(r.Left) + ", " + S(r.Top) +
                  ")  Size=" + S(w) + " x " + S(h));
    s.LastLandscapeRect = r;
}

}  // namespace

bool ImpostaFontCoverSplash(const std::string& faccia, int32_t altezza) {
    HFONT font = CreateFontA(-altezza, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                             CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, faccia.c_str());
    if (!font) return RigaErrore("ERROR: cannot make the font " + faccia + " of " + S(altezza) + " pixels");
    if (TestoCover.Font) DeleteObject(TestoCover.Font);
    TestoCover.Font = font;
    return true;
}

HRGN CreaRegioneClip(const Rettangolo& millesimi) {
    Rettangolo r = millesimi;
    const bool ellisse = r.Left >= ClipEllisse;
    if (ellisse) r.Left -= ClipEllisse;
    const Rettangolo p = ScalaSchermo(r);
    if (ellisse) return CreateRoundRectRgn(p.Left, p.Top, p.Right, p.Bottom, p.Right - p.Left, p.Bottom - p.Top);
    return CreateRectRgn(p.Left, p.Top, p.Right, p.Bottom);
}

void RimuoviClipCover() {
    StatoAnimazioneSplash.ClipSelezionata = false;
    if (SuperficieSplash) SelectClipRgn(SuperficieSplash, nullptr);
}

void AggiornaCoverSplash() { GdiFlush(); }

void CopiaSfondoSplash(HDC lavoro, bool aggiorna) {
    DcCover cover;
    if (cover.dc() && lavoro) BitBlt(cover.dc(), 0, 0, RettCover.Larghezza, RettCover.Altezza, lavoro, 0, 0, SRCCOPY);
    if (aggiorna) AggiornaCoverSplash();
}

void CopiaSchermoInDC(HDC lavoro) {
    DcCover cover;
    if (cover.dc() && lavoro) BitBlt(lavoro, 0, 0, RettCover.Larghezza, RettCover.Altezza, cover.dc(), 0, 0, SRCCOPY);
}

bool StretchSfondoSplash(const std::string& file) {
    DibMemoria sfondo;
    int32_t larghezza = 0, altezza = 0;
    if (!CaricaImmagineDib(file, sfondo, larghezza, altezza)) return false;
    {
        DcCover cover;
        if (cover.dc())
            StretchBlt(cover.dc(), 0, 0, RettCover.Larghezza, RettCover.Altezza, sfondo.dc, 0, 0, larghezza, altezza,
                       SRCCOPY);
    }
    LiberaDibMemoria(sfondo);
    return true;
}

void DisegnaTestoSplash(const std::string& testo) {
    DcCover cover;
    HDC dc = cover.dc();
    if (!dc) return;
    const Rettangolo& b = FormatoTestoCorrente.BoundRect;
    RECT r{b.Left, b.Top, b.Right, b.Bottom};
    HGDIOBJ fontPrima = TestoCover.Font ? SelectObject(dc, TestoCover.Font) : nullptr;
    const COLORREF colorePrima = SetTextColor(dc, TestoCover.Colore);
    const COLORREF sfondoPrima = SetBkColor(dc, TestoCover.Sfondo);
    const int modoPrima = SetBkMode(dc, TestoCover.Opaco ? OPAQUE : TRANSPARENT);
    const std::u16string testo16 = Utf16DaUtf8(testo);
    DrawTextW(dc, reinterpret_cast<LPCWSTR>(testo16.c_str()), static_cast<int>(testo16.size()), &r,
              static_cast<UINT>(FormatoTestoCorrente.Align) | FormatoTestoSplash);
    SetBkMode(dc, modoPrima);
    SetBkColor(dc, sfondoPrima);
    SetTextColor(dc, colorePrima);
    if (fontPrima) SelectObject(dc, fontPrima);
}

bool InitAnimation(int32_t& indice) {
    AnimazioneSplashMedia& s = StatoAnimazioneSplash;
    if (indice < 0 || static_cast<size_t>(indice) >= ParametriSplash.Animazioni.size() ||
        indice >= ParametriSplash.Limite)
        return RigaErrore("ERROR: no animation " + S(indice) + " in splash screen");
    const DatiAnimazione& a = ParametriSplash.Animazioni[static_cast<size_t>(indice)];
    s.AnimIndex = indice;

    RimuoviClipCover();
    if (a.Flags & AnimazioneRestoreBackground) CopiaSfondoSplash(s.AnimazioneSplash, false);
    if (a.Flags & AnimazioneSaveBackground) CopiaSchermoInDC(s.AnimazioneSplash);
    if (a.Flags & AnimazioneShowBackImage) {
        StretchSfondoSplash(a.BackImage);
        CopiaSchermoInDC(s.AnimazioneSplash);
    }
    SelezionaClip(a);

    s.AnimFlags = a.Flags;
    s.SpriteFrameCount = a.SpriteFrames;
    s.SpriteFrame = 0;
    s.SpriteDelay = a.DelaySpriteFrames;
    s.AnimSeconds = a.AnimationSeconds;
    s.LastLandscapeRect.Top = -1;
    s.LastLandscapeRect.Bottom = -1;
    s.FrameCount = 0;
    s.SoundEvery = a.SoundFrames;

    int32_t secondi = a.CycleSeconds;
    int32_t frames = a.Frames;
    bool errore = false;
    if (!a.NewSeconds.empty()) {
        StampaLog("Modify [Seconds for cycle] field with formula:");
        secondi = CalcolaFormula(a.NewSeconds, errore);
        if (errore) return ErroreFormula(indice);
    }
    if (!a.NewFrames.empty()) {
        StampaLog("Modify [Frames per cycle] field with formula:");
        frames = CalcolaFormula(a.NewFrames, errore);
        if (errore) return ErroreFormula(indice);
    }

    if (a.Flags & AnimazioneFixedImage) {
        s.StepInterval = secondi * 1000;
        StampaLog("Delay time for Fixed Image=" + S(s.StepInterval));
        s.FirstCall = true;
        s.HoldSpriteFrame = true;
        return true;
    }

    LiberaImmagine();
    s.FrameWidth = s.FrameHeight = 0;
    if (a.Flags & (AnimazioneSprite | AnimazioneLandscape)) {
        StampaLog("Load image=" + a.Image);
        int32_t larghezza = 0, altezza = 0;
        if (!CaricaImmagineDib(a.Image, Immagine, larghezza, altezza))
            return RigaErrore("ERROR: cannot load the image of animation " + S(indice) + ": " + a.Image);
        s.FrameWidth = larghezza;
        s.FrameHeight = altezza;
        if ((a.Flags & AnimazioneSprite) && s.SpriteFrameCount > 1) s.FrameWidth = larghezza / s.SpriteFrameCount;
    }

    if (!RettangoloAnimazione(a.RectEnd, a.EndX, a.EndY, (a.Flags & AnimazioneEndOutside) != 0, "End", s.EndRect) ||
        !RettangoloAnimazione(a.RectStart, a.StartX, a.StartY, (a.Flags & AnimazioneStartOutside) != 0, "Start",
                              s.StartRect))
        return ErroreFormula(indice);
    const Rettangolo& st = s.StartRect;
    const Rettangolo& en = s.EndRect;
    PosizioneAllInizio();
    if (a.Flags & AnimazioneLandscape) s.TargetRect = ScalaSchermo(a.RectTarget);

    // A step interval over no frames, or one step between two places, would
    // divide by zero.
    const bool sposta = st.Left != en.Left || st.Top != en.Top;
    if (frames < 1 || (frames == 1 && sposta))
        return RigaErrore("ERROR: animation " + S(indice) + " cannot move in " + S(frames) + " frames");
    s.StepsPerCycle = static_cast<float>(frames);
    s.StepInterval = Arrotonda(secondi * 1000.0 / frames);

    if ((a.Flags & AnimazioneSprite) && Immagine.dc)
        s.TransparentColour = static_cast<int32_t>(GetPixel(Immagine.dc, 0, 0));

    const float passi = static_cast<float>(frames);
    s.Step[0] = en.Left == st.Left ? 0.0f : static_cast<float>(en.Left - st.Left) / (passi - 1);
    s.Step[1] = en.Top == st.Top ? 0.0f : static_cast<float>(en.Top - st.Top) / (passi - 1);
    s.Step[2] = static_cast<float>((en.Right - en.Left) - (st.Right - st.Left)) / passi;
    s.Step[3] = static_cast<float>((en.Bottom - en.Top) - (st.Bottom - st.Top)) / passi;
    s.SpriteDirection = 1;
    s.FirstCall = true;
    s.HoldSpriteFrame = true;
    return true;
}

bool AnimaFrame() {
    AnimazioneSplashMedia& s = StatoAnimazioneSplash;
    const uint32_t adesso = ClockTick();
    const bool primo = s.FirstCall;
    const bool sprite = (s.AnimFlags & AnimazioneSprite) != 0;
    const bool fissa = (s.AnimFlags & AnimazioneFixedImage) != 0;
    bool ciclo = false;
    if (primo) {
        s.StepTick = s.SpriteTick = s.AnimStartTick = adesso;
        StampaLog("Start time for first animation cycle");
    } else {
        const bool passo = static_cast<int64_t>(adesso - s.StepTick) >= s.StepInterval;
        if (passo) s.StepTick = ProssimaScadenza(s.StepTick, s.StepInterval, adesso);
        bool cambio = false;
        if (sprite && s.SpriteFrameCount >= 2) {
            cambio = s.SpriteDelay == -1 ? passo : static_cast<int64_t>(adesso - s.SpriteTick) >= s.SpriteDelay;
            if (cambio) {
                s.SpriteTick = s.SpriteDelay == -1 ? adesso : ProssimaScadenza(s.SpriteTick, s.SpriteDelay, adesso);
                if (!s.HoldSpriteFrame) ProssimaImmagine();
            }
        }
        if (!passo && !cambio) return false;
        if (passo && !s.HoldSpriteFrame) {
            if (fissa) {
                StampaLog("Time complete for fixed image");
                return true;
            }
            ciclo = Muovi();
        }
    }

    if (LogAbilitato) StampaLog("Current sprite frame = " + S(s.SpriteFrame));
    {
        DcCover cover;
        HDC dc = cover.dc();
        const Rettangolo vecchio = s.CurrentRect;
        if (sprite && !(s.AnimFlags & AnimazioneNoErase) && !primo && dc && s.AnimazioneSplash)
            BitBlt(dc, vecchio.Left, vecchio.Top, vecchio.Right - vecchio.Left, vecchio.Bottom - vecchio.Top,
                   s.AnimazioneSplash, vecchio.Left, vecchio.Top, SRCCOPY);
        s.FirstCall = false;
        s.HoldSpriteFrame = false;
        const int32_t x = Arrotonda(s.Position[0]), y = Arrotonda(s.Position[1]);
        s.CurrentRect = Rettangolo{x, y, x + Arrotonda(s.Position[2]), y + Arrotonda(s.Position[3])};
        if (sprite) {
            Suono(EffettoSprite);
            DisegnaSprite(dc);
        } else if ((s.AnimFlags & AnimazioneLandscape) && !Uguali(s.CurrentRect, s.LastLandscapeRect)) {
            Suono(EffettoLandscape);
            DisegnaLandscape(dc);
        }
    }
    AggiornaCoverSplash();
    if (fissa && (s.AnimFlags & AnimazioneSoundEveryFrames)) {
        StampaLog("Sound effect for fixed image of current animation");
        SuonaEffetto(EffettoImmagineFissa, true, false);
    }

    if (ciclo && (s.AnimFlags & AnimazioneLoop)) {
        StampaLog("Start another loop");
        if (s.AnimFlags & AnimazioneInverseLoop) {
            StampaLog("Inverse loop");
            std::swap(s.StartRect, s.EndRect);
            for (float& passo : s.Step) passo = -passo;
        } else {
            StampaLog("Direct loop");
            PosizioneAllInizio();
            s.HoldSpriteFrame = true;
        }
    }

    if (static_cast<int64_t>(adesso - s.AnimStartTick) >= static_cast<int64_t>(s.AnimSeconds) * 1000 &&
        ((s.AnimFlags & AnimazioneLoop) || ciclo)) {
        StampaLog("Current animation is complete");
        return true;
    }
    return false;
}

bool TickProssimoFotogrammaSplash(uint32_t& dovuto) {
    const AnimazioneSplashMedia& s = StatoAnimazioneSplash;
    if (s.FirstCall) {
        dovuto = ClockTick();
        return true;
    }
    // An interval of 0 or less is due at every pass: it sets no pace.
    bool passo = s.StepInterval > 0;
    if (passo) dovuto = s.StepTick + static_cast<uint32_t>(s.StepInterval);
    if ((s.AnimFlags & AnimazioneSprite) && s.SpriteFrameCount >= 2 && s.SpriteDelay > 0) {
        const uint32_t immagine = s.SpriteTick + static_cast<uint32_t>(s.SpriteDelay);
        if (!passo || static_cast<int32_t>(immagine - dovuto) < 0) dovuto = immagine;
        passo = true;
    }
    return passo;
}

void LiberaAnimazioniSplash() {
    RimuoviClipCover();
    LiberaRegione();
    LiberaImmagine();
    if (TestoCover.Font) DeleteObject(TestoCover.Font);
    TestoCover.Font = nullptr;
}

namespace {
constexpr int32_t BitSplashSospesi = SplashAttivo | SwapTaskBloccato;
}

SplashSospeso::SplashSospeso() {
    AnimazioneSplashMedia& s = StatoAnimazioneSplash;
    Dialog_Cover& cover = DialogCover();
    rett_ = RettCover;
    visibile_ = CoverVisibile();
    sfondo_ = cover.BackColor;
    testo_ = cover.ForeColor;
    superficie_ = SuperficieSplash != nullptr;
    if (superficie_ && CreaDibMemoria(RettCover.Larghezza, RettCover.Altezza, picture_))
        BitBlt(picture_.dc, 0, 0, RettCover.Larghezza, RettCover.Altezza, SuperficieSplash, 0, 0, SRCCOPY);
    SuperficieSplash = nullptr;
    clip_ = s.ClipRegion;
    clipFuori_ = s.ClipOutsideSaved;
    clipSelezionata_ = s.ClipSelezionata;
    s.ClipRegion = nullptr;
    s.ClipSelezionata = false;
    lavoro_ = s.AnimazioneSplash;
    precedente_ = s.PrecedenteSplash;
    s.AnimazioneSplash = nullptr;
    s.PrecedenteSplash = nullptr;
    immagine_ = Immagine;
    Immagine = DibMemoria{};
    testoCover_ = TestoCover;
    TestoCover = TestoCoverSplash{};
    bitAvvio_ = ModificheAvvio & BitSplashSospesi;
    hookSospeso_ = HaBit(StatoGioco, HookSospeso);
}

SplashSospeso::~SplashSospeso() {
    AnimazioneSplashMedia& s = StatoAnimazioneSplash;
    Dialog_Cover& cover = DialogCover();
    // The inner media's own picture and font, when it left them.
    LiberaImmagine();
    Immagine = immagine_;
    if (TestoCover.Font) DeleteObject(TestoCover.Font);
    TestoCover = testoCover_;
    s.ClipRegion = clip_;
    s.ClipOutsideSaved = clipFuori_;
    s.ClipSelezionata = clipSelezionata_;
    s.AnimazioneSplash = lavoro_;
    s.PrecedenteSplash = precedente_;
    RettCover = rett_;
    cover.BackColor = sfondo_;
    cover.ForeColor = testo_;
    if (superficie_) {
        PosizionaCover();
        SuperficieSplash = cover.DCCover();
        if (SuperficieSplash && picture_.dc)
            BitBlt(SuperficieSplash, 0, 0, RettCover.Larghezza, RettCover.Altezza, picture_.dc, 0, 0, SRCCOPY);
        // The rows of a progressive text still to come are written in the
        // cover's font, which the inner media may have replaced.
        if (HaBit(ParametriSplash.Flags, SplashProgressiveText))
            cover.ImpostaFontCover(NomeFontDaIndice(MediaCorrente.Formato.Font),
                                   LarghezzaCarattere(MediaCorrente.Formato.CharRow), true);
    }
    if (picture_.dc) LiberaDibMemoria(picture_);
    if (visibile_ && !CoverVisibile()) {
        if (IsModoFinestra())
            MostraCoverSopraGioco();
        else
            cover.Show();
    }
    cover.RidisegnaCover();
    ModificheAvvio = (ModificheAvvio & ~BitSplashSospesi) | bitAvvio_;
    // Held off again when the inner media gave the guardian back.
    if (hookSospeso_) SospendiHookTastiera();
}
