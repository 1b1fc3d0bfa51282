// The logger's state machine, cache and message reading, on buffers of the test.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "core/FileUtils.h"
#include "core/MediaConfig.h"
#include "eventlogger/LoggerLog.h"
#include "eventlogger/LoggerProtocol.h"
#include "eventlogger/LoggerState.h"
#include "platform/Clock.h"
#include "tests/support/TestFolders.h"

namespace {

using enum LoggerFase;

// The phase bits and the header options share names; one type's bit must
// never combine with, or test, the other's.
template <typename A, typename B>
concept Combinabili = requires(A a, B b) { a | b; a & b; };
static_assert(Combinabili<LoggerFase, LoggerFase>);
static_assert(Combinabili<OpzioneHeader, OpzioneHeader>);
static_assert(!Combinabili<LoggerFase, OpzioneHeader>);
static_assert(!Combinabili<OpzioneHeader, LoggerFase>);
static_assert((LoggerFase::SharedMode | LoggerFase::Inventory) == static_cast<LoggerFase>(0x21));
static_assert(~LoggerFase::Inventory == static_cast<LoggerFase>(0xFE));

int uscite = 0;
void ContaUscita() { ++uscite; }

class LoggerState : public testing::Test {
protected:
    void SetUp() override {
        ClockUseManual(true, 1000);
        InitLoggerLog(cartella.Percorso());
        ExtendedLog = true;
        InitLoggerState();
        vista = std::make_unique<SwapMediaView>();
        std::memset(vista.get(), 0, sizeof(SwapMediaView));
        VistaMedia = vista.get();
        NomiLivelli = {"title.tr4", "Level1.TR4"};
        uscite = 0;
        RichiediUscita = ContaUscita;
    }
    void TearDown() override {
        FreeLoggerLog();
        VistaMedia = nullptr;
        RichiediUscita = nullptr;
        CachePronta = false;
        ExtendedLog = false;
        ClockUseManual(false);
    }
    void Messaggi(std::initializer_list<const char*> testi) {
        for (const char* t : testi) {
            ClockAdvance(10);
            ParseTombMessage(t);
        }
    }
    std::string Log() {
        FlushLogBuffer();
        return LeggiFileProva(cartella / "tomb4_log.txt");
    }
    CartellaProva cartella{"lst"};
    std::unique_ptr<SwapMediaView> vista;
};

TEST(LoggerProtocol, NamesOfEventsAndPhases) {
    EXPECT_STREQ(NomeEvento(0), "NULL");
    EXPECT_STREQ(NomeEvento(8), "LoadingLevel");
    EXPECT_STREQ(NomeEvento(22), "LoadSavegame");
    EXPECT_STREQ(NomeEvento(23), "?");
    EXPECT_STREQ(NomeEvento(-1), "?");
    EXPECT_EQ(NomiFasi(static_cast<LoggerFase>(0x7F)),
              "ABORT_LOG CreatedWindow HangGame Inventory LoadingLevel ChangingMode SharedMode ");
    EXPECT_EQ(NomiFasi(LoggerFase{}), "");
}

TEST(LoggerProtocol, LoggerBinIsWrittenAsItsLayoutSays) {
    LoggerBin bin;
    bin.TempoBaseLog = 0x01020304;
    bin.NomiLivelli = {"title.tr4", std::string(70, 'n'), ""};
    const std::vector<uint8_t> dati = ScriviLoggerBin(bin);
    ASSERT_EQ(dati.size(), 8u + 3 * 64);
    const uint8_t testa[8] = {3, 0, 0, 0, 4, 3, 2, 1};
    EXPECT_EQ(std::memcmp(dati.data(), testa, 8), 0);
    std::string primo(reinterpret_cast<const char*>(dati.data() + 8), 64);
    EXPECT_EQ(primo, std::string("title.tr4") + '\0' + std::string(54, ' '));
    // A long name is cut to 63 characters and its NUL.
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(dati.data() + 72), 64), std::string(63, 'n') + '\0');
    EXPECT_EQ(dati[8 + 128], 0);

    LoggerBin letto;
    std::string errore;
    ASSERT_TRUE(LeggiLoggerBin(dati.data(), dati.size(), letto, errore));
    EXPECT_EQ(letto.TempoBaseLog, 0x01020304u);
    EXPECT_EQ(letto.NomiLivelli, (std::vector<std::string>{"title.tr4", std::string(63, 'n'), ""}));
}

TEST(LoggerProtocol, DamagedLoggerBinIsRefusedAndCountsAreBounded) {
    struct Caso {
        std::vector<uint8_t> dati;
        bool ok;
        size_t nomi;
    };
    auto testa = [](int32_t n) {
        std::vector<uint8_t> v(8, 0);
        std::memcpy(v.data(), &n, 4);
        return v;
    };
    auto conNomi = [&](int32_t n, size_t presenti) {
        std::vector<uint8_t> v = testa(n);
        v.resize(8 + presenti * 64, 'a');  // names without a NUL stop at 63 characters
        return v;
    };
    const Caso casi[] = {
        {{}, false, 0},
        {{1, 0, 0}, false, 0},
        {testa(0), true, 0},
        {testa(-1), false, 0},
        {conNomi(2, 1), false, 0},
        {conNomi(0x7FFFFFFF, 3), false, 0},
        {conNomi(300, 256), true, 256},
        {conNomi(1, 1), true, 1},
    };
    for (size_t i = 0; i < std::size(casi); ++i) {
        LoggerBin bin;
        std::string errore;
        EXPECT_EQ(LeggiLoggerBin(casi[i].dati.data(), casi[i].dati.size(), bin, errore), casi[i].ok) << i;
        EXPECT_EQ(bin.NomiLivelli.size(), casi[i].nomi) << i;
        if (casi[i].ok && casi[i].nomi) {
            EXPECT_EQ(bin.NomiLivelli[0], std::string(63, 'a'));
        }
        if (!casi[i].ok) {
            EXPECT_FALSE(errore.empty()) << i;
        }
    }
    // The writer keeps only 256 names.
    LoggerBin grande;
    grande.NomiLivelli.assign(300, "x.tr4");
    EXPECT_EQ(ScriviLoggerBin(grande).size(), 8u + 256 * 64);
}

TEST(LoggerFragments, EachFragmentAndItsArgument) {
    struct Caso {
        const char* messaggio;
        int frammento;
        const char* argomento;
    };
    const Caso casi[] = {
        {"SetDisplayMode - 800x600x32", 1, "800x600x32"},
        {"xx S_LoadLevelFile yy", 2, ""},
        {"WinClose", 3, ""},
        {"Playing audio\\   012.wav   \r\nrest", 4, "012.wav"},
        {"Playing audio\\    ", 4, ""},
        {"CreateD3DLights", 5, ""},
        {"DXCreateSurface", 6, ""},
        {"Released Mono Screen", 7, ""},
        {"FileOpen - DATA\\level1.tr4\n", 8, "level1.tr4"},
        {"HangGameThread", 9, ""},
        {"WM_ACTIVE", 10, ""},
        {"DXMove : x 5 y -7", 11, "x 5 y -7"},
        {"DXCreate: Windowed Mode", 12, ""},
        {"do_boot_screen", 13, ""},
        {"KA_ALTENTER", 14, ""},
        {"Game Thread Resumed", 15, ""},
        {"Already In Scene", 16, ""},
        {"TIME_Init", 17, ""},
        {"time_init", 0, ""},
        {"", 0, ""},
        // The table's order decides between two fragments.
        {"TIME_Init WinClose", 3, ""},
    };
    for (const Caso& c : casi) {
        std::string argomento = "old";
        EXPECT_EQ(FindTombFragment(c.messaggio, argomento), c.frammento) << c.messaggio;
        EXPECT_EQ(argomento, c.argomento) << c.messaggio;
    }
}

TEST_F(LoggerState, OnlyChangesBecomeRecords) {
    Messaggi({"do_boot_screen", "do_boot_screen", "Playing audio\\003.wav", "Playing audio\\003.wav",
              "Playing audio\\x.wav", "Playing audio\\190.wav", "Playing audio\\-1.wav", "Playing audio\\189.wav"});
    ASSERT_EQ(vista->StructureCount, 3u);
    EXPECT_EQ(vista->Structures[0].Codice, BootScreen);
    EXPECT_EQ(vista->Structures[1].CdTrack, 3);
    EXPECT_EQ(vista->Structures[1].TickEvento, 1030u);
    EXPECT_EQ(vista->Structures[2].CdTrack, 189);
    const std::string log = Log();
    EXPECT_NE(log.find("LOGGER: WARNING: CD track out of range ignored: 190"), std::string::npos);
    EXPECT_NE(log.find("LOGGER: WARNING: CD track out of range ignored: -1"), std::string::npos);
}

TEST_F(LoggerState, FragmentEffectsFollowTheirConditions) {
    // Inventory only once a level is known and nothing else is going on.
    Messaggi({"DXCreateSurface", "S_LoadLevelFile", "FileOpen - DATA\\LEVEL1.tr4", "DXCreateSurface"});
    EXPECT_EQ(StatoCorrente.Livello, 1);
    EXPECT_FALSE(HaFase(StatoCorrente.Fasi, Inventory));
    Messaggi({"CreateD3DLights", "DXCreateSurface"});
    EXPECT_EQ(StatoCorrente.Fasi, Inventory);
    EXPECT_EQ(StatoCorrente.Codice, StartInventory);
    // A level load clears the inventory.
    Messaggi({"S_LoadLevelFile"});
    EXPECT_EQ(StatoCorrente.Fasi, LoadingLevel);
    EXPECT_EQ(StatoCorrente.Livello, NessunValore);
    // End of loading and end of a mode change in one message: the last code wins.
    Messaggi({"KA_ALTENTER", "CreateD3DLights"});
    EXPECT_EQ(StatoCorrente.Fasi, LoggerFase{});
    EXPECT_EQ(StatoCorrente.Codice, EndChangeMode);
    // No hang while the mode changes; TIME_Init only after the window exists.
    Messaggi({"KA_ALTENTER", "HangGameThread", "TIME_Init"});
    EXPECT_EQ(StatoCorrente.Fasi, ChangingMode);
    EXPECT_EQ(StatoCorrente.Codice, StartChangeMode);
    Messaggi({"do_boot_screen", "TIME_Init", "SetDisplayMode - bad", "DXMove : x y"});
    EXPECT_EQ(StatoCorrente.Codice, Time_Init);
    Messaggi({"DXCreate: Windowed Mode", "w 1024 h 768"});
    EXPECT_EQ(StatoCorrente.Codice, GetVideoShared);
    EXPECT_EQ(StatoCorrente.ValoreX, 1024);
    EXPECT_TRUE(HaFase(StatoCorrente.Fasi, SharedMode));
    Messaggi({"SetDisplayMode - bad"});
    EXPECT_FALSE(HaFase(StatoCorrente.Fasi, SharedMode));
    Messaggi({"WinClose"});
    EXPECT_EQ(StatoCorrente.Fasi, ABORT_LOG);
    EXPECT_EQ(uscite, 1) << "the quit is posted once WinClose has left the cache";
}

TEST_F(LoggerState, LevelNamesBeyondTheRecordRangeAreIgnored) {
    NomiLivelli.assign(256, "x.tr4");
    NomiLivelli[253] = "last.tr4";
    NomiLivelli[254] = "sentinel.tr4";
    NomiLivelli[255] = "none.tr4";
    Messaggi({"FileOpen - DATA\\last.tr4"});
    EXPECT_EQ(StatoCorrente.Livello, 253);
    Messaggi({"FileOpen - DATA\\sentinel.tr4", "FileOpen - DATA\\none.tr4"});
    EXPECT_EQ(StatoCorrente.Livello, 253);
    EXPECT_NE(Log().find("level index out of range ignored: 254"), std::string::npos);
}

TEST_F(LoggerState, AFullMapWaitsInTheCacheAndAnOverflowResetsIt) {
    vista->StructureCount = MaxStrutture - 1;
    Messaggi({"HangGameThread"});
    EXPECT_EQ(vista->StructureCount, MaxStrutture);
    for (int i = 0; i < DimensioneCache; ++i) Messaggi({(i % 2) ? "HangGameThread" : "WM_ACTIVE"});
    EXPECT_EQ(Cache.Count, DimensioneCache);
    Messaggi({"WM_ACTIVE"});
    EXPECT_EQ(Cache.Count, 1);
    EXPECT_EQ(StatoCorrente.Codice, OverflowBuffer);
    vista->StructureCount = 0;
    SendStructures();
    ASSERT_EQ(vista->StructureCount, 1u);
    EXPECT_EQ(vista->Structures[0].Codice, OverflowBuffer);
    EXPECT_EQ(vista->Structures[0].Fasi, LoggerFase{});
    // A count above the capacity (the map is anyone's) is full, not a write past it.
    vista->StructureCount = 0xFFFFFFF0;
    Messaggi({"HangGameThread"});
    EXPECT_EQ(vista->StructureCount, 0xFFFFFFF0);
    EXPECT_EQ(Cache.Count, 1);
}

TEST_F(LoggerState, MessagesAreReadOnlyInsideTheView) {
    std::vector<char> mappa(4096, 0);
    auto scrivi = [&](uint32_t pos, const std::string& t) {
        mappa[pos] = 1;
        std::memcpy(&mappa[pos + 1], t.c_str(), t.size() + 1);
        return pos + static_cast<uint32_t>(t.size()) + 2;
    };
    uint32_t fine = scrivi(0, "do_boot_screen");
    fine = scrivi(fine, "TIME_Init");
    LeggiMessaggiTomb(mappa.data(), 4096, fine);
    EXPECT_EQ(vista->StructureCount, 2u);
    EXPECT_EQ(LastOffset, static_cast<int32_t>(fine));
    LeggiMessaggiTomb(mappa.data(), 4096, 0);
    EXPECT_EQ(LastOffset, static_cast<int32_t>(fine));
    LeggiMessaggiTomb(mappa.data(), 4096, 4097);
    EXPECT_EQ(LastOffset, static_cast<int32_t>(fine));
    // A last text without NUL ends at the view's end.
    std::memset(&mappa[4000], 'K', 96);
    LastOffset = 3990;
    mappa[3999] = 0;
    LeggiMessaggiTomb(mappa.data(), 4096, 4096);
    EXPECT_EQ(LastOffset, 4096);
    // A jump without any NUL in its last 200 bytes reads nothing.
    std::vector<char> piena(4096, 'a');
    LastOffset = 0;
    const uint32_t prima = vista->StructureCount;
    LeggiMessaggiTomb(piena.data(), 4096, 3000);
    EXPECT_EQ(LastOffset, 3000);
    EXPECT_EQ(vista->StructureCount, prima);
}

TEST_F(LoggerState, NumbersOfGameTextAreReadAsScanfReadsThemWithinTheirFields) {
    struct Caso {
        std::vector<const char*> messaggi;
        bool record;
        int16_t x, y;
        uint8_t codice;
    };
    const Caso casi[] = {
        {{"SetDisplayMode - 800x600x32"}, true, 800, 600, GetVideoExclusive},
        {{"SetDisplayMode -   +1024x-768x16 tail"}, true, 1024, -768, GetVideoExclusive},
        {{"SetDisplayMode - 800 x600x32"}, false, 0, 0, 0},
        {{"SetDisplayMode - 800x600"}, false, 0, 0, 0},
        {{"SetDisplayMode - 32767x-32768x0"}, true, 32767, -32768, GetVideoExclusive},
        {{"SetDisplayMode - 32768x600x32"}, false, 0, 0, 0},
        {{"SetDisplayMode - 99999999999999999999999x600x32"}, false, 0, 0, 0},
        {{"DXMove : x5 y-7"}, true, 5, -7, MovedWindow},
        {{"DXMove : x   12   y 0x30"}, true, 12, 0, MovedWindow},
        {{"DXMove : x 1 y -40000"}, false, 0, 0, 0},
        {{"DXMove : x - y 1"}, false, 0, 0, 0},
        {{"DXCreate: Windowed Mode", "w 640h 480"}, true, 640, 480, GetVideoShared},
        {{"DXCreate: Windowed Mode", "w 640 h 70000"}, false, 0, 0, 0},
        {{"Playing audio\\99999999999999999999.wav"}, false, 0, 0, 0},
        {{"Playing audio\\+7.wav"}, true, 0, 0, StartCDSound},
    };
    for (const Caso& c : casi) {
        InitLoggerState();
        vista->StructureCount = 0;
        for (const char* m : c.messaggi) Messaggi({m});
        ASSERT_EQ(vista->StructureCount, c.record ? 1u : 0u) << c.messaggi.back();
        if (!c.record) continue;
        EXPECT_EQ(vista->Structures[0].ValoreX, c.x) << c.messaggi.back();
        EXPECT_EQ(vista->Structures[0].ValoreY, c.y) << c.messaggi.back();
        EXPECT_EQ(vista->Structures[0].Codice, c.codice) << c.messaggi.back();
    }
    const std::string log = Log();
    EXPECT_NE(log.find("LOGGER: WARNING: number out of range in game message ignored: 32768x600x32"),
              std::string::npos);
    EXPECT_NE(log.find("LOGGER: WARNING: number out of range in game message ignored: x 1 y -40000"),
              std::string::npos);
    EXPECT_NE(log.find("LOGGER: WARNING: number out of range in game message ignored: w 640 h 70000"),
              std::string::npos);
    EXPECT_NE(log.find("LOGGER: WARNING: CD track out of range ignored: "), std::string::npos);
}

TEST_F(LoggerState, LoggerBinIsReadFromTheLoggersFolder) {
    LoggerBin bin;
    bin.TempoBaseLog = 4321;
    bin.NomiLivelli.assign(300, "x.tr4");
    bin.NomiLivelli[255] = "last.tr4";
    const std::vector<uint8_t> dati = ScriviLoggerBin(bin);
    // Names past the 256 kept are there in the file, but never read.
    std::string file(dati.begin(), dati.end());
    file.replace(0, 4, std::string("\x2C\x01\x00\x00", 4));
    file += std::string(44 * 64, 'y');
    ASSERT_TRUE(ScriviFileProva(cartella / "Logger.bin", file));
    NomiLivelli.clear();
    ASSERT_TRUE(LeggiFileLivelli(cartella.Percorso()));
    EXPECT_EQ(TempoBaseLog, 4321u);
    ASSERT_EQ(NomiLivelli.size(), 256u);
    EXPECT_EQ(NomiLivelli[255], "last.tr4");

    ASSERT_TRUE(ScriviFileProva(cartella / "Logger.bin", file.substr(0, 8 + 64)));
    EXPECT_FALSE(LeggiFileLivelli(cartella.Percorso()));
    CancellaFile(cartella / "Logger.bin");
    EXPECT_FALSE(LeggiFileLivelli(cartella.Percorso()));
    const std::string log = Log();
    EXPECT_NE(log.find("LOGGER: ERROR: damaged logger file " + (cartella / "Logger.bin") +
                       ": file shorter than the names its count announces"),
              std::string::npos);
    EXPECT_NE(log.find("LOGGER: ERROR: not found logger file in: " + (cartella / "Logger.bin")), std::string::npos);
    TempoBaseLog = 0;
}

TEST_F(LoggerState, TheLogStopsAfterTheFirstRealLevelUnlessExtended) {
    ExtendedLog = false;
    TempoBaseLog = 400;
    Messaggi({"S_LoadLevelFile", "FileOpen - DATA\\title.tr4", "CreateD3DLights", "S_LoadLevelFile",
              "FileOpen - DATA\\level1.tr4", "CreateD3DLights", "DXCreateSurface"});
    EXPECT_FALSE(LogEnabled);
    const std::string log = Log();
    EXPECT_NE(log.find("    620: FileOpen - DATA\\title.tr4\r\n"), std::string::npos);
    EXPECT_NE(log.find("\t    660: LOGGER: Sent 1 structures\r\n"
                       "\tLOGGER: Reached end loading of first level different than title. Suspend logging "
                       "operations\r\n"),
              std::string::npos);
    EXPECT_EQ(log.find("DXCreateSurface"), std::string::npos);
    EXPECT_EQ(StampaLogger(100, 400), "   -300: ");
    EXPECT_EQ(StampaLogger(12345678, 0), "12345678: ");
}

TEST_F(LoggerState, LongLinesFlushTheBufferFirst) {
    const std::string lunga(5000, 'q');
    LogWrite(lunga, false);
    LogWrite(lunga, false);
    LogWrite(lunga, false);
    const std::string log = Log();
    EXPECT_EQ(log.size(), 3 * (5000 + 11) + 2 * 70u);
}

}  // namespace
