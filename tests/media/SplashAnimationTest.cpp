// The splash animations stepped on the test clock and drawn into memory
// surfaces in place of the cover, read back by pixels: sprite pictures and
// movement, stretching, landscapes, clip shapes, refused animations, and the
// GDI objects a splash leaves behind.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/ImageFormats.h"
#include "core/ImageLoading.h"
#include "core/MediaConfig.h"
#include "core/MediaLog.h"
#include "core/MediaTrigger.h"
#include "media/SplashAnimation.h"
#include "media/SplashSyntax.h"
#include "platform/Clock.h"
#include "runservices/Desktop.h"
#include "runservices/Sounds.h"
#include "tests/core/LogLines.h"
#include "tests/support/GdiObjects.h"
#include "tests/support/TestFolders.h"

namespace {

// A screen of 1000 x 1000 pixels: thousandths are pixels.
constexpr int32_t Lato = 1000;
constexpr COLORREF Grigio = RGB(90, 90, 90);
constexpr COLORREF Magenta = RGB(255, 0, 255);
// The pictures of the strip, in order.
const COLORREF Colori[] = {RGB(200, 0, 0), RGB(0, 200, 0), RGB(0, 0, 200), RGB(200, 200, 0)};

std::vector<int32_t> toni;

// Pixels from (x, y) of a picture, as its rows of blue, green, red bytes.
std::string Pixel(int32_t larghezza, int32_t altezza, const std::function<COLORREF(int32_t, int32_t)>& colore) {
    std::string bgr;
    for (int32_t y = 0; y < altezza; ++y)
        for (int32_t x = 0; x < larghezza; ++x) {
            const COLORREF c = colore(x, y);
            bgr += static_cast<char>(GetBValue(c));
            bgr += static_cast<char>(GetGValue(c));
            bgr += static_cast<char>(GetRValue(c));
        }
    return bgr;
}

class AnimazioneSplash : public ConRigheLog {
protected:
    void SetUp() override {
        ConRigheLog::SetUp();
        ClockUseManual(true, 5000);
        schermo_ = {SchermoX, SchermoY, SchermoOrigX, SchermoOrigY};
        SchermoX = SchermoY = SchermoOrigX = SchermoOrigY = Lato;
        cover_ = RettCover;
        RettCover = RettangoloDim{0, 0, Lato, Lato};
        ASSERT_TRUE(CreaDibMemoria(Lato, Lato, superficie_));
        ASSERT_TRUE(CreaDibMemoria(Lato, Lato, lavoro_));
        Riempi(superficie_.dc, Grigio);
        Riempi(lavoro_.dc, Grigio);
        SuperficieSplash = superficie_.dc;
        StatoAnimazioneSplash = AnimazioneSplashMedia{};
        StatoAnimazioneSplash.AnimazioneSplash = lavoro_.dc;
        ParametriSplash = ParametriSplashMedia{};
        toni.clear();
        tonoSalvato_ = EmettiTono;
        EmettiTono = [](int32_t f, int32_t) { toni.push_back(f); };
    }
    void TearDown() override {
        LiberaAnimazioniSplash();
        EmettiTono = tonoSalvato_;
        StatoAnimazioneSplash = AnimazioneSplashMedia{};
        ParametriSplash = ParametriSplashMedia{};
        SuperficieSplash = nullptr;
        LiberaDibMemoria(superficie_);
        LiberaDibMemoria(lavoro_);
        RettCover = cover_;
        SchermoX = schermo_[0];
        SchermoY = schermo_[1];
        SchermoOrigX = schermo_[2];
        SchermoOrigY = schermo_[3];
        FormatoTestoCorrente = TextFormat{};
        ClockUseManual(false);
        ConRigheLog::TearDown();
    }

    static void Riempi(HDC dc, COLORREF colore) {
        HBRUSH pennello = CreateSolidBrush(colore);
        RECT r{0, 0, Lato, Lato};
        FillRect(dc, &r, pennello);
        DeleteObject(pennello);
    }
    // A pixel of the cover.
    COLORREF Cover(int32_t x, int32_t y) const {
        GdiFlush();
        const size_t riga = (static_cast<size_t>(Lato) * 3 + 3) & ~size_t{3};
        const auto* p = static_cast<const unsigned char*>(superficie_.bit) + riga * y + 3 * x;
        return RGB(p[2], p[1], p[0]);
    }
    // Which picture of the strip the cover shows at (x, y); -1 none.
    int32_t PicturaA(int32_t x, int32_t y) const {
        const COLORREF c = Cover(x, y);
        for (int32_t i = 0; i < 4; ++i)
            if (c == Colori[i]) return i;
        return -1;
    }

    // A strip of <n> pictures of 10 x 10 pixels, each of its colour; with
    // <angolo>, a magenta corner in each that a transparent copy leaves out.
    std::string Strip(int32_t n, const char* nome = "strip.bmp", bool angolo = false) {
        const std::string percorso = cartella_ / nome;
        EXPECT_TRUE(
            ScriviFileProva(percorso, ComponiBmp24(10 * n, 10, Pixel(10 * n, 10, [angolo](int32_t x, int32_t y) {
                                                       return angolo && x % 10 < 2 && y < 2 ? Magenta : Colori[x / 10];
                                                   }))));
        return percorso;
    }
    // One animation in ParametriSplash, as the syntax would leave it.
    DatiAnimazione& Aggiungi(int32_t flags, Rettangolo inizio, Rettangolo fine, int32_t frames, int32_t secondiCiclo) {
        DatiAnimazione a;
        a.Flags = flags;
        a.RectStart = inizio;
        a.RectEnd = fine;
        a.RectTarget = Rettangolo{0, 0, Lato, Lato};
        a.Frames = frames;
        a.CycleSeconds = secondiCiclo;
        a.SpriteFrames = 1;
        a.DelaySpriteFrames = -1;
        ParametriSplash.Animazioni.push_back(a);
        ParametriSplash.Limite = static_cast<int32_t>(ParametriSplash.Animazioni.size());
        return ParametriSplash.Animazioni.back();
    }
    static bool Inizia(int32_t indice) { return InitAnimation(indice); }

    CartellaProva cartella_{"splash"};
    DibMemoria superficie_;
    DibMemoria lavoro_;

private:
    RettangoloDim cover_;
    std::vector<int32_t> schermo_;
    void (*tonoSalvato_)(int32_t, int32_t) = nullptr;
};

TEST_F(AnimazioneSplash, SpritePicturesFollowTheMovementStepsForwardOrBackAndForth) {
    struct Caso {
        const char* nome;
        int32_t pictures;
        int32_t flags;
        std::vector<int32_t> attese;
    };
    const Caso casi[] = {
        {"forward", 4, 0, {0, 1, 2, 3, 0, 1, 2, 3, 0, 1}},
        {"ping-pong of 4", 4, AnimazionePingPongFrames, {0, 1, 2, 3, 2, 1, 0, 1, 2, 3}},
        {"ping-pong of 2", 2, AnimazionePingPongFrames, {0, 1, 0, 1, 0, 1, 0, 1, 0, 1}},
    };
    for (const Caso& c : casi) {
        SCOPED_TRACE(c.nome);
        ParametriSplash = ParametriSplashMedia{};
        Riempi(superficie_.dc, Grigio);
        // Ten steps of 100 ms move the sprite 10 pixels each, one picture a step.
        DatiAnimazione& a = Aggiungi(AnimazioneSprite | c.flags, {0, 0, 10, 10}, {90, 0, 100, 10}, 10, 1);
        a.Image = Strip(c.pictures);
        a.SpriteFrames = c.pictures;
        ASSERT_TRUE(Inizia(0));
        EXPECT_EQ(StatoAnimazioneSplash.FrameWidth, 10);
        EXPECT_EQ(StatoAnimazioneSplash.StepInterval, 100);
        std::vector<int32_t> viste;
        for (int32_t passo = 0; passo < 10; ++passo) {
            if (passo > 0) {
                ClockAdvance(50);
                EXPECT_FALSE(AnimaFrame());  // no step due yet: nothing drawn
                ClockAdvance(50);
            }
            const bool completa = AnimaFrame();
            EXPECT_EQ(completa, passo == 9);
            const int32_t x = 10 * passo;
            EXPECT_EQ(StatoAnimazioneSplash.CurrentRect.Left, x);
            viste.push_back(PicturaA(x + 5, 5));
            // The place left is given back its saved background.
            if (passo > 0) {
                EXPECT_EQ(Cover(x - 5, 5), Grigio);
            }
        }
        EXPECT_EQ(viste, c.attese);
    }
}

TEST_F(AnimazioneSplash, PicturesChangeOnTheirOwnDelayBetweenSteps) {
    // 40 ms a picture while a step takes 250 ms.
    DatiAnimazione& a = Aggiungi(AnimazioneSprite | AnimazioneLoop | AnimazioneInverseLoop, {0, 0, 10, 10},
                                 {20, 0, 30, 10}, 3, 0);
    a.Image = Strip(4);
    a.SpriteFrames = 4;
    a.DelaySpriteFrames = 40;
    a.AnimationSeconds = 1;
    a.NewSeconds = "1";  // the formula makes the cycle 1 s: 333 ms a step
    ASSERT_TRUE(Inizia(0));
    EXPECT_EQ(StatoAnimazioneSplash.StepInterval, 333);
    EXPECT_FALSE(AnimaFrame());
    ClockAdvance(40);
    EXPECT_FALSE(AnimaFrame());
    EXPECT_EQ(StatoAnimazioneSplash.SpriteFrame, 1);
    EXPECT_EQ(StatoAnimazioneSplash.CurrentRect.Left, 0);  // the picture changed in place
    EXPECT_EQ(PicturaA(5, 5), 1);

    std::vector<int32_t> posti;
    bool completa = false;
    for (int32_t volta = 0; volta < 10 && !completa; ++volta) {
        ClockAdvance(333);
        completa = AnimaFrame();
        posti.push_back(StatoAnimazioneSplash.CurrentRect.Left);
    }
    // Start to end, end to start, until a second has passed.
    EXPECT_EQ(posti, (std::vector<int32_t>{10, 20, 10}));
    EXPECT_TRUE(completa);
}

TEST_F(AnimazioneSplash, StepsKeepTheirDueTimesWhenTheyAreDrawnLate) {
    // 40 ms a step, as an animation of 25 frames a second.
    DatiAnimazione& a = Aggiungi(AnimazioneSprite, {0, 0, 10, 10}, {490, 0, 500, 10}, 50, 2);
    a.Image = Strip(4);
    a.SpriteFrames = 4;
    a.DelaySpriteFrames = 30;
    ASSERT_TRUE(Inizia(0));
    uint32_t dovuto = 0;
    EXPECT_TRUE(TickProssimoFotogrammaSplash(dovuto));
    EXPECT_EQ(dovuto, ClockTick());  // the first is due at once
    const uint32_t inizio = ClockTick();
    AnimaFrame();
    EXPECT_TRUE(TickProssimoFotogrammaSplash(dovuto));
    EXPECT_EQ(dovuto, inizio + 30);  // the picture comes first
    // Each step drawn 3 ms late: the next is still due on the 40 ms grid.
    for (uint32_t passo = 1; passo <= 5; ++passo) {
        ClockAdvance(inizio + 40 * passo + 3 - ClockTick());
        AnimaFrame();
        EXPECT_EQ(StatoAnimazioneSplash.CurrentRect.Left, static_cast<int32_t>(10 * passo));
        EXPECT_EQ(StatoAnimazioneSplash.StepTick, inizio + 40 * passo);
    }
    // After a stall of whole steps the pace starts again from the late one,
    // without a burst of steps to catch up.
    ClockAdvance(200);
    const uint32_t tardi = ClockTick();
    AnimaFrame();
    EXPECT_EQ(StatoAnimazioneSplash.CurrentRect.Left, 60);
    EXPECT_TRUE(TickProssimoFotogrammaSplash(dovuto));
    EXPECT_EQ(dovuto, tardi + 30);
    ClockAdvance(30);
    AnimaFrame();
    EXPECT_EQ(StatoAnimazioneSplash.CurrentRect.Left, 60);  // a picture, no step
    EXPECT_TRUE(TickProssimoFotogrammaSplash(dovuto));
    EXPECT_EQ(dovuto, tardi + 40);
}

TEST_F(AnimazioneSplash, LoopsRunAgainDirectlyOrBackwardsUntilTheirTime) {
    struct Caso {
        const char* nome;
        int32_t flags;
        std::vector<int32_t> posti, pictures;
    };
    const Caso casi[] = {
        // Back at the start, the first step holds both place and picture.
        {"direct", AnimazioneLoop, {10, 20, 0, 10}, {1, 2, 2, 3}},
        {"inverse", AnimazioneLoop | AnimazioneInverseLoop, {10, 20, 10, 0}, {1, 2, 3, 0}},
    };
    for (const Caso& c : casi) {
        SCOPED_TRACE(c.nome);
        ParametriSplash = ParametriSplashMedia{};
        DatiAnimazione& a = Aggiungi(AnimazioneSprite | c.flags, {0, 0, 10, 10}, {20, 0, 30, 10}, 3, 1);
        a.Image = Strip(4);
        a.SpriteFrames = 4;
        a.AnimationSeconds = 1;
        ASSERT_TRUE(Inizia(0));
        EXPECT_FALSE(AnimaFrame());
        std::vector<int32_t> posti, pictures;
        bool completa = false;
        while (!completa && posti.size() < 10) {
            ClockAdvance(333);
            completa = AnimaFrame();
            posti.push_back(StatoAnimazioneSplash.CurrentRect.Left);
            pictures.push_back(PicturaA(StatoAnimazioneSplash.CurrentRect.Left + 5, 5));
        }
        EXPECT_EQ(posti, c.posti);
        EXPECT_EQ(pictures, c.pictures);
    }
}

TEST_F(AnimazioneSplash, ASpriteStretchesToItsEndSizeTransparentOrNot) {
    struct Caso {
        const char* nome;
        int32_t flags;
        COLORREF angolo;  // the corner of the picture on the cover
    };
    const Caso casi[] = {{"copied", 0, Magenta}, {"transparent", AnimazioneTransparent, Grigio}};
    for (const Caso& c : casi) {
        SCOPED_TRACE(c.nome);
        ParametriSplash = ParametriSplashMedia{};
        Riempi(superficie_.dc, Grigio);
        DatiAnimazione& a = Aggiungi(AnimazioneSprite | c.flags, {100, 100, 110, 110}, {100, 100, 140, 140}, 3, 3);
        a.Image = Strip(1, "corner.bmp", true);
        ASSERT_TRUE(Inizia(0));
        EXPECT_EQ(StatoAnimazioneSplash.TransparentColour, static_cast<int32_t>(Magenta));
        for (int32_t lato : {10, 20, 30, 40}) {
            if (lato > 10) ClockAdvance(1000);
            AnimaFrame();
            SCOPED_TRACE(lato);
            EXPECT_EQ(StatoAnimazioneSplash.CurrentRect.Right, 100 + lato);
            EXPECT_EQ(Cover(100 + lato - 1, 100 + lato - 1), Colori[0]);
            EXPECT_EQ(Cover(100 + lato, 100 + lato), Grigio);
            EXPECT_EQ(Cover(100, 100), c.angolo);
        }
    }
}

// A start or end outside the screen is the rectangle moved just past the
// border nearest to it; a side already past its border is the nearest.
TEST_F(AnimazioneSplash, AStartOrEndOutsideIsJustPastTheNearestBorder) {
    struct Caso {
        const char* nome;
        int32_t flag;
        Rettangolo rett, atteso;
    };
    const Caso casi[] = {
        {"start near the left", AnimazioneStartOutside, {100, 400, 300, 600}, {-200, 400, 0, 600}},
        {"end near the bottom", AnimazioneEndOutside, {400, 600, 600, 900}, {400, 1000, 600, 1300}},
        {"start past the right", AnimazioneStartOutside, {50, 400, 1200, 600}, {1000, 400, 2150, 600}},
        {"end past the bottom", AnimazioneEndOutside, {400, 50, 600, 1100}, {400, 1000, 600, 2050}},
    };
    const std::string strip = Strip(1);
    for (const Caso& c : casi) {
        SCOPED_TRACE(c.nome);
        ParametriSplash = ParametriSplashMedia{};
        const bool inizio = c.flag == AnimazioneStartOutside;
        // The other end stays where it is written.
        const Rettangolo fermo{450, 450, 550, 550};
        DatiAnimazione& a = Aggiungi(AnimazioneSprite | c.flag, inizio ? c.rett : fermo, inizio ? fermo : c.rett, 5, 1);
        a.Image = strip;
        ASSERT_TRUE(Inizia(0));
        const Rettangolo& r = inizio ? StatoAnimazioneSplash.StartRect : StatoAnimazioneSplash.EndRect;
        const Rettangolo& altro = inizio ? StatoAnimazioneSplash.EndRect : StatoAnimazioneSplash.StartRect;
        EXPECT_EQ(r.Left, c.atteso.Left);
        EXPECT_EQ(r.Top, c.atteso.Top);
        EXPECT_EQ(r.Right, c.atteso.Right);
        EXPECT_EQ(r.Bottom, c.atteso.Bottom);
        EXPECT_EQ(altro.Left, fermo.Left);
        EXPECT_EQ(altro.Top, fermo.Top);
    }
}

TEST_F(AnimazioneSplash, ALandscapePansOverItsImageIntoTheTargetAndStopsDrawingWhenStill) {
    // Four quadrants of 50 x 50 pixels.
    const std::string immagine = cartella_ / "land.bmp";
    ASSERT_TRUE(ScriviFileProva(immagine, ComponiBmp24(100, 100, Pixel(100, 100, [](int32_t x, int32_t y) {
                                                           return Colori[(x / 50) + 2 * (y / 50)];
                                                       }))));
    DatiAnimazione& a = Aggiungi(AnimazioneLandscape | AnimazioneSoundEveryFrames, {0, 0, 500, 500},
                                 {500, 500, 1000, 1000}, 2, 2);
    a.Image = immagine;
    a.RectTarget = Rettangolo{200, 200, 400, 300};
    a.SoundFrames = 1;
    a.AnimationSeconds = 5;
    ASSERT_TRUE(Inizia(0));
    EXPECT_FALSE(AnimaFrame());
    EXPECT_EQ(Cover(210, 210), Colori[0]);
    EXPECT_EQ(Cover(390, 290), Colori[0]);
    EXPECT_EQ(Cover(199, 250), Grigio);
    EXPECT_EQ(Cover(400, 250), Grigio);
    ClockAdvance(1000);
    EXPECT_FALSE(AnimaFrame());  // at its end, before its 5 s
    EXPECT_EQ(Cover(300, 250), Colori[3]);
    // Still at its end: not drawn again.
    Riempi(superficie_.dc, Grigio);
    ClockAdvance(1000);
    EXPECT_FALSE(AnimaFrame());
    EXPECT_EQ(Cover(300, 250), Grigio);
    EXPECT_EQ(toni, (std::vector<int32_t>{200, 200}));  // effect 8 on each drawing
    ClockAdvance(3000);
    EXPECT_TRUE(AnimaFrame());
}

TEST_F(AnimazioneSplash, ClipShapesLetTheSpriteDrawInsideOrOutside) {
    struct Punto {
        int32_t x, y;
        bool disegnato;
    };
    struct Caso {
        const char* nome;
        int32_t flags;
        std::vector<Rettangolo> clip;
        std::vector<Punto> punti;
    };
    const Rettangolo ellisse{ClipEllisse + 100, 100, 300, 300};
    const Caso casi[] = {
        {"no clip", 0, {}, {{50, 50, true}, {150, 150, true}}},
        {"rectangle", 0, {{100, 100, 200, 200}}, {{150, 150, true}, {50, 50, false}, {250, 150, false}}},
        {"two rectangles", 0,
         {{100, 100, 200, 200}, {500, 500, 600, 600}},
         {{150, 150, true}, {550, 550, true}, {350, 350, false}}},
        {"outside", AnimazioneClipOutside, {{100, 100, 200, 200}}, {{150, 150, false}, {50, 50, true}}},
        {"ellipse", 0, {ellisse}, {{200, 200, true}, {105, 105, false}, {200, 105, true}, {350, 200, false}}},
        {"outside the ellipse", AnimazioneClipOutside, {ellisse}, {{200, 200, false}, {105, 105, true}}},
        // A negative left is a plain rectangle, whatever its bits.
        {"negative left", 0, {{-4000, 0, 100, 100}}, {{50, 5, true}, {150, 50, false}}},
    };
    for (const Caso& c : casi) {
        SCOPED_TRACE(c.nome);
        ParametriSplash = ParametriSplashMedia{};
        Riempi(superficie_.dc, Grigio);
        DatiAnimazione& a = Aggiungi(AnimazioneSprite | c.flags, {0, 0, Lato, Lato}, {0, 0, Lato, Lato}, 1, 1);
        a.Image = Strip(1);
        a.TotClips = static_cast<int32_t>(c.clip.size());
        a.Clips = c.clip;
        ASSERT_TRUE(Inizia(0));
        AnimaFrame();
        for (const Punto& p : c.punti)
            EXPECT_EQ(Cover(p.x, p.y), p.disegnato ? Colori[0] : Grigio) << p.x << "," << p.y;
        // Once removed, the cover draws everywhere again.
        RimuoviClipCover();
        Riempi(lavoro_.dc, Magenta);
        CopiaSfondoSplash(lavoro_.dc, true);
        EXPECT_EQ(Cover(999, 999), Magenta);
        Riempi(lavoro_.dc, Grigio);
    }
}

TEST_F(AnimazioneSplash, AReusedClipKeepsThePreviousShapeAndItsSide) {
    DatiAnimazione& a = Aggiungi(AnimazioneSprite | AnimazioneClipOutside, {0, 0, Lato, Lato}, {0, 0, Lato, Lato},
                                 1, 1);
    a.Image = Strip(1);
    a.TotClips = 1;
    a.Clips = {{100, 100, 200, 200}};
    DatiAnimazione& b = Aggiungi(AnimazioneSprite | AnimazioneReuseClip | AnimazioneRestoreBackground,
                                 {0, 0, Lato, Lato}, {0, 0, Lato, Lato}, 1, 1);
    b.Image = Strip(2, "due.bmp");
    ASSERT_TRUE(Inizia(0));
    AnimaFrame();
    ASSERT_TRUE(Inizia(1));
    EXPECT_EQ(Cover(150, 150), Grigio);  // the saved background drawn back
    AnimaFrame();
    EXPECT_EQ(Cover(150, 150), Grigio);
    EXPECT_EQ(Cover(50, 50), Colori[0]);
}

TEST_F(AnimazioneSplash, AFixedImageShowsItsBackImageForItsCycle) {
    // A picture of 2 x 2 pixels stretched over the cover: four quadrants.
    const std::string sfondo = cartella_ / "back.bmp";
    ASSERT_TRUE(ScriviFileProva(sfondo, ComponiBmp24(2, 2, Pixel(2, 2, [](int32_t x, int32_t y) {
                                                         return Colori[x + 2 * y];
                                                     }))));
    DatiAnimazione& a =
        Aggiungi(AnimazioneFixedImage | AnimazioneShowBackImage | AnimazioneSoundEveryFrames, {}, {}, 0, 2);
    a.BackImage = sfondo;
    a.SoundFrames = 1;
    ASSERT_TRUE(Inizia(0));
    EXPECT_EQ(Cover(100, 100), Colori[0]);
    EXPECT_EQ(Cover(900, 100), Colori[1]);
    EXPECT_EQ(Cover(900, 900), Colori[3]);
    // The back image became the saved background too.
    const size_t riga = (static_cast<size_t>(Lato) * 3 + 3) & ~size_t{3};
    const auto* p = static_cast<const unsigned char*>(lavoro_.bit) + riga * 900 + 3 * 100;
    EXPECT_EQ(RGB(p[2], p[1], p[0]), Colori[2]);
    EXPECT_FALSE(AnimaFrame());
    ClockAdvance(1999);
    EXPECT_FALSE(AnimaFrame());
    ClockAdvance(1);
    EXPECT_TRUE(AnimaFrame());
}

TEST_F(AnimazioneSplash, SoundsEveryGivenNumberOfDrawnFrames) {
    DatiAnimazione& a = Aggiungi(AnimazioneSprite | AnimazioneSoundEveryFrames, {0, 0, 10, 10}, {40, 0, 50, 10}, 5,
                                 1);
    a.Image = Strip(1);
    a.SoundFrames = 2;
    ASSERT_TRUE(Inizia(0));
    for (int32_t i = 0; i < 5; ++i) {
        AnimaFrame();
        ClockAdvance(200);
    }
    EXPECT_EQ(toni, (std::vector<int32_t>{300, 300, 300}));  // frames 0, 2 and 4
    // Zero frames a sound plays none, and divides nothing.
    toni.clear();
    ASSERT_TRUE(Inizia(0));
    StatoAnimazioneSplash.SoundEvery = 0;
    AnimaFrame();
    EXPECT_TRUE(toni.empty());
}

TEST_F(AnimazioneSplash, AnimationsThatCannotRunAreRefusedWithTheirLine) {
    struct Caso {
        const char* nome;
        Rettangolo fine;
        int32_t frames;
        const char* formula;
        std::string immagine;
        std::string errore;
    };
    const std::string strip = Strip(1);
    const Caso casi[] = {
        {"no frames", {0, 0, 10, 10}, 0, "", strip, "ERROR: animation 0 cannot move in 0 frames"},
        {"negative frames", {0, 0, 10, 10}, -2, "", strip, "ERROR: animation 0 cannot move in -2 frames"},
        {"one frame to move", {50, 0, 60, 10}, 1, "", strip, "ERROR: animation 0 cannot move in 1 frames"},
        {"formula", {0, 0, 10, 10}, 1, "(1", strip, "ERROR: syntax error in animation 0"},
        {"no picture", {0, 0, 10, 10}, 1, "", cartella_ / "missing.bmp",
         "ERROR: cannot load the image of animation 0: " + cartella_ / "missing.bmp"},
    };
    for (const Caso& c : casi) {
        SCOPED_TRACE(c.nome);
        ParametriSplash = ParametriSplashMedia{};
        DatiAnimazione& a = Aggiungi(AnimazioneSprite, {0, 0, 10, 10}, c.fine, c.frames, 1);
        a.Image = c.immagine;
        a.NewFrames = c.formula;
        BufferLog.clear();
        NumErroriLog = 0;
        EXPECT_FALSE(Inizia(0));
        EXPECT_EQ(UltimoErrore, c.errore);
        EXPECT_GE(NumErroriLog, 1);
    }
    // One frame that only resizes in place is a single step.
    ParametriSplash = ParametriSplashMedia{};
    Aggiungi(AnimazioneSprite, {0, 0, 10, 10}, {0, 0, 30, 30}, 1, 1).Image = strip;
    EXPECT_TRUE(Inizia(0));
    EXPECT_FALSE(Inizia(1));
    EXPECT_EQ(UltimoErrore, "ERROR: no animation 1 in splash screen");
}

TEST_F(AnimazioneSplash, TextAndPicturesOnTheCover) {
    ASSERT_TRUE(ImpostaFontCoverSplash("Tahoma", 40));
    FormatoTestoCorrente.BoundRect = Rettangolo{100, 100, 600, 200};
    FormatoTestoCorrente.Align = DT_CENTER;
    TestoCover.Colore = Colori[0];
    TestoCover.Opaco = true;
    TestoCover.Sfondo = Colori[2];
    DisegnaTestoSplash("WWW \xC3\x88");
    int32_t testo = 0, sfondo = 0, fuori = 0;
    for (int32_t y = 0; y < 300; y += 2)
        for (int32_t x = 0; x < 700; x += 2) {
            const COLORREF c = Cover(x, y);
            const bool dentro = x >= 100 && x < 600 && y >= 100 && y < 200;
            if (!dentro && c != Grigio) ++fuori;
            if (dentro && c == Colori[0]) ++testo;
            if (dentro && c == Colori[2]) ++sfondo;
        }
    EXPECT_GT(testo, 20);
    EXPECT_GT(sfondo, 20);
    EXPECT_EQ(fuori, 0);

    // The cover into the work surface and back.
    CopiaSchermoInDC(lavoro_.dc);
    Riempi(superficie_.dc, Magenta);
    CopiaSfondoSplash(lavoro_.dc, false);
    EXPECT_EQ(Cover(5, 5), Grigio);
    EXPECT_EQ(Cover(999, 999), Grigio);

    // A picture that cannot be read leaves the cover as it was.
    EXPECT_FALSE(StretchSfondoSplash(cartella_ / "none.bmp"));
    EXPECT_EQ(Cover(5, 5), Grigio);
}

TEST_F(AnimazioneSplash, RepeatedSplashesLeaveNoGdiObjects) {
    const std::string strip = Strip(4);
    const std::string sfondo = cartella_ / "back.bmp";
    ASSERT_TRUE(ScriviFileProva(sfondo, ComponiBmp24(2, 2, std::string(12, '\x40'))));
    auto splash = [&] {
        ParametriSplash = ParametriSplashMedia{};
        DatiAnimazione& a = Aggiungi(AnimazioneSprite | AnimazioneShowBackImage | AnimazioneTransparent,
                                     {0, 0, 10, 10}, {90, 90, 100, 100}, 5, 1);
        a.Image = strip;
        a.BackImage = sfondo;
        a.SpriteFrames = 4;
        a.TotClips = 2;
        a.Clips = {{ClipEllisse, 0, 500, 500}, {500, 500, 1000, 1000}};
        DatiAnimazione& b = Aggiungi(AnimazioneSprite | AnimazioneReuseClip, {0, 0, 10, 10}, {0, 0, 10, 10}, 1, 1);
        b.Image = strip;
        DatiAnimazione& c = Aggiungi(AnimazioneLandscape | AnimazioneClipOutside, {0, 0, 500, 500},
                                     {0, 0, 1000, 1000}, 2, 1);
        c.Image = strip;
        c.TotClips = 1;
        c.Clips = {{0, 0, 100, 100}};
        ImpostaFontCoverSplash("Tahoma", 30);
        DisegnaTestoSplash("text");
        for (int32_t i = 0; i < 3; ++i) {
            ASSERT_TRUE(Inizia(i));
            for (int32_t passo = 0; passo < 6 && !AnimaFrame(); ++passo) ClockAdvance(200);
        }
        RimuoviClipCover();
        LiberaAnimazioniSplash();
    };
    splash();
    const int32_t prima = OggettiGdi();
    for (int32_t volta = 0; volta < 20; ++volta) splash();
    EXPECT_EQ(OggettiGdi(), prima);
}

}  // namespace
