// The game stand-in on its own: what it records of its start, of the keys
// and priorities it gets, and of its records in the debug-log memory.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/process/LoggerFixture.h"

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

}  // namespace
