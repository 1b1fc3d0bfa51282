// Savegame slot paths, the slot deletion of a folder and the moveable field names.
#include <gtest/gtest.h>

#include <windows.h>

#include "core/MediaLog.h"
#include "core/MoveableFields.h"
#include "core/SharedState.h"
#include "platform/Clock.h"
#include "savegames/SavegameFile.h"
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

}  // namespace
