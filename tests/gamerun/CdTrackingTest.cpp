// CD track and level tracking: the loads of the title and of a level, the
// wait for the level's first track with and without the logger, the alert
// start track, the progress test of the main tick and the tester's keys.
#include <windows.h>

#include <string>
#include <vector>

#include "core/MediaConfig.h"
#include "core/PassaggioCondiviso.h"
#include "runservices/GameWindow.h"
#include "tests/gamerun/GameScript.h"

namespace {

using namespace giocoprova;
using enum LoggerFase;
constexpr uint8_t N = NessunValore;

void Tasto(WORD scan, bool giu) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = static_cast<WORD>(MapVirtualKeyA(scan, 1));
    in.ki.wScan = scan;
    in.ki.dwFlags = giu ? 0 : KEYEVENTF_KEYUP;
    SendInput(1, &in, sizeof in);
    Sleep(30);
}
constexpr WORD ScanShift = 0x2A, ScanF8 = 0x42, ScanL = 0x26, ScanG = 0x22;

class Tracciamento : public ProvaGioco {
protected:
    void TearDown() override {
        for (WORD s : {ScanShift, ScanF8, ScanL, ScanG}) Tasto(s, false);
        ProvaGioco::TearDown();
    }
};

TEST_F(Tracciamento, ATitleLoadRearmsTheTriggersAndSetsOnlyTheAlertStartCd) {
    ListaMedia = {Trigger(1, 3, AlreadyShown), Trigger(2, 5, AlreadyShown | Working, QualsiasiLivello, BitAlert),
                  Trigger(3, 5, Working, QualsiasiLivello, BitKeyboard),
                  Trigger(4, TriggerCdNessuno, AlreadyShown | Working, QualsiasiLivello, BitSensory)};
    HeaderMcf.TriggerCount = static_cast<int32_t>(ListaMedia.size());
    ListaCdTrigger = {{3, -1}};
    NumCdTrigger = 1;
    CdTitoli = 3;
    LivelloCorrente = 0;
    SuonaTraccia(3);
    // An alert on screen gives the screen back to the game while it loads.
    ImpostaBit(ModificheAvvio, AlertInCorso);
    DialogCover().Show();
    ASSERT_TRUE(CoverVisibile());
    const uint32_t inizio = ClockTick();

    ControllaStartCd();

    EXPECT_EQ(ClockTick(), inizio);
    EXPECT_FALSE(CoverVisibile());
    EXPECT_EQ(CdAvvioAlert, 3);
    EXPECT_TRUE(HaRiga("Detected title loading: exit immediatly"));
    EXPECT_TRUE(HaRiga("Force as 'start alert cd' the cd = 3"));
    EXPECT_FALSE(HaRigaCheInizia("Detected Start CD"));
    EXPECT_FALSE(HaRigaCheInizia("Check for start"));
    // The title track's trigger stays armed; only alert and sensory media lose Working.
    EXPECT_EQ(OpzioniDi(1), 0);
    EXPECT_EQ(OpzioniDi(2), 0);
    EXPECT_EQ(OpzioniDi(3), Working);
    EXPECT_EQ(OpzioniDi(4), 0);
    EXPECT_TRUE(HaRiga("Remove 'Already_Showed' flag from media code = 4"));
    EXPECT_TRUE(HaRiga("Removing Working flag for media code = 2"));
}

TEST_F(Tracciamento, ALevelStartingWithItsTrackMarksOnlyTheOrdinaryTriggersOfThatTrack) {
    ListaMedia = {Trigger(1, 12),
                  Trigger(2, 12, RequiresAction),
                  Trigger(3, 12, WhileCdSounds),
                  Trigger(4, 7),
                  Trigger(5, 12, 0, 2),
                  Trigger(6, 7, WhileCdSounds),
                  Trigger(7, TriggerCdNessuno, WhileCdSounds)};
    HeaderMcf.TriggerCount = static_cast<int32_t>(ListaMedia.size());
    ListaCdTrigger = {{7, -1}, {12, 1}, {9, 2}, {12, -1}};
    NumCdTrigger = 4;
    LivelloCorrente = 1;
    ASSERT_TRUE(ScriviFileProva(NomeWavTraccia(7), "RIFF"));
    SuonaTraccia(12);
    const uint32_t inizio = ClockTick();

    ControllaStartCd();

    EXPECT_EQ(ClockTick(), inizio);
    EXPECT_TRUE(HaRiga("Check for start of audio cd of new loaded level"));
    EXPECT_TRUE(HaRiga("CD = 7 for level: -1"));
    EXPECT_TRUE(HaRiga("CD = 12 for level: 1"));
    EXPECT_FALSE(HaRigaCheInizia("CD = 9 "));
    EXPECT_EQ(ContaRighe("CD = 12 for level: -1"), 0);
    EXPECT_TRUE(HaRiga("Detected Start CD = 12"));
    EXPECT_EQ(CdAvvioAlert, 12);
    EXPECT_TRUE(HaRiga("Force as 'start alert cd' the cd = 12"));
    // The tick then does not fire them when it sees track 12 start; the
    // others stay selectable.
    EXPECT_EQ(OpzioniDi(1), AlreadyShown);
    EXPECT_EQ(OpzioniDi(5), AlreadyShown);
    EXPECT_EQ(OpzioniDi(2), RequiresAction);
    EXPECT_EQ(OpzioniDi(3), WhileCdSounds);
    EXPECT_EQ(OpzioniDi(4), 0);
    EXPECT_TRUE(HaRiga("Set media code 1 as 'Already Showed'"));
    // Every CD-triggered "while cd sounds" record is looked at; none has a
    // stored elapsed time, so none is suspended.
    EXPECT_TRUE(HaRiga("Check for 'supended' status for media code = 3"));
    EXPECT_TRUE(HaRiga("Check for 'supended' status for media code = 6"));
    EXPECT_FALSE(HaRiga("Check for 'supended' status for media code = 7"));
    EXPECT_FALSE(HaRigaCheInizia("Current trigger cd was in progress"));
    EXPECT_EQ(OpzioniDi(6), WhileCdSounds);
}

TEST_F(Tracciamento, WithoutTheLoggerTheLevelsTrackIsAwaitedFor500Ms) {
    struct Caso {
        const char* nome;
        std::vector<Occupato> copione;
        int32_t cd;
        uint32_t ms;
    };
    const Caso casi[] = {
        {"no track", {}, -1, 500},
        {"playing at once", {{FileTracciaCd, 7}}, 7, 0},
        {"starts during the wait", {{FileTracciaCd, 8, 250}}, 8, 300},
        {"starts at the last look", {{FileTracciaCd, 7, 500}}, 7, 500},
        {"starts too late", {{FileTracciaCd, 7, 501}}, -1, 500},
        {"a track of another level", {{FileTracciaCd, 9}}, -1, 500},
        {"the game ends", {{FineDelGioco, 0, 200}}, -2, 300},
    };
    ListaCdTrigger = {{7, -1}, {8, 1}, {9, 2}};
    NumCdTrigger = 3;
    for (const Caso& c : casi) {
        SCOPED_TRACE(c.nome);
        ResetEvent(gioco);
        AzzeraLog();
        LivelloCorrente = 1;
        Segui(c.copione);
        const uint32_t inizio = ClockTick();
        ControllaStartCd();
        EXPECT_EQ(ClockTick() - inizio, c.ms);
        if (c.cd == -2) {
            EXPECT_FALSE(HaRigaCheInizia("Detected Start CD"));
        } else {
            EXPECT_TRUE(HaRiga("Detected Start CD = " + std::to_string(c.cd)));
        }
        EXPECT_EQ(LivelloCorrente, 1);
    }
}

TEST_F(Tracciamento, ANewLoadWhileWaitingForTheTrackStartsOver) {
    ListaMedia = {Trigger(1, 7), Trigger(2, 8), Trigger(3, TriggerCdNessuno)};
    HeaderMcf.TriggerCount = static_cast<int32_t>(ListaMedia.size());
    ListaCdTrigger = {{7, 1}, {8, 2}};
    NumCdTrigger = 2;
    LivelloCorrente = 1;
    // Level 1 ends loading without its track; level 2 loads meanwhile and starts track 8.
    Segui({{FileLivello, 1, 0, 100}, {FileLivello, 2, 300, 400}, {FileTracciaCd, 8, 450}});
    const uint32_t inizio = ClockTick();

    ControllaStartCd();

    EXPECT_EQ(ClockTick() - inizio, 500u);
    EXPECT_TRUE(HaRiga("WARNING: detected new loading phase while waiting for start cd of previous loading"));
    EXPECT_EQ(ContaRighe("Remove flags 'Already played' from all media triggers"), 2);
    EXPECT_EQ(LivelloCorrente, 2);
    EXPECT_TRUE(HaRiga("CD = 8 for level: 2"));
    EXPECT_TRUE(HaRiga("Detected Start CD = 8"));
    EXPECT_FALSE(HaRigaCheInizia("Detected Start CD = -1"));
    EXPECT_EQ(OpzioniDi(1), 0);
    EXPECT_EQ(OpzioniDi(2), AlreadyShown);
}

TEST_F(Tracciamento, AGameThatHasEndedIsNotWaitedFor) {
    ListaCdTrigger = {{7, -1}};
    NumCdTrigger = 1;
    LivelloCorrente = 1;
    FineGioco();
    const uint32_t inizio = ClockTick();
    ControllaStartCd();
    EXPECT_EQ(ClockTick(), inizio);
    EXPECT_FALSE(HaRigaCheInizia("Detected Start CD"));
}

TEST_F(Tracciamento, WithTheLoggerItsFirstTrackIsTakenAndAwaitedAtMost2000Ms) {
    ConLogger();
    ListaMedia = {Trigger(1, 7), Trigger(2, 8)};
    HeaderMcf.TriggerCount = static_cast<int32_t>(ListaMedia.size());
    ListaCdTrigger = {{8, -1}};
    NumCdTrigger = 1;
    // The track files would tell otherwise: the logger alone counts.
    SuonaTraccia(8);
    Registra({Record(LoadingLevel, N, N, PreLoading), Record(LoadingLevel, N, 2, LoadingLevelIdentified),
              Record({}, N, 2, EndLoading), Record({}, 7, 2, StartCDSound)});
    uint32_t inizio = ClockTick();
    ControllaStartCd();
    EXPECT_EQ(ClockTick(), inizio);
    EXPECT_EQ(LivelloCorrente, 2);
    EXPECT_TRUE(HaRiga("Detected Start CD = 7"));
    EXPECT_EQ(CdAvvioAlert, 7);
    EXPECT_EQ(OpzioniDi(1), AlreadyShown);
    EXPECT_EQ(OpzioniDi(2), 0);
    EXPECT_FALSE(HaRigaCheInizia("Check for start sound of cdtracks"));

    // A level whose track the logger never names holds the tick 2000 ms at most.
    AzzeraLog();
    Registra({Record(LoadingLevel, N, N, PreLoading), Record(LoadingLevel, N, 1, LoadingLevelIdentified),
              Record({}, N, 1, EndLoading)});
    inizio = ClockTick();
    ControllaStartCd();
    EXPECT_EQ(ClockTick() - inizio, 2000u);
    EXPECT_TRUE(HaRiga("WARNING: time-out waiting for start cd of loaded level from logger"));
    EXPECT_EQ(LivelloCorrente, 1);
    EXPECT_TRUE(HaRiga("Detected Start CD = -1"));
    EXPECT_EQ(OpzioniDi(1), 0);
    EXPECT_EQ(OpzioniDi(2), 0);
}

// A logger that reports a load but never names its level.
TEST_F(Tracciamento, ALevelTheLoggerNeverNamesIsAwaitedAtMost2000Ms) {
    ConLogger();
    ListaMedia = {Trigger(1, 7)};
    HeaderMcf.TriggerCount = 1;
    LivelloCorrente = 1;
    Registra({Record(LoadingLevel, N, N, PreLoading)});
    const uint32_t inizio = ClockTick();
    ControllaStartCd();
    EXPECT_TRUE(HaRiga("Wait to discover what level is loading"));
    EXPECT_TRUE(HaRiga("WARNING: not found what level is loading after preloading phase"));
    EXPECT_FALSE(HaRigaCheInizia("Wait for end loading of level: "));
    // Then the level's track, which the logger does not name either.
    EXPECT_EQ(ClockTick() - inizio, 4000u);
    EXPECT_TRUE(HaRiga("Detected Start CD = -1"));
}

// Every record of the table is loaded but the spare one behind them, which
// holds what a walk past the loaded ones would change.
TEST_F(Tracciamento, TheSpareRecordIsLeftAlone) {
    ListaMedia = {Trigger(1, 7, AlreadyShown), Trigger(2, 7, WhileCdSounds),
                  Trigger(3, 7, Working, QualsiasiLivello, BitAlert)};
    HeaderMcf.TriggerCount = 2;
    ListaCdTrigger = {{7, -1}};
    NumCdTrigger = 1;
    LivelloCorrente = 1;
    SuonaTraccia(7);
    ControllaStartCd();
    EXPECT_TRUE(HaRiga("Detected Start CD = 7"));
    EXPECT_TRUE(HaRiga("Check for 'supended' status for media code = 2"));
    EXPECT_EQ(OpzioniDi(1), AlreadyShown);
    EXPECT_EQ(OpzioniDi(3), Working);
    RimuoviFlagWorking();
    EXPECT_EQ(OpzioniDi(1), 0);
    EXPECT_EQ(OpzioniDi(3), Working);
    for (const std::string& r : RigheLog()) {
        EXPECT_EQ(r.find("code 3 "), std::string::npos) << r;
        EXPECT_EQ(r.find("code = 3"), std::string::npos) << r;
    }
}

TEST_F(Tracciamento, TheLoadingLevelComesFromTheLoggerOrFromTheLevelFiles) {
    LivelloCorrente = 1;
    EXPECT_FALSE(IsLoadingMode());
    CaricaLivello(2);
    EXPECT_TRUE(IsLoadingMode());
    EXPECT_EQ(LivelloCorrente, 2);

    ConLogger();
    LivelloCorrente = 1;
    // In use, the logger decides: the level file held on disk does not count.
    Registra({Record({}, N, N, EventoNullo)});
    EXPECT_FALSE(IsLoadingMode());
    Registra({Record(LoadingLevel, N, N, PreLoading)});
    EXPECT_TRUE(IsLoadingMode());
    EXPECT_EQ(LivelloCorrente, 1);
    Registra({Record(LoadingLevel, N, 0, LoadingLevelIdentified)});
    EXPECT_TRUE(IsLoadingMode());
    EXPECT_EQ(LivelloCorrente, 0);
}

TEST_F(Tracciamento, TheProgressTestReportsWhatHappensToTheGame) {
    constexpr int32_t Liv = FileLivello, Cd = FileTracciaCd;
    struct Caso {
        const char* nome;
        std::vector<Occupato> copione;
        int32_t cd;
        bool ignoraTitoli;
        int32_t opzioni;
        int32_t codice;
        bool interrompe;
        bool riarma;  // the shown marks are cleared
    };
    const int32_t noLoad = ParolaOpzioni(OpzioneHeader::NoLoadingCheck);
    const int32_t noTitoli = ParolaOpzioni(OpzioneHeader::IgnoreStartCd);
    const Caso casi[] = {
        {"nothing happens", {}, -1, false, 0, 0, false, false},
        {"the game has ended", {{FineDelGioco, 0}}, -1, false, 0, 4, true, true},
        {"the title track plays", {{Cd, 3}}, -1, false, 0, 2, true, true},
        {"the caller ignores the title", {{Cd, 3}}, -1, true, 0, 0, false, false},
        {"the level ignores the title track", {{Cd, 3}}, -1, false, noTitoli, 0, false, false},
        {"the watched track ended", {}, 7, false, 0, 3, true, false},
        {"the watched track plays", {{Cd, 7}}, 7, false, 0, 0, false, false},
        {"a level loads", {{Liv, 2, 0, 100}}, -1, false, 0, 1, true, true},
        {"the watched track ended as a level loads", {{Liv, 2, 0, 100}}, 7, false, 0, 1, true, true},
        {"a level loads, not checked", {{Liv, 2, 0, 100}}, -1, false, noLoad, 0, false, false},
    };
    CdTitoli = 3;
    for (const Caso& c : casi) {
        SCOPED_TRACE(c.nome);
        ResetEvent(gioco);
        AzzeraLog();
        ListaMedia = {Trigger(1, 5, AlreadyShown)};
        HeaderMcf.TriggerCount = static_cast<int32_t>(ListaMedia.size());
        // The inventory watch has its own tests.
        HeaderMcf.HeaderOptions = c.opzioni | ParolaOpzioni(OpzioneHeader::NoInventoryWatch);
        LivelloCorrente = 1;
        ImpostaBit(ModificheAvvio, TempoInventarioInCorso);
        Segui(c.copione);
        bool interrompi = !c.interrompe;
        EXPECT_EQ(AnalisiGameProgress(interrompi, c.cd, c.ignoraTitoli), c.codice);
        EXPECT_EQ(interrompi, c.interrompe);
        EXPECT_EQ(OpzioniDi(1), c.riarma ? 0 : AlreadyShown);
        EXPECT_FALSE(HaBit(ModificheAvvio, TempoInventarioInCorso));
        EXPECT_EQ(LivelloCorrente, c.codice == 2 ? 0 : c.codice == 1 ? 2 : 1);
        EXPECT_EQ(HaRiga("Cd sound 7 terminated: abort current media"), c.codice == 3);
        EXPECT_EQ(HaRiga("Remove flags 'Already played' from all media triggers"), c.codice == 1);
    }
}

TEST_F(Tracciamento, ShiftF8MarksEveryPassWhileHeld) {
    HeaderMcf.HeaderOptions = ParolaOpzioni(OpzioneHeader::NoInventoryWatch);
    bool interrompi = false;
    Tasto(ScanShift, true);
    Tasto(ScanF8, true);
    AnalisiGameProgress(interrompi, -1, false);
    AnalisiGameProgress(interrompi, -1, false);
    EXPECT_EQ(ContaRighe("WARNING: tester signals a BUG in this moment"), 2);
    ASSERT_EQ(Toni.size(), 20u);
    for (size_t i = 0; i < 10; ++i) EXPECT_EQ(Toni[i], std::make_pair(static_cast<int32_t>(50 * (i + 1)), 20));

    // With the logger's sounds the logger plays effect 2 instead.
    Toni.clear();
    ConLogger();
    ImpostaBit(ModificheAvvio, FlagSuoniLogger);
    AnalisiGameProgress(interrompi, -1, false);
    EXPECT_TRUE(Toni.empty());
    ASSERT_EQ(ComandiLogger.size(), 1u);
    EXPECT_EQ(ComandiLogger[0].Numero, CmdPlayEffect);
    EXPECT_EQ(ComandiLogger[0].Argomento, 2);

    Tasto(ScanF8, false);
    AnalisiGameProgress(interrompi, -1, false);
    EXPECT_EQ(ContaRighe("WARNING: tester signals a BUG in this moment"), 3);
}

// The looks that asked the game: each asks whether the title track plays.
int Domande = 0;
int32_t RispostaContata(int32_t numero, int32_t tipo) {
    if (tipo == FileTracciaCd && numero == CdTitoli) ++Domande;
    return RispostaCopione(numero, tipo);
}

TEST_F(Tracciamento, OnePassOfTheTickSharesALookUntilAPauseOrAMedia) {
    constexpr int32_t Cd = FileTracciaCd;
    HeaderMcf.HeaderOptions = ParolaOpzioni(OpzioneHeader::NoInventoryWatch);
    CdTitoli = 3;
    LivelloCorrente = 1;
    // Track 7 plays; the title's starts 50 ms on.
    Segui({{Cd, 7}, {Cd, 3, 50}});
    RispostaLoggerFileOccupato = RispostaContata;
    Domande = 0;
    bool interrompi = false;
    auto guarda = [&](int32_t cd) { return AnalisiGameProgress(interrompi, cd, false); };

    // Outside a pass every look asks.
    EXPECT_EQ(guarda(-1), 0);
    EXPECT_EQ(guarda(-1), 0);
    EXPECT_EQ(Domande, 2);
    {
        PassaggioCondiviso passaggio;
        Domande = 0;
        EXPECT_EQ(guarda(-1), 0);
        EXPECT_EQ(guarda(-1), 0);
        EXPECT_EQ(Domande, 1);
        // Another track is a look of its own.
        EXPECT_EQ(guarda(7), 0);
        EXPECT_EQ(guarda(7), 0);
        EXPECT_EQ(Domande, 2);
        // A media performed by the tick looks for itself.
        LivelloAnnidamento = 1;
        EXPECT_EQ(guarda(-1), 0);
        LivelloAnnidamento = 0;
        EXPECT_EQ(Domande, 3);
        // And once it has run, the pass looks anew.
        DimenticaCondivisi();
        EXPECT_EQ(guarda(-1), 0);
        EXPECT_EQ(Domande, 4);
        // After the pause between two sensory checks the title plays: seen.
        ClockSleep(300);
        EXPECT_EQ(guarda(7), 2);
        EXPECT_TRUE(interrompi);
        EXPECT_EQ(Domande, 5);
        // An answer that stops is never shared.
        EXPECT_EQ(guarda(7), 2);
        EXPECT_EQ(Domande, 6);
    }
    EXPECT_EQ(ContaRighe("WARNING: tester signals a BUG in this moment"), 0);
}

TEST_F(Tracciamento, NewGameEventsEndASharedLook) {
    HeaderMcf.HeaderOptions = ParolaOpzioni(OpzioneHeader::NoInventoryWatch);
    CdTitoli = 3;
    LivelloCorrente = 1;
    ConLogger();
    Registra({Record({}, N, 1, EventoNullo)});
    PassaggioCondiviso passaggio;
    bool interrompi = false;
    EXPECT_EQ(AnalisiGameProgress(interrompi, -1, false), 0);
    Registra({Record({}, 3, 0, EventoNullo)});
    EXPECT_EQ(AnalisiGameProgress(interrompi, -1, false), 0) << "shared";
    // The tick reads the logger again: the title track it tells is seen.
    LeggiLogger();
    EXPECT_EQ(AnalisiGameProgress(interrompi, -1, false), 2);
    EXPECT_TRUE(interrompi);
}

TEST_F(Tracciamento, ASharedLookStillMarksShiftF8) {
    HeaderMcf.HeaderOptions = ParolaOpzioni(OpzioneHeader::NoInventoryWatch);
    bool interrompi = false;
    Tasto(ScanShift, true);
    Tasto(ScanF8, true);
    PassaggioCondiviso passaggio;
    for (int i = 0; i < 3; ++i) EXPECT_EQ(AnalisiGameProgress(interrompi, -1, false), 0);
    EXPECT_EQ(ContaRighe("WARNING: tester signals a BUG in this moment"), 3);
    EXPECT_EQ(Toni.size(), 30u);
}

TEST_F(Tracciamento, LAndGSwitchTheLogOnOnlyWhenItIsOff) {
    StampaLog("first loading line");
    StampaLog("second loading line");
    BufferLogCaricamento = BufferLog;
    AzzeraLog();

    // The log on: nothing happens.
    Tasto(ScanL, true);
    Tasto(ScanG, true);
    AbilitaLogDaTastiera();
    EXPECT_TRUE(RigheLog().empty());
    EXPECT_TRUE(Toni.empty());

    // One key alone: nothing.
    LogAbilitato = false;
    Tasto(ScanG, false);
    AbilitaLogDaTastiera();
    EXPECT_FALSE(LogAbilitato);

    Tasto(ScanG, true);
    AbilitaLogDaTastiera();
    EXPECT_TRUE(LogAbilitato);
    EXPECT_TRUE(HaRiga("Detected L + G keys: enable log file"));
    EXPECT_TRUE(HaRiga("Previous initialize log:"));
    const size_t prima = BufferLog.find("Previous initialize log:");
    const size_t primaRiga = BufferLog.find("first loading line");
    EXPECT_LT(prima, primaRiga);
    EXPECT_LT(primaRiga, BufferLog.find("second loading line"));
    // The saved text goes one level deeper than the line before it.
    const std::string salvata = BufferLogCaricamento.substr(0, BufferLogCaricamento.find("\r\n"));
    EXPECT_NE(BufferLog.find("\t" + salvata), std::string::npos);
    EXPECT_FALSE(HaRigaCheInizia("Enable extended log"));
    ASSERT_EQ(Toni.size(), 1u);
    EXPECT_EQ(Toni[0].first, 200);

    // With the logger its extended log is asked for too.
    ConLogger();
    LogAbilitato = false;
    AzzeraLog();
    AbilitaLogDaTastiera();
    EXPECT_TRUE(HaRiga("Enable extended log also for Scrivane"));
    ASSERT_EQ(ComandiLogger.size(), 1u);
    EXPECT_EQ(ComandiLogger[0].Numero, CmdExtendedLog);
    EXPECT_EQ(ComandiLogger[0].Argomento, 0);
}

TEST_F(Tracciamento, TheAlertStartTrackIsGivenOrLookedForUpTo1000Ms) {
    struct Caso {
        const char* nome;
        int32_t cd;
        std::vector<Occupato> copione;
        int32_t atteso;
        uint32_t ms;
        const char* riga;
    };
    const Caso casi[] = {
        {"given", 9, {}, 9, 0, "Force as 'start alert cd' the cd = 9"},
        {"found at once", -1, {{FileTracciaCd, 6}}, 6, 0, "Found start of cd 6 for alert media"},
        {"found later", -1, {{FileTracciaCd, 6, 250}}, 6, 300, "Found start of cd 6 for alert media"},
        {"another level's track", -1, {{FileTracciaCd, 4}}, -1, 1000, "No cd tracks for alert medias found"},
        {"a level loads", -1, {{FileLivello, 2, 200}}, -1, 200,
         "Warning: new loading phase while I'm waiting for start alert cd: exit immediatly"},
        {"the game ends", -1, {{FineDelGioco, 0, 200}}, -1, 300, nullptr},
    };
    for (const Caso& c : casi) {
        SCOPED_TRACE(c.nome);
        ResetEvent(gioco);
        AzzeraLog();
        ListaCdAlert = {{4, 2}, {6, -1}};
        NumCdAlert = 2;
        LivelloCorrente = 1;
        CdAvvioAlert = 5;
        Segui(c.copione);
        const uint32_t inizio = ClockTick();
        AvviaCdAlert(c.cd);
        EXPECT_EQ(ClockTick() - inizio, c.ms);
        EXPECT_EQ(CdAvvioAlert, c.atteso);
        if (c.riga) {
            EXPECT_TRUE(HaRiga(c.riga));
        }
        EXPECT_EQ(HaRiga("Verify for start of CD tracks used by alert medias"), c.cd == -1);
    }
}

TEST_F(Tracciamento, NoAlertTrackIsLookedForWhileTheCoverShowsOrWhenThereIsNone) {
    CdAvvioAlert = 5;
    DialogCover().Show();
    AvviaCdAlert(-1);
    EXPECT_TRUE(HaRiga("Ignore because we are working with splash screen visible"));
    EXPECT_EQ(CdAvvioAlert, 5);

    DialogCover().Hide();
    const uint32_t inizio = ClockTick();
    AvviaCdAlert(-1);
    EXPECT_EQ(ClockTick(), inizio);
    EXPECT_EQ(CdAvvioAlert, -1);
    EXPECT_TRUE(HaRiga("No cd tracks for alert medias found"));
}

}  // namespace
