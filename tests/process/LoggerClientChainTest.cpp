// The whole road of a game event: the game stand-in, Scrivane, and the
// logger client of the main program in the harness.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/process/LoggerFixture.h"

namespace {

using namespace loggertest;

class LoggerClientChain : public testing::Test {
protected:
    void SetUp() override {
        CreateDirectoryA((trle / "store").c_str(), nullptr);
        CreateDirectoryA((trle / "audio").c_str(), nullptr);
        CreateDirectoryA((trle / "data").c_str(), nullptr);
        CopyFileA((CartellaProgrammi() + "\\Scrivane.exe").c_str(), (trle / "store\\Scrivane.exe").c_str(), FALSE);
        CopyFileA((CartellaProgrammi() + "\\GameSim.exe").c_str(), (trle / "tomb4.exe").c_str(), FALSE);
        CopyFileA((CartellaProgrammi() + "\\LoggerHarness.exe").c_str(), (trle / "harness.exe").c_str(), FALSE);
        ScriviFileProva(trle / "levels.txt", "data\\title.tr4\r\ndata\\level1.tr4\r\n");
        for (const char* f : {"data\\title.tr4", "data\\level1.tr4", "audio\\097.wav", "audio\\003.wav", "audio\\004.wav"})
            ScriviFileProva(trle / f, "x");
    }
    int Esegui(const std::string& script, const std::string& argomenti = "") {
        ScriviFileProva(trle / "gamesim.txt", script);
        ProcessoProva p;
        if (!AvviaProva(p, trle / "harness.exe", argomenti, trle.Percorso())) return -2;
        return p.Attendi(60000);
    }
    std::string Harness() const { return LeggiFileProva(trle / "harness.txt"); }
    std::string Log() const { return LeggiFileProva(trle / "store\\media_log.txt"); }
    bool NelLog(const std::string& testo) const { return Log().find(testo) != std::string::npos; }
    int Conta(const std::string& testo) const {
        const std::string log = Log();
        int n = 0;
        for (size_t da = log.find(testo); da != std::string::npos; da = log.find(testo, da + 1)) ++n;
        return n;
    }
    // The texts appear in the log in this order.
    bool NelLogInOrdine(const std::vector<std::string>& testi) const {
        const std::string log = Log();
        size_t da = 0;
        for (const std::string& t : testi) {
            da = log.find(t, da);
            if (da == std::string::npos) return false;
        }
        return true;
    }
    std::string Gioco() const { return LeggiFileProva(trle / "gamesim_log.txt"); }
    bool HarnessIniziaCon(const std::string& testo) const { return Harness().compare(0, testo.size(), testo) == 0; }
    CartellaProva trle{"lcc"};
};

TEST_F(LoggerClientChain, TheClientReadsEveryRecordOfAGame) {
    const int codice = Esegui(
        "waitlogger 10000\n"
        "log do_boot_screen\n"
        "log DXCreate: Windowed Mode\n"
        "log w 800 h 600\n"
        "open data\\title.tr4\n"
        "log S_LoadLevelFile\n"
        "log FileOpen - DATA\\title.tr4\n"
        "log CreateD3DLights\n"
        "close data\\title.tr4\n"
        "play 97\n"
        "log Playing audio\\097.wav\n"
        "wait 300\n"
        "open data\\level1.tr4\n"
        "log S_LoadLevelFile\n"
        "log FileOpen - DATA\\level1.tr4\n"
        "log CreateD3DLights\n"
        "close data\\level1.tr4\n"
        // Two tracks at once: both are handed out, oldest first (in one tick,
        // or in two when the machine is slow).
        "play 3\n"
        "log Playing audio\\003.wav\n"
        "play 4\n"
        "log Playing audio\\004.wav\n"
        "wait 300\n"
        "log DXCreateSurface\n"
        "log Released Mono Screen\n"
        "log Already In Scene\n"
        "stop\n"
        "log WinClose\n");
    EXPECT_EQ(codice, 0);
    // The last record is the game's end, or the logger's own when it came in the same tick.
    const std::string harness = Harness();
    const std::string prima = "logger in use\ncd 97\ncd 3\ncd 4\nend logger left, game end reported\nlast ";
    ASSERT_EQ(harness.substr(0, prima.size()), prima);
    const std::string ultimo = harness.substr(prima.size());
    EXPECT_TRUE(ultimo == "EndGame            -1  -1  800  600 ABORT_LOG \n" ||
                ultimo == "NULL               -1  -1  800  600 ABORT_LOG \n")
        << ultimo;
    for (const char* riga :
         {"Starting Scrivane:", "Creating file for Scrivane in: ", "Search for window handle of logger program",
          "Found window handle of logger program", "Get view of map file at address 0x",
          "LOGGER: read structures sent by logger:", "Detected video mode shared 800 x 600",
          "Detected start loading", "Loading level 1: \"level1.tr4\" in progress",
          "Logger: Detected change in CD playing: put cd 4 in buffer[", "Abort log: disable checking for logger data",
          "Send message to close Scrivane"})
        EXPECT_TRUE(NelLog(riga)) << riga;
    EXPECT_FALSE(NelLog("WARNING: Cd signaled by logger"));
    // The health check runs at the first tick after the game's window; when
    // that tick reads a loading claim that the next records overtake, the
    // claim counts as an error, once. Nothing else may.
    const int errori = Conta("Consecutive logger errors");
    EXPECT_LE(errori, 1) << Log();
    EXPECT_EQ(Conta("Consecutive logger errors: 1"), errori) << Log();
    EXPECT_EQ(Conta("but this level is not corrently loading"), errori) << Log();
    EXPECT_EQ(Conta("WARNING: logger signals"), errori) << Log();

    // Logger.bin as the client wrote it.
    const std::string bin = LeggiFileProva(trle / "store\\Logger.bin");
    ASSERT_EQ(bin.size(), 8u + 2 * 64);
    EXPECT_EQ(bin.substr(0, 4), std::string("\x02\x00\x00\x00", 4));
    EXPECT_EQ(bin.substr(8, 11), std::string("title.tr4\0 ", 11));
    EXPECT_EQ(bin.substr(72, 12), std::string("level1.tr4\0 ", 12));

    // The logger ran in the store folder and knew the levels.
    const std::string logLogger = LeggiFileProva(trle / "store\\tomb4_log.txt");
    EXPECT_TRUE(HaRiga(logLogger, "LOGGER: Received process handle of tomb raider"));
    EXPECT_NE(logLogger.find("LOGGER: Received process handle of media module=0x"), std::string::npos);
    EXPECT_TRUE(HaRiga(logLogger, "LOGGER: Received message WM_USER:1 Send 'received' code"));
}

TEST_F(LoggerClientChain, AnEndedTrackAndALevelClosedBeforeItsEndLeaveTheLoggerInUse) {
    // The health check runs every 5 s: one while the level's end is pending
    // with its file closed, then several after the track ended with no new one.
    const int codice = Esegui(
        "waitlogger 10000\n"
        "log do_boot_screen\n"
        "open data\\level1.tr4\n"
        "log S_LoadLevelFile\n"
        "log FileOpen - DATA\\level1.tr4\n"
        "close data\\level1.tr4\n"
        "wait 6000\n"
        "log CreateD3DLights\n"
        "play 3\n"
        "log Playing audio\\003.wav\n"
        "stop\n"
        "wait 11000\n"
        "exit 0\n",
        "-L");
    EXPECT_EQ(codice, 0);
    EXPECT_TRUE(HarnessIniziaCon("logger in use\ncd 3\nend logger in use\n")) << Harness();
    EXPECT_TRUE(NelLogInOrdine({"Detected start loading", "Store time of end loading: ",
                                "Loading level 1: \"level1.tr4\" in progress", "put cd 3 in buffer[0]"}));
    for (const char* riga : {"is not playing", "Remove 'loading level' from phase", "Consecutive logger errors",
                             "Disable usage of logger functions"})
        EXPECT_FALSE(NelLog(riga)) << riga;
    // The checks did run: the handshake and one ping per check.
    const std::vector<std::string> righe = RigheLogger(LeggiFileProva(trle / "store\\tomb4_log.txt"));
    const auto quante = [&](const std::string& riga) { return std::count(righe.begin(), righe.end(), riga); };
    EXPECT_GE(quante("LOGGER: Received message WM_USER:1 Send 'received' code"), 4);
    EXPECT_EQ(quante("LOGGER: Received message WM_USER:2 Set new phase value with 0x 8 value"), 0);
}

TEST_F(LoggerClientChain, AModeSwappedAgainstTheConfigurationIsSwappedBackWithAltEnter) {
    // The configuration asks for full screen (no SharedMode option); the
    // player's Alt+Enter makes the game windowed.
    ScriviFileProva(trle / "gamesim.txt",
                    "waitlogger 10000\nlog do_boot_screen\nlog SetDisplayMode - 640x480x16\nwait 500\naltenter\n"
                    "wait 30000\n");
    ProcessoProva p;
    ASSERT_TRUE(AvviaProva(p, trle / "harness.exe", "", trle.Percorso()));
    const auto modi = [&] {
        const std::string g = Gioco();
        const size_t finestra = g.find("mode windowed\n");
        return finestra != std::string::npos && g.find("mode full screen\n", finestra) != std::string::npos;
    };
    EXPECT_TRUE(AttendiCondizione(20000, modi)) << Gioco();
    // The game then ends as a player closes its window.
    PostMessageA(FindWindowA("TombSimWindow", nullptr), WM_CLOSE, 0, 0);
    EXPECT_EQ(p.Attendi(30000), 0);

    EXPECT_TRUE(HarnessIniziaCon("logger in use\nend logger left, game end reported\nlast")) << Harness();
    EXPECT_TRUE(NelLogInOrdine({"Detected video mode exclusive 640 x 480", "Detected video mode shared 640 x 480",
                                "WARNING: video mode now is different than video mode required by media configuration "
                                "file",
                                "Send keystrokes ALT + ENTER to reverse current window status",
                                "Detected video mode exclusive 640 x 480", "Restored correct video mode"}))
        << Log();
    const std::string gioco = Gioco();
    size_t da = 0;
    for (const char* riga : {"mode windowed\n", " scan 28\n", "mode full screen\n",
                             "received WM_CLOSE\n", " WinClose\n"}) {
        da = gioco.find(riga, da);
        EXPECT_NE(da, std::string::npos) << riga << gioco;
        if (da == std::string::npos) break;
    }
}

TEST_F(LoggerClientChain, ALoggerThatDiesDuringTheRunIsLeft) {
    ScriviFileProva(trle / "gamesim.txt",
                    "waitlogger 10000\nlog do_boot_screen\ntitle booted\nwait 8000\nlog WinClose\n");
    ProcessoProva p;
    ASSERT_TRUE(AvviaProva(p, trle / "harness.exe", "", trle.Percorso()));
    ASSERT_TRUE(AttendiCondizione(20000, [&] { return Gioco().find("title booted\n") != std::string::npos; }));
    DWORD pid = 0;
    GetWindowThreadProcessId(FindWindowA(ClasseLogger, TitoloLogger), &pid);
    ASSERT_NE(pid, 0u);
    HANDLE logger = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid);
    ASSERT_NE(logger, nullptr);
    TerminateProcess(logger, 7);
    WaitForSingleObject(logger, 5000);
    CloseHandle(logger);
    EXPECT_EQ(p.Attendi(30000), 0);

    // No final record came: the health check found the process gone.
    EXPECT_TRUE(HarnessIniziaCon("logger in use\nend logger left\n")) << Harness();
    EXPECT_TRUE(NelLogInOrdine({"WARNING: logger is not running. Disable logger usage",
                                "Disable usage of logger functions", "Send message to close Scrivane"}));
    EXPECT_FALSE(NelLog("Scrivane doesn't respond"));
    EXPECT_NE(Gioco().find("log-nologger "), std::string::npos);
}

TEST_F(LoggerClientChain, WithoutTheLoggerProgramTheRunGoesOnAlone) {
    DeleteFileA((trle / "store\\Scrivane.exe").c_str());
    EXPECT_EQ(Esegui("log do_boot_screen\nwait 200\nlog WinClose\n"), 0);
    EXPECT_EQ(Harness().substr(0, 19), "logger not in use\ne");
    EXPECT_TRUE(NelLog("Starting Scrivane:"));
    EXPECT_FALSE(NelLog("Creating file for Scrivane in: "));
    const std::string gioco = LeggiFileProva(trle / "gamesim_log.txt");
    EXPECT_NE(gioco.find("log-nologger "), std::string::npos);
}

}  // namespace

namespace {

// A window in the logger's place, on a thread of the test: it records the
// commands and answers command 1 through the test's "SWAPMEDIADAT". It may
// take no message for a while after it exists (a logger loading its
// sounds), or hang on the first command 1 until the test lets it go.
class LoggerFinto {
public:
    LoggerFinto(SwapMediaView* vista, DWORD occupato, bool blocca)
        : vista_(vista), occupato_(occupato), blocca_(blocca) {
        attivo = this;
        InitializeCriticalSection(&sezione_);
        libera_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        HANDLE pronto = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        pronto_ = pronto;
        thread_ = CreateThread(nullptr, 0, Thread, this, 0, &idThread_);
        WaitForSingleObject(pronto, 10000);
        CloseHandle(pronto);
    }
    ~LoggerFinto() {
        SetEvent(libera_);
        PostThreadMessageA(idThread_, WM_QUIT, 0, 0);
        WaitForSingleObject(thread_, 15000);
        CloseHandle(thread_);
        CloseHandle(libera_);
        DeleteCriticalSection(&sezione_);
        attivo = nullptr;
    }
    std::vector<WPARAM> Comandi() {
        EnterCriticalSection(&sezione_);
        std::vector<WPARAM> copia = comandi_;
        LeaveCriticalSection(&sezione_);
        return copia;
    }
    DWORD TickBlocco() const { return static_cast<DWORD>(tickBlocco_); }

private:
    static LRESULT CALLBACK Procedura(HWND h, UINT m, WPARAM wp, LPARAM lp) {
        if (m != WM_USER || !attivo) return DefWindowProcA(h, m, wp, lp);
        LoggerFinto& f = *attivo;
        EnterCriticalSection(&f.sezione_);
        f.comandi_.push_back(wp);
        LeaveCriticalSection(&f.sezione_);
        if (wp == CmdSendReceived) {
            if (f.blocca_ && InterlockedExchange(&f.tickBlocco_, static_cast<LONG>(GetTickCount())) == 0)
                WaitForSingleObject(f.libera_, 20000);
            else if (!f.blocca_)
                InterlockedIncrement(reinterpret_cast<volatile LONG*>(&f.vista_->ReceivedCount));
        }
        return 0;
    }
    static DWORD WINAPI Thread(LPVOID p) {
        LoggerFinto& f = *static_cast<LoggerFinto*>(p);
        WNDCLASSA wc{};
        wc.lpfnWndProc = Procedura;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = ClasseLogger;
        RegisterClassA(&wc);
        HWND h = CreateWindowExA(0, ClasseLogger, TitoloLogger, WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                                 wc.hInstance, nullptr);
        SetEvent(f.pronto_);
        Sleep(f.occupato_);
        MSG msg;
        while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
        DestroyWindow(h);
        UnregisterClassA(ClasseLogger, wc.hInstance);
        return 0;
    }
    static inline LoggerFinto* attivo = nullptr;
    SwapMediaView* vista_;
    DWORD occupato_;
    bool blocca_;
    CRITICAL_SECTION sezione_;
    std::vector<WPARAM> comandi_;
    volatile LONG tickBlocco_ = 0;
    HANDLE libera_ = nullptr;
    HANDLE pronto_ = nullptr;
    HANDLE thread_ = nullptr;
    DWORD idThread_ = 0;
};

// The test's "SWAPMEDIADAT", and any program standing for the logger
// program, living <ms> after its start.
class LoggerFintoChain : public LoggerClientChain {
protected:
    void SetUp() override {
        LoggerClientChain::SetUp();
        CopyFileA((CartellaProgrammi() + "\\GameSim.exe").c_str(), (trle / "store\\Scrivane.exe").c_str(), FALSE);
        mappa =
            CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, DimensioneSwapMedia, NomeMappaSwap);
        ASSERT_NE(mappa, nullptr);
        vista = static_cast<SwapMediaView*>(MapViewOfFile(mappa, FILE_MAP_ALL_ACCESS, 0, 0, DimensioneSwapMedia));
        ASSERT_NE(vista, nullptr);
    }
    void TearDown() override {
        // The stand-in ends on its own; its folder goes once it has.
        AttendiCondizione(15000, [&] { return Programma().find("exit ") != std::string::npos; });
        if (vista) UnmapViewOfFile(vista);
        if (mappa) CloseHandle(mappa);
    }
    void Programma(DWORD ms) {
        std::string script = "stay\nwait ";
        script += std::to_string(ms);
        ScriviFileProva(trle / "store\\gamesim.txt", script + "\n");
    }
    std::string Programma() const { return LeggiFileProva(trle / "store\\gamesim_log.txt"); }
    HANDLE mappa = nullptr;
    SwapMediaView* vista = nullptr;
};

TEST_F(LoggerFintoChain, ALoggerStillLoadingItsSoundsIsWaitedFor) {
    Programma(7000);
    ScriviFileProva(trle / "gamesim.txt", "exit 0\n");
    ProcessoProva p;
    ASSERT_TRUE(AvviaProva(p, trle / "harness.exe", "", trle.Percorso()));
    // Its window comes with its process, and takes no message for 4 s: two
    // short bounds of the client's commands.
    ASSERT_TRUE(AttendiCondizione(10000, [&] { return Programma().find("\nwindow\n") != std::string::npos; }));
    const DWORD inizio = GetTickCount();
    std::vector<WPARAM> comandi;
    {
        LoggerFinto finto(vista, 4000, false);
        EXPECT_EQ(p.Attendi(30000), 0);
        comandi = finto.Comandi();
    }
    EXPECT_GE(GetTickCount() - inizio, 4000u);
    EXPECT_TRUE(HarnessIniziaCon("logger in use\n")) << Harness();
    EXPECT_FALSE(NelLog("WARNING: not received signal from logger"));
    EXPECT_FALSE(NelLog("WARNING: found a previous instance"));
    EXPECT_GE(vista->ReceivedCount, 1u);
    ASSERT_FALSE(comandi.empty());
    EXPECT_EQ(comandi.front(), CmdSendReceived);
    EXPECT_NE(std::find(comandi.begin(), comandi.end(), CmdMediaModuleHandle), comandi.end());
    EXPECT_EQ(comandi.back(), CmdCloseLogger);
}

TEST_F(LoggerFintoChain, AHungLoggerIsNoAnswerOnceItsProcessEndsAndIsNeverUsed) {
    Programma(3000);
    LoggerFinto finto(vista, 0, true);
    ScriviFileProva(trle / "gamesim.txt", "exit 0\n");
    ProcessoProva p;
    ASSERT_TRUE(AvviaProva(p, trle / "harness.exe", "", trle.Percorso()));
    // The handshake waits while the logger's process runs, then gives up
    // within its bounded tries, long before the hang would end.
    ASSERT_TRUE(AttendiCondizione(30000, [&] { return Harness().find("logger ") != std::string::npos; }));
    const DWORD dopo = GetTickCount() - finto.TickBlocco();
    EXPECT_NE(finto.TickBlocco(), 0u);
    EXPECT_NE(Programma().find("exit 0"), std::string::npos) << "the logger's process had ended";
    EXPECT_LT(dopo, 10000u) << "bounded waits, not the 20 s hang";
    EXPECT_EQ(p.Attendi(30000), 0);
    const std::vector<WPARAM> comandi = finto.Comandi();

    EXPECT_TRUE(HarnessIniziaCon("logger not in use\n")) << Harness();
    EXPECT_TRUE(NelLog("WARNING: found a previous instance of Scrivane: close it now"));
    EXPECT_TRUE(NelLog("WARNING: not received signal from logger. Don't use logger"));
    ASSERT_GE(comandi.size(), 2u);
    EXPECT_EQ(comandi[0], CmdCloseLogger);
    EXPECT_EQ(comandi[1], CmdSendReceived);
    for (WPARAM c : comandi) EXPECT_NE(c, CmdMediaModuleHandle) << "no handle for a logger that does not answer";
}

}  // namespace
