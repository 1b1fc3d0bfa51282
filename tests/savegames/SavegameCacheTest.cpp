// The savegame cache: refresh by age and by request, the newest savegame,
// lookups without regard to case, and the write-back that keeps what the
// game saved since the cache was read. The private variables stamped into
// new savegames and read back on a load.
#include <gtest/gtest.h>

#include "core/LevelVariables.h"
#include "core/MediaConfig.h"
#include "runservices/LoggerClient.h"
#include "runservices/RunState.h"
#include "savegames/PrivateVariables.h"
#include "savegames/SavegameFile.h"
#include "tests/savegames/SavegameFolder.h"

namespace {

class CacheTest : public CartellaSavegame {};

TEST_F(CacheTest, RefreshReadsTheSlotsInOrderWhenOldEnough) {
    Metti(9, Gioco(3));
    Metti(2, Gioco(5));
    AggiornaCacheSavegame(1000);
    ASSERT_EQ(CacheSavegame.Count, 2);
    EXPECT_EQ(CacheSavegame.Entries[0].Path, Slot(2));
    EXPECT_EQ(CacheSavegame.Entries[1].Path, Slot(9));
    EXPECT_EQ(mano::Differenza(CacheSavegame.Entries[1].Bytes, Gioco(3)), -1);
    EXPECT_EQ(CacheSavegame.LastUpdateTick, 100000u);
    EXPECT_FALSE(AggiornaCacheRichiesto);
    EXPECT_TRUE(CacheAggiornata);
    EXPECT_EQ(Righe(), std::vector<std::string>{"Update savegame cache"});

    // Younger than the limit: the new file waits; a limit of 0 reads it.
    Metti(4, Gioco(8));
    ClockAdvance(999);
    AggiornaCacheSavegame(1000);
    EXPECT_EQ(CacheSavegame.Count, 2);
    AggiornaCacheSavegame(0);
    EXPECT_EQ(CacheSavegame.Count, 3);
    EXPECT_EQ(CacheSavegame.Entries[1].Path, Slot(4));
}

TEST_F(CacheTest, NormalisedSlotsAreNotRead) {
    Metti(1, Gioco(3));
    ImpostaBit(StatoSequenza, SavegameNormalizzati);
    AggiornaCacheSavegame(0);
    EXPECT_EQ(CacheSavegame.Count, 0);
    EXPECT_EQ(Righe(), std::vector<std::string>{
                           "WARNING: required to update savegame cache while savegames are normalized. Refused the "
                           "updating"});
}

TEST_F(CacheTest, WithTheLoggerOnlyARequestRefreshes) {
    Metti(1, Gioco(3));
    ImpostaBit(StatoGioco, FlagLoggerInUso);
    TickAvvioGioco = static_cast<int32_t>(ClockTick());
    AggiornaCacheRichiesto = false;
    AggiornaCacheSavegame(0);
    EXPECT_EQ(CacheSavegame.Count, 0);
    // A request ignores the age limit.
    AggiornaCacheRichiesto = true;
    CacheSavegame.LastUpdateTick = 100000;
    AggiornaCacheSavegame(60000);
    EXPECT_EQ(CacheSavegame.Count, 1);
}

struct CasoUltimo {
    std::vector<int> numeri;  // by slot; -1 no file
    int32_t numero;
    int slot;                 // -1 no path
    const char* descrizione;
};

class UltimoTest : public CartellaSavegame, public testing::WithParamInterface<CasoUltimo> {};

TEST_P(UltimoTest, NewestIsTheFirstHighestNumber) {
    const CasoUltimo& c = GetParam();
    for (size_t n = 0; n < c.numeri.size(); ++n)
        if (c.numeri[n] >= 0) Metti(static_cast<int>(n), Gioco(c.numeri[n]));
    int32_t numero = 99;
    std::string descrizione = "x";
    const std::string percorso = UltimoSavegame(numero, descrizione, true);
    EXPECT_EQ(numero, c.numero);
    EXPECT_EQ(percorso, c.slot < 0 ? std::string() : Slot(c.slot));
    EXPECT_EQ(descrizione, c.descrizione);
}

INSTANTIATE_TEST_SUITE_P(Slots, UltimoTest,
                         testing::Values(CasoUltimo{{}, -1, -1, "<NO SAVEGAMES>"},
                                         CasoUltimo{{0, -1, 0}, 0, -1, ""},
                                         CasoUltimo{{4, 9, 7}, 9, 1, "savegame.1 [9: Level 9]"},
                                         CasoUltimo{{-1, 6, -1, 6, 2}, 6, 1, "savegame.1 [6: Level 6]"},
                                         CasoUltimo{{-1, -1, -1, -1, 2, 0, 3}, 3, 6, "savegame.6 [3: Level 3]"}));

TEST_F(CacheTest, LookupsIgnoreTheLetterCase) {
    Metti(3, Gioco(4, 2));
    AggiornaCacheSavegame(0);
    std::string maiuscolo = Slot(3);
    for (char& ch : maiuscolo) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
    SavegameBin immagine;
    ASSERT_TRUE(LeggiSavegameCache(maiuscolo, immagine));
    EXPECT_EQ(mano::Differenza(immagine, Gioco(4, 2)), -1);
    EXPECT_EQ(TrovaCdForSavegame(maiuscolo), 104);
    EXPECT_EQ(IndiceSavegameCache(CacheSavegame, maiuscolo), 0);
    EXPECT_EQ(NumErroriLog, 0);
}

TEST_F(CacheTest, LevelsOfSavegames) {
    Metti(0, Gioco(2, 4));
    Metti(1, Gioco(3, 5));  // NumLivelli is 5
    EXPECT_EQ(LivelloSavegame(Slot(0)), 4);
    EXPECT_EQ(LivelloSavegame(Slot(1)), 255);
    EXPECT_EQ(LivelloUltimoSavegame(), 255);
    EXPECT_EQ(TrovaCdForSavegame(Slot(7)), -1);
    EXPECT_EQ(NumErroriLog, 2);
}

TEST_F(CacheTest, InsertMarksTheEntryAsChangedByTheProgram) {
    Metti(0, Gioco(2));
    AggiornaCacheSavegame(0);
    ClockAdvance(50);
    ASSERT_TRUE(InserisciSavegameCache(Slot(6), Gioco(20)));
    ASSERT_TRUE(InserisciSavegameCache(Slot(0), Gioco(21)));
    EXPECT_EQ(CacheSavegame.Count, 2);
    EXPECT_TRUE(CacheSavegame.Entries[0].ModificataDaSistema);
    EXPECT_TRUE(CacheSavegame.Entries[1].ModificataDaSistema);
    EXPECT_EQ(CacheSavegame.LastUpdateTick, 100050u);
    EXPECT_TRUE(Contiene(Righe(), "Add new savegame " + Slot(6) + " in savegame cache"));
    EXPECT_TRUE(Contiene(Righe(), "Update savegame " + Slot(0) + " in savegame cache"));
}

TEST_F(CacheTest, TheEndOfTheRunKeepsWhatTheGameSavedSince) {
    Metti(0, Gioco(2));
    Metti(1, Gioco(3));
    AggiornaCacheSavegame(0);
    // The program edits slot 0; the game then saves into slot 1 and a new slot 5.
    SavegameBin modificato = Gioco(2);
    modificato[600] = 0x42;
    ASSERT_TRUE(InserisciSavegameCache(Slot(0), modificato));
    Metti(1, Gioco(4));
    Metti(5, Gioco(5));
    ASSERT_TRUE(ScriviCacheSavegame());
    EXPECT_EQ(Leggi(0)[600], 0x42);
    EXPECT_EQ(mano::SommaChecksum(Leggi(0)), 0u);
    EXPECT_EQ(mano::Differenza(Leggi(1), Gioco(4)), -1);
    EXPECT_EQ(mano::Differenza(Leggi(5), Gioco(5)), -1);
    EXPECT_FALSE(CacheSavegame.Entries[0].ModificataDaSistema);
    EXPECT_TRUE(Contiene(Righe(), "Write savegames from cache to trle folder"));
}

TEST_F(CacheTest, AWholeWriteMakesTheFolderHoldTheCache) {
    Metti(0, Gioco(2));
    Metti(1, Gioco(3));
    AggiornaCacheSavegame(0);
    Metti(1, Gioco(4));
    Metti(5, Gioco(5));
    ASSERT_TRUE(ScriviCacheSavegame(true));
    EXPECT_EQ(mano::Differenza(Leggi(1), Gioco(3)), -1);
    EXPECT_FALSE(EsisteFileProva(Slot(5)));
    EXPECT_TRUE(EsisteFileProva(Slot(0)));
}

TEST_F(CacheTest, WritesOneEntryBack) {
    Metti(0, Gioco(2));
    AggiornaCacheSavegame(0);
    CacheSavegame.Entries[0].Bytes[700] = 0x33;
    ASSERT_TRUE(SalvaSavegameDaCache(Slot(0)));
    EXPECT_EQ(Leggi(0)[700], 0x33);
    EXPECT_EQ(mano::SommaChecksum(Leggi(0)), 0u);
    EXPECT_FALSE(SalvaSavegameDaCache(Slot(3)));
    EXPECT_EQ(NumErroriLog, 1);
}

class VariabiliTest : public CartellaSavegame {
protected:
    void SetUp() override {
        CartellaSavegame::SetUp();
        ImpostaBit(StatoGioco, FlagLoggerInUso);
        // A game just started: the logger is not given up for a missing window.
        TickAvvioGioco = static_cast<int32_t>(ClockTick());
        HeaderMcf = MediaConfigHeader{};
        HeaderMcf.Version = "VER1.5";
        VarA = "7";
        VarB = "";
        VarC = "-3";
        VarD = "12";
        CodeAlertCorrente = 44;
        TimeAlertCorrente = 55;
        UltimoSavegameCaricato.clear();
    }
    void TearDown() override {
        VarA = VarB = VarC = VarD = VarLastInput = "";
        UltimoSavegameCaricato.clear();
        ModificheAvvio = 0;
        HeaderMcf = MediaConfigHeader{};
        CartellaSavegame::TearDown();
    }
};

TEST_F(VariabiliTest, ANewSavegameIsStampedOnce) {
    Metti(0, Gioco(2));
    Metti(1, Gioco(6));
    ImpostaBit(ModificheAvvio, AlertInCorso);
    AggiornaCacheSavegame(0);
    const std::string scritto = Leggi(1);
    EXPECT_EQ(mano::SommaChecksum(scritto), 0u);
    const std::vector<std::pair<size_t, int32_t>> attesi = {
        {15928, 44}, {15932, 55}, {15936, 7}, {15940, 0}, {15944, -3}, {15948, 12}};
    for (const auto& [offset, valore] : attesi) EXPECT_EQ(LeggiValore(scritto, offset, 4), valore) << offset;
    EXPECT_EQ(VarB, "0");
    EXPECT_EQ(CacheSavegame.LastMaxInternalNumber, 6);
    EXPECT_EQ(mano::Differenza(Leggi(0), Gioco(2)), -1);
    EXPECT_TRUE(Contiene(Righe(), "Saved private variables in savegame: savegame.1"));
    EXPECT_TRUE(Contiene(Righe(), "Var_C = -3"));
    EXPECT_TRUE(Contiene(Righe(), "Time Alert = 55"));

    // No newer savegame: nothing is written again.
    Metti(1, Gioco(6));
    AggiornaCacheRichiesto = true;
    AggiornaCacheSavegame(0);
    EXPECT_EQ(mano::Differenza(Leggi(1), Gioco(6)), -1);
    EXPECT_TRUE(Contiene(Righe(), "Same max internal number: don't update private variables in savegame"));
}

// The savegames a run finds at its start hold the variables of their own
// saves; only a save made during the run is stamped with this run's.
TEST_F(VariabiliTest, TheSavegamesFoundAtTheStartAreNotStamped) {
    std::string trovato = Gioco(6);
    mano::Byte(trovato, 15936, {77, 0, 0, 0});
    mano::Chiudi(trovato);
    Metti(0, Gioco(2));
    Metti(1, trovato);
    // The start reads the folder before the logger runs.
    TogliBit(StatoGioco, FlagLoggerInUso);
    AggiornaCacheSavegame(0);
    SegnaSavegameIniziali();
    EXPECT_EQ(CacheSavegame.LastMaxInternalNumber, 6);
    ImpostaBit(StatoGioco, FlagLoggerInUso);
    AggiornaCacheRichiesto = true;
    AggiornaCacheSavegame(0);
    EXPECT_EQ(Leggi(1), trovato);
    EXPECT_FALSE(Contiene(Righe(), "Saved private variables in savegame: savegame.1"));

    Metti(4, Gioco(7));
    AggiornaCacheRichiesto = true;
    AggiornaCacheSavegame(0);
    EXPECT_EQ(LeggiValore(Leggi(4), 15936, 4), 7);
    EXPECT_EQ(Leggi(1), trovato);

    // A folder without savegames: the first save is new.
    CacheSavegame = SavegameCache{};
    SegnaSavegameIniziali();
    EXPECT_EQ(CacheSavegame.LastMaxInternalNumber, 0);
}

TEST_F(VariabiliTest, WithoutAnAlertTheAlertFieldsAreCleared) {
    Metti(0, Gioco(2));
    AggiornaCacheSavegame(0);
    EXPECT_EQ(LeggiValore(Leggi(0), 15928, 4), -1);
    EXPECT_EQ(LeggiValore(Leggi(0), 15932, 4), 0);
}

struct CasoSenza {
    const char* nome;
    bool logger;
    const char* versione;
    bool backup;
};

class SenzaStampaTest : public VariabiliTest, public testing::WithParamInterface<CasoSenza> {};

TEST_P(SenzaStampaTest, NothingIsStampedOrLoaded) {
    if (!GetParam().logger) TogliBit(StatoGioco, FlagLoggerInUso);
    HeaderMcf.Version = GetParam().versione;
    if (GetParam().backup) ImpostaBit(StatoSequenza, RipristinaBackupSavegame);
    Metti(0, Gioco(2));
    AggiornaCacheSavegame(0);
    AggiornaCacheSavegame(0);
    EXPECT_EQ(mano::Differenza(Leggi(0), Gioco(2)), -1);
    UltimoSavegameCaricato = Slot(0);
    GetVariablesLoading();
    EXPECT_EQ(VarA, "7");
}

INSTANTIATE_TEST_SUITE_P(Runs, SenzaStampaTest,
                         testing::Values(CasoSenza{"NoLogger", false, "VER1.5", false},
                                         CasoSenza{"OldFormat", true, "VER1.4", false},
                                         CasoSenza{"BackupHeld", true, "VER1.5", true}),
                         [](const testing::TestParamInfo<CasoSenza>& info) { return std::string(info.param.nome); });

TEST_F(VariabiliTest, ALoadReadsTheVariablesBack) {
    std::string salvato = Gioco(4);
    mano::Byte(salvato, 15928, {9, 0, 0, 0, 0x10, 0x27, 0, 0, 1, 0, 0, 0, 0xFE, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 5, 1, 0, 0});
    mano::Chiudi(salvato);
    // Stamped already, so the refresh leaves it as it is.
    CacheSavegame.LastMaxInternalNumber = 4;
    Metti(2, salvato);
    AggiornaCacheSavegame(0);
    UltimoSavegameCaricato = Slot(2);
    GetVariablesLoading();
    EXPECT_EQ(VarA, "1");
    EXPECT_EQ(VarB, "-2");
    EXPECT_EQ(VarC, "0");
    EXPECT_EQ(VarD, "261");
    EXPECT_EQ(CodeAlertCaricato, 9);
    EXPECT_EQ(TimeAlertCaricato, 10000);
    EXPECT_TRUE(Contiene(Righe(), "Loaded private variables from savegame: savegame.2"));

    UltimoSavegameCaricato = Slot(8);
    GetVariablesLoading();
    EXPECT_TRUE(Contiene(Righe(), "WARNING: not found in savegame cache the last loaded savegame: " + Slot(8)));
    EXPECT_EQ(VarA, "1");

    VarLastInput = "typed";
    UltimoSavegameCaricato.clear();
    GetVariablesLoading();
    EXPECT_EQ(VarA + VarB + VarC + VarD, "0000");
    EXPECT_EQ(VarLastInput, "");
    EXPECT_EQ(CodeAlertCaricato, -1);
    EXPECT_EQ(TimeAlertCaricato, 0);
    EXPECT_TRUE(Contiene(Righe(), "Detected new game: clear all private variables"));
}

}  // namespace
