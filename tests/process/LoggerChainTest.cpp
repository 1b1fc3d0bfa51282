// Scrivane between the game stand-in and the test in the main program's role.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/process/LoggerFixture.h"

namespace {

using namespace loggertest;

using enum LoggerFase;

struct Atteso {
    LoggerFase fasi;
    uint8_t cd, livello, codice;
    int16_t x, y;
};

void ConfrontaRecord(const std::vector<LoggerStructure>& record, const std::vector<Atteso>& attesi) {
    ASSERT_EQ(record.size(), attesi.size());
    uint32_t tickPrima = 0;
    for (size_t i = 0; i < attesi.size(); ++i) {
        const LoggerStructure& r = record[i];
        const Atteso& a = attesi[i];
        EXPECT_EQ(r.Fasi, a.fasi) << "record " << i;
        EXPECT_EQ(r.CdTrack, a.cd) << "record " << i;
        EXPECT_EQ(r.Livello, a.livello) << "record " << i;
        EXPECT_EQ(r.Codice, a.codice) << "record " << i;
        EXPECT_EQ(r.ValoreX, a.x) << "record " << i;
        EXPECT_EQ(r.ValoreY, a.y) << "record " << i;
        EXPECT_NE(r.TickEvento, 0u) << "record " << i;
        EXPECT_GE(static_cast<int32_t>(r.TickEvento - tickPrima), 0) << "record " << i;
        tickPrima = r.TickEvento;
    }
}

constexpr uint8_t N = NessunValore;
constexpr LoggerFase CW = CreatedWindow;

const char* const ScriptPartita =
    "waitlogger 10000\n"
    "log do_boot_screen\n"
    "log TIME_Init\n"
    "log SetDisplayMode - 640x480x16\n"
    "open data\\title.tr4\n"
    "log S_LoadLevelFile\n"
    "log DXCreateSurface\n"
    "log FileOpen - DATA\\TITLE.TR4\n"
    "log CreateD3DLights\n"
    "close data\\title.tr4\n"
    "play 97\n"
    "log Playing audio\\   097.wav  \n"
    "log Playing audio\\097.wav\n"
    "log some text the logger does not know\n"
    "open data\\level1.tr4\n"
    "log S_LoadLevelFile\n"
    "log FileOpen - DATA\\unknown.tr4\n"
    "log FileOpen - DATA\\level1.tr4\n"
    "log CreateD3DLights\n"
    "close data\\level1.tr4\n"
    "play 3\n"
    "log Playing audio\\003.wav\n"
    "log DXCreateSurface\n"
    "log Released Mono Screen\n"
    "log HangGameThread\n"
    "log WM_ACTIVE\n"
    "log HangGameThread\n"
    "log Game Thread Resumed\n"
    "log KA_ALTENTER\n"
    "log HangGameThread\n"
    "log DXCreate: Windowed Mode\n"
    "log w 800 h 600\n"
    "log DXMove : x 10 y 20\n"
    "log CreateD3DLights\n"
    "log DXCreate: Windowed Mode\n"
    "log Playing audio\\005.wav\n"
    "log SetDisplayMode - 640x480x16\n"
    "log Already In Scene\n"
    "log Already In Scene\n"
    "log Playing audio\\250.wav\n"
    "log Playing audio\\004.wav\n"
    "stop\n"
    "log WinClose\n"
    "log never sent\n";

const std::vector<Atteso> RecordPartita = {
    {CW, N, N, BootScreen, 0, 0},
    {CW, N, N, Time_Init, 0, 0},
    {CW, N, N, GetVideoExclusive, 640, 480},
    {CW | LoadingLevel, N, N, PreLoading, 640, 480},
    {CW | LoadingLevel, N, 0, LoadingLevelIdentified, 640, 480},
    {CW, N, 0, EndLoading, 640, 480},
    {CW, 97, 0, StartCDSound, 640, 480},
    {CW | LoadingLevel, N, N, PreLoading, 640, 480},
    {CW | LoadingLevel, N, 1, LoadingLevelIdentified, 640, 480},
    {CW, N, 1, EndLoading, 640, 480},
    {CW, 3, 1, StartCDSound, 640, 480},
    {CW | Inventory, 3, 1, StartInventory, 640, 480},
    {CW, 3, 1, EndInventory, 640, 480},
    {CW | HangGame, 3, 1, HangGameEvent, 640, 480},
    {CW, 3, 1, ResumeGame, 640, 480},
    {CW | HangGame, 3, 1, HangGameEvent, 640, 480},
    {CW, 3, 1, ResumeGame, 640, 480},
    {CW | ChangingMode, 3, 1, StartChangeMode, 640, 480},
    {CW | ChangingMode | SharedMode, 3, 1, GetVideoShared, 800, 600},
    {CW | ChangingMode | SharedMode, 3, 1, MovedWindow, 10, 20},
    {CW | SharedMode, 3, 1, EndChangeMode, 10, 20},
    // The text after a pending windowed mode is not searched for fragments.
    {CW, 3, 1, GetVideoExclusive, 640, 480},
    {CW, 3, 1, AlreadyInScene, 640, 480},
    // Track 250 is beyond what a record may carry: ignored.
    {CW, 4, 1, StartCDSound, 640, 480},
    {ABORT_LOG, N, N, EndGame, 640, 480},
    // The logger's own last record.
    {ABORT_LOG, N, N, EventoNullo, 640, 480},
};

class LoggerChain : public testing::Test {
protected:
    void SetUp() override {
        c.ScriviLivelli({"title.tr4", "level1.tr4", "level2.tr4"}, GetTickCount());
        ScriviFileProva(c.trle / "data\\title.tr4", "t");
        ScriviFileProva(c.trle / "data\\level1.tr4", "1");
        ScriviFileProva(c.trle / "audio\\097.wav", "a");
        ScriviFileProva(c.trle / "audio\\003.wav", "a");
    }
    CatenaLogger c;
};

TEST_F(LoggerChain, AGameIsFollowedRecordByRecordAndTheLoggerEndsAfterWinClose) {
    ASSERT_TRUE(c.AvviaLogger());
    // Handshake.
    EXPECT_EQ(c.vista->ReceivedCount, 0u);
    c.Comando(CmdSendReceived);
    EXPECT_EQ(c.vista->ReceivedCount, 1u);
    ASSERT_TRUE(c.AvviaGioco(ScriptPartita));
    EXPECT_EQ(c.gioco.Attendi(30000), 0);
    EXPECT_EQ(c.logger.Attendi(15000), 0);
    ConfrontaRecord(c.Record(), RecordPartita);

    const std::string gioco = c.LogGioco();
    EXPECT_EQ(gioco.find("never sent"), std::string::npos);
    EXPECT_NE(gioco.find("open data\\level1.tr4\n"), std::string::npos);
    EXPECT_NE(gioco.find("play audio\\097.wav\n"), std::string::npos);

    // The log stops once the first real level has loaded.
    const std::string log = c.LogLogger();
    EXPECT_TRUE(HaRiga(log, "do_boot_screen"));
    EXPECT_TRUE(HaRiga(log, "LOGGER: Sent 1 structures"));
    EXPECT_TRUE(HaRiga(log, "LOGGER: Reached end loading of first level different than title. Suspend logging "
                            "operations"));
    EXPECT_FALSE(HaRiga(log, "Released Mono Screen"));
    EXPECT_FALSE(HaRiga(log, "WinClose"));
}

TEST_F(LoggerChain, TheExtendedLogKeepsEveryLineWithItsStamp) {
    c.ScriviLivelli({"title.tr4", "level1.tr4"}, GetTickCount() - 5000);
    ASSERT_TRUE(c.AvviaLogger("-L"));
    ASSERT_TRUE(c.AvviaGioco(ScriptPartita));
    EXPECT_EQ(c.gioco.Attendi(30000), 0);
    EXPECT_EQ(c.logger.Attendi(15000), 0);
    const std::string log = c.LogLogger();
    for (const char* riga :
         {"LOGGER: Found command line option: -L. Enable extended log", "LOGGER: Load sound effects",
          "WinClose", "LOGGER: Detected WinClose with empty cache: PostQuimessage() for logger",
          "LOGGER: Logger quits: send ABORT_LOG structure to media module", "LOGGER: Released 1 views of tomb map file",
          "LOGGER: WARNING: CD track out of range ignored: 250", "some text the logger does not know"})
        EXPECT_TRUE(HaRiga(log, riga)) << riga;
    EXPECT_FALSE(HaRiga(log, "LOGGER: Reached end loading of first level different than title. Suspend logging "
                             "operations"));
    // Stamps count from the base time of Logger.bin, in 7 characters.
    const size_t boot = log.find(": do_boot_screen\r\n");
    ASSERT_NE(boot, std::string::npos);
    ASSERT_GE(boot, 7u);
    const long ms = std::strtol(log.substr(boot - 7, 7).c_str(), nullptr, 10);
    EXPECT_GE(ms, 5000);
    EXPECT_LT(ms, 60000);
    EXPECT_EQ(log.rfind("\r\n", boot), boot - 9);
    EXPECT_EQ(log.find("\tLOGGER: ---------------- Write buffer log on disk -----------------\r\n"), 0u);
}

TEST_F(LoggerChain, AFullMapKeepsRecordsInTheCacheUntilTheMapIsCleared) {
    ASSERT_TRUE(c.AvviaLogger());
    // Every message toggles the hang, so every message is a record.
    constexpr int Messaggi = static_cast<int>(MaxStrutture) + 100 + 3;
    std::string script = "waitlogger 10000\n";
    for (int i = 1; i <= Messaggi; ++i) script += (i % 2) ? "log HangGameThread\n" : "log WM_ACTIVE\n";
    script += "title done\nstay\nwait 30000\n";
    ASSERT_TRUE(c.AvviaGioco(script));
    ASSERT_TRUE(c.GiocoHaScritto("title done", 120000));

    ASSERT_EQ(c.Conteggio(), MaxStrutture);
    const auto pieni = c.Record();
    for (uint32_t i = 0; i < MaxStrutture; ++i) {
        const bool appeso = i % 2 == 0;
        ASSERT_EQ(pieni[i].Codice, appeso ? HangGameEvent : ResumeGame) << i;
        ASSERT_EQ(pieni[i].Fasi, appeso ? HangGame : LoggerFase{}) << i;
    }

    // 100 records waited in the cache, the 101st reset it with code 18.
    PostMessageA(c.finestra, MessaggioComando, CmdClearMapping, 0);
    ASSERT_TRUE(AttendiCondizione(5000, [&] { return c.Conteggio() != MaxStrutture; }));
    ConfrontaRecord(c.Record(), {{LoggerFase{}, N, N, OverflowBuffer, 0, 0},
                                 {HangGame, N, N, HangGameEvent, 0, 0},
                                 {LoggerFase{}, N, N, ResumeGame, 0, 0}});

    // WM_CLOSE ends the logger with code 21.
    PostMessageA(c.finestra, WM_CLOSE, 0, 0);
    EXPECT_EQ(c.logger.Attendi(10000), 0);
    ASSERT_EQ(c.Conteggio(), 4u);
    EXPECT_EQ(c.vista->Structures[3].Codice, ReceivedWMClose);
    EXPECT_EQ(c.vista->Structures[3].Fasi, ABORT_LOG);
    const std::string log = c.LogLogger();
    for (const char* riga : {"LOGGER: WARNING: Swap map file is full, cann't send any structure",
                             "LOGGER: WARNING, overflow in cache Buffer: reset cache",
                             "LOGGER: Received message WM_USER:7 Clear media mapping file and write cached structures",
                             "LOGGER: Sent 3 structures", "LOGGER: Received message WM_CLOSE: destroywindow"})
        EXPECT_TRUE(HaRiga(log, riga)) << riga;
}

TEST_F(LoggerChain, TheDeathOfTheMainProgramEndsTheGameAndTheLogger) {
    // A stand-in main program: a second game stand-in that only waits.
    CartellaProva principale("main");
    CopyFileA((CartellaProgrammi() + "\\GameSim.exe").c_str(), (principale / "main.exe").c_str(), FALSE);
    ScriviFileProva(principale / "gamesim.txt", "stay\nwait 60000\n");
    ProcessoProva modulo;
    ASSERT_TRUE(AvviaProva(modulo, principale / "main.exe", "", principale.Percorso()));

    ASSERT_TRUE(c.AvviaLogger());
    c.Comando(CmdMediaModuleHandle, reinterpret_cast<LPARAM>(c.DuplicaNelLogger(modulo.handle)));
    ASSERT_TRUE(c.AvviaGioco("waitlogger 10000\nlog do_boot_screen\ntitle booted\nwait 3000\n"
                             "log Playing audio\\003.wav\nwait 20000\nlog WinClose\n"));
    ASSERT_TRUE(c.GiocoHaScritto("title booted"));
    c.Comando(CmdTombProcessHandle, reinterpret_cast<LPARAM>(c.DuplicaNelLogger(c.gioco.handle)));
    modulo.Termina();

    // The game's next message finds the main program gone.
    EXPECT_EQ(c.gioco.Attendi(20000), 0);
    EXPECT_EQ(c.logger.Attendi(10000), 0);
    EXPECT_EQ(c.LogGioco().find("exit "), std::string::npos) << "the game was ended from outside";
    ConfrontaRecord(c.Record(), {{CW, N, N, BootScreen, 0, 0}, {ABORT_LOG, N, N, EventoNullo, 0, 0}});
    const std::string log = c.LogLogger();
    EXPECT_NE(log.find("\t:LOGGER: WARNING: media module had abnormal termination: restore windows settings\r\n"),
              std::string::npos);
    EXPECT_TRUE(HaRiga(log, "LOGGER: Terminate tomb raider process"));
    EXPECT_TRUE(HaRiga(log, "LOGGER: Received process handle of tomb raider"));
}

TEST_F(LoggerChain, WithoutLoggerBinTheLoggerEndsAtOnceWithoutWindow) {
    DeleteFileA((c.trle / "Logger.bin").c_str());
    ASSERT_TRUE(AvviaProva(c.logger, c.trle / "Scrivane.exe", "", c.trle.Percorso()));
    EXPECT_EQ(c.logger.Attendi(15000), 0);
    EXPECT_EQ(FindWindowA(ClasseLogger, TitoloLogger), nullptr);
    const std::string log = c.LogLogger();
    EXPECT_TRUE(HaRiga(log, "LOGGER: ERROR: not found logger file in: " + (c.trle / "Logger.bin")));
    EXPECT_TRUE(HaRiga(log, "LOGGER: Error in logger: send ABORT_LOG structure to media module"));
}

TEST_F(LoggerChain, ADamagedLoggerBinIsRefused) {
    ScriviFileProva(c.trle / "Logger.bin", LoggerBinAMano({"a.tr4", "b.tr4"}, 0).substr(0, 8 + 64 + 10));
    ASSERT_TRUE(AvviaProva(c.logger, c.trle / "Scrivane.exe", "", c.trle.Percorso()));
    EXPECT_EQ(c.logger.Attendi(15000), 0);
    EXPECT_NE(c.LogLogger().find("LOGGER: ERROR: damaged logger file "), std::string::npos);
}

// The test writes the game's messages itself, to reach the edges.
class LoggerMessages : public LoggerChain {
protected:
    void SetUp() override {
        LoggerChain::SetUp();
        ASSERT_TRUE(c.AvviaLogger("-L"));
        tomb = OpenFileMappingA(FILE_MAP_ALL_ACCESS, FALSE, NomeMappaTomb);
        ASSERT_NE(tomb, nullptr);
        testo = static_cast<char*>(MapViewOfFile(tomb, FILE_MAP_ALL_ACCESS, 0, 0, DimensioneMappaTomb));
        ASSERT_NE(testo, nullptr);
    }
    void TearDown() override {
        if (testo) UnmapViewOfFile(testo);
        if (tomb) CloseHandle(tomb);
    }
    // Writes a record at <pos>; the offset past it.
    uint32_t Scrivi(uint32_t pos, const std::string& messaggio) {
        testo[pos] = 7;
        std::memcpy(testo + pos + 1, messaggio.c_str(), messaggio.size() + 1);
        return pos + static_cast<uint32_t>(messaggio.size()) + 2;
    }
    void Segnala(uint32_t fine) {
        DWORD_PTR r;
        SendMessageTimeoutA(c.finestra, WM_NULL, 0, fine, SMTO_ABORTIFHUNG, 5000, &r);
    }
    HANDLE tomb = nullptr;
    char* testo = nullptr;
};

TEST_F(LoggerMessages, OffsetsOutsideTheMapAndZeroAreIgnored) {
    uint32_t fine = Scrivi(0, "do_boot_screen");
    Segnala(fine);
    ASSERT_EQ(c.Conteggio(), 1u);
    // 0 is no wrap, and nothing past the map is ever read.
    Segnala(0);
    Segnala(DimensioneMappaTomb + 1);
    Segnala(0xFFFFFFFF);
    // A message without its NUL at the very end of the map stops there.
    std::memset(testo + DimensioneMappaTomb - 20, 'x', 20);
    testo[DimensioneMappaTomb - 21] = 0;
    Segnala(DimensioneMappaTomb);
    fine = Scrivi(fine, "TIME_Init");
    Segnala(fine);
    // An offset below the last one reads again from 0.
    Scrivi(0, "KA_ALTENTER");
    Segnala(13);
    c.Comando(CmdSendReceived);
    EXPECT_EQ(c.vista->ReceivedCount, 1u) << "the logger still answers";
    const auto r = c.Record();
    ASSERT_EQ(r.size(), 3u);
    EXPECT_EQ(r[0].Codice, BootScreen);
    EXPECT_EQ(r[1].Codice, Time_Init);
    EXPECT_EQ(r[2].Codice, StartChangeMode);
    c.Comando(CmdWriteLog);
    const std::string log = c.LogLogger();
    EXPECT_NE(log.find("game message offset out of the map file ignored"), std::string::npos);
}

TEST_F(LoggerMessages, ALongJumpResynchronisesOnTheLastMessages) {
    uint32_t pos = 0;
    for (int i = 0; i < 100; ++i) pos = Scrivi(pos, "HangGameThread");
    pos = Scrivi(pos, "do_boot_screen");
    Segnala(pos);
    // Only the messages in the last 200 bytes were read: the hang before them is lost.
    const auto r = c.Record();
    ASSERT_EQ(r.size(), 2u);
    EXPECT_EQ(r[0].Codice, HangGameEvent);
    EXPECT_EQ(r[1].Codice, BootScreen);
    c.Comando(CmdWriteLog);
    EXPECT_TRUE(HaRiga(c.LogLogger(), "LOGGER: WARNING: too long tomb mexage. probably logger lost many previous "
                                      "mexages: reset starting by last tomb4 message"));
}

TEST_F(LoggerMessages, CommandsOfTheMainProgram) {
    uint32_t pos = Scrivi(0, "do_boot_screen");
    Segnala(pos);
    // Command 2 changes the phase without a record; the next record carries it.
    c.Comando(CmdSetPhase, static_cast<LPARAM>(CreatedWindow | Inventory));
    EXPECT_EQ(c.Conteggio(), 1u);
    pos = Scrivi(pos, "Released Mono Screen");
    Segnala(pos);
    ASSERT_EQ(c.Conteggio(), 2u);
    EXPECT_EQ(c.vista->Structures[1].Codice, EndInventory);
    EXPECT_EQ(c.vista->Structures[1].Fasi, CreatedWindow);

    c.Comando(CmdExtendedLog);
    c.Comando(CmdPlayEffect, 12);
    c.Comando(CmdPlayEffect, -1);
    c.Comando(CmdPlayEffect, 3);
    c.Comando(CmdStopSounds);
    std::string percorso = c.trle / "missing.wav";
    std::memset(c.vista->SpecialSoundPath, ' ', 255);
    std::memcpy(c.vista->SpecialSoundPath, percorso.c_str(), percorso.size() + 1);
    c.Comando(CmdPlaySpecialSound, 1);
    c.Comando(CmdPlaySpecialSound, 0);
    // A path without its NUL is read only inside its field.
    std::memset(c.vista->SpecialSoundPath, 'z', 256);
    c.Comando(CmdPlaySpecialSound, 0);
    c.Comando(CmdSendCache);
    c.Comando(CmdWriteLog);
    const std::string log = c.LogLogger();
    for (const std::string& riga : std::vector<std::string>{
             "LOGGER: Received message WM_USER:2 Set new phase value with 0x 9 value",
          "LOGGER: Received message WM_USER:3 Enable extended log [L+G]",
          "LOGGER: ERROR: sound effect number to play out of range: 12",
          "LOGGER: ERROR: sound effect number to play out of range: -1", "LOGGER: Play special sound:" + percorso,
          "LOGGER: Already loaded!", "LOGGER: Error trying to load special sound",
          "LOGGER: Play special sound:" + std::string(256, 'z'), "LOGGER: No structure in chache to send",
          "LOGGER: Received message WM_USER:4 write buffer log on disk"})
        EXPECT_TRUE(HaRiga(log, riga)) << riga;
    // Without an audio device the logger says so and runs on; with one, effect 3 is missing here.
    EXPECT_TRUE(HaRiga(log, "LOGGER: ERROR truing to create DirectSound object") ||
                HaRiga(log, "LOGGER: Error loading sound: " + c.trle.Percorso() + "\\effect3.wav"));

    c.Comando(CmdCloseLogger);
    EXPECT_EQ(c.logger.Attendi(10000), 0);
    EXPECT_EQ(c.vista->Structures[c.Conteggio() - 1].Codice, EventoNullo);
    EXPECT_EQ(c.vista->Structures[c.Conteggio() - 1].Fasi, ABORT_LOG);
}

}  // namespace

namespace {

std::string WavAMano() {
    auto u32 = [](uint32_t v) { return std::string(reinterpret_cast<const char*>(&v), 4); };
    std::string campioni(2205, '\x80');  // 0.2 s of silence, 8 bit mono 11025 Hz
    campioni += '\0';                    // pad to even
    return "RIFF" + u32(4 + 24 + 8 + 2206) + "WAVE" + "fmt " + u32(16) + std::string("\x01\x00\x01\x00", 4) +
           u32(11025) + u32(11025) + std::string("\x01\x00\x08\x00", 4) + "data" + u32(2205) + campioni;
}

TEST_F(LoggerChain, SoundEffectsLoadOrTheLoggerRunsOnWithoutThem) {
    ScriviFileProva(c.trle / "effect0.wav", WavAMano());
    ScriviFileProva(c.trle / "effect1.wav", WavAMano().substr(0, 60));
    ScriviFileProva(c.trle / "special.wav", WavAMano());
    ASSERT_TRUE(c.AvviaLogger("-L"));
    c.Comando(CmdPlayEffect, 0);
    c.Comando(CmdPlayEffect, 0);
    c.Comando(CmdPlayEffect, 1);
    const std::string speciale = c.trle / "special.wav";
    std::memset(c.vista->SpecialSoundPath, ' ', 255);
    std::memcpy(c.vista->SpecialSoundPath, speciale.c_str(), speciale.size() + 1);
    c.Comando(CmdPlaySpecialSound, 1);
    c.Comando(CmdPlaySpecialSound, 1);
    c.Comando(CmdStopSounds);
    c.Comando(CmdSendReceived);
    EXPECT_EQ(c.vista->ReceivedCount, 1u);
    c.Comando(CmdWriteLog);
    const std::string log = c.LogLogger();
    EXPECT_TRUE(HaRiga(log, "LOGGER: Play special sound:" + speciale));
    EXPECT_TRUE(HaRiga(log, "LOGGER: Already loaded!"));
    // Without an audio device the logger says so and runs on; with one, the files decide.
    if (HaRiga(log, "LOGGER: ERROR truing to create DirectSound object")) {
        // No audio device: every sound request ends quietly.
        EXPECT_TRUE(HaRiga(log, "LOGGER: Error trying to load special sound"));
    } else {
        EXPECT_FALSE(HaRiga(log, "LOGGER: Error loading sound: " + (c.trle / "effect0.wav")));
        EXPECT_TRUE(HaRiga(log, "LOGGER: ERROR parsing chunks of wav sound file: " + (c.trle / "effect1.wav")));
        EXPECT_TRUE(HaRiga(log, "LOGGER: Error loading sound: " + (c.trle / "effect1.wav")));
        EXPECT_TRUE(HaRiga(log, "LOGGER: ERROR opening wav sound file: " + (c.trle / "effect11.wav")));
        EXPECT_FALSE(HaRiga(log, "LOGGER: Error trying to load special sound"));
    }
    c.Comando(CmdCloseLogger);
    EXPECT_EQ(c.logger.Attendi(10000), 0);
}

}  // namespace

namespace {

TEST_F(LoggerMessages, TheHiddenWindowItsResourcesAndItsExitCommand) {
    EXPECT_FALSE(IsWindowVisible(c.finestra));
    HMODULE immagine = LoadLibraryExA((c.trle / "Scrivane.exe").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(immagine, nullptr);
    char testo[101] = {};
    LoadStringA(immagine, 103, testo, sizeof testo);
    EXPECT_STREQ(testo, "DBLog Server");
    LoadStringA(immagine, 109, testo, sizeof testo);
    EXPECT_STREQ(testo, "DBLogWindowClass");
    EXPECT_NE(FindResourceA(immagine, MAKEINTRESOURCEA(107), reinterpret_cast<LPCSTR>(RT_GROUP_ICON)), nullptr);
    EXPECT_NE(FindResourceA(immagine, MAKEINTRESOURCEA(108), reinterpret_cast<LPCSTR>(RT_GROUP_ICON)), nullptr);
    HMENU menu = LoadMenuA(immagine, MAKEINTRESOURCEA(109));
    ASSERT_NE(menu, nullptr);
    GetMenuStringA(menu, 0, testo, sizeof testo, MF_BYPOSITION);
    EXPECT_STREQ(testo, "&File");
    GetMenuStringA(GetSubMenu(menu, 0), 105, testo, sizeof testo, MF_BYCOMMAND);
    EXPECT_STREQ(testo, "E&xit");
    DestroyMenu(menu);
    FreeLibrary(immagine);
    PostMessageA(c.finestra, WM_COMMAND, 105, 0);
    EXPECT_EQ(c.logger.Attendi(10000), 0);
    ASSERT_EQ(c.Conteggio(), 1u);
    EXPECT_EQ(c.vista->Structures[0].Codice, EventoNullo);
    EXPECT_EQ(c.vista->Structures[0].Fasi, ABORT_LOG);
    EXPECT_TRUE(HaRiga(c.LogLogger(), "LOGGER: Logger quits: send ABORT_LOG structure to media module"));
}

}  // namespace
