// Save and load of the running game by its own keys, against a game that
// answers the inputs as its save and load screens do: a save is seen by the
// new number, a load by its start and end with the level foreseen; the
// retries and time-outs, with and without the logger.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "core/FileUtils.h"
#include "core/LevelVariables.h"
#include "core/MediaConfig.h"
#include "core/SharedState.h"
#include "runservices/Desktop.h"
#include "runservices/LoggerClient.h"
#include "input/GameOperation.h"
#include "input/Guardian.h"
#include "input/KeyMacros.h"
#include "platform/Clock.h"
#include "savegames/PrivateVariables.h"
#include "savegames/SavegameBackup.h"
#include "savegames/SavegameCache.h"
#include "tests/gamerun/GameScript.h"
#include "tests/savegames/SavegameBytes.h"
#include "tests/input/KeyLayer.h"

namespace {

using namespace tastiprova;
using giocoprova::Record;

// What the game does on its save and load keys.
struct Reazioni {
    int salvaDalTentativo = 1;  // 0: never saves
    bool carica = true;
    int livelloCaricato = -1;   // -1: the savegame's own
    bool fineCaricamento = true;
    bool apreInventario = true;
    // The end of loading comes a second after its start, as a level takes to
    // load, instead of with it.
    bool fineDopo = false;
};

class ProvaOperazione;
ProvaOperazione* Corrente = nullptr;
void CALLBACK FineCaricamentoDopo(HWND, UINT, UINT_PTR, DWORD);

class ProvaOperazione : public ProvaGioco {
protected:
    void SetUp() override {
        ProvaGioco::SetUp();
        PreparaTasti();
        FuoriGioco = false;
        CacheSavegame = SavegameCache{};
        AggiornaCacheRichiesto = false;
        OperazioneGioco = OperazioneGiocoCorrente{};
        StatoSequenza = 0;
        ASSERT_TRUE(ScriviFileProva(store / "savegame.0", mano::SavegameGioco("Prova", 7, 1, 5)));
        Gioco = [this](const InputInviato& i) { Rispondi(i); };
    }
    void TearDown() override {
        Ripristina();
        RispostaLoggerFileOccupato = nullptr;
        StatoGioco = 0;
        ProvaGioco::TearDown();
    }

    // A fresh run for each case of a table.
    void NuovoCaso(const Reazioni& r, bool logger) {
        TearDown();
        // Gone with the last case: never closed twice.
        finestraLogger = nullptr;
        tenuti.clear();
        SetUp();
        reazioni = r;
        menu = 0;
        invii = tentativi = giu = 0;
        // A load that takes time runs on the real clock; the logger stand-in
        // answers no check of its own meanwhile.
        if (r.fineDopo) ClockUseManual(false);
        Prepara(logger);
        if (r.fineDopo) UltimaVerificaLogger = ClockTick();
    }

    // The cache as the run's start leaves it, then the logger when asked.
    void Prepara(bool logger) {
        int32_t numero = 0;
        std::string descrizione;
        UltimoSavegame(numero, descrizione, true);
        ASSERT_EQ(numero, 7);
        if (logger) ConLogger();
    }

    void Rispondi(const InputInviato& i) {
        if (i.flags & KEYEVENTF_KEYUP) return;
        const bool logger = LoggerAttivo();
        if (i.vk == VK_F5 || i.vk == VK_F6) {
            if (!reazioni.apreInventario) return;
            menu = i.vk;
            invii = 0;
            ++tentativi;
            if (logger) Registra({Record(LoggerFase::Inventory, 255, 1, StartInventory)});
        } else if (i.vk == VK_ESCAPE && logger) {
            Registra({Record(LoggerFase{}, 255, 1, EndInventory)});
        } else if (i.vk == VK_DOWN && menu) {
            ++giu;
        } else if (i.vk == VK_RETURN && menu && ++invii == 2) {
            const WORD quale = menu;
            menu = 0;
            if (quale == VK_F5) Salva(logger);
            if (quale == VK_F6) Carica(logger);
        }
    }
    void Salva(bool logger) {
        if (reazioni.salvaDalTentativo == 0 || tentativi < reazioni.salvaDalTentativo) return;
        ASSERT_TRUE(ScriviFileProva(store / "savegame.0", mano::SavegameGioco("Prova", 8, 1, 5)));
        if (logger)
            Registra({Record(LoggerFase{}, 255, 1, EndInventory), Record(LoggerFase{}, 255, 1, AlreadyInScene)});
    }
    void Carica(bool logger) {
        if (!reazioni.carica) return;
        const int livello = reazioni.livelloCaricato < 0 ? 1 : reazioni.livelloCaricato;
        if (logger) {
            Registra({Record(LoggerFase::LoadingLevel, 255, 255, PreLoading)});
            livelloDopo = static_cast<uint8_t>(livello);
            if (reazioni.fineCaricamento && reazioni.fineDopo) {
                Corrente = this;
                timerFine = SetTimer(nullptr, 0, 1000, FineCaricamentoDopo);
            } else if (reazioni.fineCaricamento) {
                Registra({Record(LoggerFase{}, 255, livelloDopo, EndLoading)});
            }
        } else {
            // In use past the rest of the Enter macro, so that the check finds it.
            Segui({{FileLivello, livello, 0, reazioni.fineCaricamento ? 1500u : 0xFFFFFFFFu}});
        }
    }

    int Premuti(WORD vk) const {
        int n = 0;
        for (const InputInviato& i : Inputs) n += i.vk == vk && !(i.flags & KEYEVENTF_KEYUP);
        return n;
    }

public:
    void FineCaricamento() {
        KillTimer(nullptr, timerFine);
        Registra({giocoprova::Record(LoggerFase{}, 255, livelloDopo, EndLoading)});
    }

protected:
    Reazioni reazioni;
    uint8_t livelloDopo = 0;
    UINT_PTR timerFine = 0;
    WORD menu = 0;
    int invii = 0;
    int tentativi = 0;
    int giu = 0;
};

void CALLBACK FineCaricamentoDopo(HWND, UINT, UINT_PTR, DWORD) {
    if (Corrente) Corrente->FineCaricamento();
}

TEST_F(ProvaOperazione, ASaveIsSeenByTheNewNumber) {
    struct Caso {
        const char* nome;
        bool logger;
        Reazioni reazioni;
        bool riuscito;
        int f5;  // presses of F5
        const char* riga;
    };
    const std::vector<Caso> casi{
        {"first attempt", false, {}, true, 1, "Saving operation is complete. Detected new savegame: savegame.0 [8: Prova]"},
        {"first attempt, logger", true, {}, true, 1,
         "Saving operation is complete. Detected new savegame: savegame.0 [8: Prova]"},
        {"second attempt", false, {2}, true, 2, "Perform another attempt"},
        {"never", false, {0}, false, 3, "ERROR: Too failed attempts: abort operation"},
        {"no inventory, logger", true, {1, true, -1, true, false}, false, 1, "ERROR: time out in Saving game operation"},
    };
    for (const Caso& c : casi) {
        SCOPED_TRACE(c.nome);
        NuovoCaso(c.reazioni, c.logger);
        const uint32_t inizio = ClockTick();
        EXPECT_EQ(EseguiSalvataggioPartita(), c.riuscito);
        EXPECT_EQ(Premuti(VK_F5), c.f5);
        EXPECT_EQ(Premuti(VK_DOWN), 0);
        EXPECT_TRUE(HaRiga(c.riga));
        EXPECT_EQ(HaBit(StatoSequenza, PartitaSalvata), c.riuscito);
        if (c.logger && !c.riuscito) {
            EXPECT_GE(ClockTick() - inizio, 5000u);
        }
    }
}

TEST_F(ProvaOperazione, AnInventoryOpenBeforeTheFunctionKeyIsLeftFirst) {
    Prepara(true);
    Registra({Record(LoggerFase::Inventory, 255, 1, StartInventory)});
    EXPECT_TRUE(EseguiSalvataggioPartita());
    EXPECT_TRUE(HaRiga("WARNING: detected inventory before sending function key: disable inventory"));
    ASSERT_GE(Inputs.size(), 2u);
    EXPECT_EQ(Inputs[0].vk, VK_ESCAPE);
    EXPECT_EQ(Premuti(VK_F5), 1);
}

TEST_F(ProvaOperazione, ANewSlotNeedsASavegameToMoveFrom) {
    for (bool conSavegame : {true, false}) {
        SCOPED_TRACE(conSavegame);
        TearDown();
        SetUp();
        if (!conSavegame) DeleteFileA((store / "savegame.0").c_str());
        InitSaveGameOperation(true);
        OperazioneGioco.Flags = SalvaInNuovoSlot;
        InitSaveGameOperation(false);
        EXPECT_EQ(OperazioneGioco.ListaMacro,
                  conSavegame ? (std::vector<std::string>{"macro_F5_Start.mcr", "Macro_down.mcr", "macro_enter.mcr"})
                              : (std::vector<std::string>{"macro_F5_Start.mcr", "macro_enter.mcr"}));
        EXPECT_EQ(OperazioneGioco.NuovoSlot, conSavegame);
        EXPECT_TRUE(HaRiga(conSavegame ? "Add [down arrow] key to save in new slot"
                                       : "No savegame in trle folder: ignore 'new slot' option for save the game"));
    }
}

// Before a load the cached image goes to its file only when a media changed
// it: an image nobody changed may be older than what the game saved since.
TEST_F(ProvaOperazione, ALoadWritesTheCachedSavegameOnlyWhenAMediaChangedIt) {
    for (bool cambiato : {false, true}) {
        SCOPED_TRACE(cambiato);
        NuovoCaso({}, true);
        std::string modificato = mano::SavegameGioco("Prova", 7, 1, 5);
        modificato[1000] = 0x11;
        if (cambiato) {
            ASSERT_TRUE(InserisciSavegameCache(store / "savegame.0", modificato));
        }
        // The game saved over the slot; the logger asked for no refresh yet.
        const std::string nuovo = mano::SavegameGioco("Prova", 9, 1, 5);
        ASSERT_TRUE(ScriviFileProva(store / "savegame.0", nuovo));
        CaricaPartitaConMacro(false);
        if (cambiato) {
            mano::Chiudi(modificato);
            EXPECT_EQ(mano::Differenza(LeggiFileProva(store / "savegame.0"), modificato), -1);
            EXPECT_TRUE(HaRiga("Save on disk last savegame in cache: " + store / "savegame.0"));
        } else {
            EXPECT_EQ(mano::Differenza(LeggiFileProva(store / "savegame.0"), nuovo), -1);
            EXPECT_TRUE(HaRiga("Last savegame not changed in cache: the game loads its file " + store / "savegame.0"));
        }
    }
}

TEST_F(ProvaOperazione, ALoadIsSeenByItsStartAndEndWithTheLevelForeseen) {
    struct Caso {
        const char* nome;
        bool logger;
        Reazioni reazioni;
        bool riuscito;
        int f6;
        const char* inizioRiga;
    };
    const std::vector<Caso> casi{
        {"level file", false, {}, true, 1, "Loading operation is complete"},
        {"logger", true, {}, true, 1, "Loading operation is complete"},
        // While the load is awaited nobody else reads the game's events.
        {"logger, end later", true, {1, true, -1, true, true, true}, true, 1, "Loading operation is complete"},
        {"other level", true, {1, true, 2}, false, 1,
         "ERROR: it has been loaded a different level than foreseen level. Loaded level=level2.tr4 instead to load "
         "level level1.tr4"},
        {"never starts", false, {1, false}, false, 3, "Warning: timeout for starting of 'load the game' operation"},
        {"never ends", false, {1, true, -1, false}, false, 1, "ERROR: time out for 'end loading' operation (Wait time = "},
        {"no inventory, logger", true, {1, true, -1, true, false}, false, 1, "ERROR: time out in loading game operation"},
    };
    for (const Caso& c : casi) {
        SCOPED_TRACE(c.nome);
        NuovoCaso(c.reazioni, c.logger);
        EXPECT_EQ(CaricaUltimoSavegame(), c.riuscito);
        Corrente = nullptr;
        EXPECT_EQ(OperazioneGioco.LivelloDaCaricare, 1);
        EXPECT_EQ(OperazioneGioco.CdSavegame, 5);
        EXPECT_EQ(Premuti(VK_F6), c.f6);
        EXPECT_TRUE(HaRigaCheInizia(c.inizioRiga));
        EXPECT_EQ(HaBit(StatoSequenza, CaricamentoAnnullato), c.riuscito);
    }
}

// The game names no savegame it loads; a load the program makes knows its
// slot and reads the level's variables back from it, as the game's word
// would have.
TEST_F(ProvaOperazione, ALoadByTheProgramReadsTheVariablesOfItsSlot) {
    std::string salvato = mano::SavegameGioco("Prova", 7, 1, 5);
    mano::Byte(salvato, 15936, {77, 0, 0, 0});
    mano::Chiudi(salvato);
    ASSERT_TRUE(ScriviFileProva(store / "savegame.0", salvato));
    Prepara(true);
    // As at the start of the run: the savegame found is stamped already.
    SegnaSavegameIniziali();
    HeaderMcf.Version = "VER1.5";
    LivelloCorrente = 1;
    VarA = "5";
    EXPECT_TRUE(CaricaUltimoSavegame());
    EXPECT_EQ(VarA, "77");
    EXPECT_EQ(UltimoSavegameCaricato, store / "savegame.0");
    EXPECT_TRUE(HaRiga("Loaded private variables from savegame: savegame.0"));
    VarA.clear();
}

// Where saving is forbidden to the player, the save a media asks of the
// program joins the frozen savegames: the guardian neither undoes it nor
// performs the author's media for it.
TEST_F(ProvaOperazione, TheProgramsOwnSaveWhereSavingIsForbiddenIsKept) {
    Prepara(false);
    ImpostaBit(StatoGioco, StopSave);
    SavegameCacheBloccata = CacheSavegame;
    EXPECT_TRUE(EseguiSalvataggioPartita());
    AggiornaCacheRichiesto = true;
    AggiornaCacheSavegame(0);
    EXPECT_FALSE(ControllaSavegameBloccati());
    EXPECT_EQ(mano::Differenza(LeggiFileProva(store / "savegame.0"), mano::SavegameGioco("Prova", 8, 1, 5)), -1);
    SavegameCacheBloccata = SavegameCache{};
}

}  // namespace
