// The whole road of a game event: the game stand-in, Scrivane, and the
// logger client of the main program in the harness.
#include <gtest/gtest.h>

#include <string>

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
    int Esegui(const std::string& script) {
        ScriviFileProva(trle / "gamesim.txt", script);
        ProcessoProva p;
        if (!AvviaProva(p, trle / "harness.exe", "", trle.Percorso())) return -2;
        return p.Attendi(60000);
    }
    std::string Harness() const { return LeggiFileProva(trle / "harness.txt"); }
    std::string Log() const { return LeggiFileProva(trle / "store\\media_log.txt"); }
    bool NelLog(const std::string& testo) const { return Log().find(testo) != std::string::npos; }
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
        // Two tracks between two ticks: both are handed out, oldest first.
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
          "Logger: Detected change in CD playing: put cd 4 in buffer[1]", "Abort log: disable checking for logger data",
          "Send message to close Scrivane"})
        EXPECT_TRUE(NelLog(riga)) << riga;
    EXPECT_FALSE(NelLog("WARNING: Cd signaled by logger"));
    EXPECT_FALSE(NelLog("Consecutive logger errors"));

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

// A window that takes the logger's place but hangs on the handshake.
std::vector<WPARAM> comandiFinti;
volatile LONG tickHandshake = 0;

LRESULT CALLBACK ProceduraBloccata(HWND h, UINT m, WPARAM wp, LPARAM lp) {
    if (m == WM_USER) {
        comandiFinti.push_back(wp);
        if (wp == CmdSendReceived) {
            InterlockedExchange(&tickHandshake, static_cast<LONG>(GetTickCount()));
            Sleep(6000);
        }
        return 0;
    }
    return DefWindowProcA(h, m, wp, lp);
}

DWORD WINAPI ThreadBloccato(LPVOID pronto) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = ProceduraBloccata;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = ClasseLogger;
    RegisterClassA(&wc);
    HWND h = CreateWindowExA(0, ClasseLogger, TitoloLogger, WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr, wc.hInstance,
                             nullptr);
    SetEvent(static_cast<HANDLE>(pronto));
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
    DestroyWindow(h);
    UnregisterClassA(ClasseLogger, wc.hInstance);
    return 0;
}

TEST_F(LoggerClientChain, AHungLoggerIsNoAnswerAndIsNeverUsed) {
    // Any program stands for the logger program; the window is the test's.
    CopyFileA((CartellaProgrammi() + "\\GameSim.exe").c_str(), (trle / "store\\Scrivane.exe").c_str(), FALSE);
    ScriviFileProva(trle / "store\\gamesim.txt", "stay\nwait 5000\n");
    HANDLE mappa = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, DimensioneSwapMedia, NomeMappaSwap);
    ASSERT_NE(mappa, nullptr);
    HANDLE pronto = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    DWORD idThread = 0;
    HANDLE thread = CreateThread(nullptr, 0, ThreadBloccato, pronto, 0, &idThread);
    ASSERT_EQ(WaitForSingleObject(pronto, 5000), WAIT_OBJECT_0);

    ScriviFileProva(trle / "gamesim.txt", "exit 0\n");
    ProcessoProva p;
    ASSERT_TRUE(AvviaProva(p, trle / "harness.exe", "", trle.Percorso()));
    // The start gives up on the hung handshake within its bounded waits.
    ASSERT_TRUE(AttendiCondizione(30000, [&] { return Harness().find("logger ") != std::string::npos; }));
    const DWORD dopo = GetTickCount() - static_cast<DWORD>(tickHandshake);
    EXPECT_NE(tickHandshake, 0);
    EXPECT_LT(dopo, 5500u) << "two bounded waits of 2 s, not the 6 s hang";
    EXPECT_EQ(p.Attendi(30000), 0);
    PostThreadMessageA(idThread, WM_QUIT, 0, 0);
    WaitForSingleObject(thread, 15000);
    CloseHandle(thread);
    CloseHandle(pronto);
    CloseHandle(mappa);

    EXPECT_EQ(Harness().substr(0, 18), "logger not in use\n");
    EXPECT_TRUE(NelLog("WARNING: found a previous instance of Scrivane: close it now"));
    EXPECT_TRUE(NelLog("WARNING: not received signal from logger. Don't use logger"));
    ASSERT_GE(comandiFinti.size(), 2u);
    EXPECT_EQ(comandiFinti[0], CmdCloseLogger);
    EXPECT_EQ(comandiFinti[1], CmdSendReceived);
    for (WPARAM c : comandiFinti) EXPECT_NE(c, CmdMediaModuleHandle) << "no handle for a logger that does not answer";
}

}  // namespace
