// The game's window and process during a run: which window is the game's,
// its size, its display mode and focus, the waits on it and the priorities,
// with windows of the test's own and a child process for the game.
#include <windows.h>

#include <algorithm>
#include <string>
#include <thread>
#include <vector>

#include "core/MediaConfig.h"
#include "core/ModuleInit.h"
#include "core/PassaggioCondiviso.h"
#include "core/SharedState.h"
#include "platform/Clock.h"
#include "runservices/Desktop.h"
#include "runservices/GameWindow.h"
#include "runservices/LoggerClient.h"
#include "runservices/VideoList.h"
#include "platform/Forms.h"
#include "tests/gamerun/RunFixture.h"

namespace {

struct FinestraProva {
    std::string titolo;
    int x, y, w, h;
};

// Windows on a thread of their own, as the game's thread holds them; the
// thread answers the messages the search sends them (their titles).
class ThreadConFinestre {
public:
    explicit ThreadConFinestre(std::vector<FinestraProva> finestre) : finestre_(std::move(finestre)) {
        pronto_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        thread_ = std::thread([this] { Esegui(); });
        WaitForSingleObject(pronto_, 10000);
    }
    ~ThreadConFinestre() {
        PostThreadMessageA(id, WM_QUIT, 0, 0);
        thread_.join();
        CloseHandle(pronto_);
    }
    ThreadConFinestre(const ThreadConFinestre&) = delete;
    ThreadConFinestre& operator=(const ThreadConFinestre&) = delete;

    DWORD id = 0;
    std::vector<HWND> handle;

private:
    void Esegui() {
        // Only the windows listed: the input-method window that Wine adds to
        // every thread with windows is left out.
        if (HMODULE imm = LoadLibraryA("imm32.dll")) {
            using Disabilita = BOOL(WINAPI*)(DWORD);
            if (auto disabilita = reinterpret_cast<Disabilita>(
                    reinterpret_cast<void*>(GetProcAddress(imm, "ImmDisableIME"))))
                disabilita(0);
        }
        WNDCLASSA wc{};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "ProvaThreadGioco";
        RegisterClassA(&wc);
        for (const FinestraProva& f : finestre_)
            handle.push_back(CreateWindowExA(WS_EX_NOACTIVATE, "ProvaThreadGioco", f.titolo.c_str(), WS_POPUP, f.x,
                                             f.y, f.w, f.h, nullptr, nullptr, wc.hInstance, nullptr));
        MSG m;
        PeekMessageA(&m, nullptr, 0, 0, PM_NOREMOVE);  // the thread's queue, before anyone posts to it
        id = GetCurrentThreadId();
        SetEvent(pronto_);
        while (GetMessageA(&m, nullptr, 0, 0) > 0) DispatchMessageA(&m);
        for (HWND h : handle) DestroyWindow(h);
    }

    std::vector<FinestraProva> finestre_;
    HANDLE pronto_ = nullptr;
    std::thread thread_;
};

class FinestraRun : public ProvaRun {
protected:
    void SetUp() override {
        ProvaRun::SetUp();
        SchermoReale();
        SistemaNT = true;
        FinestreGioco.clear();
        NumFinestreGioco = 0;
        StrutturaLogger = StatoLogger{};
        TickFineCaricamento = 0;
        classiSalvate = ClassiPriorita;
        threadSalvati = PrioritaThread;
        // The level table as the module initialiser builds it.
        ClassiPriorita = {64, 64, 64, 64, 32, 32, 32, 32, 32, 128, 128, 128, 128, 256};
        PrioritaThread = {-15, -2, -1, 0, -2, -1, 0, 1, 2, -1, 0, 1, 15, -15};
        LivelloPrioritaGioco = 7;
        LivelloPrioritaModulo = 7;
    }
    void TearDown() override {
        FuoriGioco = true;
        ChiudiCover();
        for (HWND h : finestre) DestroyWindow(h);
        FinestraGioco = nullptr;
        FinestreGioco.clear();
        NumFinestreGioco = 0;
        StrutturaLogger = StatoLogger{};
        hProcessLogger = nullptr;
        HeaderMcf = MediaConfigHeader{};
        ClassiPriorita = classiSalvate;
        PrioritaThread = threadSalvati;
        SetPriorityClass(GetCurrentProcess(), NORMAL_PRIORITY_CLASS);
        SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_NORMAL);
        if (ProcessoGioco.hProcess && ProcessoGioco.hProcess != reinterpret_cast<void*>(1)) {
            TerminateProcess(ProcessoGioco.hProcess, 0);
            CloseHandle(ProcessoGioco.hProcess);
            if (ProcessoGioco.hThread) CloseHandle(ProcessoGioco.hThread);
        }
        ProcessoGioco = InfoProcesso{};
        ProvaRun::TearDown();
    }

    // A borderless window of this thread: its client area is exactly w x h.
    HWND Finestra(const char* classe, const char* titolo, int x, int y, int w, int h, DWORD stileEsteso = 0,
                  bool visibile = true) {
        WNDCLASSA wc{};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(std::string(classe) == "ProvaBianca" ? WHITE_BRUSH
                                                                                                    : BLACK_BRUSH));
        wc.lpszClassName = classe;
        RegisterClassA(&wc);
        HWND f = CreateWindowExA(stileEsteso | WS_EX_NOACTIVATE, classe, titolo, WS_POPUP, x, y, w, h, nullptr,
                                 nullptr, wc.hInstance, nullptr);
        if (f && visibile) ShowWindow(f, SW_SHOWNA);
        finestre.push_back(f);
        return f;
    }
    HWND FinestraDiGioco(int x, int y, int w, int h, DWORD stileEsteso = 0, bool visibile = true) {
        HWND f = Finestra("ProvaNera", "Tomb Raider", x, y, w, h, stileEsteso, visibile);
        FinestraGioco = f;
        return f;
    }
    // The logger in use with its last record showing these phases.
    static void LoggerConFasi(LoggerFase fasi) {
        ImpostaBit(StatoGioco, FlagLoggerInUso);
        StrutturaLogger.Fasi = fasi;
        UltimaVerificaLogger = ClockTick();
    }
    static int ContaRighe(const std::string& testo) {
        int n = 0;
        for (const std::string& r : RigheLog())
            if (r == testo) ++n;
        return n;
    }

    std::vector<HWND> finestre;
    std::vector<int32_t> classiSalvate, threadSalvati;
};

// --- The game's window among its thread's windows ---

struct CasoScelta {
    const char* nome;
    std::vector<FinestraProva> finestre;
    int scelta;  // index of creation; -2: the first candidate enumerated; -1: none
    bool avvisoDoppie;
};

TEST_F(FinestraRun, TheGameWindowIsChosenByPlacementAndTitle) {
    const std::vector<CasoScelta> casi = {
        // Both orders of creation: one of them is enumerated with the tomb
        // window second.
        {"second holds tomb", {{"Launcher", 0, 0, 300, 200}, {"TOMB Raider IV", 10, 10, 400, 300}}, 1, true},
        {"first holds tomb", {{"TOMB Raider IV", 10, 10, 400, 300}, {"Launcher", 0, 0, 300, 200}}, 0, true},
        {"neither holds tomb", {{"Launcher", 0, 0, 300, 200}, {"Setup", 10, 10, 400, 300}}, -2, true},
        {"null placement skipped", {{"Offscreen tomb", -300, -200, 300, 200}, {"Game", 0, 0, 300, 200}}, 1, false},
        {"only null placement", {{"Offscreen tomb", -300, -200, 300, 200}}, -1, false},
    };
    for (const CasoScelta& c : casi) {
        SCOPED_TRACE(c.nome);
        AzzeraLog();
        FinestraGioco = nullptr;
        ThreadConFinestre gioco(c.finestre);
        ProcessoGioco.dwThreadId = gioco.id;
        const bool trovata = CercaFinestraGioco();
        ASSERT_EQ(NumFinestreGioco, static_cast<int32_t>(c.finestre.size()));
        EXPECT_TRUE(HaRiga("Enum windows of Tomb Raider Process:"));
        for (int i = 0; i < NumFinestreGioco; ++i) {
            const FinestraThreadGioco& f = FinestreGioco[static_cast<size_t>(i)];
            RECT r{};
            GetWindowRect(static_cast<HWND>(f.Handle), &r);
            char handle[20];
            snprintf(handle, sizeof handle, "%lX", static_cast<unsigned long>(reinterpret_cast<uintptr_t>(f.Handle)));
            EXPECT_TRUE(HaRiga("Window " + std::to_string(i + 1) + ") Handle=0x" + handle + "  Title=\"" + f.Titolo +
                               "\"  Placement=" + std::to_string(r.left) + "," + std::to_string(r.top) + " - " +
                               std::to_string(r.right) + "," + std::to_string(r.bottom)));
        }
        EXPECT_EQ(HaRiga("WARNING: two or more windows with not null placement"), c.avvisoDoppie);
        if (c.scelta == -1) {
            EXPECT_FALSE(trovata);
            EXPECT_EQ(FinestraGioco, nullptr);
            EXPECT_TRUE(HaRiga("WARNING: no window has valid placement"));
            continue;
        }
        ASSERT_TRUE(trovata);
        HWND attesa = c.scelta >= 0 ? gioco.handle[static_cast<size_t>(c.scelta)]
                                    : static_cast<HWND>(FinestreGioco[0].Handle);
        EXPECT_EQ(FinestraGioco, attesa);
        char handle[20];
        snprintf(handle, sizeof handle, "%lX", static_cast<unsigned long>(reinterpret_cast<uintptr_t>(attesa)));
        EXPECT_TRUE(HaRiga(std::string("Found handle window= 0x") + handle));
        EXPECT_NE(HdcGioco, nullptr);
    }
    // A thread without windows: nothing listed.
    AzzeraLog();
    ThreadConFinestre vuoto({});
    ProcessoGioco.dwThreadId = vuoto.id;
    EXPECT_FALSE(CercaFinestraGioco());
    EXPECT_TRUE(HaRiga("Searching Window Handle of tomb raider process"));
    EXPECT_FALSE(HaRiga("Enum windows of Tomb Raider Process:"));
}

TEST_F(FinestraRun, ClientRectangleGoesToScreenCoordinates) {
    FinestraDiGioco(100, 50, 300, 200);
    Rettangolo r{0, 0, 300, 200};
    RettangoloClientGioco(r);
    EXPECT_EQ(r.Left, 100);
    EXPECT_EQ(r.Top, 50);
    EXPECT_EQ(r.Right, 400);
    EXPECT_EQ(r.Bottom, 250);
}

// --- Size of the game window ---

struct CasoRisoluzione {
    int32_t modoVideo;
    int w, h;
    bool ok;
};

TEST_F(FinestraRun, TheWidthDecidesTheSizeCheck) {
    const std::vector<CasoRisoluzione> casi = {
        {3, 1024, 768, true},  {3, 1070, 768, false}, {3, 1024, 700, true}, {3, 1064, 768, true},
        {3, 1065, 768, false}, {3, 984, 768, true},   {3, 983, 768, false}, {1, 640, 480, true},
        // No required resolution: the screen's.
        {0, 800, 600, true},   {0, 1024, 768, false},
    };
    for (const CasoRisoluzione& c : casi) {
        SCOPED_TRACE(std::to_string(c.modoVideo) + ": " + std::to_string(c.w) + "x" + std::to_string(c.h));
        AzzeraLog();
        HeaderMcf.VideoMode = c.modoVideo;
        SchermoX = 800;
        SchermoY = 600;
        TogliBit(StatoGioco, RisoluzioneVerificata);
        TickFineCaricamento = ClockTick() - 2001;
        HWND f = FinestraDiGioco(0, 0, c.w, c.h);
        VerificaRisoluzioneGioco();
        EXPECT_TRUE(HaRiga("Perform check for video resolution of tomb raider window"));
        EXPECT_TRUE(HaRiga("Size window tomb: " + std::to_string(c.w) + " x " + std::to_string(c.h)));
        EXPECT_EQ(HaRiga("Check Ok!"), c.ok);
        EXPECT_EQ(HaRiga("ERROR: failed to set video size for tomb raider: signals error"), !c.ok);
        DestroyWindow(f);
        finestre.pop_back();
    }
}

TEST_F(FinestraRun, TheSizeIsCheckedOnceAfterTheLoadAndTheWindow) {
    HeaderMcf.VideoMode = 3;
    FinestraDiGioco(0, 0, 1024, 768);
    const std::string riga = "Perform check for video resolution of tomb raider window";
    // Too soon after the end of the load.
    TickFineCaricamento = ClockTick() - 2000;
    VerificaRisoluzioneGioco();
    EXPECT_FALSE(HaRiga(riga));
    // The logger has not seen the game's window yet.
    ClockAdvance(1);
    LoggerConFasi(LoggerFase{});
    VerificaRisoluzioneGioco();
    EXPECT_FALSE(HaRiga(riga));
    LoggerConFasi(LoggerFase::CreatedWindow);
    VerificaRisoluzioneGioco();
    EXPECT_EQ(ContaRighe(riga), 1);
    EXPECT_TRUE(HaBit(StatoGioco, RisoluzioneVerificata));
    VerificaRisoluzioneGioco();
    EXPECT_EQ(ContaRighe(riga), 1);
}

// --- Display mode watch ---

struct CasoModo {
    const char* nome;
    bool condiviso;
    bool inPrimoPiano;
    bool logger;
    bool patchAltEnter;
    const char* avviso;  // nullptr: no change of mode needed
};

TEST_F(FinestraRun, AGameThatSwappedItsModeIsClosedWhenTheLevelAsks) {
    const std::vector<CasoModo> casi = {
        {"shared became top most", true, true, false, false,
         "WARNING: tomb window became top most: restore shared mode"},
        {"exclusive became shared", false, false, false, false,
         "WARNING: tomb window became shared: restore exlcusive mode"},
        {"shared stays shared", true, false, false, false, nullptr},
        {"exclusive stays top most", false, true, false, false, nullptr},
        {"the logger watches the mode", false, false, true, false, nullptr},
        {"the game's own patch holds the mode", false, false, false, true, nullptr},
    };
    for (const CasoModo& c : casi) {
        SCOPED_TRACE(c.nome);
        AzzeraLog();
        StatoGioco = RisoluzioneVerificata;
        ProcessoGioco.hProcess = reinterpret_cast<void*>(1);
        HeaderMcf.HeaderOptions = ParolaOpzioni(OpzioneHeader::AbortOnSwapVideoMode) |
                                  (c.condiviso ? ParolaOpzioni(OpzioneHeader::SharedMode) : 0);
        if (c.logger) LoggerConFasi(LoggerFase::CreatedWindow);
        if (c.patchAltEnter) ImpostaBit(StatoGioco, PatchAltEnterApplicata);
        // In place over a 640 x 440 screen, so that nothing moves it.
        SchermoX = 640;
        SchermoY = 440;
        HWND f = FinestraDiGioco(0, 0, 640, 440, c.inPrimoPiano ? WS_EX_TOPMOST : 0);
        ControllaModoVideo();
        const std::string abort =
            "Swap video mode is complete and flag 'AbortOnSwapVideoMode' is flagged: abort game";
        if (c.avviso) {
            EXPECT_TRUE(HaRiga(c.avviso));
            EXPECT_TRUE(HaRiga(abort));
            EXPECT_TRUE(HaRiga("Close tomb raider program"));
            EXPECT_EQ(ProcessoGioco.hProcess, nullptr);
            EXPECT_TRUE(HaBit(StatoGioco, CambioVideoAltEnter));
        } else {
            EXPECT_FALSE(HaRigaCheInizia("WARNING: tomb window became"));
            EXPECT_FALSE(HaRiga(abort));
            EXPECT_NE(ProcessoGioco.hProcess, nullptr);
            EXPECT_FALSE(HaBit(StatoGioco, CambioVideoAltEnter));
        }
        DestroyWindow(f);
        finestre.pop_back();
    }
}

TEST_F(FinestraRun, AGameThatSwappedItsModeIsSwitchedBackWithAltEnter) {
    // The player's keys are held off: no wait for a quiet keyboard.
    StatoGioco = RisoluzioneVerificata | InputUtenteSospeso;
    HeaderMcf.HeaderOptions = ParolaOpzioni(OpzioneHeader::SharedMode);
    SchermoX = 640;
    SchermoY = 440;
    HWND f = FinestraDiGioco(0, 0, 640, 440, WS_EX_TOPMOST);
    const uint32_t inizio = ClockTick();
    ControllaModoVideo();
    const std::vector<std::string> attese = {
        "WARNING: tomb window became top most: restore shared mode",
        "Wait for end of keyboard activity",
        "Send keystrokes ALT + ENTER to reverse current window status",
        "Set new ex_style for window",
        "Wait for window refresh",
        "End waiting",
    };
    const std::vector<std::string> righe = RigheLog();
    size_t prossima = 0;
    for (const std::string& r : righe)
        if (prossima < attese.size() && r == attese[prossima]) ++prossima;
    EXPECT_EQ(prossima, attese.size()) << "missing or out of order: " << attese[std::min(prossima, attese.size() - 1)];
    EXPECT_EQ(GetWindowLongA(f, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    EXPECT_NE(ProcessoGioco.hProcess, nullptr);
    EXPECT_FALSE(HaBit(StatoGioco, CambioVideoAltEnter));
    // A second, the keys (350 ms), 0.2 s and the 4 s for the refresh.
    EXPECT_GE(ClockTick() - inizio, 5550u);
    EXPECT_LT(ClockTick() - inizio, 6000u);
}

TEST_F(FinestraRun, AGameWithoutTheFocusGetsItBack) {
    StatoGioco = RisoluzioneVerificata | PatchAltEnterApplicata;
    HWND f = FinestraDiGioco(0, 0, 300, 200);
    // Without the logger: the foreground window is none of the game's.
    ControllaModoVideo();
    EXPECT_TRUE(HaRiga("WARNING: tomb raider has not the focus"));
    EXPECT_TRUE(HaRiga("Set focus to tomb raider window"));

    // With the logger: its record says whether the game hangs.
    LoggerConFasi(LoggerFase::CreatedWindow);
    AzzeraLog();
    ControllaModoVideo();
    EXPECT_FALSE(HaRiga("WARNING: tomb raider has not the focus"));
    LoggerConFasi(LoggerFase::CreatedWindow | LoggerFase::HangGame);
    ControllaModoVideo();
    EXPECT_TRUE(HaRiga("WARNING: tomb raider has not the focus"));

    // A game that ended is not looked at.
    AzzeraLog();
    ProcessoGioco.hProcess = nullptr;
    ControllaModoVideo();
    EXPECT_TRUE(RigheLog().empty());
    (void)f;
}

TEST_F(FinestraRun, ALitStripBelowTheSharedGameIsPaintedBlack) {
    StatoGioco = RisoluzioneVerificata | PatchAltEnterApplicata;
    HeaderMcf.HeaderOptions = ParolaOpzioni(OpzioneHeader::SharedMode);
    SchermoX = 640;
    SchermoY = 440;
    HWND gioco = FinestraDiGioco(0, 0, 640, 400, WS_EX_TOPMOST);
    LoggerConFasi(LoggerFase::CreatedWindow);  // the game has the focus
    const std::string avviso = "WARNING: detected bottom border not black: draw black box";

    HWND nera = Finestra("ProvaNera", "", 0, 400, 640, 40, WS_EX_TOPMOST);
    UpdateWindow(nera);
    DoEvents();
    ControllaModoVideo();
    EXPECT_FALSE(HaRiga(avviso));

    HWND bianca = Finestra("ProvaBianca", "", 0, 400, 640, 40, WS_EX_TOPMOST);
    UpdateWindow(bianca);
    DoEvents();
    ControllaModoVideo();
    EXPECT_TRUE(HaRiga(avviso));

    // Not while the focus had to be given back.
    AzzeraLog();
    LoggerConFasi(LoggerFase::CreatedWindow | LoggerFase::HangGame);
    ControllaModoVideo();
    EXPECT_FALSE(HaRiga(avviso));
    (void)gioco;
}

// --- Showing the window and waiting for it ---

struct CasoMostra {
    bool nt;
    bool condiviso;
    bool logger;
    bool blocco;
    bool ridotta;  // minimised first
    const char* riga;
};

TEST_F(FinestraRun, TheGameWindowIsShownAsThePlatformAllows) {
    const std::vector<CasoMostra> casi = {
        {true, true, false, false, false, "ShowWindow Tomb raider (async)"},
        {true, false, false, false, true, "ShowWindow Tomb raider (async)"},
        {false, false, true, false, false, "ShowWindow Tomb raider (async because hang is missing)"},
        {false, false, true, true, false, "ShowWindow tomb raider (sync)"},
        {false, false, false, false, false, "ShowWindow tomb raider (sync)"},
    };
    for (const CasoMostra& c : casi) {
        SCOPED_TRACE(c.riga);
        AzzeraLog();
        SistemaNT = c.nt;
        StatoGioco = 0;
        StrutturaLogger = StatoLogger{};
        HeaderMcf.HeaderOptions = c.condiviso ? ParolaOpzioni(OpzioneHeader::SharedMode) : 0;
        if (c.logger)
            LoggerConFasi(c.blocco ? LoggerFase::CreatedWindow | LoggerFase::HangGame : LoggerFase::CreatedWindow);
        HWND f = FinestraDiGioco(0, 0, 200, 100, 0, false);
        if (c.ridotta) ShowWindow(f, SW_SHOWMINNOACTIVE);
        MostraFinestraGioco();
        DoEvents();
        EXPECT_TRUE(HaRiga(c.riga));
        EXPECT_TRUE(IsWindowVisible(f));
        EXPECT_FALSE(IsIconic(f));
        DestroyWindow(f);
        finestre.pop_back();
    }
}

struct CasoBlocco {
    const char* nome;
    bool anteprima;
    bool logger;
    bool blocco;
    bool giocoFinito;
    const char* riga;  // nullptr: no wait at all
    uint32_t minimo, massimo;
};

TEST_F(FinestraRun, TheWaitForTheGameToLoseTheFocusIsBounded) {
    const std::vector<CasoBlocco> casi = {
        {"preview", true, true, false, false, nullptr, 0, 0},
        {"no logger", false, false, false, false, nullptr, 0, 0},
        {"hanged at once", false, true, true, false, "End waiting: ok, tomb raider hanged", 100, 100},
        {"never hangs", false, true, false, false, "WARNING: timeout without hanging tomb raider", 3000, 3100},
        {"the game ended", false, true, false, true, "WARNING: timeout without hanging tomb raider", 100, 100},
    };
    for (const CasoBlocco& c : casi) {
        SCOPED_TRACE(c.nome);
        AzzeraLog();
        StatoGioco = 0;
        FuoriGioco = c.anteprima;
        ProcessoGioco.hProcess = c.giocoFinito ? nullptr : reinterpret_cast<void*>(1);
        if (c.logger)
            LoggerConFasi(c.blocco ? LoggerFase::CreatedWindow | LoggerFase::HangGame : LoggerFase::CreatedWindow);
        const uint32_t inizio = ClockTick();
        AttendiBloccoGioco();
        const uint32_t durata = ClockTick() - inizio;
        if (!c.riga) {
            EXPECT_TRUE(RigheLog().empty());
            EXPECT_EQ(durata, 0u);
            continue;
        }
        EXPECT_TRUE(HaRiga("Current media requires to wait that tomb raider process lost the focus"));
        EXPECT_TRUE(HaRiga(c.riga));
        EXPECT_GE(durata, c.minimo);
        EXPECT_LE(durata, c.massimo);
    }
    FuoriGioco = false;
    ProcessoGioco.hProcess = reinterpret_cast<void*>(1);
}

// --- Cover and screen ---

TEST_F(FinestraRun, TheCoverTakesItsRectangle) {
    RettCover = RettangoloDim{10, 20, 300, 200};
    PosizionaCover();
    ASSERT_TRUE(DialogCover().Loaded());
    RECT r{};
    GetWindowRect(DialogCover().hWnd(), &r);
    EXPECT_EQ(r.left, 10);
    EXPECT_EQ(r.top, 20);
    EXPECT_EQ(r.right - r.left, 300);
    EXPECT_EQ(r.bottom - r.top, 200);

    // The screen is as wide as the cover: in place.
    RettCover = RettangoloDim{0, 0, GetSystemMetrics(SM_CXSCREEN), 100};
    EXPECT_TRUE(VerificaSpostamentoSchermo());
    EXPECT_TRUE(HaRigaCheInizia("Screen is in place"));
    // A cover wider than the screen whose device context has nothing there.
    ChiudiCover();
    RettCover.Larghezza += 200;
    EXPECT_FALSE(VerificaSpostamentoSchermo());
    EXPECT_TRUE(HaRiga("Hdc not ready"));
}

// --- Liveness ---

TEST_F(FinestraRun, TheRunGoesOnWhileTheGameRunsAndNoQuitIsAsked) {
    FuoriGioco = true;
    ProcessoGioco.hProcess = nullptr;
    EXPECT_TRUE(RichiestaAbort());
    FuoriGioco = false;
    EXPECT_FALSE(RichiestaAbort());

    AvviaGioco();
    EXPECT_TRUE(RichiestaAbort());
    HANDLE processo = nullptr;
    DuplicateHandle(GetCurrentProcess(), ProcessoGioco.hProcess, GetCurrentProcess(), &processo, 0, FALSE,
                    DUPLICATE_SAME_ACCESS);
    // A quit request in the program's queue closes the game.
    PostQuitMessage(0);
    EXPECT_FALSE(RichiestaAbort());
    MSG m;
    while (PeekMessageA(&m, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
    EXPECT_TRUE(HaRiga("WARNING: required to abort current application"));
    EXPECT_TRUE(HaRiga("Close tomb raider program"));
    EXPECT_EQ(ProcessoGioco.hProcess, nullptr);
    EXPECT_EQ(WaitForSingleObject(processo, 5000), WAIT_OBJECT_0);
    DWORD codice = 1;
    GetExitCodeProcess(processo, &codice);
    EXPECT_EQ(codice, 0u);
    CloseHandle(processo);
    // Closed once only.
    AzzeraLog();
    ChiudiGioco();
    EXPECT_TRUE(RigheLog().empty());

    // A game that ended by itself.
    AvviaGioco();
    TerminateProcess(ProcessoGioco.hProcess, 3);
    WaitForSingleObject(ProcessoGioco.hProcess, 5000);
    EXPECT_FALSE(RichiestaAbort());
}

TEST_F(FinestraRun, APassOfTheTickFindsTheGameRunningOnce) {
    AvviaGioco();
    {
        PassaggioCondiviso passaggio;
        EXPECT_TRUE(RichiestaAbort());
        TerminateProcess(ProcessoGioco.hProcess, 3);
        WaitForSingleObject(ProcessoGioco.hProcess, 5000);
        EXPECT_TRUE(RichiestaAbort()) << "found running in this pass";
        // A media performed by the pass looks for itself.
        LivelloAnnidamento = 1;
        EXPECT_FALSE(RichiestaAbort());
        LivelloAnnidamento = 0;
        // A loop of the pass that waits looks anew on every cycle.
        ClockSleep(100);
        EXPECT_FALSE(RichiestaAbort());
    }
    AvviaGioco();
    EXPECT_TRUE(RichiestaAbort());
    TerminateProcess(ProcessoGioco.hProcess, 3);
    WaitForSingleObject(ProcessoGioco.hProcess, 5000);
    EXPECT_FALSE(RichiestaAbort()) << "outside a pass";
}

TEST_F(FinestraRun, TheLoggerIsAliveWhileItsProcessRuns) {
    EXPECT_FALSE(IsLoggerAlive());
    AvviaGioco();
    hProcessLogger = ProcessoGioco.hProcess;
    EXPECT_FALSE(IsLoggerAlive());  // not in use
    ImpostaBit(StatoGioco, FlagLoggerInUso);
    EXPECT_TRUE(IsLoggerAlive());
    TerminateProcess(ProcessoGioco.hProcess, 0);
    WaitForSingleObject(ProcessoGioco.hProcess, 5000);
    EXPECT_FALSE(IsLoggerAlive());
}

// --- Priorities ---

struct CasoLivello {
    int32_t livello;
    bool valido;
    int32_t classe, thread;
};

TEST_F(FinestraRun, PriorityLevelsComeFromTheTable) {
    const std::vector<CasoLivello> casi = {
        {0, false, 0, 0},    {15, false, 0, 0},  {-1, false, 0, 0},  {1, true, 64, -15},
        {4, true, 64, 0},    {7, true, 32, 0},   {9, true, 32, 2},   {13, true, 128, 15},
        {14, true, 256, -15},
    };
    for (const CasoLivello& c : casi) {
        SCOPED_TRACE(c.livello);
        AzzeraLog();
        int32_t classe = 99, thread = 99;
        EXPECT_EQ(ClassePriorita(c.livello, classe, thread), c.valido);
        EXPECT_EQ(HaRiga("ERROR: unknown priority level: " + std::to_string(c.livello)), !c.valido);
        if (c.valido) {
            EXPECT_EQ(classe, c.classe);
            EXPECT_EQ(thread, c.thread);
        }
    }
    EXPECT_FALSE(ImpostaPriorita(GetCurrentProcess(), GetCurrentThread(), 0));
}

TEST_F(FinestraRun, TheGamesPriorityIsLoweredOnceAndRestored) {
    AvviaGioco();
    const std::string riga = "Reduce priority for tomb raider process";
    RiduciPrioritaGioco(true);
    EXPECT_EQ(GetPriorityClass(ProcessoGioco.hProcess), static_cast<DWORD>(IDLE_PRIORITY_CLASS));
    EXPECT_TRUE(HaBit(StatoGioco, PrioritaGiocoRidotta));
    // A second call changes nothing: the class set meanwhile stays.
    SetPriorityClass(ProcessoGioco.hProcess, HIGH_PRIORITY_CLASS);
    RiduciPrioritaGioco(true);
    EXPECT_EQ(GetPriorityClass(ProcessoGioco.hProcess), static_cast<DWORD>(HIGH_PRIORITY_CLASS));
    EXPECT_EQ(ContaRighe(riga), 1);

    EXPECT_TRUE(RipristinaPrioritaGioco(true));
    EXPECT_TRUE(HaRiga("Restore default priority for tomb raider process"));
    EXPECT_EQ(GetPriorityClass(ProcessoGioco.hProcess), static_cast<DWORD>(NORMAL_PRIORITY_CLASS));
    EXPECT_FALSE(HaBit(StatoGioco, PrioritaGiocoRidotta));
    EXPECT_FALSE(RipristinaPrioritaGioco(true));

    // Without the log line when not asked; never in preview.
    AzzeraLog();
    RiduciPrioritaGioco(false);
    EXPECT_TRUE(HaBit(StatoGioco, PrioritaGiocoRidotta));
    EXPECT_FALSE(HaRiga(riga));
    EXPECT_TRUE(RipristinaPrioritaGioco(false));
    EXPECT_TRUE(RigheLog().empty());
    FuoriGioco = true;
    RiduciPrioritaGioco(true);
    EXPECT_FALSE(HaBit(StatoGioco, PrioritaGiocoRidotta));
    FuoriGioco = false;
}

TEST_F(FinestraRun, ASlowInventoryTestSlowsTheGameForGood) {
    AvviaGioco();
    RallentaInventario(ClockTick() - 1000);
    EXPECT_TRUE(RigheLog().empty());
    EXPECT_EQ(LivelloPrioritaGioco, 7);

    RallentaInventario(ClockTick() - 1500);
    EXPECT_TRUE(HaRiga("WARNING: time-out for inventory time: 1500 m.s."));
    EXPECT_TRUE(HaRiga("Force IDLE priority for tomb task"));
    EXPECT_EQ(LivelloPrioritaGioco, 4);
    EXPECT_EQ(GetPriorityClass(ProcessoGioco.hProcess), static_cast<DWORD>(IDLE_PRIORITY_CLASS));

    AzzeraLog();
    RallentaInventario(ClockTick() - 2000);
    EXPECT_TRUE(HaRiga("WARNING: tomb priorirty has already been slowed down"));
    EXPECT_FALSE(HaRiga("Force IDLE priority for tomb task"));

    // A restore now gives the game the slowed level.
    RiduciPrioritaGioco(false);
    SetPriorityClass(ProcessoGioco.hProcess, NORMAL_PRIORITY_CLASS);
    EXPECT_TRUE(RipristinaPrioritaGioco(false));
    EXPECT_EQ(GetPriorityClass(ProcessoGioco.hProcess), static_cast<DWORD>(IDLE_PRIORITY_CLASS));
}

TEST_F(FinestraRun, TheProgramRunsFasterWhileAMediaShows) {
    VelocizzaModulo();
    EXPECT_TRUE(HaRiga("Fast media module process"));
    EXPECT_EQ(GetPriorityClass(GetCurrentProcess()), static_cast<DWORD>(NORMAL_PRIORITY_CLASS));
    EXPECT_EQ(GetThreadPriority(GetCurrentThread()), THREAD_PRIORITY_HIGHEST);
    VelocizzaModulo();
    EXPECT_EQ(ContaRighe("Fast media module process"), 1);
    RallentaModulo();
    EXPECT_TRUE(HaRiga("Remove fast for media module process"));
    EXPECT_EQ(GetThreadPriority(GetCurrentThread()), THREAD_PRIORITY_NORMAL);
    EXPECT_FALSE(HaBit(StatoGioco, ModuloVeloce));
    AzzeraLog();
    RallentaModulo();
    EXPECT_TRUE(RigheLog().empty());
}

}  // namespace
