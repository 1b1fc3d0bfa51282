// The guardian media: its section, the cheat watch set from the guardian
// triggers, the stop save and the frozen savegames put back on disk.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "core/MediaTrigger.h"
#include "core/ModuleInit.h"
#include "core/SharedState.h"
#include "input/Guardian.h"
#include "runservices/CheatCapture.h"
#include "runservices/KeyboardHook.h"
#include "runservices/RunHooks.h"
#include "savegames/SavegameBackup.h"
#include "savegames/EquipmentMedia.h"
#include "savegames/SavegameCache.h"
#include "tests/gamerun/GameScript.h"
#include "tests/savegames/SavegameBytes.h"

namespace {

std::vector<int32_t> Eseguiti;

bool RegistraMedia(int32_t codice, bool&) {
    Eseguiti.push_back(codice);
    return true;
}

constexpr int32_t TuttiGuardia = GuardiaDozy | GuardiaGuns | GuardiaHelp | GuardiaWeapons | ControlloTrucchiSavegame;

class ProvaGuardian : public ProvaGioco {
protected:
    void SetUp() override {
        ProvaGioco::SetUp();
        StatoGuardianIniziale();
        // The beeps' lengths follow the family; earlier tests leave NT set.
        SistemaNT = false;
        FuoriGioco = false;
        LivelloCorrente = 1;
        Eseguiti.clear();
        eseguiOriginale = Ganci.EseguiMediaCode;
        Ganci.EseguiMediaCode = RegistraMedia;
    }
    void TearDown() override {
        RimuoviHookTastiera();
        Ganci.EseguiMediaCode = eseguiOriginale;
        StatoGuardianIniziale();
        LivelloCorrente = 0;
        FuoriGioco = true;
        ProvaGioco::TearDown();
    }
    // The guardian's state as a run starts it.
    static void StatoGuardianIniziale() {
        StatoGioco = 0;
        ModificheAvvio = 0;
        RequisitiSequenza = 0;
        MediaStopSave = CodiceStopSave = -1;
        CodiceDozy = CodiceGuns = CodiceHelp = CodiceWeapons = -1;
        FlagGuardian = 1;
        CodiceGuardian = -1;
        SavegameCacheBloccata = SavegameCache{};
        CacheAggiornata = false;
    }

    static MediaTrigger Guardian(int32_t codice, const std::string& sezione, int32_t livello = QualsiasiLivello,
                                 int32_t cd = TriggerCdNessuno, int32_t opzioni = 0) {
        MediaTrigger m = giocoprova::Trigger(codice, cd, opzioni, livello, BitGuardian);
        m.Syntax = "<GUARDIAN>\r\n" + sezione + "<END_GUARDIAN>\r\n";
        return m;
    }
    static void Lista(std::vector<MediaTrigger> media) {
        ListaMedia = std::move(media);
        HeaderMcf.TriggerCount = static_cast<int32_t>(ListaMedia.size());
    }
    static std::string Flag(int32_t flag, int32_t codice) {
        return "#FLAGS#=" + std::to_string(flag) + "\r\n#CODE#=" + std::to_string(codice) + "\r\n";
    }

public:
    std::string Slot(int n) const { return store / ("savegame." + std::to_string(n)); }
    static std::string Gioco(int n, int32_t numero) {
        return mano::SavegameGioco("Slot " + std::to_string(n), numero, 1, 100 + n);
    }
    void Metti(int n, int32_t numero) { ASSERT_TRUE(ScriviFileProva(Slot(n), Gioco(n, numero))); }
    std::string Leggi(int n) const { return EsisteFileProva(Slot(n)) ? LeggiFileProva(Slot(n)) : std::string(); }

protected:

    // Slots 0 and 1 frozen by a stop-save trigger with notify code <codice>.
    void Congela(int32_t codice = 7) {
        Metti(0, 10);
        Metti(1, 11);
        Lista({Guardian(4, Flag(GuardianEreditaSalvataggio, codice))});
        // The freeze rereads a cache older than a second.
        ClockAdvance(1000);
        ControllaStopSalvataggio();
        ASSERT_TRUE(HaBit(StatoGioco, StopSave));
        ASSERT_GE(SavegameCacheBloccata.Count, 2);
        CacheAggiornata = false;
        AzzeraLog();
    }
    // The cache reread, as the inventory watch does before each check.
    static void Rileggi() {
        AggiornaCacheRichiesto = true;
        AggiornaCacheSavegame(0);
    }

    bool (*eseguiOriginale)(int32_t, bool&) = nullptr;
};

TEST_F(ProvaGuardian, SectionReadsTwoRequiredNumbers) {
    struct Caso {
        const char* nome;
        const char* sezione;
        bool esito;
        int32_t flag, codice;
        const char* errore;  // nullptr: no error line
    };
    const Caso casi[] = {
        {"empty: the defaults", "", true, 1, -1, nullptr},
        {"both", "#FLAGS#=18\r\n#CODE#=7\r\n", true, 18, 7, nullptr},
        {"hexadecimal, any order", "#CODE#=3\r\n#FLAGS#=&H12\r\n", true, 18, 3, nullptr},
        {"flags missing", "#CODE#=7\r\n", false, 1, -1, "ERROR in Guardian media code = 12 missing #FLAGS#= field"},
        {"code missing", "#FLAGS#=18\r\n", false, 18, -1, "ERROR in Guardian media code = 12 missing #CODE#= field"},
        {"flags not a number", "#FLAGS#=two\r\n#CODE#=7\r\n", false, 1, -1,
         "ERROR in Guardian media code = 12 missing #FLAGS#= field"},
        {"code empty", "#FLAGS#=2\r\n#CODE#=~\r\n", false, 2, -1,
         "ERROR in Guardian media code = 12 missing #CODE#= field"},
    };
    MediaCorrente = MediaTrigger{};
    MediaCorrente.MediaCode = 12;
    for (const Caso& c : casi) {
        SCOPED_TRACE(c.nome);
        AzzeraLog();
        FlagGuardian = 99;
        CodiceGuardian = 99;
        EXPECT_EQ(LeggiCodiceGuardian(c.sezione), c.esito);
        EXPECT_EQ(FlagGuardian, c.flag);
        EXPECT_EQ(CodiceGuardian, c.codice);
        if (c.errore) {
            EXPECT_TRUE(HaRiga(c.errore));
        } else {
            EXPECT_EQ(NumErroriLog, 0);
        }
        NumErroriLog = 0;
    }
    // A walk over the triggers names the trigger read, not the current media.
    AzzeraLog();
    EXPECT_FALSE(LeggiCodiceGuardian("#FLAGS#=2\r\n", 40));
    EXPECT_TRUE(HaRiga("ERROR in Guardian media code = 40 missing #CODE#= field"));
    NumErroriLog = 0;
}

TEST_F(ProvaGuardian, CheatWatchFollowsTheTriggersOfTheLevel) {
    struct Caso {
        const char* nome;
        std::vector<MediaTrigger> lista;
        int32_t prima;  // StatoGioco before
        int32_t dopo;   // its watch bits after
        std::vector<int32_t> codici;  // Dozy, Guns, Help, Weapons
        std::vector<std::string> righe;
        std::vector<std::string> assenti;
    };
    const int32_t tutto = GuardianEreditaTrucchi | GuardianTruccoVolo | GuardianTruccoMedikit |
                          GuardianTruccoLivello | GuardianTruccoArmi | GuardianControllaSavegame;
    const Caso casi[] = {
        {"fly", {Guardian(5, Flag(0x14, 9))}, 0, GuardiaDozy, {9, -1, -1, -1}, {"Inherit Fly cheat mode"}, {}},
        {"every word and the savegames",
         {Guardian(5, Flag(tutto, 3))},
         0,
         TuttiGuardia,
         {3, 3, 3, 3},
         {"Enable parsing savegames for cheats", "Inherit Fly cheat mode", "Inherit unlimited medipacks cheat mode",
          "Inherit Skip Level cheat mode", "Inherit WEAPONS cheat mode"},
         {}},
        {"the later trigger's code",
         {Guardian(5, Flag(0x30, 3)), Guardian(6, Flag(0x30, 4))},
         0,
         GuardiaGuns,
         {-1, 4, -1, -1},
         {"Inherit unlimited medipacks cheat mode"},
         {}},
        {"words without 0x10", {Guardian(5, Flag(tutto & ~GuardianEreditaTrucchi, 3))}, 0, 0, {-1, -1, -1, -1}, {}, {}},
        {"another level, a disabled one",
         {Guardian(5, Flag(0x30, 3), 2), Guardian(6, Flag(0x50, 4), QualsiasiLivello, TriggerCdNessuno, Disabled),
          Guardian(7, Flag(0x90, 8), 1)},
         0,
         GuardiaWeapons,
         {-1, -1, -1, 8},
         {"Inherit WEAPONS cheat mode"},
         {}},
        {"already watched: no line", {Guardian(5, Flag(0x30, 3))}, GuardiaGuns, GuardiaGuns, {-1, 3, -1, -1}, {},
         {"Inherit unlimited medipacks cheat mode"}},
        {"every watch lifted",
         {Guardian(5, Flag(0x2, 3))},
         TuttiGuardia | HookTastieraAttivo,
         0,
         {-1, -1, -1, -1},
         {"Allow fly cheat", "Allow unlimited medipacks cheat", "Allow skip level cheat", "Allow all weapons cheat",
          "Disable parsing savegames for cheats", "Removed keyboard hook"},
         {}},
    };
    for (const Caso& c : casi) {
        SCOPED_TRACE(c.nome);
        AzzeraLog();
        Lista(c.lista);
        StatoGioco = c.prima;
        CodiceDozy = CodiceGuns = CodiceHelp = CodiceWeapons = -1;
        ImpostaGuardian();
        EXPECT_EQ(StatoGioco & TuttiGuardia, c.dopo);
        EXPECT_EQ((std::vector<int32_t>{CodiceDozy, CodiceGuns, CodiceHelp, CodiceWeapons}), c.codici);
        for (const std::string& r : c.righe) EXPECT_EQ(ContaRighe(r), 1) << r;
        for (const std::string& r : c.assenti) EXPECT_FALSE(HaRiga(r)) << r;
        // The hook goes with the fly cheat's watch.
        if (!HaBit(StatoGioco, GuardiaDozy)) {
            EXPECT_FALSE(HaBit(StatoGioco, HookTastieraAttivo));
        }
        RimuoviHookTastiera();
    }
}

TEST_F(ProvaGuardian, TitleLevelAndNoCheatGuardianChangeNothing) {
    Lista({Guardian(5, Flag(0x14, 9))});
    const std::pair<int32_t, int32_t> casi[] = {{0, GuardiaHelp}, {1, GuardiaHelp | NoInheritCheat}};
    for (const auto& [livello, stato] : casi) {
        AzzeraLog();
        LivelloCorrente = livello;
        StatoGioco = stato;
        ImpostaGuardian();
        EXPECT_EQ(StatoGioco, stato);
        EXPECT_EQ(CodiceDozy, -1);
        EXPECT_FALSE(HaRiga("Allow skip level cheat"));
    }
}

TEST_F(ProvaGuardian, StopSaveIsDecidedByTheFirstTriggerThatHolds) {
    Metti(0, 10);
    const int32_t traccia = GuardianEreditaSalvataggio | GuardianControllaCd;
    struct Caso {
        const char* nome;
        std::vector<MediaTrigger> lista;
        std::vector<int32_t> suonano;  // CD tracks in use
        bool stopSave;
        int32_t codice, mediaStopSave;
    };
    const Caso casi[] = {
        {"the first of two", {Guardian(4, Flag(2, 7)), Guardian(5, Flag(2, 8))}, {}, true, 7, -1},
        {"its track sounds", {Guardian(4, Flag(traccia, 7), 1, 12)}, {12}, true, 7, 12},
        {"its track silent, the next decides",
         {Guardian(4, Flag(traccia, 7), 1, 12), Guardian(5, Flag(2, 8))},
         {13},
         true,
         8,
         -1},
        {"nothing forbids saving", {Guardian(4, Flag(0x14, 7))}, {}, false, -1, -1},
        {"another level", {Guardian(4, Flag(2, 7), 2)}, {}, false, -1, -1},
    };
    for (const Caso& c : casi) {
        SCOPED_TRACE(c.nome);
        AzzeraLog();
        Lista(c.lista);
        std::vector<giocoprova::Occupato> copione;
        for (int32_t cd : c.suonano) copione.push_back({FileTracciaCd, cd});
        Segui(copione);
        StatoGioco = 0;
        CodiceStopSave = -1;
        MediaStopSave = -1;
        SavegameCacheBloccata = SavegameCache{};
        ControllaStopSalvataggio();
        EXPECT_TRUE(HaRiga("Check for stop saving operation"));
        EXPECT_EQ(HaBit(StatoGioco, StopSave), c.stopSave);
        EXPECT_EQ(CodiceStopSave, c.codice);
        EXPECT_EQ(MediaStopSave, c.mediaStopSave);
        EXPECT_EQ(HaRiga("Inherit save the game operation"), c.stopSave);
        EXPECT_EQ(HaRiga("ChangeStopSave=True"), c.stopSave);
        // Frozen as the folder was.
        EXPECT_EQ(SavegameCacheBloccata.Count, c.stopSave ? 1 : 0);
    }
}

TEST_F(ProvaGuardian, SilentTrackClearsTheAlreadyPlayedMarkOnEveryCheck) {
    const int32_t traccia = GuardianEreditaSalvataggio | GuardianControllaCd;
    Lista({Guardian(4, Flag(traccia, 7), 1, 12, AlreadyShown)});
    Segui({});
    for (int volta = 0; volta < 2; ++volta) {
        SCOPED_TRACE(volta);
        AzzeraLog();
        ImpostaBit(ListaMedia[0].Options, AlreadyShown);
        MediaStopSave = 12;
        ControllaStopSalvataggio();
        EXPECT_TRUE(HaRiga("Remove [Already played] flag for media code = 4"));
        EXPECT_FALSE(HaBit(ListaMedia[0].Options, AlreadyShown));
        EXPECT_EQ(MediaStopSave, -1);
        EXPECT_FALSE(HaBit(StatoGioco, StopSave));
    }
    // Sounding again, the stop save holds while its track lasts.
    AzzeraLog();
    Segui({{FileTracciaCd, 12}});
    ControllaStopSalvataggio();
    EXPECT_EQ(MediaStopSave, 12);
    EXPECT_TRUE(HaBit(StatoGioco, StopSave));
    EXPECT_FALSE(HaRiga("Remove [Already played] flag for media code = 4"));
    // Silent once more: saving is allowed again.
    AzzeraLog();
    Segui({});
    ControllaStopSalvataggio();
    EXPECT_FALSE(HaBit(StatoGioco, StopSave));
    EXPECT_TRUE(HaRiga("Enable save the game operation"));
    EXPECT_TRUE(HaRiga("ChangeStopSave=False"));
}

TEST_F(ProvaGuardian, NoSaveGuardianSkipsTheCheck) {
    Lista({Guardian(4, Flag(2, 7))});
    StatoGioco = NoInheritSave;
    ControllaStopSalvataggio();
    EXPECT_EQ(StatoGioco, NoInheritSave);
    EXPECT_FALSE(HaRiga("Check for stop saving operation"));
}

TEST_F(ProvaGuardian, NewSavegamesAreUndoneOnDisk) {
    struct Caso {
        const char* nome;
        void (*gioca)(ProvaGuardian&);  // what the player does
        const char* riga;
    };
    const Caso casi[] = {
        {"saved over a slot", [](ProvaGuardian& p) { p.Metti(1, 12); },
         "Detected new savegame: savegame.1 [12: Slot 1] different than: savegame.1 [11: Slot 1] while [save the "
         "game] operation is inherited: restore blocked savegames"},
        {"saved into a new slot", [](ProvaGuardian& p) { p.Metti(2, 12); },
         "Detected new savegame while [save the game] operation is inherited: restore blocked savegames"},
        {"a slot deleted", [](ProvaGuardian& p) { DeleteFileA(p.Slot(1).c_str()); },
         "Detected new savegame while [save the game] operation is inherited: restore blocked savegames"},
        {"one slot gone, another new with its number",
         [](ProvaGuardian& p) {
             DeleteFileA(p.Slot(1).c_str());
             ASSERT_TRUE(ScriviFileProva(p.Slot(2), Gioco(1, 11)));
         },
         nullptr},
    };
    for (const Caso& c : casi) {
        SCOPED_TRACE(c.nome);
        DeleteFileA(Slot(2).c_str());
        StatoGioco = 0;
        giocoprova::Toni.clear();
        Eseguiti.clear();
        Congela();
        const std::string zero = Leggi(0), uno = Leggi(1);
        c.gioca(*this);
        Rileggi();
        EXPECT_TRUE(ControllaSavegameBloccati());
        if (c.riga) {
            EXPECT_TRUE(HaRiga(c.riga));
        } else {
            EXPECT_TRUE(HaRigaCheInizia("Detected new savegame: savegame.2 [11: Slot 1] different than: savegame.1"));
        }
        EXPECT_EQ(Leggi(0), zero);
        EXPECT_EQ(Leggi(1), uno);
        EXPECT_FALSE(EsisteFileProva(Slot(2)));
        EXPECT_TRUE(HaRiga("Guardian requires to perform media code 7"));
        EXPECT_EQ(Eseguiti, std::vector<int32_t>{7});
        // Effect 3 (its length follows the system family).
        ASSERT_EQ(giocoprova::Toni.size(), 1u);
        EXPECT_EQ(giocoprova::Toni[0].first, 600);
        // Put back, the folder matches the frozen copy.
        Rileggi();
        EXPECT_FALSE(ControllaSavegameBloccati());
        EXPECT_EQ(Eseguiti.size(), 1u);
    }
}

TEST_F(ProvaGuardian, ADamagedSavegameGoesBackAsItWasFrozen) {
    // One byte short, with a checksum that does not add up.
    std::string danneggiato = Gioco(3, 5).substr(0, 15953);
    danneggiato[1000] = 'x';
    ASSERT_TRUE(ScriviFileProva(Slot(3), danneggiato));
    Congela();
    Metti(3, 12);
    Rileggi();
    EXPECT_TRUE(ControllaSavegameBloccati());
    EXPECT_EQ(LeggiFileProva(Slot(3)), danneggiato);
    EXPECT_EQ(LeggiFileProva(Slot(1)), Gioco(1, 11));
    EXPECT_EQ(NumErroriLog, 0);
    EXPECT_EQ(Eseguiti, std::vector<int32_t>{7});
}

TEST_F(ProvaGuardian, ASlotUnreadableWhenFrozenIsLeftToThePlayer) {
    Metti(2, 12);
    HANDLE tenuto = CreateFileA(Slot(2).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(tenuto, INVALID_HANDLE_VALUE);
    Congela();
    CloseHandle(tenuto);
    NumErroriLog = 0;
    Metti(2, 13);
    Rileggi();
    EXPECT_FALSE(ControllaSavegameBloccati());
    EXPECT_EQ(LeggiFileProva(Slot(2)), Gioco(2, 13));
    // A change elsewhere is undone; that slot keeps its file.
    Metti(1, 14);
    Rileggi();
    EXPECT_TRUE(ControllaSavegameBloccati());
    EXPECT_EQ(LeggiFileProva(Slot(1)), Gioco(1, 11));
    EXPECT_EQ(LeggiFileProva(Slot(2)), Gioco(2, 13));
    EXPECT_EQ(NumErroriLog, 0);
    EXPECT_EQ(Eseguiti, std::vector<int32_t>{7});
}

TEST_F(ProvaGuardian, FrozenCheckWaitsForARefreshAndTheBackup) {
    Congela();
    // No refresh since the last check: nothing is looked at.
    Metti(1, 12);
    EXPECT_FALSE(ControllaSavegameBloccati());
    EXPECT_EQ(LeggiFileProva(Slot(1)), Gioco(1, 12));
    // A media sequence keeps its own backup of the savegames.
    Rileggi();
    RequisitiSequenza = RichiedeBackupSavegame;
    EXPECT_FALSE(ControllaSavegameBloccati());
    EXPECT_TRUE(HaRiga("WARNING: ignore check for frozen savegame because [backup savegames] is enabled"));
    EXPECT_EQ(LeggiFileProva(Slot(1)), Gioco(1, 12));
    RequisitiSequenza = 0;
    // An unchanged folder.
    Metti(1, 11);
    Rileggi();
    EXPECT_FALSE(ControllaSavegameBloccati());
    EXPECT_FALSE(HaRigaCheInizia("Detected new savegame"));
    // Without the stop save nothing is checked.
    Metti(1, 12);
    Rileggi();
    TogliBit(StatoGioco, StopSave);
    EXPECT_FALSE(ControllaSavegameBloccati());
    EXPECT_EQ(LeggiFileProva(Slot(1)), Gioco(1, 12));
    EXPECT_TRUE(Eseguiti.empty());
}

TEST_F(ProvaGuardian, NotifyMediaWaitsForNoAlertOrSplash) {
    struct Caso {
        const char* nome;
        int32_t codice, modifiche;
        std::vector<int32_t> eseguiti;
        const char* riga;
    };
    const Caso casi[] = {
        {"alert", 7, AlertInCorso, {},
         "Cann't perform media code 7 because an alert or splash media is in progress"},
        {"splash", 7, SplashAttivo, {},
         "Cann't perform media code 7 because an alert or splash media is in progress"},
        {"no code", -1, 0, {}, nullptr},
    };
    for (const Caso& c : casi) {
        SCOPED_TRACE(c.nome);
        StatoGioco = 0;
        ModificheAvvio = 0;
        Eseguiti.clear();
        Congela(c.codice);
        ModificheAvvio = c.modifiche;
        Metti(1, 12);
        Rileggi();
        EXPECT_TRUE(ControllaSavegameBloccati());
        EXPECT_EQ(LeggiFileProva(Slot(1)), Gioco(1, 11));
        EXPECT_EQ(Eseguiti, c.eseguiti);
        EXPECT_FALSE(HaRigaCheInizia("Guardian requires to perform media code"));
        if (c.riga) {
            EXPECT_TRUE(HaRiga(c.riga));
        }
    }
}

TEST_F(ProvaGuardian, RestoreThatCannotWriteLeavesWholeSavegamesAndRetries) {
    Congela();
    Metti(1, 12);
    Metti(2, 13);
    Rileggi();
    // The game still holds its new save open: the slot cannot be replaced.
    HANDLE tenuto = CreateFileA(Slot(1).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(tenuto, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(ControllaSavegameBloccati());
    CloseHandle(tenuto);
    EXPECT_TRUE(HaRiga("ERROR while restoring frozen savegames: not restored " + Slot(1)));
    NumErroriLog = 0;
    // The player's savegame is whole, and nothing was deleted meanwhile.
    EXPECT_EQ(LeggiFileProva(Slot(1)), Gioco(1, 12));
    EXPECT_EQ(LeggiFileProva(Slot(2)), Gioco(2, 13));
    EXPECT_TRUE(Eseguiti.empty());
    // Released, the next refresh puts the frozen ones back.
    Rileggi();
    EXPECT_TRUE(ControllaSavegameBloccati());
    EXPECT_EQ(LeggiFileProva(Slot(1)), Gioco(1, 11));
    EXPECT_FALSE(EsisteFileProva(Slot(2)));
    EXPECT_EQ(Eseguiti, std::vector<int32_t>{7});
}

// With the logger the cache is read again only on request, and the start of
// a level's load has just cleared it: the freeze reads the files, so that a
// save made before it is not undone by the first check.
TEST_F(ProvaGuardian, TheFreezeTakesASaveMadeSinceTheLastRead) {
    ConLogger();
    Metti(0, 10);
    Rileggi();
    Metti(1, 11);
    AggiornaCacheRichiesto = false;
    Lista({Guardian(4, Flag(GuardianEreditaSalvataggio, 7))});
    ControllaStopSalvataggio();
    ASSERT_TRUE(HaBit(StatoGioco, StopSave));
    Rileggi();
    EXPECT_FALSE(ControllaSavegameBloccati());
    // Still the player's save (a refresh stamps the variables into it).
    EXPECT_EQ(Leggi(1).substr(0, 79), Gioco(1, 11).substr(0, 79));
    EXPECT_TRUE(Eseguiti.empty());
}

// An edit an equipment media writes where saving is forbidden joins the
// frozen savegames: undoing a save of the player's later keeps it.
TEST_F(ProvaGuardian, AMediasEditOutlivesTheUndoOfAForbiddenSave) {
    Congela();
    ImpostaTabelleLingueCampi();
    MediaCorrente = MediaTrigger{};
    MediaCorrente.MediaCode = 40;
    MediaCorrente.Syntax =
        "<EQUIPMENT>\r\n#FLAGS#=16\r\n#MEDIA_TRUE#=-1\r\n#MEDIA_FALSE#=-1\r\n#TOT_RECORDS#=1\r\n<RECORD1>\r\n"
        "#PREVIOUS_OPERATOR#=0\r\n#COMMAND_TYPE#=0\r\n#OFFSET#=361\r\n#OFFSET_SIZE#=1\r\n#OPERATION#=7\r\n"
        "#VALUE#=2\r\n<END_RECORD1>\r\n<END_EQUIPMENT>\r\n";
    ASSERT_TRUE(EseguiEquipmentMedia()) << testing::PrintToString(RigheLog());
    const std::string modificato = Leggi(1);
    ASSERT_EQ(modificato.size(), 15954u);
    EXPECT_EQ(modificato[361], 2);
    Rileggi();
    EXPECT_FALSE(ControllaSavegameBloccati());
    Metti(2, 12);
    Rileggi();
    EXPECT_TRUE(ControllaSavegameBloccati());
    EXPECT_FALSE(EsisteFileProva(Slot(2)));
    EXPECT_TRUE(Leggi(1) == modificato);
    MediaCorrente = MediaTrigger{};
    EquipmentHeader = IntestazioneEquipment{};
}

}  // namespace
