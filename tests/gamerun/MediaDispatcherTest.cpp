// The media dispatcher over the performers as they stand: what each trigger
// requires, the order of a list, stand-by and wake, the shown mark, aborts,
// and the shared state handed back by nested lists.
#include <windows.h>

#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/MediaConfig.h"
#include "core/MediaTrigger.h"
#include "runservices/Desktop.h"
#include "gamerun/MediaDispatcher.h"
#include "input/Guardian.h"
#include "media/AlertMedia.h"
#include "media/ProgressiveText.h"
#include "input/SplashRun.h"
#include "media/SwitchMedia.h"
#include "input/GameOperation.h"
#include "input/MediaSequence.h"
#include "tests/gamerun/GameScript.h"
#include "tests/gamerun/RunFixture.h"

namespace {

MediaTrigger Media(int32_t codice, int32_t typeFlags, int32_t options = 0, int32_t triggerCd = 5) {
    MediaTrigger m = giocoprova::Trigger(codice, triggerCd, options, QualsiasiLivello, typeFlags);
    // A text over a picture is held for its time, or until Escape while the
    // game runs: one second, on the manual clock.
    m.Duration = 1;
    return m;
}

class Dispatcher : public ProvaRun {
protected:
    void SetUp() override {
        ProvaRun::SetUp();
        SchermoReale();
        SistemaNT = true;
        FuoriGioco = true;
        TaskBarAutoNascosta = false;
        FlagGuardian = 1;
        EsecutoreSwitch = EseguiSwitchMedia;
        // No game to save: every save a media asks for fails.
        SalvataggioPartita = [] { return false; };
        ListaMedia.clear();
    }
    void TearDown() override {
        EsecutoreSwitch = EseguiSwitchMedia;
        SalvataggioPartita = EseguiSalvataggioPartita;
        // The forms refuse the user, not the program.
        FuoriGioco = true;
        NascondiBackCover();
        ChiudiCover();
        // A performed splash leaves the cover's place at the whole screen.
        RettCover = RettangoloDim{};
        if (ProcessoGioco.hProcess && ProcessoGioco.hProcess != reinterpret_cast<void*>(1))
            CloseHandle(ProcessoGioco.hProcess);
        ListaMedia.clear();
        HeaderMcf = MediaConfigHeader{};
        ModificheAvvio = 0;
        StatoGioco = 0;
        StatoSequenza = 0;
        RequisitiSequenza = 0;
        LivelloAnnidamento = 0;
        FlagGuardian = 1;
        ProvaRun::TearDown();
    }

    static void Lista(std::vector<MediaTrigger> media) {
        ListaMedia = std::move(media);
        HeaderMcf.TriggerCount = static_cast<int32_t>(ListaMedia.size());
    }
    static void Condiviso() { HeaderMcf.HeaderOptions = ParolaOpzioni(OpzioneHeader::SharedMode); }
    // A game that has ended: its handle is signalled.
    static void GiocoFinito() { ProcessoGioco.hProcess = CreateEventA(nullptr, TRUE, TRUE, nullptr); }
    static void GiocoVivo() { ProcessoGioco.hProcess = reinterpret_cast<void*>(1); }

    static int Conta(const std::string& testo) {
        const std::vector<std::string> righe = RigheLog();
        return static_cast<int>(std::count(righe.begin(), righe.end(), testo));
    }
    // The position of the first line with the text, -1 when none.
    static int Posizione(const std::string& testo) {
        const std::vector<std::string> righe = RigheLog();
        const auto p = std::find(righe.begin(), righe.end(), testo);
        return p == righe.end() ? -1 : static_cast<int>(p - righe.begin());
    }
    static bool Esegui(const std::vector<int32_t>& indici, bool& TestError) {
        return EseguiListaMedia(indici, static_cast<int32_t>(indici.size()), TestError);
    }
};

const char* const RigaStandBy = "Perform tomb raider stand by";
const char* const RigaRisveglio = "Wake up for tomb raider process";
const char* const RigaAbort = "WARNING, current media requires 'abort on failure'";

TEST_F(Dispatcher, RequirementWordFollowsKindAndOptions) {
    struct Caso {
        const char* nome;
        int32_t typeFlags;
        int32_t options;
        bool finestra;
        int32_t atteso;
    };
    constexpr int32_t Video = RichiedeStandBy | RichiedeMouseNascosto;
    constexpr int32_t Salva = RichiedeSalvataggio | RichiedeSchermoNascosto | RichiedeBackupSavegame;
    const Caso casi[] = {
        {"alert", BitAlert, 0, false, 0},
        {"keyboard", BitKeyboard, 0, false, 0},
        {"email", BitEmail, 0, false, 0},
        {"sensory", BitSensory, 0, false, 0},
        {"guardian", BitGuardian, 0, false, 0},
        {"command", BitCommand, 0, false, 0},
        {"switch", BitSwitch, 0, false, 0},
        {"action", BitAction, 0, false, 0},
        {"image", FixedText, 0, false, Video},
        {"scroll", ScrollText, 0, false, Video},
        {"sequence", int32_t{ImageSequence} | FixedText, 0, false, Video},
        {"movie", BitMovie, 0, false, Video},
        {"countdown", BitCountDown, 0, false, Video},
        {"comunicator", BitComunicator, 0, false, Video},
        {"text menu", BitTextMenu, 0, false, Video},
        {"graph menu", BitGraphMenu, 0, false, Video},
        {"no kind", 0, 0, false, Video},
        {"splash without flags", BitSplash, 0, false, 0},
        {"exec", BitExec, 0, false, 0},
        // The mouse pointer stays for the program the player uses.
        {"exec waiting", BitExec, WaitProgramEnd, false, RichiedeStandBy},
        // An equipment header without flags: save, load at the end, and in a
        // window the screen hidden.
        {"equipment windowed", BitEquipment, 0, true,
         RichiedeSalvataggio | RichiedeCaricamentoFinale | RichiedeSchermoNascosto},
        {"check windowed", BitCheck, 0, true, RichiedeSalvataggio | RichiedeSchermoNascosto},
        {"abort", BitAction, AbortGameOnFailure, false, RichiedeAbortSuErrore},
        {"save first", BitAction, SaveGameFirst, false, Salva},
        {"capture", FixedText | ScreenCapture, 0, false, Video | RichiedeCattura},
        {"capture refused", FixedText | ScreenCapture, NoScreenCapture, false, Video},
        {"exec waiting saved", BitExec, WaitProgramEnd | SaveGameFirst, false, RichiedeStandBy | Salva},
        {"everything", int32_t{BitEquipment} | ScreenCapture, SaveGameFirst | AbortGameOnFailure, false,
         Salva | RichiedeCaricamentoFinale | RichiedeCattura | RichiedeAbortSuErrore},
    };
    const std::pair<int32_t, const char*> righe[] = {
        {RichiedeStandBy, "Current media requires Stand-by Tomb Raider"},
        {RichiedeSalvataggio, "Current media requires saving the game"},
        {RichiedeMouseNascosto, "current media requires hide mouse pointer"},
        {RichiedeCaricamentoFinale, "Current media requires to load savegame at end"},
        {RichiedeSchermoNascosto, "Current media requires to hide the screen"},
        {RichiedeCattura, "Current media requires screen capture"},
        {RichiedeBackupSavegame, "Current media requires to backup/restore savegames at end"},
        {RichiedeAbortSuErrore, "Current media requires 'abort game on failure"},
    };
    for (const Caso& c : casi) {
        SCOPED_TRACE(c.nome);
        HeaderMcf.HeaderOptions = c.finestra ? ParolaOpzioni(OpzioneHeader::SharedMode) : 0;
        AzzeraLog();
        EXPECT_EQ(RequisitiMedia(Media(1, c.typeFlags, c.options)), c.atteso);
        for (const auto& [bit, testo] : righe) EXPECT_EQ(HaRiga(testo), HaBit(c.atteso, bit)) << testo;
    }
    // Out of a window the screen is hidden only while no screen saver could
    // wake the monitor.
    HeaderMcf.HeaderOptions = 0;
    EXPECT_EQ(RequisitiMedia(Media(1, BitEquipment)),
              RichiedeSalvataggio | RichiedeCaricamentoFinale | (IsScreenSaverAttivo() ? 0 : RichiedeSchermoNascosto));
}

// Two pictures, the second 3 s later, then a command-like media: the game
// sleeps once, before the first, and wakes right after the second.
TEST_F(Dispatcher, StandByOnceWakeAfterTheLastMediaThatNeedsIt) {
    FuoriGioco = false;
    Condiviso();
    MediaTrigger secondo = Media(2, FixedText);
    secondo.DelaySeconds = 3;
    Lista({Media(1, FixedText), secondo, Media(3, BitAction)});
    InitGlobalSequence();
    const uint32_t inizio = ClockTick();
    bool errore = false;
    EXPECT_TRUE(Esegui({0, 1, 2}, errore));
    EXPECT_FALSE(errore);
    EXPECT_GE(ClockTick() - inizio, 3000u);

    EXPECT_TRUE(HaRiga("Wake tomb raider after index media = 1"));
    EXPECT_EQ(Conta(RigaStandBy), 1);
    EXPECT_EQ(Conta("Put in stand-by mode tomb raider process: ok"), 1);
    EXPECT_EQ(Conta(RigaRisveglio), 1);
    const int standBy = Posizione(RigaStandBy);
    const int primo = Posizione("ShowMedia() for media code = 1");
    const int ritardo = Posizione("Wait delay time (3 seconds) before activation");
    const int secondoMostrato = Posizione("ShowMedia() for media code = 2");
    const int risveglio = Posizione(RigaRisveglio);
    const int terzo = Posizione("ShowMedia() for media code = 3");
    EXPECT_LT(standBy, primo);
    EXPECT_LT(primo, ritardo);
    EXPECT_LT(ritardo, secondoMostrato);
    EXPECT_LT(secondoMostrato, risveglio);
    EXPECT_LT(risveglio, terzo);
    EXPECT_TRUE(HaRiga("EndGlobalSequence()"));
    EXPECT_FALSE(HaBit(ModificheAvvio, GiocoInStandBy));
    EXPECT_FALSE(HaBit(StatoSequenza, StandByAttivo));
    EXPECT_EQ(LivelloAnnidamento, 0);
}

TEST_F(Dispatcher, PreviewStandByAndWakeOnlyLog) {
    Condiviso();
    EXPECT_TRUE(SospendiTomb());
    EXPECT_TRUE(HaRiga("Preview mode: no standby operation performed"));
    EXPECT_EQ(ModificheAvvio, 0);
    EXPECT_EQ(StatoSequenza, 0);
    EXPECT_FALSE(DialogBlank().Loaded());
    ImpostaBit(ModificheAvvio, GiocoInStandBy);
    ImpostaBit(StatoGioco, HookSospeso);
    RiattivaTomb();
    EXPECT_TRUE(HaRiga("Preview mode: no wake up operation performd"));
    EXPECT_TRUE(HaBit(ModificheAvvio, GiocoInStandBy));
    EXPECT_TRUE(HaBit(StatoGioco, HookSospeso));
}

TEST_F(Dispatcher, DelayIsWaitedWhileTheGameRunsAndEndsWithIt) {
    MediaTrigger attesa = Media(1, BitAction);
    attesa.DelaySeconds = 30;
    Lista({attesa, Media(2, BitAction)});

    uint32_t inizio = ClockTick();
    bool errore = false;
    EXPECT_TRUE(Esegui({0, 1}, errore));
    EXPECT_GE(ClockTick() - inizio, 30000u);
    EXPECT_TRUE(HaRiga("Wait delay time (30 seconds) before activation"));

    // A game that has gone ends the wait, and nothing more is performed.
    FuoriGioco = false;
    GiocoFinito();
    AzzeraLog();
    inizio = ClockTick();
    EXPECT_FALSE(Esegui({0, 1}, errore));
    EXPECT_LT(ClockTick() - inizio, 1000u);
    EXPECT_TRUE(HaRiga("Tomb raider program is terminated"));
    EXPECT_FALSE(HaRigaCheInizia("ShowMedia()"));
    EXPECT_EQ(LivelloAnnidamento, 0);
}

TEST_F(Dispatcher, StandByWaitSkippedForAGameThatHasGone) {
    FuoriGioco = false;
    GiocoFinito();
    const uint32_t inizio = ClockTick();
    EXPECT_FALSE(SospendiTomb());
    EXPECT_LT(ClockTick() - inizio, 1000u);
    EXPECT_TRUE(HaBit(ModificheAvvio, GiocoInStandBy));
    RiattivaTomb();
    EXPECT_FALSE(HaBit(ModificheAvvio, GiocoInStandBy));
    EXPECT_FALSE(HaBit(StatoSequenza, StandByAttivo));
}

TEST_F(Dispatcher, ShownMarkSparesActionAndWhileCdAndUntriggeredMedia) {
    struct Caso {
        const char* nome;
        int32_t options;
        int32_t triggerCd;
        bool segnato;
    };
    const Caso casi[] = {
        {"cd triggered", 0, 5, true},
        {"requires action", RequiresAction, 5, false},
        {"while cd sounds", WhileCdSounds, 5, false},
        {"no cd", 0, TriggerCdNessuno, false},
        // A failed save fails the preparation: the media is still marked.
        {"failed preparation", SaveGameFirst, 5, true},
        {"failed preparation while cd", SaveGameFirst | WhileCdSounds, 5, false},
    };
    for (const Caso& c : casi) {
        SCOPED_TRACE(c.nome);
        Condiviso();
        Lista({Media(1, BitAction, c.options, c.triggerCd), Media(2, BitAction)});
        AzzeraLog();
        bool errore = false;
        const bool risultato = Esegui({0, 1}, errore);
        const bool preparato = !HaBit(c.options, SaveGameFirst);
        EXPECT_EQ(risultato, preparato);
        EXPECT_EQ(HaBit(ListaMedia[0].Options, AlreadyShown), c.segnato);
        EXPECT_EQ(HaRiga("ShowMedia() for media code = 2"), preparato);
        if (c.segnato) {
            EXPECT_TRUE(HaRiga(preparato
                                   ? "Media code 1 showed: suspend further activations until sound of trigger cd 5 ends"
                                   : "Set media code 1 as 'showed': suspend further activations until sound of "
                                     "trigger cd 5 ends"));
        }
    }
}

TEST_F(Dispatcher, FailedSaveComesAfterTheCaptureAndClosesTheGameWhenAsked) {
    Condiviso();
    Lista({Media(1, FixedText | ScreenCapture, SaveGameFirst | AbortGameOnFailure), Media(2, BitAction)});
    InitGlobalSequence();
    bool errore = false;
    EXPECT_FALSE(Esegui({0, 1}, errore));
    const int cattura = Posizione("Try to capture game screen");
    const int salva = Posizione("Save the game");
    ASSERT_GE(cattura, 0);
    EXPECT_LT(cattura, salva);
    EXPECT_LT(salva, Posizione("ERROR: failed forcing save the game"));
    EXPECT_TRUE(HaRiga("Removing request for loading last savegame"));
    EXPECT_EQ(Conta(RigaAbort), 1);
    EXPECT_TRUE(HaBit(StatoGioco, AbortSuErrore));
    EXPECT_FALSE(HaRigaCheInizia("ShowMedia()"));
    EXPECT_FALSE(HaRiga("Load last savegame"));
    EXPECT_TRUE(HaBit(ListaMedia[0].Options, AlreadyShown));
}

TEST_F(Dispatcher, FailureEndsTheListAndClosesTheGameOnceWhenAsked) {
    struct Caso {
        const char* nome;
        int32_t typeFlags;
        int32_t options;
        bool risultato;  // of the list
        bool abort;
    };
    const Caso casi[] = {
        {"false result", BitExec, 0, false, false},
        {"false result with abort", BitExec, AbortGameOnFailure, false, true},
        // A window media that reports a failure but lets the list go on:
        // the comunicator whose portrait is missing.
        {"error with abort", BitComunicator, AbortGameOnFailure, true, true},
        {"error without abort", BitComunicator, 0, true, false},
        {"success with abort", BitAction, AbortGameOnFailure, true, false},
    };
    for (const Caso& c : casi) {
        SCOPED_TRACE(c.nome);
        StatoGioco = 0;
        GiocoVivo();
        Lista({Media(1, c.typeFlags, c.options), Media(2, BitAction)});
        if (c.typeFlags == BitComunicator)
            ListaMedia[0].Syntax = "<COMUNICATOR>#FLAGS#=0\r\n#TOT_PERSONS#=1\r\n#TOT_SECTIONS#=0\r\n"
                                   "<PERSON1>#IMAGE#=nobody.bmp\r\n<END_PERSON1><END_COMUNICATOR>";
        AzzeraLog();
        bool errore = false;
        const bool risultato = Esegui({0, 1}, errore);
        EXPECT_EQ(Conta(RigaAbort), c.abort ? 1 : 0);
        EXPECT_EQ(HaBit(StatoGioco, AbortSuErrore), c.abort);
        EXPECT_EQ(ProcessoGioco.hProcess == nullptr, c.abort);
        const bool secondo = !c.abort && c.risultato;
        EXPECT_EQ(HaRiga("ShowMedia() for media code = 2"), secondo);
        EXPECT_EQ(HaRiga("Abort media sequence because last exit value = false"), !c.abort && !c.risultato);
        EXPECT_EQ(risultato, c.abort ? c.risultato : secondo);
    }
    // Once per run: a second failure leaves the game alone.
    ImpostaBit(StatoGioco, AbortSuErrore);
    GiocoVivo();
    Lista({Media(1, BitExec, AbortGameOnFailure)});
    AzzeraLog();
    bool errore = false;
    EXPECT_FALSE(Esegui({0}, errore));
    EXPECT_TRUE(errore);
    EXPECT_EQ(Conta(RigaAbort), 0);
    EXPECT_EQ(ProcessoGioco.hProcess, reinterpret_cast<void*>(1));
}

// The game is saved before an equipment media and loaded back after it, so
// that it takes the changed savegame; a list that changed nothing must not
// throw the player back to a load.
TEST_F(Dispatcher, AFailedEquipmentMediaIsNotLoadedBack) {
    const std::string fallisce =
        "<EQUIPMENT>#FLAGS#=0\r\n#MEDIA_TRUE#=-1\r\n#MEDIA_FALSE#=-1\r\n#TOT_RECORDS#=1\r\n<RECORD1>"
        "#COMMAND_TYPE#=14\r\n#PREVIOUS_OPERATOR#=0\r\n#VALUE#=-1\r\n<END_RECORD1><END_EQUIPMENT>";
    const std::string illeggibile = "<EQUIPMENT>#FLAGS#=0\r\n#TOT_RECORDS#=99999\r\n<END_EQUIPMENT>";
    struct Caso {
        const char* nome;
        std::vector<std::string> liste;  // one equipment media each, in order
        bool salva;
        bool carica;
    };
    const Caso casi[] = {
        {"a list that works", {""}, true, true},
        {"a command that fails", {fallisce}, true, false},
        {"a list that cannot be read", {illeggibile}, false, false},
        // What the first changed must still reach the game.
        {"one that works, then one that fails", {"", fallisce}, true, true},
    };
    SalvataggioPartita = [] { return true; };
    for (const Caso& c : casi) {
        SCOPED_TRACE(c.nome);
        std::vector<MediaTrigger> media;
        std::vector<int32_t> indici;
        for (const std::string& lista : c.liste) {
            media.push_back(Media(static_cast<int32_t>(media.size()) + 1, BitEquipment));
            media.back().Syntax = lista;
            indici.push_back(static_cast<int32_t>(indici.size()));
        }
        Lista(media);
        StatoSequenza = 0;
        RequisitiSequenza = 0;
        AzzeraLog();
        InitGlobalSequence();
        bool errore = false;
        Esegui(indici, errore);
        EXPECT_EQ(HaRiga("Save the game"), c.salva);
        EXPECT_EQ(HaRiga("Load last savegame"), c.carica);
    }
}

TEST_F(Dispatcher, UnknownCodeTouchesNoSequence) {
    Lista({Media(1, BitAction)});
    LivelloAnnidamento = 0;
    RequisitiSequenza = RichiedeSalvataggio;
    StatoSequenza = PartitaSalvata;
    const int32_t tab = LivelloTab;
    bool errore = false;
    EXPECT_FALSE(EseguiMediaCode(77, errore));
    EXPECT_TRUE(errore);
    EXPECT_TRUE(HaRiga("Perform media with code = 77"));
    EXPECT_TRUE(HaRiga("ERROR: unknown media code = 77"));
    EXPECT_FALSE(HaRiga("InitGlobalSequence()"));
    EXPECT_EQ(RequisitiSequenza, RichiedeSalvataggio);
    EXPECT_EQ(StatoSequenza, PartitaSalvata);
    EXPECT_EQ(LivelloTab, tab);

    // A known one is a whole sequence of its own.
    AzzeraLog();
    EXPECT_TRUE(EseguiMediaCode(1, errore));
    EXPECT_FALSE(errore);
    EXPECT_TRUE(HaRiga("InitGlobalSequence()"));
    EXPECT_TRUE(HaRiga("EndGlobalSequence()"));
    EXPECT_EQ(LivelloTab, tab);
}

TEST_F(Dispatcher, ListNamingAMissingTriggerIsRefusedWhole) {
    Lista({Media(1, BitAction)});
    RequisitiSequenza = RichiedeSalvataggio;
    bool errore = false;
    EXPECT_FALSE(EseguiListaMedia({0, 9}, 2, errore));
    EXPECT_TRUE(errore);
    EXPECT_TRUE(HaRiga("ERROR: media list refers to missing trigger 9"));
    EXPECT_FALSE(HaRigaCheInizia("ShowMedia()"));
    EXPECT_EQ(RequisitiSequenza, RichiedeSalvataggio);
    EXPECT_EQ(LivelloAnnidamento, 0);
    // A count beyond the list uses what the list holds.
    AzzeraLog();
    EXPECT_TRUE(EseguiListaMedia({0}, 5, errore));
    EXPECT_FALSE(errore);
    EXPECT_EQ(Conta("ShowMedia() for media code = 1"), 1);
}

// A switch that performs itself nests its lists until the bound: the
// innermost list fails with one error line, every level hands back what it
// found, and the run goes on.
TEST_F(Dispatcher, ASwitchPerformingItselfStopsAtTheNestingBound) {
    Lista({Media(1, BitSwitch), Media(2, BitAction)});
    ListaMedia[0].Syntax = "<SWITCH>#FLAGS#=16\r\n#CODES#=1\r\n<END_SWITCH>";
    MediaCorrente = Media(97, 0);
    const int32_t tab = LivelloTab;
    bool errore = false;
    EXPECT_FALSE(EseguiMediaCode(1, errore));
    EXPECT_TRUE(errore);
    EXPECT_EQ(Conta("ERROR: media lists nested deeper than 64: media code 1 cannot perform media code 1"), 1);
    EXPECT_EQ(Conta("Perform Media Switch code = 1"), 64);
    EXPECT_EQ(Conta("EndGlobalSequence()"), 1);
    EXPECT_EQ(LivelloAnnidamento, 0);
    EXPECT_EQ(LivelloTab, tab);
    EXPECT_EQ(MediaCorrente.MediaCode, 97);

    AzzeraLog();
    EXPECT_TRUE(EseguiMediaCode(2, errore));
    EXPECT_FALSE(errore);
    EXPECT_TRUE(HaRiga("Perform Action media: nothing to do"));
}

// The state a switch performer finds after its nested media, and how it
// ends: by its nested media's result, or by a run-time error.
struct StatoVisto {
    TextFormat formato;
    int32_t alert = 0;
    int32_t splash = 0;
    int32_t animazione = 0;
    int32_t operazione = 0;
    int32_t testo = 0;
    int32_t media = 0;
};
StatoVisto visto;
int32_t codiceAnnidato = 0;
bool lanciaErrore = false;

void CambiaStatoCondiviso(int32_t valore) {
    FormatoTestoCorrente.Color = valore;
    FormatoTestoCorrente.BoundRect.Right = valore;
    BloccoAlert.FlagAlert = valore;
    ParametriSplash.Flags = valore;
    StatoAnimazioneSplash.AnimFlags = valore;
    OperazioneGioco.Flags = valore;
    DatiTestoProgressivo.Flags = valore;
}

StatoVisto StatoAttuale() {
    return {FormatoTestoCorrente,        BloccoAlert.FlagAlert,
            ParametriSplash.Flags,       StatoAnimazioneSplash.AnimFlags,
            OperazioneGioco.Flags,       DatiTestoProgressivo.Flags,
            MediaCorrente.MediaCode};
}

bool SwitchDiProva(bool& TestError) {
    CambiaStatoCondiviso(0x55);
    const bool risultato = EseguiMediaCode(codiceAnnidato, TestError);
    visto = StatoAttuale();
    if (lanciaErrore) throw std::runtime_error("performer failed");
    return risultato;
}

TEST_F(Dispatcher, NestedListsHandTheSharedStateBack) {
    Lista({Media(1, BitSwitch), Media(2, BitSplash), Media(3, BitAction), Media(4, BitAction)});
    // An operation no splash knows.
    ListaMedia[1].Syntax = "<SPLASH>\r\n#FLAGS#=0\r\n#MODE#=3\r\n<END_SPLASH>";
    EsecutoreSwitch = SwitchDiProva;
    struct Caso {
        const char* nome;
        int32_t annidato;
        bool risultato;
    };
    // The splash fails; its requirements already rewrote the splash parameters.
    const Caso casi[] = {{"failing nested media", 2, false}, {"nested media", 3, true}};
    for (const Caso& c : casi) {
        SCOPED_TRACE(c.nome);
        codiceAnnidato = c.annidato;
        lanciaErrore = false;
        CambiaStatoCondiviso(0x11);
        MediaCorrente = Media(99, 0);
        AzzeraLog();
        InitGlobalSequence();
        bool errore = false;
        EXPECT_EQ(Esegui({0, 3}, errore), c.risultato);

        // What the switch had set survived its nested list...
        EXPECT_EQ(visto.formato.Color, 0x55);
        EXPECT_EQ(visto.formato.BoundRect.Right, 0x55);
        EXPECT_EQ(visto.alert, 0x55);
        EXPECT_EQ(visto.splash, 0x55);
        EXPECT_EQ(visto.animazione, 0x55);
        EXPECT_EQ(visto.operazione, 0x55);
        EXPECT_EQ(visto.testo, 0x55);
        EXPECT_EQ(visto.media, 1);
        // ...and the outer list gives back what it found.
        const StatoVisto dopo = StatoAttuale();
        EXPECT_EQ(dopo.formato.Color, 0x11);
        EXPECT_EQ(dopo.formato.BoundRect.Right, 0x11);
        EXPECT_EQ(dopo.alert, 0x11);
        EXPECT_EQ(dopo.splash, 0x11);
        EXPECT_EQ(dopo.animazione, 0x11);
        EXPECT_EQ(dopo.operazione, 0x11);
        EXPECT_EQ(dopo.testo, 0x11);
        EXPECT_EQ(dopo.media, 99);
        EXPECT_EQ(LivelloAnnidamento, 0);
        // A nested False ends the outer list too.
        EXPECT_EQ(HaRiga("ShowMedia() for media code = 4"), c.risultato);
        EXPECT_EQ(Conta("EndGlobalSequence()"), 1);
    }
}

TEST_F(Dispatcher, RunTimeErrorInANestedPerformerStillHandsTheStateBack) {
    Lista({Media(1, BitSwitch), Media(3, BitAction)});
    EsecutoreSwitch = SwitchDiProva;
    codiceAnnidato = 3;
    lanciaErrore = true;
    CambiaStatoCondiviso(0x22);
    MediaCorrente = Media(98, 0);
    const int32_t tab = LivelloTab;
    bool errore = false;
    EXPECT_THROW(EseguiMediaCode(1, errore), std::runtime_error);
    const StatoVisto dopo = StatoAttuale();
    EXPECT_EQ(dopo.formato.Color, 0x22);
    EXPECT_EQ(dopo.alert, 0x22);
    EXPECT_EQ(dopo.splash, 0x22);
    EXPECT_EQ(dopo.animazione, 0x22);
    EXPECT_EQ(dopo.operazione, 0x22);
    EXPECT_EQ(dopo.testo, 0x22);
    EXPECT_EQ(dopo.media, 98);
    EXPECT_EQ(LivelloAnnidamento, 0);
    EXPECT_EQ(LivelloTab, tab);
    lanciaErrore = false;
}

TEST_F(Dispatcher, ShowMediaHandsEachKindToItsPerformer) {
    struct Caso {
        const char* nome;
        int32_t typeFlags;
        const char* sintassi;
        int32_t codice;
        bool risultato;
        bool testError;
        const char* riga;  // nullptr: the performer's own
    };
    const Caso casi[] = {
        {"alert", BitAlert, "", 1, true, false, "Exit with value = True for: Time is complete"},
        {"image", FixedText, "", 1, true, false, "Perform Image_Fixed_Text media"},
        {"countdown", BitCountDown, "", 1, true, false, "Perform CountDown media"},
        {"comunicator missing its portrait", BitComunicator,
         "<COMUNICATOR>#FLAGS#=0\r\n#TOT_PERSONS#=1\r\n#TOT_SECTIONS#=0\r\n<PERSON1>#IMAGE#=nobody.bmp\r\n"
         "<END_PERSON1><END_COMUNICATOR>",
         1, true, true, "Perform Comunicator media"},
        {"keyboard", BitKeyboard, "", 2, true, false, "Perform Keyboard: enabled working flag for media code = 2"},
        {"sensory", BitSensory, "", 2, true, false, "Perform Sensory: enabled working flag for media code = 2"},
        {"keyboard not in list", BitKeyboard, "", 50, false, false, "ERROR: unknown media code = 50"},
        {"email", BitEmail, "", 2, true, false,
         "Detected send email trigger: save index to show mail at end of tombraider program"},
        {"email not in list", BitEmail, "", 50, false, false, "ERROR: unknown media code = 50"},
        {"guardian closing", BitGuardian, "<GUARDIAN>#FLAGS#=1\r\n<END_GUARDIAN>", 1, true, false,
         "Close tomb raider program"},
        {"guardian stop save", BitGuardian, "<GUARDIAN>#FLAGS#=10\r\n<END_GUARDIAN>", 1, true, false,
         "Check for stop saving operation"},
        // Nothing to do on a direct call: the sequence breaks as on Escape.
        {"guardian idle", BitGuardian, "<GUARDIAN>#FLAGS#=2\r\n<END_GUARDIAN>", 1, false, false,
         "ERROR: no operation to perform on direct call"},
        // No commands: nothing to change, no savegame needed.
        {"equipment", BitEquipment, "", 1, true, false, "Perform Equipment media (code=1)"},
        {"equipment failing", BitEquipment,
         "<EQUIPMENT>#FLAGS#=0\r\n#MEDIA_TRUE#=-1\r\n#MEDIA_FALSE#=-1\r\n#TOT_RECORDS#=1\r\n<RECORD1>"
         "#COMMAND_TYPE#=14\r\n#PREVIOUS_OPERATOR#=0\r\n#VALUE#=-1\r\n<END_RECORD1><END_EQUIPMENT>",
         1, false, true, "Abort command sequence"},
        {"movie", BitMovie, "", 1, false, true, "ERROR: loading movie: film.avi"},
        {"splash", BitSplash, "", 1, true, false, "Show Splash Screen Media"},
        {"exec", BitExec, "", 1, false, true, "Perform Exec Media"},
        // No commands: nothing to send.
        {"command", BitCommand, "", 1, true, false, "Perform Command Media with code: 1"},
        // No section: every trigger back to its first state.
        {"switch", BitSwitch, "", 1, true, false, "Mode=Initialize all "},
        // An empty list is False, and without a media for False the
        // sequence goes on.
        {"check", BitCheck, "", 1, true, false, "Condition list is False"},
        {"action", BitAction, "", 1, true, false, "Perform Action media: nothing to do"},
        {"no kind", 0, "", 1, false, true, "ERROR: unknown media type -1"},
    };
    for (const Caso& c : casi) {
        SCOPED_TRACE(c.nome);
        GiocoVivo();
        Lista({Media(1, BitAction), Media(2, c.typeFlags)});
        MediaCorrente = Media(c.codice, c.typeFlags);
        MediaCorrente.Syntax = c.sintassi;
        MediaCorrente.MediaFile = "film.avi";
        // A text's hold of one second, on the manual clock.
        MediaCorrente.Duration = 1;
        IndiceEmailFinale = -1;
        AzzeraLog();
        bool breakEscape = true, errore = !c.testError;
        EXPECT_EQ(ShowMedia(breakEscape, errore), c.risultato);
        EXPECT_EQ(errore, c.testError);
        EXPECT_EQ(breakEscape, c.typeFlags == BitGuardian && !c.risultato);
        if (c.riga) {
            EXPECT_TRUE(HaRiga(c.riga)) << c.riga;
        }
        const bool working = c.risultato && (c.typeFlags == BitKeyboard || c.typeFlags == BitSensory);
        EXPECT_EQ(HaBit(ListaMedia[1].Options, Working), working);
        EXPECT_EQ(IndiceEmailFinale, c.risultato && c.typeFlags == BitEmail ? 1 : -1);
    }
}

}  // namespace
