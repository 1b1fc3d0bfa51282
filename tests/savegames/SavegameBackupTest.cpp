// The backup of the savegames and its restore, the normalised slots and
// their removal, and the check of the game folder at the start of the run:
// no savegame that was in a slot is ever deleted without a copy.
#include <gtest/gtest.h>
#include <windows.h>

#include "savegames/SavegameBackup.h"
#include "savegames/SavegameFile.h"
#include "tests/savegames/SavegameFolder.h"

namespace {

class BackupTest : public CartellaSavegame {};

TEST_F(BackupTest, TheFirstBackupIsKeptAndRestored) {
    Metti(0, Gioco(2));
    Metti(1, Gioco(3));
    BackupSavegames();
    EXPECT_TRUE(HaBit(StatoSequenza, RipristinaBackupSavegame));
    Metti(1, Gioco(4));
    Metti(6, Gioco(5));
    AggiornaCacheSavegame(0);
    BackupSavegames();
    ASSERT_EQ(SavegameCacheBackup.Count, 2);
    RipristinaSavegames();
    EXPECT_EQ(mano::Differenza(Leggi(1), Gioco(3)), -1);
    EXPECT_EQ(mano::Differenza(Leggi(0), Gioco(2)), -1);
    EXPECT_FALSE(EsisteFileProva(Slot(6)));
    EXPECT_EQ(CacheSavegame.Count, 2);
    const std::vector<std::string> righe = Righe();
    EXPECT_EQ(std::count(righe.begin(), righe.end(), "Perform backup current savegames"), 1);
    EXPECT_TRUE(Contiene(righe, "Restore previous savegames backup"));
}

// A backup lives on disk too: a run that dies while it is held (the game
// having saved over a slot) leaves the next start to put the slots back.
TEST_F(BackupTest, AHeldBackupSurvivesTheEndOfTheProgram) {
    const std::string marca = trle / "Old_Savegames\\Normalized.txt";
    Metti(0, Gioco(2));
    Metti(1, Gioco(3));
    BackupSavegames();
    EXPECT_EQ(mano::Differenza(LeggiFileProva(Old(0)), Gioco(2)), -1);
    EXPECT_EQ(mano::Differenza(LeggiFileProva(Old(1)), Gioco(3)), -1);
    EXPECT_TRUE(EsisteFileProva(marca));
    Metti(1, Gioco(4));
    Metti(2, Gioco(5));

    // The program is gone: the next start knows nothing of the backup.
    StatoSequenza = 0;
    CacheSavegame = SavegameCache{};
    SavegameCacheBackup = SavegameCache{};
    AnalizzaSavegameTrle();
    EXPECT_EQ(mano::Differenza(Leggi(0), Gioco(2)), -1);
    EXPECT_EQ(mano::Differenza(Leggi(1), Gioco(3)), -1);
    EXPECT_FALSE(EsisteFileProva(Slot(2)));
    EXPECT_FALSE(EsisteFileProva(marca));
}

TEST_F(BackupTest, TheRestoreAloneEndsTheBackupOnDisk) {
    const std::string marca = trle / "Old_Savegames\\Normalized.txt";
    Metti(0, Gioco(2));
    Metti(3, Gioco(7));
    BackupSavegames();
    // The forced save lands in the newest slot, then a load normalises.
    Metti(3, Gioco(8));
    AggiornaCacheSavegame(0);
    NormalizzaSavegame();
    EXPECT_EQ(mano::Differenza(LeggiFileProva(Old(3)), Gioco(7)), -1);
    NormalizzaSavegame();
    EXPECT_EQ(mano::Differenza(LeggiFileProva(Old(3)), Gioco(7)), -1);
    RimuoviSavegameNormalizzati();
    EXPECT_TRUE(EsisteFileProva(marca));
    EXPECT_EQ(mano::Differenza(Leggi(3), Gioco(8)), -1);
    RipristinaSavegames();
    EXPECT_FALSE(EsisteFileProva(marca));
    EXPECT_EQ(mano::Differenza(Leggi(3), Gioco(7)), -1);
    EXPECT_EQ(mano::Differenza(Leggi(0), Gioco(2)), -1);
}

// A slot the cache could not read whole must not become the backup's copy
// that a repair writes over the slot.
TEST_F(BackupTest, OnlyWholeSavegamesReachTheBackupFolder) {
    struct Caso {
        const char* nome;
        std::string slot;  // savegame.1 when the backup is taken
        bool bloccato;     // held open by another program, so unreadable
    };
    const std::vector<Caso> casi = {
        {"half written", Gioco(4).substr(0, 9000), false},
        {"empty", "", false},
        {"unreadable", Gioco(4), true},
    };
    for (const Caso& c : casi) {
        SCOPED_TRACE(c.nome);
        RimuoviAlbero(trle.Percorso());
        ASSERT_TRUE(CreaCartella(trle.Percorso()));
        ASSERT_TRUE(CreaCartella(trle / "Old_Savegames"));
        ASSERT_TRUE(ScriviFileProva(Old(1), Gioco(3)));
        Metti(0, Gioco(2));
        Metti(1, c.slot);
        StatoSequenza = 0;
        CacheSavegame = SavegameCache{};
        HANDLE aperto = INVALID_HANDLE_VALUE;
        if (c.bloccato) {
            aperto = CreateFileA(Slot(1).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
            ASSERT_NE(aperto, INVALID_HANDLE_VALUE);
        }
        BackupSavegames();
        if (aperto != INVALID_HANDLE_VALUE) CloseHandle(aperto);
        EXPECT_EQ(mano::Differenza(LeggiFileProva(Old(0)), Gioco(2)), -1);
        EXPECT_EQ(mano::Differenza(LeggiFileProva(Old(1)), Gioco(3)), -1);
        EXPECT_TRUE(EsisteFileProva(trle / "Old_Savegames\\Normalized.txt"));
        EXPECT_TRUE(Contiene(Righe(), "WARNING: " + Slot(1) + " is not a whole savegame (" +
                                          std::to_string(c.bloccato ? 0 : c.slot.size()) + " bytes): the copy of " +
                                          trle / "Old_Savegames" + " is kept"));
    }
}

// The slots copied into the backup folder before a normalisation (and at the
// start of a run): a damaged one never replaces the folder's copy of its
// slot, and is kept beside it.
TEST_F(BackupTest, ADamagedSlotNeverReplacesTheBackupFoldersCopy) {
    ASSERT_TRUE(CreaCartella(trle / "Old_Savegames"));
    ASSERT_TRUE(ScriviFileProva(Old(1), Gioco(3)));
    Metti(0, Gioco(2));
    Metti(4, Gioco(5));
    AggiornaCacheSavegame(0);
    const std::string corto = Gioco(4).substr(0, 9000);
    Metti(1, corto);
    NormalizzaSavegame();
    ASSERT_TRUE(HaBit(StatoSequenza, SavegameNormalizzati));
    EXPECT_EQ(mano::Differenza(LeggiFileProva(Old(0)), Gioco(2)), -1);
    EXPECT_EQ(mano::Differenza(LeggiFileProva(Old(1)), Gioco(3)), -1);
    EXPECT_EQ(LeggiFileProva(trle / "Old_Savegames\\savegame.1.1"), corto);
    EXPECT_TRUE(Contiene(Righe(), "WARNING: " + Slot(1) + " is not a whole savegame (9000 bytes): the copy of " +
                                      trle / "Old_Savegames" + " is kept, this file as " +
                                      trle / "Old_Savegames\\savegame.1.1"));
}

TEST_F(BackupTest, StopSaveFreezesTheRestoredSavegames) {
    Metti(0, Gioco(2));
    BackupSavegames();
    SavegameCacheBloccata = SavegameCache{};
    ImpostaBit(StatoGioco, StopSave);
    RipristinaSavegames();
    EXPECT_EQ(SavegameCacheBloccata.Count, 1);
    EXPECT_TRUE(Contiene(Righe(), "Update frozen savegames for inherit save"));
    SavegameCacheBloccata = SavegameCache{};
}

TEST_F(BackupTest, PreviewModeNeitherBacksUpNorRestores) {
    Metti(0, Gioco(2));
    FuoriGioco = true;
    BackupSavegames();
    EXPECT_FALSE(HaBit(StatoSequenza, RipristinaBackupSavegame));
    RipristinaSavegames();
    EXPECT_TRUE(EsisteFileProva(Slot(0)));
    EXPECT_EQ(Righe(), (std::vector<std::string>{
                           "Required backup savegames in preview mode: ignore backup",
                           "Required restore savegames in preview mode: ignore restore savegames"}));
}

TEST_F(BackupTest, NormalisingFillsEverySlotAndItsRemovalPutsThemBack) {
    Metti(0, Gioco(2));
    Metti(3, Gioco(7));
    Metti(4, Gioco(5));
    AggiornaCacheSavegame(0);
    NormalizzaSavegame();
    ASSERT_TRUE(HaBit(StatoSequenza, SavegameNormalizzati));
    for (int n = 0; n < 15; ++n) EXPECT_EQ(mano::Differenza(Leggi(n), Gioco(7)), -1) << n;
    // The slots of before wait in the backup folder.
    EXPECT_EQ(mano::Differenza(LeggiFileProva(Old(0)), Gioco(2)), -1);
    EXPECT_EQ(mano::Differenza(LeggiFileProva(Old(4)), Gioco(5)), -1);
    // The cache does not follow the normalised slots.
    AggiornaCacheSavegame(0);
    EXPECT_EQ(CacheSavegame.Count, 3);

    RimuoviSavegameNormalizzati();
    EXPECT_FALSE(HaBit(StatoSequenza, SavegameNormalizzati));
    EXPECT_EQ(mano::Differenza(Leggi(0), Gioco(2)), -1);
    EXPECT_EQ(mano::Differenza(Leggi(4), Gioco(5)), -1);
    int32_t conteggio = 0;
    ElencoSavegameCartella(trle.Percorso(), conteggio);
    EXPECT_EQ(conteggio, 3);
    EXPECT_FALSE(EsisteFileProva(trle / "Old_Savegames\\Normalized.txt"));
    RimuoviSavegameNormalizzati();
    EXPECT_TRUE(Contiene(Righe(), "WARNING: savegame are not normalized"));
}

TEST_F(BackupTest, NothingToNormaliseLeavesTheSlots) {
    Metti(0, Gioco(0));
    AggiornaCacheSavegame(0);
    NormalizzaSavegame();
    EXPECT_FALSE(HaBit(StatoSequenza, SavegameNormalizzati));
    EXPECT_FALSE(EsisteFileProva(Slot(1)));
    EXPECT_TRUE(Contiene(Righe(), "ERROR: no savegames in savegame cache. It's not possible to normalize savegames"));
}

class AvvioTest : public CartellaSavegame {};

TEST_F(AvvioTest, WrongSavegamesAreMovedAside) {
    Metti(0, Gioco(2));
    Metti(1, Gioco(3).substr(0, 15953));
    Metti(2, Gioco(4, 5));  // NumLivelli is 5
    Metti(3, Gioco(5, 4));
    AnalizzaSavegameTrle();
    EXPECT_TRUE(EsisteFileProva(Slot(0)));
    EXPECT_TRUE(EsisteFileProva(Slot(3)));
    EXPECT_FALSE(EsisteFileProva(Slot(1)));
    EXPECT_FALSE(EsisteFileProva(Slot(2)));
    EXPECT_EQ(mano::Differenza(LeggiFileProva(Old(1)), Gioco(3).substr(0, 15953)), -1);
    EXPECT_EQ(mano::Differenza(LeggiFileProva(Old(2)), Gioco(4, 5)), -1);
    const std::vector<std::string> righe = Righe();
    EXPECT_EQ(righe.front(), "Parse savegames in trle folder: " + trle.Percorso());
    EXPECT_TRUE(Contiene(righe, "Found savegame: savegame.0 [2: Level 2]"));
    EXPECT_TRUE(Contiene(righe, "WARNING: in trle folder there is a corrupted (wrong size) savegame: " + Slot(1)));
    EXPECT_TRUE(Contiene(righe, "This file will be removed"));
    EXPECT_TRUE(Contiene(righe, "WARNING: savegame savegame.2 [4: Level 4]is not of current game: it will be deleted"));
}

TEST_F(AvvioTest, AFileMovedAsideNeverReplacesAnotherOne) {
    ASSERT_TRUE(CreaCartella(trle / "Old_Savegames"));
    ASSERT_TRUE(ScriviFileProva(Old(1), Gioco(3)));
    Metti(1, "damaged");
    AnalizzaSavegameTrle();
    EXPECT_FALSE(EsisteFileProva(Slot(1)));
    EXPECT_EQ(mano::Differenza(LeggiFileProva(Old(1)), Gioco(3)), -1);
    EXPECT_EQ(LeggiFileProva(trle / "Old_Savegames\\savegame.1.1"), "damaged");
    // The same file again finds its copy there.
    Metti(1, "damaged");
    AnalizzaSavegameTrle();
    EXPECT_FALSE(EsisteFileProva(trle / "Old_Savegames\\savegame.1.2"));
    EXPECT_FALSE(EsisteFileProva(Slot(1)));
}

TEST_F(AvvioTest, AnUnknownLevelCountKeepsEveryLevel) {
    NumLivelli = 0;
    Metti(2, Gioco(4, 200));
    AnalizzaSavegameTrle();
    EXPECT_TRUE(EsisteFileProva(Slot(2)));
}

TEST_F(AvvioTest, FifteenEqualSavegamesAreReplacedByTheBackupFolder) {
    for (int n = 0; n < 15; ++n) Metti(n, Gioco(9));
    ASSERT_TRUE(CreaCartella(trle / "Old_Savegames"));
    ASSERT_TRUE(ScriviFileProva(Old(1), Gioco(3)));
    ASSERT_TRUE(ScriviFileProva(Old(5), Gioco(9)));
    AnalizzaSavegameTrle();
    int32_t conteggio = 0;
    EXPECT_EQ(ElencoSavegameCartella(trle.Percorso(), conteggio), (std::vector<std::string>{Slot(1), Slot(5)}));
    EXPECT_EQ(mano::Differenza(Leggi(1), Gioco(3)), -1);
    EXPECT_FALSE(EsisteFileProva(trle / "Old_Savegames\\Normalized.txt"));
    EXPECT_TRUE(Contiene(Righe(), "WARNING: all savegames have same internal number. Remove normalized savegames "
                                  "and restore previous savegame backup"));
}

TEST_F(AvvioTest, FourteenEqualSavegamesStay) {
    for (int n = 0; n < 14; ++n) Metti(n, Gioco(9));
    ASSERT_TRUE(CreaCartella(trle / "Old_Savegames"));
    ASSERT_TRUE(ScriviFileProva(Old(1), Gioco(3)));
    AnalizzaSavegameTrle();
    int32_t conteggio = 0;
    ElencoSavegameCartella(trle.Percorso(), conteggio);
    EXPECT_EQ(conteggio, 14);
    EXPECT_EQ(mano::Differenza(Leggi(1), Gioco(9)), -1);
}

TEST_F(AvvioTest, ANormalisationCutShortIsUndone) {
    Metti(0, Gioco(2));
    Metti(3, Gioco(7));
    Metti(4, Gioco(5));
    AggiornaCacheSavegame(0);
    NormalizzaSavegame();
    // The run ended with the slots half rewritten.
    for (int n = 4; n < 15; ++n) ASSERT_TRUE(CancellaFile(Slot(n)));
    Metti(4, Gioco(5));
    StatoSequenza = 0;
    AnalizzaSavegameTrle();
    int32_t conteggio = 0;
    EXPECT_EQ(ElencoSavegameCartella(trle.Percorso(), conteggio), (std::vector<std::string>{Slot(0), Slot(3), Slot(4)}));
    EXPECT_EQ(mano::Differenza(Leggi(0), Gioco(2)), -1);
    EXPECT_FALSE(EsisteFileProva(trle / "Old_Savegames\\Normalized.txt"));
}

// The mark of a restore that failed stays while the player saves on; the
// repair of the next start keeps every save of that session in the backup
// folder before it puts the backup's savegames back.
TEST_F(AvvioTest, ARepairKeepsWhatTheSlotsHoldNow) {
    ASSERT_TRUE(CreaCartella(trle / "Old_Savegames"));
    ASSERT_TRUE(ScriviFileProva(Old(0), Gioco(2)));
    ASSERT_TRUE(ScriviFileProva(Old(1), Gioco(3)));
    ASSERT_TRUE(ScriviFileProva(trle / "Old_Savegames\\Normalized.txt", "1"));
    // savegame.0.1 is taken by a file kept before.
    ASSERT_TRUE(ScriviFileProva(trle / "Old_Savegames\\savegame.0.1", Gioco(8)));
    Metti(0, Gioco(10));
    Metti(1, Gioco(3));
    Metti(4, Gioco(11));
    Metti(6, Gioco(3));
    EXPECT_TRUE(AnalizzaSavegameTrle());
    int32_t conteggio = 0;
    EXPECT_EQ(ElencoSavegameCartella(trle.Percorso(), conteggio), (std::vector<std::string>{Slot(0), Slot(1)}));
    EXPECT_EQ(mano::Differenza(Leggi(0), Gioco(2)), -1);
    EXPECT_EQ(mano::Differenza(Leggi(1), Gioco(3)), -1);
    EXPECT_EQ(mano::Differenza(LeggiFileProva(trle / "Old_Savegames\\savegame.0.2"), Gioco(10)), -1);
    EXPECT_EQ(mano::Differenza(LeggiFileProva(trle / "Old_Savegames\\savegame.4.1"), Gioco(11)), -1);
    // What the folder holds already is not copied again; the backup's names stay the backup's.
    EXPECT_FALSE(EsisteFileProva(trle / "Old_Savegames\\savegame.6.1"));
    EXPECT_FALSE(EsisteFileProva(trle / "Old_Savegames\\savegame.1.1"));
    EXPECT_FALSE(EsisteFileProva(Old(4)));
    EXPECT_FALSE(EsisteFileProva(trle / "Old_Savegames\\Normalized.txt"));
    EXPECT_TRUE(Contiene(Righe(), "Kept savegame.4 of the game folder as " + trle / "Old_Savegames\\savegame.4.1"));
}

// A slot that cannot be read cannot be kept: the repair stops before it
// overwrites anything of it, and the start is not to go on.
TEST_F(AvvioTest, ARepairThatCannotKeepASlotStops) {
    for (int slot : {0, 4}) {  // one the backup holds, one it lacks
        SCOPED_TRACE(slot);
        RimuoviAlbero(trle.Percorso());
        ASSERT_TRUE(CreaCartella(trle.Percorso()));
        ASSERT_TRUE(CreaCartella(trle / "Old_Savegames"));
        ASSERT_TRUE(ScriviFileProva(Old(0), Gioco(2)));
        ASSERT_TRUE(ScriviFileProva(trle / "Old_Savegames\\Normalized.txt", "1"));
        Metti(slot, Gioco(10));
        HANDLE aperto = CreateFileA(Slot(slot).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(aperto, INVALID_HANDLE_VALUE);
        BufferLog.clear();
        EXPECT_FALSE(AnalizzaSavegameTrle());
        CloseHandle(aperto);
        EXPECT_EQ(mano::Differenza(Leggi(slot), Gioco(10)), -1);
        EXPECT_TRUE(EsisteFileProva(trle / "Old_Savegames\\Normalized.txt"));
        EXPECT_TRUE(Contiene(Righe(), "The level is not started: close the programs that use the savegames of " +
                                          trle.Percorso() + " and start it again"));
        // Once the slot is free the next start finishes the repair.
        EXPECT_TRUE(AnalizzaSavegameTrle());
        EXPECT_EQ(mano::Differenza(Leggi(0), Gioco(2)), -1);
        EXPECT_EQ(mano::Differenza(LeggiFileProva(trle / ("Old_Savegames\\savegame." + std::to_string(slot) + ".1")),
                                   Gioco(10)),
                  -1);
    }
}

// A slot held open by another program refuses the repair: the mark and the
// backup folder wait for the next start, which finishes it.
TEST_F(AvvioTest, ARepairRefusedByABusySlotWaitsForTheNextStart) {
    Metti(0, Gioco(2));
    Metti(3, Gioco(7));
    AggiornaCacheSavegame(0);
    NormalizzaSavegame();
    StatoSequenza = 0;
    HANDLE aperto = CreateFileA(Slot(0).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(aperto, INVALID_HANDLE_VALUE);
    AnalizzaSavegameTrle();
    CloseHandle(aperto);
    EXPECT_TRUE(EsisteFileProva(trle / "Old_Savegames\\Normalized.txt"));
    EXPECT_TRUE(SavegameInAttesaDiRipristino());
    EXPECT_EQ(mano::Differenza(LeggiFileProva(Old(0)), Gioco(2)), -1);
    EXPECT_TRUE(EsisteFileProva(Slot(5)));
    EXPECT_TRUE(Contiene(Righe(), "ERROR: cannot copy the savegames of " + trle / "Old_Savegames" + " back into " +
                                      trle.Percorso() + ": they are copied again at the next start"));

    AnalizzaSavegameTrle();
    int32_t conteggio = 0;
    EXPECT_EQ(ElencoSavegameCartella(trle.Percorso(), conteggio), (std::vector<std::string>{Slot(0), Slot(3)}));
    EXPECT_EQ(mano::Differenza(Leggi(0), Gioco(2)), -1);
    EXPECT_FALSE(SavegameInAttesaDiRipristino());
}

}  // namespace
