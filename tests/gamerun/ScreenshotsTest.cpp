// Screenshots from the clipboard and captures of the screen: the files are
// read back by hand from the bitmap layout.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "runservices/GameWindow.h"
#include "gamerun/Screenshots.h"
#include "runservices/Sounds.h"
#include "platform/Forms.h"
#include "tests/gamerun/RunFixture.h"

namespace {

// A bottom-up 24-bit bitmap file: its size and its pixels as 0xRRGGBB.
struct BmpLetto {
    int32_t larghezza = 0, altezza = 0;
    std::vector<uint32_t> pixel;  // top row first
    uint32_t Pixel(int x, int y) const { return pixel[static_cast<size_t>(y * larghezza + x)]; }
};

uint32_t U32(const std::string& d, size_t o) {
    return static_cast<uint8_t>(d[o]) | static_cast<uint8_t>(d[o + 1]) << 8 | static_cast<uint8_t>(d[o + 2]) << 16 |
           static_cast<uint32_t>(static_cast<uint8_t>(d[o + 3])) << 24;
}

bool LeggiBmp(const std::string& percorso, BmpLetto& bmp) {
    const std::string d = LeggiFileProva(percorso);
    if (d.size() < 54 || d[0] != 'B' || d[1] != 'M') return false;
    bmp.larghezza = static_cast<int32_t>(U32(d, 18));
    bmp.altezza = static_cast<int32_t>(U32(d, 22));
    if ((U32(d, 28) & 0xFFFF) != 24 || bmp.larghezza <= 0 || bmp.altezza <= 0) return false;
    const size_t inizio = U32(d, 10);
    const size_t passo = (static_cast<size_t>(bmp.larghezza) * 3 + 3) / 4 * 4;
    if (d.size() < inizio + passo * static_cast<size_t>(bmp.altezza)) return false;
    bmp.pixel.assign(static_cast<size_t>(bmp.larghezza * bmp.altezza), 0);
    for (int32_t y = 0; y < bmp.altezza; ++y) {
        const size_t riga = inizio + passo * static_cast<size_t>(bmp.altezza - 1 - y);
        for (int32_t x = 0; x < bmp.larghezza; ++x) {
            const size_t o = riga + static_cast<size_t>(x) * 3;
            bmp.pixel[static_cast<size_t>(y * bmp.larghezza + x)] = static_cast<uint8_t>(d[o]) |
                                                                     static_cast<uint8_t>(d[o + 1]) << 8 |
                                                                     static_cast<uint8_t>(d[o + 2]) << 16;
        }
    }
    return true;
}

// The colour of the test image at a point: each pixel tells where it lies.
uint32_t ColoreDi(int x, int y) {
    return static_cast<uint32_t>((x & 0xFF) | (y & 0xFF) << 8 | ((x >> 8) + 0x10) << 16);
}

// An image of that size on the clipboard, as the PRINT key leaves it: a
// device bitmap of the screen's format.
bool ImmagineInClipboard(int w, int h) {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bit = nullptr;
    HDC schermo = GetDC(nullptr);
    HBITMAP dib = CreateDIBSection(schermo, &bi, DIB_RGB_COLORS, &bit, nullptr, 0);
    HBITMAP bitmap = CreateCompatibleBitmap(schermo, w, h);
    HDC da = CreateCompatibleDC(schermo);
    HDC a = CreateCompatibleDC(schermo);
    ReleaseDC(nullptr, schermo);
    bool pronta = dib && bit && bitmap && da && a;
    if (pronta) {
        auto* pixel = static_cast<uint32_t*>(bit);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) pixel[y * w + x] = ColoreDi(x, y);
        HGDIOBJ vecchioDa = SelectObject(da, dib);
        HGDIOBJ vecchioA = SelectObject(a, bitmap);
        pronta = BitBlt(a, 0, 0, w, h, da, 0, 0, SRCCOPY) != 0;
        SelectObject(da, vecchioDa);
        SelectObject(a, vecchioA);
    }
    if (da) DeleteDC(da);
    if (a) DeleteDC(a);
    if (dib) DeleteObject(dib);
    if (pronta && OpenClipboard(nullptr)) {
        EmptyClipboard();
        pronta = SetClipboardData(CF_BITMAP, bitmap) != nullptr;
        CloseClipboard();
        if (pronta) return true;
    }
    if (bitmap) DeleteObject(bitmap);
    return false;
}

bool ImmagineNellaClipboard() { return IsClipboardFormatAvailable(CF_BITMAP) != 0; }

class CatturaRun : public ProvaRun {
protected:
    void SetUp() override {
        ProvaRun::SetUp();
        SchermoReale();
        TickUltimaCatturaClipboard = 0;
        ConservaCatture = false;
        toni.clear();
        EmettiTono = [](int32_t f, int32_t) { toni.push_back(f); };
        cartella = CartellaTrle + "\\Captured_Images";
    }
    void TearDown() override {
        EmettiTono = tonoSalvato;
        if (OpenClipboard(nullptr)) {
            EmptyClipboard();
            CloseClipboard();
        }
        for (HWND h : finestre) DestroyWindow(h);
        FinestraGioco = nullptr;
        TickUltimaCatturaClipboard = 0;
        ProvaRun::TearDown();
    }
    HWND Finestra(bool bianca, int x, int y, int w, int h) {
        WNDCLASSA wc{};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(bianca ? WHITE_BRUSH : BLACK_BRUSH));
        wc.lpszClassName = bianca ? "CatturaBianca" : "CatturaNera";
        RegisterClassA(&wc);
        HWND f = CreateWindowExA(WS_EX_TOPMOST | WS_EX_NOACTIVATE, wc.lpszClassName, "", WS_POPUP, x, y, w, h,
                                 nullptr, nullptr, wc.hInstance, nullptr);
        ShowWindow(f, SW_SHOWNA);
        UpdateWindow(f);
        DoEvents();
        finestre.push_back(f);
        return f;
    }
    static int ContaRighe(const std::string& testo) {
        int n = 0;
        for (const std::string& r : RigheLog())
            if (r == testo) ++n;
        return n;
    }

    static inline std::vector<int32_t> toni;
    void (*tonoSalvato)(int32_t, int32_t) = EmettiTono;
    std::vector<HWND> finestre;
    std::string cartella;
};

// --- Numbered names ---

struct CasoNumero {
    std::vector<const char*> presenti;
    const char* atteso;
};

TEST_F(CatturaRun, TheFirstFreeNumberIsTaken) {
    const std::vector<CasoNumero> casi = {
        {{}, "ScreenShot_0000.bmp"},
        {{"ScreenShot_0000.bmp", "ScreenShot_0001.bmp"}, "ScreenShot_0002.bmp"},
        {{"ScreenShot_0000.bmp", "ScreenShot_0002.bmp"}, "ScreenShot_0001.bmp"},
        {{"ScreenShot_0001.bmp", "ScreenShot_0002.bmp"}, "ScreenShot_0000.bmp"},
        {{"ScreenShot_0000.txt", "Other_0000.bmp"}, "ScreenShot_0000.bmp"},
    };
    CreateDirectoryA(cartella.c_str(), nullptr);
    for (const CasoNumero& c : casi) {
        SCOPED_TRACE(c.atteso);
        for (const char* n : c.presenti) ScriviFileProva(cartella + "\\" + n, "x");
        EXPECT_EQ(CreaCartellaImmagini(cartella + "\\ScreenShot.bmp"), cartella + "\\" + c.atteso);
        for (const char* n : c.presenti) DeleteFileA((cartella + "\\" + n).c_str());
    }
    EXPECT_FALSE(HaRigaCheInizia("Warning: doesn't exist folder"));

    // A missing folder is created and said so.
    const std::string nuova = CartellaTrle + "\\Shots";
    EXPECT_EQ(CreaCartellaImmagini(nuova + "\\Pic.bmp"), nuova + "\\Pic_0000.bmp");
    EXPECT_TRUE(HaRiga("Warning: doesn't exist folder to save captured image, create now folder: " + nuova));
    EXPECT_NE(GetFileAttributesA(nuova.c_str()), INVALID_FILE_ATTRIBUTES);
}

// --- Clipboard screenshots ---

TEST_F(CatturaRun, TwoImagesOneSecondApartSaveOne) {
    SchermoX = 64;
    SchermoY = 48;
    std::string salvato;
    CatturaImageClipboard(salvato);
    EXPECT_TRUE(RigheLog().empty());  // nothing on the clipboard

    ASSERT_TRUE(ImmagineInClipboard(40, 30));
    CatturaImageClipboard(salvato);
    EXPECT_EQ(salvato, cartella + "\\ScreenShot_0000.bmp");
    EXPECT_TRUE(EsisteFileProva(salvato));
    EXPECT_TRUE(HaRiga("Image saved in: " + salvato));
    EXPECT_TRUE(HaRiga("Clear clipboard"));
    EXPECT_FALSE(ImmagineNellaClipboard());
    EXPECT_TRUE(HaBit(StatoGioco, ScreenshotCatturati));
    EXPECT_EQ(TickUltimaCatturaClipboard, ClockTick());
    ASSERT_FALSE(toni.empty());
    EXPECT_EQ(toni.front(), 200);  // sound effect 0

    ClockAdvance(1000);
    const uint32_t ultima = TickUltimaCatturaClipboard;
    ASSERT_TRUE(ImmagineInClipboard(40, 30));
    salvato.clear();
    CatturaImageClipboard(salvato);
    EXPECT_TRUE(HaRiga("This capturing phase is too near to previous capturing: ignore this image"));
    EXPECT_FALSE(ImmagineNellaClipboard());
    EXPECT_FALSE(EsisteFileProva(cartella + "\\ScreenShot_0001.bmp"));
    EXPECT_EQ(TickUltimaCatturaClipboard, ultima);

    // Two seconds after the saved one, the next is saved.
    ClockAdvance(1000);
    ASSERT_TRUE(ImmagineInClipboard(40, 30));
    CatturaImageClipboard(salvato);
    EXPECT_EQ(salvato, cartella + "\\ScreenShot_0001.bmp");
    EXPECT_EQ(ContaRighe("Detected image in clipboard"), 3);
}

// The tick asks five times a second: an image that cannot be saved is said
// and beeped once, and stays on the clipboard; the next image is saved.
TEST_F(CatturaRun, AnImageThatCannotBeSavedIsSaidOnce) {
    SchermoX = 64;
    SchermoY = 48;
    // A file where the folder of the screenshots should be.
    ASSERT_TRUE(ScriviFileProva(cartella, "x"));
    ASSERT_TRUE(ImmagineInClipboard(40, 30));
    for (int tick = 0; tick < 5; ++tick) {
        std::string salvato;
        CatturaImageClipboard(salvato);
        EXPECT_EQ(salvato, "");
        ClockAdvance(200);
    }
    EXPECT_EQ(ContaRighe("Detected image in clipboard"), 1);
    int avvisi = 0;
    for (const std::string& r : RigheLog())
        if (r.rfind("WARNING: error in CatturaImageClipboard function: ", 0) == 0) ++avvisi;
    EXPECT_EQ(avvisi, 1);
    EXPECT_EQ(toni, std::vector<int32_t>{200});
    EXPECT_TRUE(ImmagineNellaClipboard());
    EXPECT_FALSE(HaBit(StatoGioco, ScreenshotCatturati));

    ASSERT_TRUE(DeleteFileA(cartella.c_str()));
    ASSERT_TRUE(ImmagineInClipboard(40, 30));
    std::string salvato;
    CatturaImageClipboard(salvato);
    EXPECT_EQ(salvato, cartella + "\\ScreenShot_0000.bmp");
    EXPECT_TRUE(EsisteFileProva(salvato));
    EXPECT_EQ(ContaRighe("Detected image in clipboard"), 2);
}

TEST_F(CatturaRun, AnImageOfOneWindowKeepsItsSize) {
    SchermoX = 640;
    SchermoY = 480;
    ASSERT_TRUE(ImmagineInClipboard(200, 150));
    std::string salvato;
    CatturaImageClipboard(salvato);
    EXPECT_TRUE(HaRiga("Image captured with ALT+PRINT SCREEN: don't change the size"));
    EXPECT_TRUE(HaRiga("Warning: doesn't exist folder to save captured image, create now folder: " + cartella));
    BmpLetto bmp;
    ASSERT_TRUE(LeggiBmp(salvato, bmp));
    EXPECT_EQ(bmp.larghezza, 200);
    EXPECT_EQ(bmp.altezza, 150);
    for (auto [x, y] : {std::pair{0, 0}, {199, 0}, {0, 149}, {123, 77}, {199, 149}})
        EXPECT_EQ(bmp.Pixel(x, y), ColoreDi(x, y)) << x << "," << y;
}

struct CasoRitaglio {
    const char* nome;
    int x, y, w, h;       // the game's window (all client)
    int l, t, r, b;       // the part of the screen saved
};

TEST_F(CatturaRun, AFullScreenImageIsCutToTheGamesClientArea) {
    const std::vector<CasoRitaglio> casi = {
        {"inside", 100, 50, 300, 200, 100, 50, 400, 250},
        {"off the top left", -50, -30, 300, 200, 0, 0, 250, 170},
        {"off the bottom right", 500, 400, 300, 200, 500, 400, 640, 480},
    };
    SchermoX = 640;
    SchermoY = 480;
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "CatturaGioco";
    RegisterClassA(&wc);
    int numero = 0;
    for (const CasoRitaglio& c : casi) {
        SCOPED_TRACE(c.nome);
        AzzeraLog();
        TickUltimaCatturaClipboard = 0;
        HWND gioco = CreateWindowExA(0, "CatturaGioco", "Tomb Raider", WS_POPUP, c.x, c.y, c.w, c.h, nullptr, nullptr,
                                     wc.hInstance, nullptr);
        ASSERT_TRUE(gioco);
        FinestraGioco = gioco;
        ASSERT_TRUE(ImmagineInClipboard(640, 480));
        std::string salvato;
        CatturaImageClipboard(salvato);
        DestroyWindow(gioco);
        EXPECT_TRUE(HaRiga("Source screen capture rect: " + std::to_string(c.l) + "," + std::to_string(c.t) + " - " +
                           std::to_string(c.r) + "," + std::to_string(c.b)));
        EXPECT_TRUE(HaRiga("Target image size = " + std::to_string(c.r - c.l) + " x " + std::to_string(c.b - c.t)));
        EXPECT_EQ(salvato, cartella + "\\ScreenShot_000" + std::to_string(numero++) + ".bmp");
        BmpLetto bmp;
        ASSERT_TRUE(LeggiBmp(salvato, bmp));
        ASSERT_EQ(bmp.larghezza, c.r - c.l);
        ASSERT_EQ(bmp.altezza, c.b - c.t);
        for (auto [x, y] : {std::pair{0, 0}, {bmp.larghezza - 1, bmp.altezza - 1}, {bmp.larghezza / 2, 7}})
            EXPECT_EQ(bmp.Pixel(x, y), ColoreDi(c.l + x, c.t + y)) << x << "," << y;
    }
}

// --- Screen captures ---

TEST_F(CatturaRun, ABlackScreenIsTriedTwiceAndItsFileRemoved) {
    SchermoX = 160;
    SchermoY = 120;
    Finestra(false, 0, 0, 160, 120);
    const std::string avviso = "WARNING: Failed screen capture (black screen). Try another attempt";
    std::string percorso = PercorsoStore + "\\tr_capture_screen.bmp";
    const uint32_t inizio = ClockTick();
    EXPECT_FALSE(CatturaSchermoGioco(percorso));
    EXPECT_EQ(ContaRighe(avviso), 2);
    EXPECT_EQ(ContaRighe("Capture tomb raider screen:"), 2);
    EXPECT_EQ(ClockTick() - inizio, 500u);
    EXPECT_FALSE(EsisteFileProva(percorso));

    // Kept when captures are kept.
    AzzeraLog();
    ConservaCatture = true;
    EXPECT_FALSE(CatturaSchermoGioco(percorso));
    EXPECT_TRUE(EsisteFileProva(percorso));
    ConservaCatture = false;

    // A lit screen is taken at the first attempt.
    AzzeraLog();
    Finestra(true, 0, 0, 160, 120);
    EXPECT_TRUE(CatturaSchermoGioco(percorso));
    EXPECT_FALSE(HaRiga(avviso));
    EXPECT_TRUE(HaRiga("Source screen capture rect: 0,0 - 160,120"));
    EXPECT_TRUE(HaRiga("Target image size = 160 x 120"));
    BmpLetto bmp;
    ASSERT_TRUE(LeggiBmp(percorso, bmp));
    EXPECT_EQ(bmp.larghezza, 160);
    EXPECT_EQ(bmp.altezza, 120);
    EXPECT_EQ(bmp.Pixel(80, 60), 0xFFFFFFu);
}

TEST_F(CatturaRun, AGameThatEndedIsNotWaitedFor) {
    SchermoX = 160;
    SchermoY = 120;
    Finestra(false, 0, 0, 160, 120);
    ProcessoGioco.hProcess = nullptr;
    std::string percorso;
    const uint32_t inizio = ClockTick();
    EXPECT_FALSE(CatturaSchermoGioco(percorso));
    EXPECT_EQ(ClockTick(), inizio);
    EXPECT_EQ(ContaRighe("Capture tomb raider screen:"), 1);
    ProcessoGioco.hProcess = reinterpret_cast<void*>(1);
}

struct CasoPixel {
    const char* nome;
    int x, y;  // the one lit pixel; -1 none
    bool acceso;
};

TEST_F(CatturaRun, OnlyTheMiddleRowAndColumnAreLookedAt) {
    const std::vector<CasoPixel> casi = {
        {"all black", -1, -1, false},
        {"lit in the middle row", 8, 3, true},
        {"lit in the middle column only", 4, 6, true},
        {"lit at the column's top", 4, 0, true},
        {"lit off both", 8, 6, false},
    };
    for (const CasoPixel& c : casi) {
        SCOPED_TRACE(c.nome);
        PictureNascosta& p = PictureCattura();
        ASSERT_TRUE(p.Dimensiona(9, 7));
        if (c.x >= 0) SetPixelV(p.Dc(), c.x, c.y, RGB(0, 0, 1));
        EXPECT_EQ(TestPixelSchermo(), c.acceso);
    }
}

}  // namespace
