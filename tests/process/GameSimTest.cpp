// The game stand-in on its own: what it records of its start, of the keys
// and priorities it gets, and of its records in the debug-log memory.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/process/LoggerFixture.h"
#include "tests/support/TestRegistry.h"

namespace {

using namespace loggertest;

TEST(GameSim, RecordsItsStartKeysAndPriorities) {
    CatenaLogger c;
    ScriviFileProva(c.trle / "data\\level.tr4", "x");
    ASSERT_TRUE(c.AvviaGioco("title Tomb Raider Sim\nopen data\\level.tr4\nopen data\\missing.tr4\nplay 7\n"
                             "log Playing audio\\007.wav\nwait 1500\nclose data\\level.tr4\nstop\nexit 5\n"));
    HWND finestra = nullptr;
    ASSERT_TRUE(AttendiCondizione(10000, [&] { return (finestra = FindWindowA(nullptr, "Tomb Raider Sim")) != nullptr; }));
    DWORD pid = 0;
    const DWORD thread = GetWindowThreadProcessId(finestra, &pid);
    EXPECT_EQ(pid, c.gioco.pid);
    EXPECT_NE(thread, 0u);
    PostMessageA(finestra, WM_KEYDOWN, 'L', (0x26 << 16) | 1);
    PostMessageA(finestra, WM_KEYUP, 'L', (0x26 << 16) | 0xC0000001);
    SetPriorityClass(c.gioco.handle, IDLE_PRIORITY_CLASS);
    EXPECT_EQ(c.gioco.Attendi(20000), 5);
    const std::string log = c.LogGioco();
    for (const std::string& riga : std::vector<std::string>{
             "commandline \"" + (c.trle / "tomb4.exe") + "\"", "folder " + c.trle.Percorso(), "window", "mapping",
          "title Tomb Raider Sim", "open data\\level.tr4", "open-failed data\\missing.tr4", "play-failed audio\\007.wav",
          "log-nologger 23 Playing audio\\007.wav", "key down vk 76 scan 38", "key up vk 76 scan 38",
          "priority class 0x40 thread 0", "close data\\level.tr4", "stop", "exit 5"})
        EXPECT_NE(log.find(riga + "\n"), std::string::npos) << riga;
    EXPECT_NE(log.find("\nenvironment "), std::string::npos);
}

TEST(GameSim, RecordsWrapToTheStartWhenTheMemoryIsFull) {
    CatenaLogger c;
    // Fill the memory to 40 bytes before its end, then one record of 50.
    const uint32_t lungo = 1048576 - 40 - 2;
    std::string script = "write " + std::string(lungo - 6, 'a') + "\nlog " + std::string(48, 'b') + "\nexit 0\n";
    ASSERT_TRUE(c.AvviaGioco(script));
    // Keep the memory alive to read it after the game's end.
    HANDLE mappa = nullptr;
    ASSERT_TRUE(AttendiCondizione(10000, [&] { return (mappa = OpenFileMappingA(FILE_MAP_READ, FALSE, NomeMappaTomb)); }));
    EXPECT_EQ(c.gioco.Attendi(20000), 0);
    const char* vista = static_cast<const char*>(MapViewOfFile(mappa, FILE_MAP_READ, 0, 0, DimensioneMappaTomb));
    ASSERT_NE(vista, nullptr);
    EXPECT_EQ(vista[0], 1);
    EXPECT_EQ(std::string(vista + 1), std::string(48, 'b'));
    EXPECT_NE(c.LogGioco().find("log-nologger 50 "), std::string::npos);
    UnmapViewOfFile(vista);
    CloseHandle(mappa);
}

// A file the game holds open cannot be opened alone, as the program tests it.
bool Trattenuto(const std::string& percorso) {
    HANDLE h = CreateFileA(percorso.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_SHARING_VIOLATION;
    CloseHandle(h);
    return false;
}

// The debug-log records the game wrote, in order.
std::vector<std::string> RecordGioco(const std::string& log) {
    std::vector<std::string> r;
    size_t i = 0;
    while ((i = log.find("log-nologger ", i)) != std::string::npos) {
        const size_t inizio = log.find(' ', i + 13) + 1;
        const size_t fine = log.find('\n', inizio);
        r.push_back(log.substr(inizio, fine - inizio));
        i = fine;
    }
    return r;
}

TEST(GameSim, PlaysAWholeRunInTheModeOfTheRegistry) {
    ChiaveGiocoSalvata chiave;
    struct Caso {
        long window;  // -1: no value
        const char* boot;
        std::vector<std::string> modo;
    };
    for (const Caso& caso : {Caso{1, "boot 800 600", {"DXCreate: Windowed Mode", "w 800 h 600"}},
                             Caso{0, "boot 800 600", {"SetDisplayMode - 800x600x16"}},
                             Caso{-1, "boot", {"SetDisplayMode - 640x480x16"}}}) {
        CancellaAlberoRegistro(HKEY_CURRENT_USER, ChiaveGiocoRegistro);
        if (caso.window >= 0) {
            ASSERT_TRUE(MettiValoreRegistro(ChiaveGiocoRegistro, "System", "Window", static_cast<DWORD>(caso.window)));
        }
        CatenaLogger c;
        for (const char* f : {"data\\title.tr4", "data\\level1.tr4", "audio\\097.wav", "audio\\003.wav"})
            ScriviFileProva(c.trle / f, "x");
        ASSERT_TRUE(c.AvviaGioco(std::string(caso.boot) +
                                 "\nload title.tr4 1500\ncd 97\nwait 1500\nload level1.tr4 0\ncd 3\nquit\nlog never\n"));
        ASSERT_TRUE(c.GiocoHaScritto("load data\\title.tr4")) << c.LogGioco();
        EXPECT_TRUE(Trattenuto(c.trle / "data\\title.tr4"));
        ASSERT_TRUE(c.GiocoHaScritto("play audio\\097.wav"));
        EXPECT_FALSE(Trattenuto(c.trle / "data\\title.tr4"));
        EXPECT_TRUE(Trattenuto(c.trle / "audio\\097.wav"));
        EXPECT_EQ(c.gioco.Attendi(20000), 0);
        for (const char* f : {"data\\title.tr4", "data\\level1.tr4", "audio\\097.wav", "audio\\003.wav"})
            EXPECT_FALSE(Trattenuto(c.trle / f)) << f;

        std::vector<std::string> attesi{"do_boot_screen"};
        attesi.insert(attesi.end(), caso.modo.begin(), caso.modo.end());
        for (const char* r : {"TIME_Init", "S_LoadLevelFile", "FileOpen - DATA\\title.tr4", "CreateD3DLights",
                              "Playing audio\\097.wav", "S_LoadLevelFile", "FileOpen - DATA\\level1.tr4",
                              "CreateD3DLights", "Playing audio\\003.wav", "WinClose"})
            attesi.push_back(r);
        const std::string log = c.LogGioco();
        EXPECT_EQ(RecordGioco(log), attesi) << log;
        EXPECT_NE(log.find("\nregistry Window " + std::to_string(caso.window) + " VMode -1\n"), std::string::npos);
        EXPECT_NE(log.find(caso.window == 1 ? "\nstart windowed\n" : "\nstart full screen\n"), std::string::npos);
        EXPECT_EQ(log.rfind("start clock ", 0), 0u) << log;
        EXPECT_NE(log.find("\nend clock "), std::string::npos);
    }
}

TEST(GameSim, CrashesAndHangsAsTheScriptSays) {
    {
        CatenaLogger c;
        ScriviFileProva(c.trle / "data\\level1.tr4", "x");
        ASSERT_TRUE(c.AvviaGioco("open data\\level1.tr4\ncrash\nquit\n"));
        EXPECT_EQ(static_cast<DWORD>(c.gioco.Attendi(20000)), 0xC0000005u);
        const std::string log = c.LogGioco();
        EXPECT_NE(log.find("\ncrash 3221225477\n"), std::string::npos) << log;
        EXPECT_EQ(log.find("WinClose"), std::string::npos);
        EXPECT_EQ(log.find("\nexit "), std::string::npos);
        EXPECT_FALSE(Trattenuto(c.trle / "data\\level1.tr4"));
    }
    {
        CatenaLogger c;
        ASSERT_TRUE(c.AvviaGioco("title Hanging Sim\nhang 4000\nquit\n"));
        ASSERT_TRUE(c.GiocoHaScritto("hang 4000"));
        HWND finestra = FindWindowA(nullptr, "Hanging Sim");
        ASSERT_NE(finestra, nullptr);
        DWORD_PTR r = 0;
        EXPECT_EQ(SendMessageTimeoutA(finestra, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 500, &r), 0);
        EXPECT_EQ(c.gioco.Attendi(20000), 0);
        EXPECT_NE(c.LogGioco().find("\nresume\n"), std::string::npos);
    }
}

}  // namespace
