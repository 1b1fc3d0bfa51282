// The logger client against a view and a stand-in logger window of the test.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "core/FileUtils.h"
#include "core/LevelVariables.h"
#include "core/MediaLog.h"
#include "core/MediaConfig.h"
#include "core/MediaTrigger.h"
#include "runservices/LoggerClient.h"
#include "runservices/RunState.h"
#include "runservices/Sounds.h"
#include "platform/Clock.h"
#include "savegames/SavegameFile.h"
#include "tests/support/TestFolders.h"

namespace {

struct Comando {
    WPARAM numero;
    LPARAM argomento;
};
std::vector<Comando> comandi;
bool rispondi = true;
SwapMediaView* vistaFinta = nullptr;

LRESULT CALLBACK ProceduraFinta(HWND h, UINT m, WPARAM wp, LPARAM lp) {
    if (m == WM_USER) {
        comandi.push_back({wp, lp});
        if (wp == CmdSendReceived && rispondi && vistaFinta) ++vistaFinta->ReceivedCount;
        return 0;
    }
    return DefWindowProcA(h, m, wp, lp);
}

using enum LoggerFase;

LoggerStructure R(LoggerFase fasi, uint8_t cd, uint8_t livello, uint8_t codice, int16_t x = 0, int16_t y = 0,
                  uint32_t tick = 0) {
    return LoggerStructure{tick, fasi, cd, livello, codice, x, y};
}

constexpr uint8_t N = NessunValore;
constexpr LoggerFase CW = CreatedWindow;

class LoggerClient : public testing::Test {
protected:
    void SetUp() override {
        ClockUseManual(true, 100000);
        AzzeraStatoRun();
        AzzeraLoggerClient();
        ProcessoGioco.hProcess = reinterpret_cast<void*>(1);
        PercorsoStore = cartella.Percorso();
        CartellaTrle = cartella.Percorso();
        LogAbilitato = true;
        InitMediaLog();
        vista = std::make_unique<SwapMediaView>();
        std::memset(vista.get(), 0, sizeof(SwapMediaView));
        vistaFinta = vista.get();
        ViewLogger = vista.get();
        WNDCLASSA wc{};
        wc.lpfnWndProc = ProceduraFinta;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "LoggerFinto";
        RegisterClassA(&wc);
        finestra = CreateWindowExA(0, "LoggerFinto", "", 0, 0, 0, 10, 10, nullptr, nullptr, wc.hInstance, nullptr);
        hWndLogger = finestra;
        hProcessLogger = GetCurrentProcess();
        comandi.clear();
        rispondi = true;
        ImpostaBit(StatoGioco, FlagLoggerInUso);
        TickAvvioGioco = static_cast<int32_t>(ClockTick());
    }
    void TearDown() override {
        DestroyWindow(finestra);
        ViewLogger = nullptr;
        vistaFinta = nullptr;
        hWndLogger = nullptr;
        hProcessLogger = nullptr;
        ProcessoGioco.hProcess = nullptr;
        LogAbilitato = false;
        BufferLog.clear();
        ClockUseManual(false);
    }
    void Aggiungi(std::initializer_list<LoggerStructure> record) {
        for (LoggerStructure r : record) {
            if (r.TickEvento == 0) r.TickEvento = ClockTick();
            vista->Structures[vista->StructureCount++] = r;
        }
    }
    // The log's file and what is still buffered.
    bool HaLog(const std::string& testo) const {
        return (LeggiFileProva(PercorsoFileLog) + BufferLog).find(testo) != std::string::npos;
    }
    void PulisciLog() {
        CancellaFile(PercorsoFileLog);
        BufferLog.clear();
    }
    std::vector<WPARAM> NumeriComandi() const {
        std::vector<WPARAM> n;
        for (const Comando& c : comandi) n.push_back(c.numero);
        return n;
    }

    CartellaProva cartella{"lcl"};
    std::unique_ptr<SwapMediaView> vista;
    HWND finestra = nullptr;
};

TEST_F(LoggerClient, EveryTrackBetweenTwoTicksIsHandedOutOldestFirst) {
    Aggiungi({R(CW | LoadingLevel, N, N, PreLoading), R(CW | LoadingLevel, N, 1, LoadingLevelIdentified),
              R(CW, 3, 1, StartCDSound), R(CW | Inventory, 3, 1, StartInventory), R(CW, 5, 1, StartCDSound),
              R(CW, 3, 1, StartCDSound)});
    EXPECT_EQ(GetActiveCDFromBuffer(), 3);
    EXPECT_EQ(StruttureLette, 6);
    EXPECT_EQ(GetActiveCDFromBuffer(), 5);
    EXPECT_EQ(GetActiveCDFromBuffer(), 3);
    // An empty buffer gives the track of the last record.
    EXPECT_EQ(GetActiveCDFromBuffer(), 3);
    EXPECT_EQ(CdAvvioLivello, 3);
    EXPECT_TRUE(HaLog("Logger: Detected change in CD playing: put cd 5 in buffer[1]"));
    EXPECT_TRUE(HaLog("BUFFER CD: TotCdBuffer=3 CD=3 5 3 "));
    EXPECT_TRUE(HaLog("Cd at start of loading is: 3"));

    // The end of a load empties the buffer; the next start of loading re-arms the start track.
    Aggiungi({R(CW, 7, 1, StartCDSound), R(CW, 7, 2, EndLoading)});
    EXPECT_EQ(GetActiveCDFromBuffer(), 7);
    EXPECT_EQ(TotCdBuffer, 0);
    EXPECT_EQ(LivelloCorrente, 2);
    Aggiungi({R(CW | LoadingLevel, N, N, PreLoading), R(CW, 9, 2, StartCDSound)});
    LeggiLogger();
    EXPECT_EQ(CdAvvioLivello, 9);
}

TEST_F(LoggerClient, RecordsThatWereNotCopiedAreSkipped) {
    Aggiungi({R(CW, CdCopiaFallita, 1, StartCDSound), R(CW, 4, LivelloCopiaFallita, StartCDSound),
              R(CW, 6, 1, StartCDSound)});
    EXPECT_TRUE(LeggiLogger());
    EXPECT_EQ(TotCdBuffer, 1);
    EXPECT_EQ(BufferCd[0], 6);
    EXPECT_TRUE(HaLog("WARNING: failed CopyMemory() to get structure with index = 0"));
    EXPECT_TRUE(HaLog("WARNING: error trying to read structure with index= 1 from map file"));
    EXPECT_TRUE(HaLog("Received 1 structures"));
    EXPECT_FALSE(LeggiStruttura(-1));
    EXPECT_FALSE(LeggiStruttura(static_cast<int32_t>(MaxStrutture)));
    EXPECT_TRUE(HaLog("WARNING: index to logger structure is out of range: 5439"));
}

TEST_F(LoggerClient, ACountBelowWhatWasReadRestartsAtZeroAndAFullMapIsCleared) {
    Aggiungi({R(CW, 1, 0, StartCDSound), R(CW, 2, 0, StartCDSound), R(CW, 3, 0, StartCDSound)});
    LeggiLogger();
    EXPECT_EQ(StruttureLette, 3);
    EXPECT_FALSE(LeggiLogger()) << "nothing new";
    vista->StructureCount = 0;
    Aggiungi({R(CW, 8, 0, StartCDSound), R(CW, 9, 0, StartCDSound)});
    EXPECT_TRUE(LeggiLogger());
    EXPECT_EQ(StrutturaLogger.CdTrack, 9);
    EXPECT_EQ(StruttureLette, 2);
    // A count past the capacity reads as the capacity; at the capacity the map is cleared.
    vista->StructureCount = 0xFFFF;
    EXPECT_TRUE(LeggiLogger());
    EXPECT_EQ(StruttureLette, static_cast<int32_t>(MaxStrutture));
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    ASSERT_FALSE(comandi.empty());
    EXPECT_EQ(comandi.back().numero, CmdClearMapping);
    EXPECT_TRUE(HaLog("Reached end file map: send message to reset number of structure"));
}

TEST_F(LoggerClient, TheEndOfTheLoggerStopsItsUse) {
    Aggiungi({R(CW, 3, 0, StartCDSound), R(ABORT_LOG, N, N, ReceivedWMClose)});
    LeggiLogger();
    EXPECT_FALSE(LoggerAttivo());
    EXPECT_TRUE(LoggerChiuso);
    EXPECT_TRUE(HaLog("Abort log: disable checking for logger data"));
    EXPECT_TRUE(HaLog("Scrivane has been closed with WM_CLOSE"));
    Aggiungi({R(CW, 4, 0, StartCDSound)});
    EXPECT_FALSE(LeggiLogger());
}

TEST_F(LoggerClient, VideoWindowAndSavegameRecords) {
    Aggiungi({R(CW, N, N, GetVideoExclusive, 800, 600), R(CW | SharedMode, N, N, GetVideoShared, 640, 480),
              R(CW | SharedMode, N, N, MovedWindow, -5, 12), R(CW, N, N, LoadSavegame, 3, 12),
              R(CW, N, N, EndGame, 3, 12)});
    FinestraGiocoSpostata = false;
    LeggiLogger();
    EXPECT_EQ(SchermoX, 800);
    EXPECT_EQ(TombSchermoX, 640);
    EXPECT_EQ(TombSchermoY, 480);
    EXPECT_EQ(FinestraGiocoX, -5);
    EXPECT_TRUE(FinestraGiocoSpostata);
    EXPECT_TRUE(FineGiocoSegnalata);
    EXPECT_EQ(UltimoSavegameCaricato, PercorsoSavegame(3));
    EXPECT_TRUE(HaLog("Detected video mode shared 640 x 480"));
    // A start of loading soon after keeps the savegame; later it is a new game.
    ClockAdvance(1500);
    Aggiungi({R(CW | LoadingLevel, N, N, PreLoading)});
    LeggiLogger();
    EXPECT_EQ(UltimoSavegameCaricato, PercorsoSavegame(3));
    ClockAdvance(3000);
    Aggiungi({R(CW, N, N, AlreadyInScene), R(CW | LoadingLevel, N, N, PreLoading)});
    LeggiLogger();
    EXPECT_EQ(UltimoSavegameCaricato, "");
    EXPECT_TRUE(HaLog("Detected new game and not loading savegame"));
}

// A new game enters the script's first level from the title, which starts
// the private variables anew. The game names no savegame it loads from its
// title menu: a later level entered from the title comes from a savegame and
// keeps them, as a level left for the next one and a savegame reported do.
TEST_F(LoggerClient, ANewGameFromTheTitleClearsThePrivateVariables) {
    HeaderMcf = MediaConfigHeader{};
    HeaderMcf.Version = "VER1.5";
    struct Caso {
        const char* nome;
        int32_t livello;     // the level the load leaves
        bool salvataggio;    // a savegame load reported just before
        uint8_t caricato;    // the level it loads
        bool azzerate;
    };
    for (const Caso& c : {Caso{"new game", 0, false, 1, true},
                          Caso{"a savegame of a later level, from the title", 0, false, 2, false},
                          Caso{"next level", 1, false, 2, false}, Caso{"back to the first level", 2, false, 1, false},
                          Caso{"savegame from the title", 0, true, 1, false}}) {
        SCOPED_TRACE(c.nome);
        PulisciLog();
        VarA = "5";
        VarLastInput = "typed";
        LivelloCorrente = c.livello;
        ClockAdvance(5000);
        if (c.salvataggio) Aggiungi({R(CW, N, N, LoadSavegame, 3, 0)});
        Aggiungi({R(CW | LoadingLevel, N, N, PreLoading)});
        LeggiLogger();
        // Nothing is decided before the level is named.
        EXPECT_EQ(VarA, "5");
        Aggiungi({R(CW | LoadingLevel, N, c.caricato, LoadingLevelIdentified)});
        LeggiLogger();
        EXPECT_EQ(VarA, c.azzerate ? "0" : "5");
        EXPECT_EQ(VarLastInput, c.azzerate ? "" : "typed");
        EXPECT_EQ(HaLog("Detected new game: clear all private variables"), c.azzerate);
        EXPECT_EQ(HaLog("Loaded level 2 from the title: a savegame, not a new game: keep private variables"),
                  c.livello == 0 && c.caricato == 2);
    }
    VarA = VarLastInput = "";
    HeaderMcf = MediaConfigHeader{};
}

TEST_F(LoggerClient, AModeChangeAgainstTheConfigurationIsReversedOrAbortsTheGame) {
    OpzioniGioco = 0x1000;  // shared mode required
    Aggiungi({R(CW | SharedMode, N, N, EndChangeMode)});
    LeggiLogger();
    EXPECT_TRUE(HaLog("Restored correct video mode"));
    OpzioniGioco = 0x8000;  // exclusive, abort on a swap
    Aggiungi({R(CW | SharedMode | ChangingMode, N, N, StartChangeMode), R(CW | SharedMode, N, N, EndChangeMode)});
    LeggiLogger();
    EXPECT_TRUE(HaLog("WARNING: video mode now is different than video mode required by media configuration file"));
    EXPECT_TRUE(HaLog("Swap video mode is complete and flag 'AbortOnSwapVideoMode' is flagged: abort game"));
    EXPECT_TRUE(HaBit(StatoGioco, CambioVideoAltEnter));
    EXPECT_EQ(ProcessoGioco.hProcess, nullptr);
    ProcessoGioco.hProcess = reinterpret_cast<void*>(1);
    // With the patch applied nothing is checked.
    PulisciLog();
    ImpostaBit(StatoGioco, PatchAltEnterApplicata);
    Aggiungi({R(CW, N, N, StartChangeMode), R(CW | SharedMode, N, N, EndChangeMode)});
    LeggiLogger();
    EXPECT_FALSE(HaLog("video mode"));
}

TEST_F(LoggerClient, TheHealthCheck) {
    // No window phase within 15 s: the logger is left.
    Aggiungi({R(LoggerFase{}, N, N, AlreadyInScene)});
    ClockAdvance(15001);
    LeggiLogger();
    EXPECT_FALSE(LoggerAttivo());
    EXPECT_TRUE(HaLog("WARNING: passed 15 seconds from start tomb4 and 'create window' phase is yet missing"));

    // A track that ended with no new one and a level file closed before the
    // end of its loading: the logger's word stands, in check after check.
    ImpostaBit(StatoGioco, FlagLoggerInUso);
    NumLivelli = 1;
    FileLivelli = {cartella / "level.tr4"};
    ScriviFileProva(cartella / "level.tr4", "x");
    CreaCartella(cartella / "audio");
    ScriviFileProva(cartella / "audio\\004.wav", "x");
    Aggiungi({R(CW | LoadingLevel, 4, 0, StartCDSound)});
    TickAvvioGioco = static_cast<int32_t>(ClockTick());
    LeggiLogger();
    PulisciLog();
    for (int i = 0; i < 6; ++i) {
        ClockAdvance(5000);
        VerificaScrivane();
    }
    EXPECT_TRUE(LoggerAttivo());
    EXPECT_FALSE(HaLog("WARNING")) << BufferLog;
    EXPECT_FALSE(HaLog("Consecutive logger errors"));
    const std::vector<WPARAM> inviati = NumeriComandi();
    EXPECT_EQ(std::count(inviati.begin(), inviati.end(), CmdSetPhase), 0);
    EXPECT_EQ(std::count(inviati.begin(), inviati.end(), CmdSendReceived), 6) << "one ping a check";

    // A claim that the records read during the check no longer hold is an
    // error; five in a row end the use.
    comandi.clear();
    for (int i = 0; i < 5; ++i) {
        const bool pari = i % 2 == 0;
        Aggiungi({R(pari ? CW : CW | LoadingLevel, pari ? 5 : 4, 0, pari ? EndLoading : StartCDSound)});
        ClockAdvance(5000);
        VerificaScrivane();
    }
    EXPECT_TRUE(HaLog("WARNING: Cd signaled by logger (4) is not playing"));
    EXPECT_TRUE(HaLog("WARNING: Cd signaled by logger (5) is not playing"));
    EXPECT_TRUE(HaLog("Consecutive logger errors: 5"));
    EXPECT_TRUE(HaLog("ERROR: 5 consecutive errors. Disable logger"));
    EXPECT_FALSE(LoggerAttivo());

    // The level's claim alone, overtaken by the end of its loading: the
    // phase is set again without LoadingLevel.
    ImpostaBit(StatoGioco, FlagLoggerInUso);
    ErroriConsecutiviLogger = 0;
    Aggiungi({R(CW | LoadingLevel, N, 0, LoadingLevelIdentified)});
    LeggiLogger();
    comandi.clear();
    PulisciLog();
    Aggiungi({R(CW, N, 0, EndLoading)});
    ClockAdvance(5000);
    VerificaScrivane();
    EXPECT_TRUE(HaLog("WARNING: logger signals loading of level 0 but this level is not corrently loading. Remove "
                      "'loading level' from phase"));
    ASSERT_EQ(comandi.size(), 2u);
    EXPECT_EQ(comandi[1].numero, CmdSetPhase);
    EXPECT_EQ(comandi[1].argomento, static_cast<LPARAM>(CW));
    EXPECT_TRUE(HaLog("Consecutive logger errors: 1"));

    // A logger that does not answer is closed.
    rispondi = false;
    comandi.clear();
    ClockAdvance(5000);
    VerificaScrivane();
    EXPECT_TRUE(HaLog("WARNING: Scrivane doesn't respond. Disable logger usage"));
    EXPECT_FALSE(LoggerAttivo());
    EXPECT_EQ(NumeriComandi(), (std::vector<WPARAM>{CmdSendReceived, CmdCloseLogger}));
    EXPECT_FALSE(HaBit(ModificheAvvio, FlagSuoniLogger));
}

// A process of this test program that never runs: a game or a logger to end.
PROCESS_INFORMATION ProcessoSospeso() {
    char programma[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, programma, MAX_PATH);
    std::string riga = std::string("\"") + programma + "\" --gtest_list_tests";
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    CreateProcessA(programma, riga.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr, nullptr, &si, &pi);
    return pi;
}

bool HandleAperto(HANDLE h) {
    DWORD bit = 0;
    return GetHandleInformation(h, &bit) != 0;
}

TEST_F(LoggerClient, TheHandshakeWaitsForABusyLoggerOnlyWhileItsProcessRuns) {
    // An answer at once, and a command taken without answer, end it at once.
    const uint32_t inizio = ClockTick();
    EXPECT_TRUE(HandshakeLogger());
    rispondi = false;
    EXPECT_FALSE(HandshakeLogger());
    EXPECT_EQ(NumeriComandi(), (std::vector<WPARAM>{CmdSendReceived, CmdSendReceived}));
    EXPECT_EQ(ClockTick(), inizio);

    // A window that takes no command: tried again while the process runs, up to the bound.
    DestroyWindow(finestra);
    EXPECT_FALSE(HandshakeLogger());
    const uint32_t atteso = ClockTick() - inizio;
    EXPECT_GE(atteso, AttesaHandshakeLogger);
    EXPECT_LT(atteso, AttesaHandshakeLogger + 2 * PausaHandshakeLogger);

    // A logger whose process has ended is not waited for.
    PROCESS_INFORMATION pi = ProcessoSospeso();
    ASSERT_NE(pi.hProcess, nullptr);
    TerminateProcess(pi.hProcess, 0);
    WaitForSingleObject(pi.hProcess, 5000);
    hProcessLogger = pi.hProcess;
    const uint32_t prima = ClockTick();
    EXPECT_FALSE(HandshakeLogger());
    EXPECT_EQ(ClockTick(), prima);

    // Its handle is the client's to close, with the next run's reset.
    AzzeraLoggerClient();
    EXPECT_EQ(hProcessLogger, nullptr);
    EXPECT_FALSE(HandleAperto(pi.hProcess));
    CloseHandle(pi.hThread);
}

TEST_F(LoggerClient, ClosingTheGameClosesItsHandles) {
    PROCESS_INFORMATION pi = ProcessoSospeso();
    ASSERT_NE(pi.hProcess, nullptr);
    HANDLE copia = nullptr;
    ASSERT_TRUE(DuplicateHandle(GetCurrentProcess(), pi.hProcess, GetCurrentProcess(), &copia, SYNCHRONIZE, FALSE, 0));
    ProcessoGioco.hProcess = pi.hProcess;
    ProcessoGioco.hThread = pi.hThread;
    // A mode swap with AbortOnSwapVideoMode closes the game.
    OpzioniGioco = ParolaOpzioni(OpzioneHeader::AbortOnSwapVideoMode);
    Aggiungi({R(CW | SharedMode, N, N, EndChangeMode)});
    LeggiLogger();
    EXPECT_EQ(WaitForSingleObject(copia, 5000), WAIT_OBJECT_0);
    EXPECT_EQ(ProcessoGioco.hProcess, nullptr);
    EXPECT_EQ(ProcessoGioco.hThread, nullptr);
    EXPECT_FALSE(HandleAperto(pi.hProcess));
    EXPECT_FALSE(HandleAperto(pi.hThread));
    CloseHandle(copia);
    ProcessoGioco.hProcess = reinterpret_cast<void*>(1);
}

TEST_F(LoggerClient, TheTextOfTheLastRecord) {
    TickInizioLog = 1000;
    StrutturaLogger = StatoLogger{13500, CW | SharedMode | Inventory, 12, 3, StartInventory, -640, 480};
    const char sep = TestoStrutturaLogger()[2];
    EXPECT_EQ(TestoStrutturaLogger(), std::string("12") + sep +
                                          "500: StartInventory      3  12 -640  480 CreatedWindow Inventory SharedMode ");
    StrutturaLogger = StatoLogger{1000, LoggerFase{}, -1, -1, 0, 0, 0};
    EXPECT_EQ(TestoStrutturaLogger(), std::string(" 0") + sep + "000: NULL               -1  -1    0    0 ");
}

TEST(LoggerClientTriggers, TheEndOfATrackReArmsTheOtherTracksTriggers) {
    struct T {
        int32_t TriggerCd, Options, MediaCode;
    };
    std::vector<T> lista = {{3, 0x2000, 10}, {4, 0x2001, 11}, {5, 0x1, 12}, {999, 0x2000, 13}, {6, 0x2000, 14}};
    std::vector<std::string> righe;
    FineTriggerCdSu(lista, 3, [&](const std::string& r) { righe.push_back(r); });
    EXPECT_EQ(lista[0].Options, 0x2000);
    EXPECT_EQ(lista[1].Options, 0x1);
    EXPECT_EQ(lista[2].Options, 0x1);
    EXPECT_EQ(lista[3].Options, 0x2000) << "the walk stops at the first record not bound to a track";
    EXPECT_EQ(lista[4].Options, 0x2000);
    EXPECT_EQ(righe, (std::vector<std::string>{
                         "End cd trigger 4 for media code = 11: it is newly ready for further activations"}));
    FineTriggerCdSu(lista, -1, [&](const std::string& r) { righe.push_back(r); });
    EXPECT_EQ(lista[0].Options, 0x2000);
}

// Sounds.
struct Beep {
    int32_t f, d;
    bool operator==(const Beep&) const = default;
};
std::vector<Beep> beep;
void RegistraBeep(int32_t f, int32_t d) { beep.push_back({f, d}); }
void SuonoNelFormato(bool acceso) { FormatoTestoCorrente.Flags = acceso ? 0x1 : 0; }
void Versione(const char* v) { HeaderMcf.Version = v; }

class SoundRequests : public LoggerClient {
protected:
    void SetUp() override {
        LoggerClient::SetUp();
        EmettiTono = RegistraBeep;
        beep.clear();
        SuonoNelFormato(true);
        Versione("VER1.5");
        SistemaNT = false;
    }
    void TearDown() override {
        SuonoNelFormato(false);
        Versione("VER1.5");
        LoggerClient::TearDown();
    }
    // The beeps and the pause of one local effect.
    std::pair<std::vector<Beep>, uint32_t> Locale(int32_t n, bool forza) {
        beep.clear();
        const uint32_t prima = ClockTick();
        SuonaEffetto(n, forza, true);
        return {beep, ClockTick() - prima};
    }
};

TEST_F(SoundRequests, LocalRenderingsOfTheEffects) {
    const std::vector<Beep> sette = {{1300, 30}, {1270, 30}, {1210, 30}, {1120, 30}, {1000, 30}, {850, 30}, {670, 30}};
    const std::vector<Beep> undici = {{1195, 10}, {1190, 10}, {1186, 10}, {1182, 10}, {1179, 10}, {1176, 10},
                                      {1174, 10}, {1172, 10}, {1171, 10}, {1170, 10}, {1170, 10}};
    const std::vector<std::vector<Beep>> attesi = {
        {{200, 200}}, {{100, 2}, {500, 1}, {300, 1}}, sette, {{600, 30}}, {}, {{400, 20}},
        {{150, 50}},  {{300, 50}},                    {{200, 100}}, undici, sette, {}};
    for (int32_t n = 0; n < 12; ++n) EXPECT_EQ(Locale(n, false).first, attesi[n]) << n;
    EXPECT_TRUE(Locale(12, false).first.empty());

    // Forced with the sound flag clear: 1 silent, 2 and 9 pause, 10 beeps.
    SuonoNelFormato(false);
    EXPECT_TRUE(Locale(3, false).first.empty());
    EXPECT_TRUE(Locale(1, true).first.empty());
    EXPECT_EQ(Locale(2, true), std::make_pair(std::vector<Beep>{}, 210u));
    EXPECT_EQ(Locale(9, true), std::make_pair(std::vector<Beep>{}, 110u));
    EXPECT_EQ(Locale(10, true).first, sette);
    EXPECT_EQ(Locale(0, true).first, (std::vector<Beep>{{200, 200}}));
}

TEST_F(SoundRequests, BeepsOfVersion14AreSilentAndNTShortensThem) {
    Versione("VER1.4");
    EXPECT_TRUE(Locale(0, true).first.empty());
    Versione("VER1.5");
    SistemaNT = true;
    for (auto [d, atteso] : {std::pair{30, 20}, {50, 33}, {100, 67}, {1, 1}, {2, 1}, {200, 133}}) {
        beep.clear();
        SuonaBeep(440, d);
        ASSERT_EQ(beep.size(), 1u);
        EXPECT_EQ(beep[0].d, atteso) << d;
    }
}

TEST_F(SoundRequests, ThroughTheLoggerEffectsAreCommandsWithTheirPause) {
    ImpostaBit(ModificheAvvio, FlagSuoniLogger);
    const uint32_t attese[] = {200, 4, 500, 30, 0, 20, 50, 50, 100, 110, 210, 0};
    for (int32_t n = 0; n < 12; ++n) {
        comandi.clear();
        const auto [suoni, pausa] = Locale(n, false);
        EXPECT_TRUE(suoni.empty());
        EXPECT_EQ(pausa, attese[n]) << n;
        ASSERT_EQ(comandi.size(), 1u);
        EXPECT_EQ(comandi[0].numero, CmdPlayEffect);
        EXPECT_EQ(comandi[0].argomento, n);
    }
    // Forced with the flag clear, the logger still plays it; without wait no pause.
    SuonoNelFormato(false);
    comandi.clear();
    const uint32_t prima = ClockTick();
    SuonaEffetto(2, true, false);
    EXPECT_EQ(ClockTick(), prima);
    EXPECT_EQ(comandi.size(), 1u);
    FermaSuono();
    EXPECT_EQ(comandi.back().numero, CmdStopSounds);
}

TEST_F(SoundRequests, TheBackgroundSoundIsNamedInTheViewThenRequested) {
    const std::string wav = cartella / "music.WAV";
    ScriviFileProva(wav, "RIFF");
    ScriviFileProva(cartella / "music.mp3", "x");
    std::memset(vista->SpecialSoundPath, 'z', sizeof vista->SpecialSoundPath);
    SuonoSfondo(wav, true);
    ASSERT_EQ(comandi.size(), 1u);
    EXPECT_EQ(comandi[0].numero, CmdPlaySpecialSound);
    EXPECT_EQ(comandi[0].argomento, 1);
    std::string atteso = wav + '\0';
    atteso.resize(255, ' ');
    EXPECT_EQ(std::string(vista->SpecialSoundPath, 255), atteso);
    EXPECT_EQ(vista->SpecialSoundPath[255], 'z') << "the 256th byte is not written";

    comandi.clear();
    SuonoSfondo(cartella / "music.mp3", false);
    SuonoSfondo(cartella / "missing.wav", false);
    EXPECT_TRUE(comandi.empty());
    EXPECT_TRUE(HaLog("ERROR: file for background sound is not in wave format: " + (cartella / "music.mp3")));
    EXPECT_TRUE(HaLog("ERROR: not found file for background sound: missing.wav"));
    // Without the logger nothing is played.
    DisabilitaLogger();
    SuonoSfondo(wav, false);
    FermaSuono();
    EXPECT_TRUE(comandi.empty());
}

}  // namespace
