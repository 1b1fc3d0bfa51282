// Savegame files: loading and writing with the checksum, the slot list and
// copies of a folder, the check lines, the slot paths and the moveable field
// names.
#include <gtest/gtest.h>

#include <thread>

#include <windows.h>

#include "core/MediaLog.h"
#include "core/MoveableFields.h"
#include "core/SharedState.h"
#include "platform/Clock.h"
#include "savegames/SavegameFile.h"
#include "tests/savegames/SavegameFolder.h"
#include "tests/support/TestFolders.h"

namespace {

struct CasoSlot {
    const char* percorso;
    bool saltaCartella;
    bool atteso;
};

class SlotTest : public testing::TestWithParam<CasoSlot> {
protected:
    void SetUp() override {
        ClockUseManual(true, 1000);
        ProcessoGioco.hProcess = reinterpret_cast<void*>(1);
        PercorsoStore = store.Percorso();
        LogAbilitato = true;
        InitMediaLog();
        CartellaTrle = " C:\\Games\\Trle  ";
        FuoriGioco = false;
    }
    void TearDown() override {
        ProcessoGioco.hProcess = nullptr;
        LogAbilitato = false;
        FuoriGioco = true;
        CartellaTrle.clear();
        ClockUseManual(false);
    }
    std::string Log() {
        ScriviBufferLog(true);
        return LeggiFileProva(PercorsoFileLog);
    }
    CartellaProva store;
};

TEST_P(SlotTest, NamesASlotFile) {
    const CasoSlot& c = GetParam();
    EXPECT_EQ(IsPathSavegame(c.percorso, c.saltaCartella), c.atteso) << c.percorso;
    const std::string avviso = std::string("WARNING: file path \"") + c.percorso + "\" is not a valid path for savegame";
    const bool loggato = Log().find(avviso) != std::string::npos;
    EXPECT_EQ(loggato, !c.atteso && !c.saltaCartella) << c.percorso;
}

INSTANTIATE_TEST_SUITE_P(
    Slots, SlotTest,
    testing::Values(CasoSlot{"C:\\Games\\Trle\\savegame.0", false, true},
                    CasoSlot{"C:\\Games\\Trle\\savegame.14", false, true},
                    CasoSlot{"c:\\games\\trle\\SAVEGAME.7", false, true},
                    CasoSlot{"C:\\Games\\Trle\\savegame.15", false, false},
                    CasoSlot{"C:\\Games\\Trle\\savegame.", false, false},
                    CasoSlot{"C:\\Games\\Trle\\savegame", false, false},
                    CasoSlot{"C:\\Games\\Trle\\savegame.x", false, false},
                    CasoSlot{"C:\\Games\\Trle\\savegame.-1", false, false},
                    CasoSlot{"C:\\Games\\Trle\\savegames.1", false, false},
                    CasoSlot{"C:\\Games\\Other\\savegame.1", false, false},
                    CasoSlot{"savegame.1", false, false},
                    // Bare names of packet entries skip the folder test.
                    CasoSlot{"savegame.3", true, true}, CasoSlot{"Savegame.99999999999", true, false},
                    CasoSlot{"savegame.03", true, true}, CasoSlot{"other.3", true, false},
                    CasoSlot{"savegame.00007", true, true}, CasoSlot{"savegame.000000000000000", true, true},
                    CasoSlot{"savegame.00015", true, false},
                    CasoSlot{"C:\\Games\\Trle\\savegame.000012", false, true}));

TEST_F(SlotTest, NoWarningOutsideARun) {
    FuoriGioco = true;
    EXPECT_FALSE(IsPathSavegame("C:\\x\\savegame.1", false));
    EXPECT_EQ(Log().find("WARNING"), std::string::npos);
}

TEST(SavegameFileTest, SlotPathInTheTrimmedGameFolder) {
    CartellaTrle = "  C:\\Trle ";
    EXPECT_EQ(PercorsoSavegame(0), "C:\\Trle\\savegame.0");
    EXPECT_EQ(PercorsoSavegame(14), "C:\\Trle\\savegame.14");
    CartellaTrle.clear();
}

TEST(SavegameFileTest, DeletesOnlyTheSlotFilesOfAFolder) {
    CartellaProva dir;
    for (const char* n : {"savegame.0", "savegame.9", "savegame.14", "savegame.15", "savegame.bak", "other.1"})
        ASSERT_TRUE(ScriviFileProva(dir / n, "x"));
    SetFileAttributesA((dir / "savegame.9").c_str(), FILE_ATTRIBUTE_READONLY);
    CancellaSavegameCartella(dir.Percorso());
    for (const char* n : {"savegame.0", "savegame.9", "savegame.14"}) EXPECT_FALSE(EsisteFileProva(dir / n)) << n;
    for (const char* n : {"savegame.15", "savegame.bak", "other.1"}) EXPECT_TRUE(EsisteFileProva(dir / n)) << n;
    CancellaSavegameCartella(dir / "missing");
}

struct CasoCampo {
    int32_t codice;
    const char* riga;
};

class CampoMoveableTest : public testing::TestWithParam<CasoCampo> {};

TEST_P(CampoMoveableTest, RowOfTheField) { EXPECT_EQ(NomeCampoMoveable(GetParam().codice), GetParam().riga); }

INSTANTIATE_TEST_SUITE_P(Fields, CampoMoveableTest,
                         testing::Values(CasoCampo{0x300, "0300:w:Lara.Mark"}, CasoCampo{0x403, "0403:w:Enemy.PosZ"},
                                         CasoCampo{0x304, "0304:b:Lara.Room"},
                                         CasoCampo{0x30A, "030A:b:Lara.CurrentAnimation"},
                                         CasoCampo{0x411, "0411:b:Enemy.Flags"},
                                         CasoCampo{0x317, "0317:w:Lara.ew_1000"},
                                         // Only bits 0x700 equal to 0x400 make an enemy.
                                         CasoCampo{0x501, "0501:w:Lara.PosX"},
                                         CasoCampo{0x318, ""}, CasoCampo{0x3FF, ""}));

class FileSavegameTest : public CartellaSavegame {};

TEST_F(FileSavegameTest, LoadsTheWholeFile) {
    const std::string dati = Gioco(7) + "tail";
    Metti(3, dati);
    SavegameBin immagine = "old";
    ASSERT_TRUE(CaricaSavegameBin(Slot(3), immagine));
    EXPECT_EQ(mano::Differenza(immagine, dati), -1);
    EXPECT_FALSE(CaricaSavegameBin(Slot(4), immagine));
    UnErrore("ERROR in CaricaSavegameBin(): not found savegame: " + Slot(4));
}

TEST_F(FileSavegameTest, WritesWithTheChecksumAndReplacesTheWholeFile) {
    // A longer file in the slot is replaced, not overwritten in place.
    Metti(2, std::string(20000, 'x'));
    SavegameBin immagine = Gioco(9);
    immagine[3000] = 0x11;  // the checksum no longer holds
    ASSERT_TRUE(SalvaSavegameBin(Slot(2), immagine, false));
    const std::string scritto = Leggi(2);
    ASSERT_EQ(scritto.size(), 15954u);
    EXPECT_EQ(mano::SommaChecksum(scritto), 0u);
    EXPECT_EQ(scritto[3000], 0x11);
    EXPECT_EQ(mano::Differenza(scritto, immagine), -1);
    // Nothing is left beside it.
    int32_t n = 0;
    EXPECT_EQ(ElencoFile(trle.Percorso(), "*", n).size(), 1u);
    NessunErrore();
}

TEST_F(FileSavegameTest, AValidImageIsWrittenUnchanged) {
    SavegameBin immagine = Gioco(9);
    const SavegameBin prima = immagine;
    ASSERT_TRUE(SalvaSavegameBin(Slot(1), immagine, false));
    EXPECT_EQ(mano::Differenza(Leggi(1), prima), -1);
}

TEST_F(FileSavegameTest, KeepsTheChecksumWhenAsked) {
    SavegameBin immagine = Gioco(9);
    immagine[488] = static_cast<char>(~immagine[488]);
    ASSERT_TRUE(SalvaSavegameBin(Slot(1), immagine, true));
    EXPECT_EQ(mano::Differenza(Leggi(1), immagine), -1);
    EXPECT_NE(mano::SommaChecksum(Leggi(1)), 0u);
}

TEST_F(FileSavegameTest, AShortImageIsNotWritten) {
    Metti(5, Gioco(4));
    SavegameBin corto = Gioco(9).substr(0, 15953);
    EXPECT_FALSE(SalvaSavegameBin(Slot(5), corto, false));
    EXPECT_EQ(mano::Differenza(Leggi(5), Gioco(4)), -1);
    EXPECT_EQ(NumErroriLog, 1);
}

// The game reads the slot it loads and lets it go a moment later: the write
// waits for it, whatever way the slot is held, since only the write's own
// refusal tells it (a holder that asks for no data refuses no look, yet no
// file it has open can be replaced). One held past the bound is left as it
// was.
TEST_F(FileSavegameTest, ASlotTheGameHoldsIsWrittenOnceItLetsItGo) {
    const auto Tieni = [this](DWORD accesso, DWORD condivisione) {
        return CreateFileA(Slot(2).c_str(), accesso, condivisione, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                           nullptr);
    };
    struct Caso {
        const char* nome;
        DWORD accesso, condivisione;
    };
    const DWORD tutti = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    for (const Caso& c : {Caso{"a reader, as the game loads", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE},
                          Caso{"a reader that shares everything", GENERIC_READ, tutti},
                          Caso{"a look at its attributes only", FILE_READ_ATTRIBUTES, tutti}}) {
        SCOPED_TRACE(c.nome);
        Metti(2, Gioco(4));
        SavegameBin immagine = Gioco(9);
        ClockUseManual(false);
        HANDLE h = Tieni(c.accesso, c.condivisione);
        ASSERT_NE(h, INVALID_HANDLE_VALUE);
        // Far below the bound, even at the emulator's pace.
        std::thread gioco([h] {
            Sleep(300);
            CloseHandle(h);
        });
        EXPECT_TRUE(SalvaSavegameBin(Slot(2), immagine, false));
        gioco.join();
        EXPECT_EQ(mano::Differenza(Leggi(2), Gioco(9)), -1);
        NessunErrore();
    }
    Metti(2, Gioco(4));
    SavegameBin immagine;
    HANDLE h = Tieni(GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    ClockUseManual(true, 1000);
    immagine = Gioco(9);
    EXPECT_FALSE(SalvaSavegameBin(Slot(2), immagine, false));
    EXPECT_EQ(ClockTick() - 1000, AttesaSavegameInUso);
    CloseHandle(h);
    EXPECT_EQ(mano::Differenza(Leggi(2), Gioco(4)), -1);
    EXPECT_EQ(Righe(), std::vector<std::string>{"ERROR in SalvaSavegameBin(): cannot write " + Slot(2)});
    EXPECT_EQ(NumErroriLog, 1);
}

TEST_F(FileSavegameTest, ListsAndCopiesTheSlotFilesInOrder) {
    for (int n : {14, 0, 7}) Metti(n, Gioco(n + 1));
    ASSERT_TRUE(ScriviFileProva(trle / "savegame.15", "x"));
    ASSERT_TRUE(ScriviFileProva(trle / "savegame.x", "x"));
    int32_t conteggio = 0;
    EXPECT_EQ(ElencoSavegameCartella(trle.Percorso(), conteggio),
              (std::vector<std::string>{Slot(0), Slot(7), Slot(14)}));
    EXPECT_EQ(conteggio, 3);
    CartellaProva altra;
    ASSERT_TRUE(ScriviFileProva(altra / "savegame.7", "older"));
    ASSERT_TRUE(ScriviFileProva(altra / "savegame.3", "kept"));
    CopiaSavegameCartella(trle.Percorso(), altra.Percorso());
    EXPECT_EQ(mano::Differenza(LeggiFileProva(altra / "savegame.7"), Gioco(8)), -1);
    EXPECT_EQ(LeggiFileProva(altra / "savegame.3"), "kept");
    EXPECT_FALSE(EsisteFileProva(altra / "savegame.15"));
    ElencoSavegameCartella(altra.Percorso(), conteggio);
    EXPECT_EQ(conteggio, 4);
}

TEST_F(FileSavegameTest, CheckLines) {
    Metti(1, mano::SavegameGioco("  Cave  ", 12, 1, 100));
    Metti(2, Gioco(0));
    Metti(3, "short");
    EXPECT_EQ(VerificaFileSavegame(Slot(1)), "savegame.1 [12: Cave]");
    NessunErrore();
    // The file's number is read from its low 16 bits.
    Metti(1, mano::SavegameGioco("Cave", 0x10005, 1, 100));
    std::string titolo;
    EXPECT_EQ(LeggiTitoloSavegame(Slot(1), titolo), 5);
    EXPECT_EQ(VerificaFileSavegame(Slot(2)), "savegame.2 [0: Level 0]");
    EXPECT_EQ(VerificaFileSavegame(Slot(3)), "savegame.3 [-1: <NOT READABLE>]");
    EXPECT_EQ(VerificaFileSavegame(Slot(4)), "MISSING savegame.4");
    // Each error line opens with a line break.
    EXPECT_EQ(Righe(), (std::vector<std::string>{"", "ERROR: savegame file savegame.2 is corrupted", "",
                                                 "ERROR: savegame file savegame.3 is corrupted", "",
                                                 "ERROR not found savegame: \"" + Slot(4) + "\""}));
    EXPECT_EQ(NumErroriLog, 3);
}

}  // namespace
