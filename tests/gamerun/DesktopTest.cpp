// The desktop changes of a run, each made and undone, on the Xvfb display.
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "core/MediaConfig.h"
#include "runservices/Desktop.h"
#include "runservices/GameWindow.h"
#include "input/GameOperation.h"
#include "tests/gamerun/RunFixture.h"
#include "tests/support/TestProcesses.h"

namespace {

class DesktopRun : public ProvaRun {
protected:
    void SetUp() override {
        ProvaRun::SetUp();
        SchermoReale();
        TaskBarAutoNascosta = false;
        SistemaNT = true;
    }
    void TearDown() override {
        // The forms refuse the user, not the program.
        FuoriGioco = true;
        NascondiBackCover();
        ChiudiCover();
        if (ProcessoWizmo) {
            TerminateProcess(ProcessoWizmo, 0);
            CloseHandle(ProcessoWizmo);
            ProcessoWizmo = nullptr;
        }
        if (ProcessoGioco.hProcess && ProcessoGioco.hProcess != reinterpret_cast<void*>(1)) {
            TerminateProcess(ProcessoGioco.hProcess, 0);
            CloseHandle(ProcessoGioco.hProcess);
        }
        HeaderMcf = MediaConfigHeader{};
        ProvaRun::TearDown();
    }
    static void Condiviso() { HeaderMcf.HeaderOptions = ParolaOpzioni(OpzioneHeader::SharedMode); }
    static bool Visibile(Form& f) { return f.Loaded() && IsWindowVisible(f.hWnd()); }
    static RECT Rett(Form& f) {
        RECT r{};
        GetWindowRect(f.hWnd(), &r);
        return r;
    }
};

TEST_F(DesktopRun, TaskBarHiddenAndShownAgain) {
    // Wine's desktop may have a task bar window of its own; else ours.
    std::unique_ptr<TaskBarFinta> finta;
    HWND barra = FindWindowA("Shell_traywnd", "");
    if (!barra) {
        EXPECT_FALSE(NascondiTaskBar());
        EXPECT_TRUE(HaRiga("WARNING: not found handle for task bar window"));
        finta = std::make_unique<TaskBarFinta>();
        barra = finta->h;
    }
    ASSERT_TRUE(barra);
    const bool eraVisibile = IsWindowVisible(barra);
    EXPECT_TRUE(NascondiTaskBar());
    EXPECT_FALSE(IsWindowVisible(barra));
    MostraTaskBar();
    EXPECT_TRUE(IsWindowVisible(barra));
    if (!eraVisibile) ShowWindow(barra, SW_HIDE);
}

TEST_F(DesktopRun, PointerHiddenOnlyInFullScreen) {
    NascondiMouse();
    EXPECT_TRUE(HaBit(ModificheAvvio, MouseNascosto));
    EXPECT_TRUE(HaRiga("Hide mouse pointer"));
    AzzeraLog();
    NascondiMouse();
    EXPECT_FALSE(HaRiga("Hide mouse pointer"));
    MostraMouse();
    EXPECT_FALSE(HaBit(ModificheAvvio, MouseNascosto));
    EXPECT_TRUE(HaRiga("Show mouse pointer"));
    AzzeraLog();
    MostraMouse();
    EXPECT_FALSE(HaRiga("Show mouse pointer"));

    Condiviso();
    NascondiMouse();
    EXPECT_FALSE(HaBit(ModificheAvvio, MouseNascosto));
    ImpostaBit(ModificheAvvio, MouseNascosto);
    MostraMouse();
    EXPECT_TRUE(HaBit(ModificheAvvio, MouseNascosto));
    EXPECT_FALSE(HaRiga("Hide mouse pointer") || HaRiga("Show mouse pointer"));
}

TEST_F(DesktopRun, PointerParkedInItsCorner) {
    SchermoX = 800;
    SchermoY = 600;
    POINT p{};
    SpostaMouseNascosto();
    EXPECT_TRUE(HaRiga("Move mouse pointer in hidden position"));
    GetCursorPos(&p);
    EXPECT_EQ(p.x, 800);
    EXPECT_EQ(p.y, 600);
    TaskBarAutoNascosta = true;
    SpostaMouseNascosto();
    GetCursorPos(&p);
    EXPECT_EQ(p.x, 799);
    EXPECT_EQ(p.y, 30);
}

// Wine accepts the animation setting but keeps none: what can be seen here
// is that the setting read before is what goes back.
TEST_F(DesktopRun, AnimationsSwitchedOffAndBack) {
    ANIMATIONINFO prima{sizeof prima, -1};
    ASSERT_TRUE(SystemParametersInfoA(SPI_GETANIMATION, sizeof prima, &prima, 0));
    AnimazioniSalvate = ANIMATIONINFO{0, -1};
    DisabilitaAnimazioni();
    EXPECT_EQ(AnimazioniSalvate.cbSize, 8u);
    EXPECT_EQ(AnimazioniSalvate.iMinAnimate, prima.iMinAnimate);
    ANIMATIONINFO letta{sizeof letta, -1};
    ASSERT_TRUE(SystemParametersInfoA(SPI_GETANIMATION, sizeof letta, &letta, 0));
    EXPECT_EQ(letta.iMinAnimate, 0);
    RipristinaAnimazioni();
    ASSERT_TRUE(SystemParametersInfoA(SPI_GETANIMATION, sizeof letta, &letta, 0));
    EXPECT_EQ(letta.iMinAnimate, prima.iMinAnimate);
}

TEST_F(DesktopRun, BlankScreenCoversTheRequiredResolution) {
    struct Caso {
        int32_t codice;
        bool condiviso;
        int32_t schermoX, schermoY;
        int32_t larghezza, altezza;
    };
    const Caso casi[] = {
        {2, false, 640, 480, 800, 600},   // the required size when the screen is smaller
        {1, false, 800, 600, 800, 600},   // the screen when larger
        {3, false, 800, 900, 1024, 900},  // each side on its own
        {0, false, 800, 600, 800, 600},   // no code: the screen, never nothing
        {7, false, 700, 500, 700, 500},   // an unknown code likewise
        {0, true, 700, 500, -1, -1},      // shared: the desktop's size
    };
    for (const Caso& c : casi) {
        HeaderMcf.VideoMode = c.codice;
        HeaderMcf.HeaderOptions = c.condiviso ? ParolaOpzioni(OpzioneHeader::SharedMode) : 0;
        SchermoX = c.schermoX;
        SchermoY = c.schermoY;
        AzzeraLog();
        MostraBackCover();
        const int32_t w = c.larghezza < 0 ? GetSystemMetrics(SM_CXSCREEN) : c.larghezza;
        const int32_t h = c.altezza < 0 ? GetSystemMetrics(SM_CYSCREEN) : c.altezza;
        EXPECT_TRUE(HaRiga("Form_Load blank: sizex=" + std::to_string(w) + " sizey=" + std::to_string(h)))
            << c.codice << "\n" << BufferLog;
        EXPECT_TRUE(HaRiga("Move mouse pointer in hidden position"));
        EXPECT_TRUE(Visibile(DialogBlank()));
        const RECT r = Rett(DialogBlank());
        EXPECT_EQ(r.left, 0);
        EXPECT_EQ(r.top, 0);
        EXPECT_EQ(r.right - r.left, w) << c.codice;
        EXPECT_EQ(r.bottom - r.top, h) << c.codice;
        // A resize from outside is undone.
        MoveWindow(DialogBlank().hWnd(), 10, 20, 300, 200, FALSE);
        const RECT dopo = Rett(DialogBlank());
        EXPECT_EQ(dopo.left, 0) << c.codice;
        EXPECT_EQ(dopo.top, 0) << c.codice;
        EXPECT_EQ(dopo.right - dopo.left, w) << c.codice;
        EXPECT_EQ(dopo.bottom - dopo.top, h) << c.codice;
        NascondiBackCover();
        EXPECT_FALSE(DialogBlank().Loaded());
        EXPECT_TRUE(HaRiga("Unload event for Blank Screen"));
    }
}

TEST_F(DesktopRun, BlankScreenRefusesTheUserAndEndsARunningGame) {
    AvviaGioco();
    // A handle of the test's own: the program closes the ones it holds.
    HANDLE gioco = nullptr;
    ASSERT_TRUE(DuplicateHandle(GetCurrentProcess(), ProcessoGioco.hProcess, GetCurrentProcess(), &gioco, 0, FALSE,
                                DUPLICATE_SAME_ACCESS));
    MostraBackCover();
    SendMessageA(DialogBlank().hWnd(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(Visibile(DialogBlank()));
    EXPECT_FALSE(HaRiga("Unload event for Blank Screen"));
    NascondiBackCover();
    EXPECT_FALSE(DialogBlank().Loaded());
    EXPECT_TRUE(HaRiga("User closes blank screen: terminate tomb raider process"));
    EXPECT_EQ(WaitForSingleObject(gioco, 5000), WAIT_OBJECT_0);
    EXPECT_EQ(ProcessoGioco.hProcess, nullptr);
    CloseHandle(gioco);
}

TEST_F(DesktopRun, EndingTheGameClosesItsHandles) {
    struct Caso {
        void (*chiudi)();
        bool riga;
    };
    for (const Caso c : {Caso{TerminaGioco, false}, Caso{ChiudiGioco, true}}) {
        AvviaGioco();
        HANDLE processo = nullptr, filo = nullptr;
        ASSERT_TRUE(DuplicateHandle(GetCurrentProcess(), ProcessoGioco.hProcess, GetCurrentProcess(), &processo, 0,
                                    FALSE, DUPLICATE_SAME_ACCESS));
        // The game's thread handle as the launch gives it.
        ASSERT_TRUE(DuplicateHandle(GetCurrentProcess(), processo, GetCurrentProcess(), &filo, 0, FALSE,
                                    DUPLICATE_SAME_ACCESS));
        ProcessoGioco.hThread = filo;
        const HANDLE tenuto = ProcessoGioco.hProcess;
        BufferLog.clear();
        c.chiudi();
        EXPECT_EQ(HaRiga("Close tomb raider program"), c.riga);
        EXPECT_EQ(ProcessoGioco.hProcess, nullptr);
        EXPECT_EQ(ProcessoGioco.hThread, nullptr);
        DWORD flag = 0;
        EXPECT_FALSE(GetHandleInformation(tenuto, &flag));
        EXPECT_FALSE(GetHandleInformation(filo, &flag));
        EXPECT_EQ(WaitForSingleObject(processo, 5000), WAIT_OBJECT_0);
        CloseHandle(processo);
    }
}

TEST_F(DesktopRun, CoverTopMostInvisibleAndKeptInPlace) {
    Condiviso();
    SchermoX = 640;
    SchermoY = 480;
    MostraCoverTopMost();
    EXPECT_EQ(RettCover, (RettangoloDim{0, 0, 640, 480}));
    Dialog_Cover& cover = DialogCover();
    ASSERT_TRUE(cover.Loaded());
    EXPECT_FALSE(IsWindowVisible(cover.hWnd()));
    EXPECT_TRUE(GetWindowLongA(cover.hWnd(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    RECT r = Rett(cover);
    EXPECT_EQ(r.right - r.left, 640);
    EXPECT_EQ(r.bottom - r.top, 480);

    // A resize to its own place changes nothing; elsewhere it is put back.
    AzzeraLog();
    SetWindowPos(cover.hWnd(), nullptr, 0, 0, 640, 480, SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    cover.Form_Resize();
    EXPECT_TRUE(HaRiga("Current dialog_cover size: 0,0 - 640,480"));
    EXPECT_FALSE(HaRigaCheInizia("Resize event for dialog_Cover: "));
    MoveWindow(cover.hWnd(), 10, 20, 300, 200, FALSE);
    EXPECT_TRUE(HaRiga("Resize event for dialog_Cover: 0, 0 (640 x 480)"));
    r = Rett(cover);
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.right, 640);
    EXPECT_EQ(r.bottom, 480);

    // The user's close only hides it.
    ShowWindow(cover.hWnd(), SW_SHOWNA);
    // The state a stand-by of the game leaves.
    ImpostaBit(ModificheAvvio, GiocoInStandBy);
    ImpostaBit(StatoSequenza, StandByAttivo);
    SendMessageA(cover.hWnd(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(cover.Loaded());
    EXPECT_FALSE(IsWindowVisible(cover.hWnd()));
    EXPECT_TRUE(HaRiga("Required unload for Dialog_cover"));
    EXPECT_TRUE(HaRiga("Request for unload Cover screen: refuse it but get invisible cover screen"));
    EXPECT_FALSE(HaBit(StatoSequenza, StandByAttivo)) << "the game is woken";
    EXPECT_FALSE(HaBit(ModificheAvvio, GiocoInStandBy));

    ChiudiCover();
    EXPECT_FALSE(cover.Loaded());
    EXPECT_TRUE(HaRiga("Unload event for Cover Screen"));
}

TEST_F(DesktopRun, CoverClickUnloadsItOnceTheGameEnded) {
    Condiviso();
    MostraCoverTopMost();
    AvviaGioco();
    SendMessageA(DialogCover().hWnd(), WM_LBUTTONUP, 0, 0);
    EXPECT_TRUE(DialogCover().Loaded());
    TerminateProcess(ProcessoGioco.hProcess, 0);
    WaitForSingleObject(ProcessoGioco.hProcess, 5000);
    SendMessageA(DialogCover().hWnd(), WM_LBUTTONUP, 0, 0);
    EXPECT_FALSE(DialogCover().Loaded());
    EXPECT_TRUE(HaRiga("Click event and Tomb Process is terminated: unload Cover"));
}

TEST_F(DesktopRun, MonitorOffThroughTheUtilityAndOnAgain) {
    SpegniMonitor();
    EXPECT_TRUE(HaRiga("ERROR: missing wizmo.exe utility in trle folder"));
    EXPECT_FALSE(HaBit(StatoSequenza, MonitorSpento));
    EXPECT_EQ(ProcessoWizmo, nullptr);

    ASSERT_TRUE(CopyFileA((CartellaProgrammi() + "\\wizmo.exe").c_str(), (store / "wizmo.exe").c_str(), FALSE));
    SpegniMonitor();
    EXPECT_TRUE(HaBit(StatoSequenza, MonitorSpento));
    ASSERT_NE(ProcessoWizmo, nullptr);
    HANDLE copia = nullptr;
    DuplicateHandle(GetCurrentProcess(), ProcessoWizmo, GetCurrentProcess(), &copia, 0, FALSE,
                    DUPLICATE_SAME_ACCESS);
    for (int i = 0; i < 3000 && !EsisteFileProva(store / "wizmo.log"); ++i) Sleep(10);
    EXPECT_EQ(WaitForSingleObject(copia, 0), static_cast<DWORD>(WAIT_TIMEOUT)) << "it keeps the monitor off";
    AccendiMonitor(false);
    EXPECT_FALSE(HaBit(StatoSequenza, MonitorSpento));
    EXPECT_EQ(WaitForSingleObject(copia, 5000), WAIT_OBJECT_0);
    CloseHandle(copia);
    EXPECT_EQ(LeggiFileProva(store / "wizmo.log"), "quiet monoff\r\n");
}

TEST_F(DesktopRun, MonitorOnWindows9xAndInSharedMode) {
    SistemaNT = false;
    SpegniMonitor();
    EXPECT_TRUE(HaRiga("Remove keyboard messages"));
    EXPECT_TRUE(HaRiga("Removed messages"));
    EXPECT_TRUE(HaBit(StatoSequenza, MonitorSpento));
    AccendiMonitor(false);
    EXPECT_FALSE(HaBit(StatoSequenza, MonitorSpento));

    Condiviso();
    MostraCoverTopMost();
    SpegniMonitor();
    EXPECT_TRUE(IsWindowVisible(DialogCover().hWnd()));
    EXPECT_TRUE(HaBit(StatoSequenza, MonitorSpento));
    AccendiMonitor(false);
    EXPECT_FALSE(IsWindowVisible(DialogCover().hWnd()));
    EXPECT_FALSE(HaBit(StatoSequenza, MonitorSpento));
}

TEST_F(DesktopRun, MonitorOffTwiceKeepsOneUtility) {
    ASSERT_TRUE(CopyFileA((CartellaProgrammi() + "\\wizmo.exe").c_str(), (store / "wizmo.exe").c_str(), FALSE));
    SpegniMonitor();
    ASSERT_NE(ProcessoWizmo, nullptr);
    HANDLE primo = nullptr;
    DuplicateHandle(GetCurrentProcess(), ProcessoWizmo, GetCurrentProcess(), &primo, 0, FALSE,
                    DUPLICATE_SAME_ACCESS);
    SpegniMonitor();
    EXPECT_TRUE(HaBit(StatoSequenza, MonitorSpento));
    // The first utility's line, then time for a second one to add its own.
    for (int i = 0; i < 3000 && LeggiFileProva(store / "wizmo.log").empty(); ++i) Sleep(10);
    Sleep(500);
    EXPECT_EQ(LeggiFileProva(store / "wizmo.log"), "quiet monoff\r\n") << "one utility only";
    AccendiMonitor(false);
    EXPECT_EQ(WaitForSingleObject(primo, 5000), WAIT_OBJECT_0) << "no utility keeps the monitor off";
    CloseHandle(primo);

    // A utility that ended by itself is started again.
    SpegniMonitor();
    ASSERT_NE(ProcessoWizmo, nullptr);
    for (int i = 0; i < 3000 && LeggiFileProva(store / "wizmo.log").size() < 28; ++i) Sleep(10);
    TerminateProcess(ProcessoWizmo, 0);
    WaitForSingleObject(ProcessoWizmo, 5000);
    SpegniMonitor();
    ASSERT_NE(ProcessoWizmo, nullptr);
    EXPECT_EQ(WaitForSingleObject(ProcessoWizmo, 0), static_cast<DWORD>(WAIT_TIMEOUT));
    for (int i = 0; i < 3000 && LeggiFileProva(store / "wizmo.log").size() < 42; ++i) Sleep(10);
    EXPECT_EQ(LeggiFileProva(store / "wizmo.log"), "quiet monoff\r\nquiet monoff\r\nquiet monoff\r\n");
    AccendiMonitor(false);
}

TEST_F(DesktopRun, ScreenSaverWarningOnlyOnWindows98AndMe) {
    BOOL attivoPrima = FALSE;
    SystemParametersInfoA(SPI_GETSCREENSAVEACTIVE, 0, &attivoPrima, 0);
    // The command of the panel is looked for in the current folder before
    // the system's: a stand-in there records it.
    ASSERT_TRUE(CopyFileA((CartellaProgrammi() + "\\wizmo.exe").c_str(), (store / "rundll32.exe").c_str(), FALSE));
    char cartellaPrima[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, cartellaPrima);
    ASSERT_TRUE(SetCurrentDirectoryA(store.Percorso().c_str()));

    Osservatore osservatore(store.Percorso(), "OK", 2, GetCurrentProcessId(), 8000);
    struct Caso {
        int32_t piattaforma;
        bool attivo, primaEsecuzione;
    };
    // Only the last case shows the box.
    for (const Caso& c : {Caso{5, true, true}, Caso{6, true, true}, Caso{1, true, true}, Caso{0, true, true},
                          Caso{4, false, true}, Caso{4, true, false}, Caso{4, true, true}}) {
        CodicePiattaforma = c.piattaforma;
        SistemaNT = c.piattaforma >= 5;
        SystemParametersInfoA(SPI_SETSCREENSAVEACTIVE, c.attivo, nullptr, 0);
        if (c.primaEsecuzione)
            ImpostaBit(StatoGioco, PrimaEsecuzione);
        else
            TogliBit(StatoGioco, PrimaEsecuzione);
        VerificaScreenSaver();
    }
    const std::vector<BoxRegistrato> boxes = osservatore.Boxes();
    for (int i = 0; i < 3000 && !EsisteFileProva(store / "wizmo.log"); ++i) Sleep(10);
    SetCurrentDirectoryA(cartellaPrima);
    SystemParametersInfoA(SPI_SETSCREENSAVEACTIVE, attivoPrima, nullptr, 0);
    CodicePiattaforma = 0;
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].testo,
              "Screen-Saver could create big troubles while this level will be performed\r\n"
              "Please, disable windows screen-saver\r\n"
              "Click [ok] in this window and it will be showed Screen-Saver panel");
    EXPECT_EQ(LeggiFileProva(store / "wizmo.log"), "shell32.dll,Control_RunDLL desk.cpl,,1\r\n");
}

}  // namespace

namespace {

TEST_F(DesktopRun, LastSavegameWithoutItsLevelIsNotLoaded) {
    EXPECT_FALSE(CaricaUltimoSavegame());
    EXPECT_TRUE(HaRiga("Remove keyboard messages"));
    EXPECT_TRUE(HaRiga("Removed messages"));
    EXPECT_TRUE(HaRiga("ERROR not found level.tr4 used by last savegame"));
}

}  // namespace
