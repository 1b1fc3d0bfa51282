// The media window in a whole run with the game stand-in: a text over a
// picture, fired by its CD track, is on screen while the game stands by.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

#include "core/ImageFormats.h"
#include "tests/process/GameRunFolder.h"

namespace {

const std::string AvvioLivello = "boot 1024 768\nload title.tr4 300\ncd 97\nwait 600\nload level1.tr4 300\ncd 3\nwait 1000\n";
constexpr int32_t LogForzato = 0x8;
constexpr COLORREF Quadro = RGB(150, 30, 120);
constexpr COLORREF Testo = RGB(255, 255, 255);

// Pixels of the colour in a rectangle of the screen.
long ContaSchermo(const RECT& r, COLORREF colore) {
    HDC schermo = GetDC(nullptr);
    HDC memoria = CreateCompatibleDC(schermo);
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = r.right - r.left;
    bi.bmiHeader.biHeight = -(r.bottom - r.top);
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    uint32_t* bits = nullptr;
    HBITMAP bmp = CreateDIBSection(memoria, &bi, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits), nullptr, 0);
    HGDIOBJ vecchia = SelectObject(memoria, bmp);
    BitBlt(memoria, 0, 0, r.right - r.left, r.bottom - r.top, schermo, r.left, r.top, SRCCOPY);
    GdiFlush();
    const uint32_t cercato = GetRValue(colore) << 16 | GetGValue(colore) << 8 | GetBValue(colore);
    long n = 0;
    for (long i = 0; i < static_cast<long>(r.right - r.left) * (r.bottom - r.top); ++i)
        if ((bits[i] & 0xFFFFFF) == cercato) ++n;
    SelectObject(memoria, vecchia);
    DeleteObject(bmp);
    DeleteDC(memoria);
    ReleaseDC(nullptr, schermo);
    return n;
}

class MediaWindowRun : public CartellaRun {};

TEST_F(MediaWindowRun, ATextOverAPictureIsShownOnItsTrackWhileTheGameStandsBy) {
    OpzioniCartellaGioco o;
    o.condiviso = true;
    o.altreOpzioni = LogForzato;
    o.tracce = {5};
    o.trigger =
        "[Trigger]\r\nTypeFlags=0x90\r\nMediaCode=30\r\nTriggerCd=5\r\nLevel=1\r\nMediaFile=quadro.bmp\r\n"
        "Color=0xFFFFFF\r\nCharRow=19\r\nBoundRect=100:600:900:950\r\nDuration=3\r\n"
        "Text=<TEXT>WWW MMM WWW<END_TEXT>\r\n";
    o.scriptGioco = AvvioLivello + "cd 5\nwait 6000\ntitle after the media\nwait 500\nquit\n";
    ASSERT_TRUE(Costruisci(o));
    std::string pixel;
    for (int i = 0; i < 64 * 48; ++i)
        pixel += {static_cast<char>(GetBValue(Quadro)), static_cast<char>(GetGValue(Quadro)),
                  static_cast<char>(GetRValue(Quadro))};
    ASSERT_TRUE(ScriviFileProva(trle / "store\\quadro.bmp", ComponiBmp24(64, 48, pixel)));

    // The screen is watched through the run: the picture over the whole
    // screen, and the text inside its rectangle only.
    std::atomic<bool> finito{false};
    bool visto = false;
    long testoFuori = -1;
    std::thread osservatore([&] {
        const RECT angolo{0, 0, 64, 64};
        const RECT rettangolo{102, 461, 922, 730};
        const RECT sopra{0, 0, 1024, 450};
        while (!finito && !visto) {
            if (ContaSchermo(angolo, Quadro) == 64 * 64 && ContaSchermo(rettangolo, Testo) > 100) {
                visto = true;
                testoFuori = ContaSchermo(sopra, Testo);
            }
            Sleep(50);
        }
    });
    EXPECT_EQ(Run(), 0);
    finito = true;
    osservatore.join();
    EXPECT_TRUE(visto) << Log();
    EXPECT_EQ(testoFuori, 0);
    EXPECT_TRUE(HaRiga("ShowMedia() for media code = 30")) << Log();
    EXPECT_TRUE(HaRiga("Start performing media"));
    EXPECT_TRUE(HaRiga("End performing media"));
    EXPECT_TRUE(GiocoHaScritto("title after the media")) << LogGioco();
    // A picture of the level's own store folder is no temporary copy.
    EXPECT_TRUE(EsisteFileProva(trle / "store\\quadro.bmp"));
    VerificaRipristino("text over a picture");
}

}  // namespace
