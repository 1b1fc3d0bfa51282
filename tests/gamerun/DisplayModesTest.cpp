// Display modes and the game window's place: what the Xvfb display allows
// for real, the rest through the routines' own arithmetic.
#include <windows.h>

#include <string>

#include "core/MediaConfig.h"
#include "runservices/Desktop.h"
#include "runservices/DisplayModes.h"
#include "runservices/GameWindow.h"
#include "tests/gamerun/RunFixture.h"

namespace {

class DisplayRun : public ProvaRun {
protected:
    void SetUp() override {
        ProvaRun::SetUp();
        SchermoReale();
    }
    void TearDown() override {
        FuoriGioco = true;
        NascondiBackCover();
        ChiudiCover();
        if (finestra) DestroyWindow(finestra);
        FinestraGioco = nullptr;
        HeaderMcf = MediaConfigHeader{};
        ProvaRun::TearDown();
    }
    // A framed top-level window standing for the game's.
    void FinestraDiGioco(int x, int y, int w, int h) {
        WNDCLASSA wc{};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
        wc.lpszClassName = "ProvaGioco";
        RegisterClassA(&wc);
        finestra = CreateWindowExA(0, "ProvaGioco", "Tomb Raider", WS_OVERLAPPEDWINDOW | WS_VISIBLE, x, y, w, h,
                                   nullptr, nullptr, wc.hInstance, nullptr);
        ASSERT_TRUE(finestra);
        FinestraGioco = finestra;
    }
    HWND finestra = nullptr;
};

TEST_F(DisplayRun, TheModeInForceIsOfferedAndCanBeSet) {
    ASSERT_TRUE(LeggiModoVideo());
    const int32_t w = static_cast<int32_t>(ModoVideoCorrente.dmPelsWidth);
    const int32_t h = static_cast<int32_t>(ModoVideoCorrente.dmPelsHeight);
    const int32_t b = static_cast<int32_t>(ModoVideoCorrente.dmBitsPerPel);
    EXPECT_EQ(w, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(h, GetSystemMetrics(SM_CYSCREEN));
    DEVMODEA modo{};
    EXPECT_TRUE(EsisteModoVideo(modo, w, h, b));
    EXPECT_EQ(static_cast<int32_t>(modo.dmPelsWidth), w);
    EXPECT_FALSE(EsisteModoVideo(modo, 123, 45, 7));
    EXPECT_FALSE(CambiaModoVideo(123, 45, 7));
    EXPECT_TRUE(CambiaModoVideo(w, h, b));
    RipristinaModoVideo();
    int32_t sw = 0, sh = 0, sb = 0;
    ScanRisoluzioneCorrente(sw, sh, sb);
    EXPECT_EQ(sw, w);
    EXPECT_EQ(sh, h);
    EXPECT_EQ(sb, b);
    EXPECT_FALSE(IsModoFinestra());
    HeaderMcf.HeaderOptions = ParolaOpzioni(OpzioneHeader::SharedMode | OpzioneHeader::IgnoreStartCd);
    EXPECT_TRUE(IsModoFinestra());
}

TEST_F(DisplayRun, StartUpScreenIsTheDesktopWithTheCoverOnIt) {
    SchermoX = SchermoY = RiferimentoX = RiferimentoY = 0;
    RettCover = RettangoloDim{};
    ScanSchermoDesktop();
    EXPECT_EQ(SchermoX, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(SchermoY, GetSystemMetrics(SM_CYSCREEN));
    HDC dc = GetDC(nullptr);
    const int dpi = GetDeviceCaps(dc, LOGPIXELSX);
    ReleaseDC(nullptr, dc);
    EXPECT_EQ(RiferimentoX, SchermoX * 1440 / dpi);
    EXPECT_EQ(RiferimentoY, SchermoY * 1440 / dpi);
    EXPECT_EQ(RettCover, (RettangoloDim{0, 0, SchermoX, SchermoY}));
}

TEST_F(DisplayRun, SharedModeAlignsTheGameWindowWithTheScreen) {
    HeaderMcf.HeaderOptions = ParolaOpzioni(OpzioneHeader::SharedMode);
    SchermoX = 640;
    SchermoY = 480;
    FinestraDiGioco(100, 80, 300, 200);
    AllineaFinestraTomb(false);
    EXPECT_TRUE(HaRiga("Align Tomb Raider Device Context with screen hdc"));
    EXPECT_TRUE(HaRigaCheInizia("WARNING: too high difference in window placement: Difx="));
    EXPECT_TRUE(HaRiga("Draw black box"));
    POINT origine{0, 0};
    ClientToScreen(finestra, &origine);
    EXPECT_EQ(origine.x, 0);
    EXPECT_EQ(origine.y, 0);
    RECT r{};
    GetWindowRect(finestra, &r);
    EXPECT_EQ(r.right - r.left, 648);
    EXPECT_EQ(r.bottom - r.top, 507);
    EXPECT_TRUE(HaRiga("Move tomb window to: " + std::to_string(r.left) + "," + std::to_string(r.top) +
                       " - 648,507"));

    // In place now: nothing more, unless the black strip is asked for.
    AzzeraLog();
    AllineaFinestraTomb(false);
    EXPECT_TRUE(RigheLog().empty());
    AllineaFinestraTomb(true);
    EXPECT_FALSE(HaRiga("Align Tomb Raider Device Context with screen hdc"));
    EXPECT_TRUE(HaRiga("Draw black box"));
    EXPECT_EQ(RettClientGioco.Bottom, 480);

    // Not over a visible cover, and never outside shared mode or in preview.
    MostraCoverTopMost();
    ShowWindow(DialogCover().hWnd(), SW_SHOWNA);
    AzzeraLog();
    AllineaFinestraTomb(true);
    EXPECT_FALSE(HaRiga("Draw black box"));
    FuoriGioco = true;
    MoveWindow(finestra, 50, 50, 200, 100, FALSE);
    AllineaFinestraTomb(true);
    FuoriGioco = false;
    HeaderMcf.HeaderOptions = 0;
    AllineaFinestraTomb(true);
    GetWindowRect(finestra, &r);
    EXPECT_EQ(r.left, 50);
}

// Topmost, so that windows of tests running beside this one stay behind.
void InPrimoPiano(HWND h) {
    SetWindowPos(h, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    UpdateWindow(h);
    DoEvents();
}

TEST_F(DisplayRun, ABlackScreenIsRecognised) {
    HeaderMcf.VideoMode = 1;  // the blank screen then covers the whole screen
    MostraBackCover();
    InPrimoPiano(DialogBlank().hWnd());
    EXPECT_TRUE(IsHdcValido());
    FinestraDiGioco(SchermoX / 4, SchermoY / 4, SchermoX / 2, SchermoY / 2);
    InPrimoPiano(finestra);
    DoEvents();
    EXPECT_FALSE(IsHdcValido());
}

// The screen is read along its middle row and its middle column.
TEST_F(DisplayRun, ABlackScreenIsReadAlongItsMiddleRowAndColumn) {
    HeaderMcf.VideoMode = 1;
    MostraBackCover();
    InPrimoPiano(DialogBlank().hWnd());
    const int meta = (SchermoY - 60) / 2;
    struct Caso {
        const char* nome;
        int x, y;
        bool nero;
    };
    const Caso casi[] = {
        {"across the middle row only", 10, meta - 20, false},
        {"across the middle column only", SchermoX / 2 - 30, 10, false},
        {"away from both", 10, 10, true},
    };
    for (const Caso& c : casi) {
        FinestraDiGioco(c.x, c.y, 60, 40);
        InPrimoPiano(finestra);
        DoEvents();
        EXPECT_EQ(IsHdcValido(), c.nero) << c.nome;
        DestroyWindow(finestra);
        finestra = nullptr;
        DoEvents();
    }
}

TEST_F(DisplayRun, WaitForTheDesktopNeedsBothSides) {
    ClockUseManual(true, 5000);
    HeaderMcf.VideoMode = 1;
    MostraBackCover();
    InPrimoPiano(DialogBlank().hWnd());
    FinestraDiGioco(0, 0, 100, 100);
    EXPECT_TRUE(AttendiRisoluzioneIniziale());
    EXPECT_FALSE(IsWindowVisible(finestra));

    // One side alike is not the desktop back.
    const int32_t w = SchermoOrigX, h = SchermoOrigY;
    SchermoOrigY = h + 1;
    AzzeraLog();
    EXPECT_FALSE(AttendiRisoluzioneIniziale());
    EXPECT_TRUE(HaRiga("TimeOut: Screen size is not yet original windows screen: Previous res: " +
                       std::to_string(w) + "x" + std::to_string(h + 1) + "   Current screen res: " +
                       std::to_string(w) + "x" + std::to_string(h)));
}

TEST_F(DisplayRun, WakingTheGameClearsTheStandBy) {
    FinestraDiGioco(0, 0, 100, 100);
    ShowWindow(finestra, SW_HIDE);
    ImpostaBit(ModificheAvvio, GiocoInStandBy);
    ImpostaBit(StatoSequenza, StandByAttivo);
    ClockUseManual(true, 7777);
    RisvegliaFinestraTomb();
    DoEvents();
    EXPECT_TRUE(IsWindowVisible(finestra));
    EXPECT_FALSE(HaBit(ModificheAvvio, GiocoInStandBy));
    EXPECT_FALSE(HaBit(StatoSequenza, StandByAttivo));
    EXPECT_TRUE(HaBit(StatoGioco, RefreshSchermoRichiesto));
    EXPECT_EQ(TickRisveglio, 7777u);
}

TEST_F(DisplayRun, InvalidClientZoneLooksForTheWindowAgain) {
    FinestraGioco = nullptr;
    LeggiClientRectTomb();
    EXPECT_TRUE(HaRiga("ERROR: client zone of tomb raider window is invalid: try to get newly window handle"));
}

// A window that is there with no client zone is an error; one the game has
// destroyed, as it does when it ends, is not: it is only looked for again.
TEST_F(DisplayRun, AGameWindowThatIsGoneIsNoInvalidClientZone) {
    for (bool distrutta : {false, true}) {
        SCOPED_TRACE(distrutta ? "destroyed" : "no client zone");
        AzzeraLog();
        if (distrutta) {
            FinestraDiGioco(10, 10, 300, 200);
            DestroyWindow(finestra);
            finestra = nullptr;
        } else {
            finestra = CreateWindowExA(0, "STATIC", "Tomb Raider", WS_POPUP | WS_VISIBLE, 0, 0, 0, 0, nullptr, nullptr,
                                       GetModuleHandleA(nullptr), nullptr);
            ASSERT_TRUE(finestra);
            FinestraGioco = finestra;
        }
        const int32_t errori = NumErroriLog;
        LeggiClientRectTomb();
        EXPECT_EQ(NumErroriLog - errori, distrutta ? 0 : 1);
        EXPECT_EQ(HaRiga("ERROR: client zone of tomb raider window is invalid: try to get newly window handle"),
                  !distrutta);
        EXPECT_EQ(HaRiga("WARNING: tomb raider window no longer exists: try to get newly window handle"), distrutta);
        EXPECT_TRUE(HaRiga("Searching Window Handle of tomb raider process"));
        if (finestra) DestroyWindow(finestra);
        finestra = nullptr;
    }
}

TEST(ScalaRettangolo, ThousandthsOfTheScreen) {
    struct Caso {
        bool condiviso, anteprima;
        RettangoloDim riferimento, atteso;
    };
    SchermoX = 800;
    SchermoY = 600;
    SchermoOrigX = 1024;
    SchermoOrigY = 768;
    const Caso casi[] = {
        {true, false, {500, 500, 250, 250}, {400, 300, 200, 150}},
        {false, false, {500, 500, 250, 250}, {512, 384, 256, 192}},
        {false, true, {500, 500, 250, 250}, {400, 300, 200, 150}},
        {true, false, {1, 1, 1000, 1000}, {1, 1, 800, 600}},       // 0.8 and 0.6 round up
        {false, false, {3, 0, 0, 0}, {3, 0, 0, 0}},              // 3.072
        {true, false, {-125, 0, 0, 0}, {-100, 0, 0, 0}},
    };
    for (const Caso& c : casi) {
        HeaderMcf.HeaderOptions = c.condiviso ? ParolaOpzioni(OpzioneHeader::SharedMode) : 0;
        FuoriGioco = c.anteprima;
        RettangoloDim r;
        ScalaRettangolo(r, c.riferimento);
        EXPECT_EQ(r, c.atteso) << c.riferimento.X << "," << c.riferimento.Y;
    }
    HeaderMcf = MediaConfigHeader{};
    FuoriGioco = false;
}

TEST(RettangoloFuoriSchermo, MovesJustOutsideTheNearestEdge) {
    struct Caso {
        Rettangolo arrivo, atteso;
    };
    const Caso casi[] = {
        {{100, 400, 300, 600}, {-200, 400, 0, 600}},     // left
        {{0, 0, 1000, 1000}, {-1000, 0, 0, 1000}},        // tie: left first
        {{400, 50, 600, 250}, {400, -200, 600, 0}},       // top
        {{700, 400, 950, 600}, {1000, 400, 1250, 600}},   // right
        {{400, 600, 600, 900}, {400, 1000, 600, 1300}},   // bottom
        {{300, 300, 700, 700}, {-400, 300, 0, 700}},      // all alike: left
        // A side past its border is nearer than any inside: right before bottom.
        {{1000, 1000, 2000, 2000}, {1000, 1000, 2000, 2000}},
        {{50, 400, 1200, 600}, {1000, 400, 2150, 600}},
        {{400, 50, 600, 1100}, {400, 1000, 600, 2050}},
    };
    for (const Caso& c : casi) {
        const Rettangolo r = RettangoloFuoriSchermo(c.arrivo);
        EXPECT_EQ(r.Left, c.atteso.Left) << c.arrivo.Left << "," << c.arrivo.Top;
        EXPECT_EQ(r.Top, c.atteso.Top) << c.arrivo.Left << "," << c.arrivo.Top;
        EXPECT_EQ(r.Right, c.atteso.Right) << c.arrivo.Left << "," << c.arrivo.Top;
        EXPECT_EQ(r.Bottom, c.atteso.Bottom) << c.arrivo.Left << "," << c.arrivo.Top;
    }
}

}  // namespace
