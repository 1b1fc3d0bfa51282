// The media window's drawing surface: the media's pictures by presentation,
// the saved background and the clips, read back from the picture box.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "tests/media/MediaWindowFixture.h"

namespace {

const COLORREF Nero = RGB(0, 0, 0), Rosso = RGB(255, 0, 0), Verde = RGB(0, 255, 0), Blu = RGB(0, 0, 255);

using SuperficieMedia = ProvaFinestraMedia;

TEST_F(SuperficieMedia, TheMediasPictureByItsPresentation) {
    struct Caso {
        const char* nome;
        int32_t flags;
        bool immagine, cattura, load;
        bool conserva;
        bool ok;
        COLORREF centro;
        bool catturaTemporanea;
    };
    // The picture is green, the capture red, load.bmp blue.
    const std::vector<Caso> casi = {
        {"background picture", BackgroundImage, true, true, true, false, true, Verde, false},
        {"background picture missing", BackgroundImage, false, true, true, false, false, Nero, false},
        {"captured screen", ScreenCapture, false, true, true, false, true, Rosso, true},
        {"captured screen kept", ScreenCapture, false, true, true, true, true, Rosso, false},
        {"no capture: the game's picture", ScreenCapture, false, false, true, false, true, Blu, false},
        {"neither capture nor game's picture", ScreenCapture, false, false, false, false, false, Nero, false},
        {"a kind without picture", FixedText, true, true, true, false, true, Nero, false},
    };
    for (const Caso& c : casi) {
        DeleteFileA((store / "verde.bmp").c_str());
        DeleteFileA(FileCatturaSchermo.c_str());
        DeleteFileA((store / "load.bmp").c_str());
        if (c.immagine) Bitmap("verde.bmp", 4, 3, Verde);
        if (c.cattura) Bitmap("tr_capture_screen.bmp", 8, 6, Rosso);
        if (c.load) Bitmap("load.bmp", 2, 2, Blu);
        MediaCorrente.TypeFlags = c.flags;
        MediaCorrente.MediaFile = store / "verde.bmp";
        ConservaCatture = c.conserva;
        Dialog_Titoli f;
        CaricaSenzaEseguire(f);
        bool ok = !c.ok;
        f.CaricaImmagineMedia(0, ok);
        EXPECT_EQ(ok, c.ok) << c.nome;
        // Stretched over the whole box: the corners too.
        for (const POINT p : {POINT{f.LarghezzaFinestra / 2, f.AltezzaFinestra / 2}, POINT{0, 0},
                              POINT{f.LarghezzaFinestra - 1, f.AltezzaFinestra - 1}})
            EXPECT_EQ(Pixel(f, p.x, p.y), c.centro) << c.nome << " at " << p.x << "," << p.y;
        const bool temporanea = std::find(f.FileTemporanei.begin(), f.FileTemporanei.end(), FileCatturaSchermo) !=
                                f.FileTemporanei.end();
        EXPECT_EQ(temporanea, c.catturaTemporanea) << c.nome;
        EXPECT_EQ(f.FileTemporanei.size(), c.catturaTemporanea ? 1u : 0u) << c.nome;
        f.Unload();
    }
    EXPECT_TRUE(HaRigaCheInizia("ERROR: missing captured screen and picture: "));
}

TEST_F(SuperficieMedia, TheSavedBackgroundComesBackWholeOrByRectangle) {
    Dialog_Titoli f;
    CaricaSenzaEseguire(f);
    HDC dc = f.Picture1.hDC();
    Riempi(dc, {0, 0, f.LarghezzaFinestra, f.AltezzaFinestra}, Blu);
    f.CreaMemoryDC();
    Riempi(dc, {0, 0, f.LarghezzaFinestra, f.AltezzaFinestra}, Rosso);
    f.RipristinaSfondoRect(false, Rettangolo{10, 10, 50, 50});
    EXPECT_EQ(Pixel(f, 10, 10), Blu);
    EXPECT_EQ(Pixel(f, 49, 49), Blu);
    EXPECT_EQ(Pixel(f, 50, 50), Rosso) << "right and bottom lie outside";
    EXPECT_EQ(Pixel(f, 9, 30), Rosso);
    f.RipristinaSfondo(false);
    EXPECT_EQ(Pixel(f, f.LarghezzaFinestra - 1, f.AltezzaFinestra - 1), Blu);
    // Saved again, what is drawn now is the background.
    Riempi(dc, {0, 0, 20, 20}, Verde);
    f.SalvaSfondo();
    Riempi(dc, {0, 0, f.LarghezzaFinestra, f.AltezzaFinestra}, Rosso);
    f.RipristinaSfondo(false);
    EXPECT_EQ(Pixel(f, 5, 5), Verde);
    EXPECT_EQ(Pixel(f, 30, 30), Blu);
    f.Unload();
}

TEST_F(SuperficieMedia, OnlyScrollingMediaKeepTheirDrawingInsideTheBoundRectangle) {
    for (const int32_t flags : {ScrollText, FixedText}) {
        MediaCorrente.TypeFlags = flags;
        Dialog_Titoli f;
        CaricaSenzaEseguire(f);
        HDC dc = f.Picture1.hDC();
        f.BoundRect = Rettangolo{100, 100, 200, 150};
        f.ApplicaBoundRectSalvato();
        const bool clip = flags == ScrollText;
        EXPECT_EQ(f.ClipAttivo, clip);
        Riempi(dc, {0, 0, f.LarghezzaFinestra, f.AltezzaFinestra}, Rosso);
        EXPECT_EQ(Pixel(f, 150, 120), Rosso);
        EXPECT_EQ(Pixel(f, 50, 50), clip ? Nero : Rosso) << flags;
        EXPECT_EQ(Pixel(f, 200, 120), clip ? Nero : Rosso) << flags;
        f.AnnullaClipRegion();
        Riempi(dc, {0, 0, f.LarghezzaFinestra, f.AltezzaFinestra}, Verde);
        EXPECT_EQ(Pixel(f, 50, 50), Verde);
        f.ImpostaClipRect();
        Riempi(dc, {0, 0, f.LarghezzaFinestra, f.AltezzaFinestra}, Blu);
        EXPECT_EQ(Pixel(f, 50, 50), clip ? Verde : Blu) << flags;
        f.Unload();
    }
}

TEST_F(SuperficieMedia, TheRoundClipIsTheEllipseInsideTheRectangle) {
    Dialog_Titoli f;
    CaricaSenzaEseguire(f);
    HDC dc = f.Picture1.hDC();
    f.ImpostaClipRoundRect(Rettangolo{100, 100, 300, 200});
    EXPECT_TRUE(HaRiga("Round rect: 100,100 - 300,200"));
    Riempi(dc, {0, 0, f.LarghezzaFinestra, f.AltezzaFinestra}, Rosso);
    EXPECT_EQ(Pixel(f, 200, 150), Rosso);
    EXPECT_EQ(Pixel(f, 110, 150), Rosso);
    EXPECT_EQ(Pixel(f, 102, 102), Nero) << "a corner lies outside the ellipse";
    EXPECT_EQ(Pixel(f, 297, 197), Nero);
    EXPECT_EQ(Pixel(f, 50, 150), Nero);
    f.Unload();
}

}  // namespace
