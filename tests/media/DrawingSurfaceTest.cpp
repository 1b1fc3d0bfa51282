// The media window's drawing surface: the media's pictures by presentation,
// the saved background and the clips, read back from the picture box.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
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

// The pixels of a colour inside a rectangle of the box.
int32_t Conta(Dialog_Titoli& f, const RECT& r, COLORREF colore) {
    int32_t n = 0;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x) n += GetPixel(f.Picture1.hDC(), x, y) == colore;
    return n;
}

TEST_F(SuperficieMedia, ATextRedrawnInItsRectangleLeavesNoTraceOfThePreviousOne) {
    const COLORREF bianco = RGB(255, 255, 255);
    SchermoX = 800;
    SchermoY = 600;
    Dialog_Titoli f;
    CaricaSenzaEseguire(f);
    HDC dc = f.Picture1.hDC();
    Riempi(dc, {0, 0, 800, 600}, Blu);
    f.CreaMemoryDC();
    f.Picture1.ForeColor = bianco;
    FormatoTestoCorrente.BoundRect = Rettangolo{100, 100, 500, 300};
    const RECT r{80, 60, 400, 180}, tutto{0, 0, 800, 600};
    f.ScriviTestoRect("MMMMMMMM WWWWWWWW MMMMMMMM WWWWWWWW MMMMMMMM WWWWWWWW MMMMMMMM");
    const int32_t primo = Conta(f, r, bianco);
    EXPECT_GT(primo, 200);
    EXPECT_EQ(Conta(f, tutto, bianco), primo) << "nothing outside the rectangle";
    f.ScriviTestoRect(".");
    const int32_t secondo = Conta(f, r, bianco);
    EXPECT_GT(secondo, 0);
    EXPECT_LT(secondo, 20);
    f.ScriviTestoRect("");
    EXPECT_EQ(Conta(f, r, Blu), (r.right - r.left) * (r.bottom - r.top));

    // Blinking: written on one tick of the second timer, gone on the next.
    FormatoTestoCorrente.Effect = 2;
    f.BoundRect = f.CalcolaBoundRect(true);
    f.TestoDinamico = "MMMM WWWW";
    for (const bool mostrato : {true, false, true}) {
        f.Timer_Dinamico_Timer();
        EXPECT_EQ(f.TestoMostrato, mostrato);
        EXPECT_EQ(Conta(f, r, bianco) > 50, mostrato);
    }
    f.Unload();
}

TEST_F(SuperficieMedia, SequencePicturesArePaintedInTheirRectangleWithTwoPixelsMoreWideAndOneMoreHigh) {
    SchermoX = 800;
    SchermoY = 600;
    MediaCorrente.TypeFlags = ImageSequence | FixedText;
    struct Caso {
        Rettangolo millesimi;
        RECT dipinto;  // in pixels, right and bottom outside
    };
    const std::string verde = Bitmap("verde.bmp", 3, 2, Verde);
    for (const Caso& c : {Caso{{0, 0, 500, 500}, {0, 0, 402, 301}}, Caso{{250, 500, 750, 1000}, {200, 300, 602, 600}},
                          Caso{{0, 0, 1000, 1000}, {0, 0, 800, 600}}}) {
        Dialog_Titoli f;
        CaricaSenzaEseguire(f);
        ImmagineSequenza im;
        im.Image = verde;
        im.IFlags = 0x8;
        im.Bound = c.millesimi;
        ListaImmagini = {im, ImmagineSequenza{}};
        bool ok = false;
        f.CaricaImmagineMedia(0, ok);
        EXPECT_TRUE(ok);
        const RECT& d = c.dipinto;
        const int32_t area = (d.right - d.left) * (d.bottom - d.top);
        EXPECT_EQ(Conta(f, d, Verde), area) << d.left << "," << d.top;
        EXPECT_EQ(Conta(f, {0, 0, 800, 600}, Verde), area) << "and nowhere else";
        f.Unload();
    }
}

TEST_F(SuperficieMedia, SequencePicturesByTheirFlags) {
    SchermoX = 800;
    SchermoY = 600;
    MediaCorrente.TypeFlags = ImageSequence | FixedText;
    const std::string rosso = Bitmap("rosso.bmp", 2, 2, Rosso);
    // A text drawn over the saved blue background at T; the picture goes to
    // the right half.
    const RECT T{20, 20, 60, 60}, destra{400, 0, 800, 600}, sinistra{0, 0, 400, 600};
    struct Caso {
        int32_t flags;
        bool testoResta;
        COLORREF aDestra, aSinistra;
        bool ok;
    };
    const std::vector<Caso> casi = {
        {0x0, false, Rosso, Blu, true},
        {0x8, true, Rosso, Blu, true},
        {0x4, false, Blu, Blu, true},
        {0x4 | 0x8, true, Blu, Blu, true},
        {0x1, false, Rosso, Rosso, true},
        {0x1 | 0x8, false, Rosso, Rosso, true},
        {0x20, false, Rosso, Blu, true},
    };
    for (const Caso& c : casi) {
        Dialog_Titoli f;
        CaricaSenzaEseguire(f);
        HDC dc = f.Picture1.hDC();
        Riempi(dc, {0, 0, 800, 600}, Blu);
        f.CreaMemoryDC();
        Riempi(dc, T, Verde);
        ImmagineSequenza im;
        im.Image = rosso;
        im.IFlags = c.flags;
        im.Bound = Rettangolo{500, 0, 1000, 1000};
        ListaImmagini = {ImmagineSequenza{}, im, ImmagineSequenza{}};
        bool ok = !c.ok;
        f.CaricaImmagineMedia(1, ok);
        EXPECT_EQ(ok, c.ok) << std::hex << c.flags;
        if (c.aSinistra != Rosso) {
            EXPECT_EQ(Conta(f, T, Verde), c.testoResta ? 1600 : 0) << std::hex << c.flags;
        }
        EXPECT_EQ(Pixel(f, 600, 300), c.aDestra) << std::hex << c.flags;
        EXPECT_EQ(Pixel(f, 200, 300), c.aSinistra) << std::hex << c.flags;
        // What was painted is now the background the texts restore.
        Riempi(dc, {0, 0, 800, 600}, Nero);
        f.RipristinaSfondo(false);
        EXPECT_EQ(Pixel(f, 600, 300), c.aDestra) << std::hex << c.flags;
        EXPECT_EQ(Conta(f, destra, Nero) + Conta(f, sinistra, Nero), 0);
        f.Unload();
    }
    // A picture the list does not have.
    Dialog_Titoli f;
    CaricaSenzaEseguire(f);
    ListaImmagini.clear();
    bool ok = true;
    f.CaricaImmagineMedia(0, ok);
    EXPECT_FALSE(ok);
    f.Unload();
}

}  // namespace
