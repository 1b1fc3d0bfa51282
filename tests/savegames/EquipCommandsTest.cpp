// Equipment command lists: the reader of the EQUIPMENT section, every
// command type run on hand-laid savegames and checked by the bytes it
// leaves, the backups and restores through files, and the log's words.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/LevelVariables.h"
#include "core/MediaConfig.h"
#include "core/MediaTrigger.h"
#include "core/ModuleInit.h"
#include "core/SharedState.h"
#include "savegames/EquipCommands.h"
#include "savegames/EquipDescriptions.h"
#include "savegames/MoveableSearch.h"
#include "tests/core/LogLines.h"
#include "tests/savegames/SavegameBytes.h"
#include "tests/support/TestFolders.h"

namespace {

std::string Sezione(int32_t flags, const std::vector<std::string>& record, int32_t vero = -1, int32_t falso = -1) {
    std::string s = "#FLAGS#=" + std::to_string(flags) + "\r\n#MEDIA_TRUE#=" + std::to_string(vero) +
                    "\r\n#MEDIA_FALSE#=" + std::to_string(falso) + "\r\n#TOT_RECORDS#=" +
                    std::to_string(record.size()) + "\r\n";
    for (size_t i = 0; i < record.size(); ++i) {
        const std::string n = std::to_string(i + 1);
        s += "<RECORD" + n + ">\r\n#PREVIOUS_OPERATOR#=0\r\n" + record[i] + "\r\n<END_RECORD" + n + ">\r\n";
    }
    return s;
}

class EquipTest : public ConRigheLogTenute {
protected:
    void SetUp() override {
        ConRigheLogTenute::SetUp();
        ImpostaTabelleLingueCampi();
        PercorsoStore = store.Percorso();
        CartellaTrle.clear();
        HeaderMcf.CartellaMcf.clear();
    }
    void TearDown() override {
        EquipmentHeader = IntestazioneEquipment{};
        PercorsoStore.clear();
        LinguaForzata.clear();
        ConRigheLogTenute::TearDown();
    }
    // Reads the section and runs its first record.
    bool Esegui(const std::string& sezione, std::string& immagine, bool& errore) {
        EXPECT_TRUE(LeggiEquipmentChunk(sezione));
        BufferLog.clear();
        NumErroriLog = 0;
        return EseguiIstruzioneEquip(immagine, 0, errore);
    }
    CartellaProva store;
};

// ---------------------------------------------------------------- reader

TEST_F(EquipTest, AnEmptySectionHasNoRecords) {
    EquipmentHeader.Flags = 5;
    EquipmentHeader.Records.assign(3, EquipCommand{});
    EquipmentHeader.Records[0].CommandType = 9;
    EXPECT_TRUE(LeggiEquipmentChunk(""));
    EXPECT_EQ(EquipmentHeader.Flags, 0);
    EXPECT_EQ(EquipmentHeader.TotRecords, 0);
    EXPECT_EQ(EquipmentHeader.MediaTrue, -1);
    EXPECT_EQ(EquipmentHeader.MediaFalse, -1);
    // No command of the media read before is left to run.
    ASSERT_EQ(EquipmentHeader.Records.size(), 1u);
    EXPECT_EQ(EquipmentHeader.Records[0].CommandType, 0);
    NessunErrore();
}

TEST_F(EquipTest, ReadsTheHeaderAndEveryKindOfRecord) {
    const std::string sezione =
        "#FLAGS#=&H10\r\n#MEDIA_TRUE#=12\r\n#MEDIA_FALSE#=~\r\n#TOT_RECORDS#=1\r\n"
        "<RECORD1>\r\n#COMMAND_TYPE#=0\r\n#PREVIOUS_OPERATOR#=0\r\n#OFFSET#=1\r\n#OFFSET_SIZE#=1\r\n"
        "#OPERATION#=1\r\n#VALUE#=1\r\n<END_RECORD1>\r\n";
    // "~" is no number: the reading stops there, with the flags kept.
    EXPECT_FALSE(LeggiEquipmentChunk(sezione));
    EXPECT_EQ(EquipmentHeader.Flags, 16);
    EXPECT_EQ(EquipmentHeader.MediaTrue, 12);
    EXPECT_EQ(EquipmentHeader.MediaFalse, -1);
    EXPECT_EQ(EquipmentHeader.TotRecords, 0);
    EXPECT_TRUE(HaRiga("ERROR missing #MEDIA_FALSE#= field"));
    BufferLog.clear();
    NumErroriLog = 0;

    ASSERT_TRUE(LeggiEquipmentChunk(Sezione(
        StoreResults,
        {"#COMMAND_TYPE#=0\r\n#OFFSET#=1030\r\n#OFFSET_SIZE#=2\r\n#OPERATION#=8\r\n#VALUE#=-5\r\n#SRC_ROOM#=4",
         "#COMMAND_TYPE#=6\r\n#SRC_ROOM#=5\r\n#TARGET_POS#=1024:-1:40000:16384:7",
         "#COMMAND_TYPE#=11\r\n#VALUE#=3\r\n#RESTORE_FLAGS#=&H41\r\n#EXTERN_BACKUP#=old.sav",
         "#COMMAND_TYPE#=10\r\n#VALUE#=3\r\n#RESTORE_FLAGS#=64",
         "#COMMAND_TYPE#=13\r\n#LAST_INPUT#=~", "#COMMAND_TYPE#=3\r\n#ENABLED_MEDIA#=44"})));
    const auto& r = EquipmentHeader.Records;
    ASSERT_EQ(EquipmentHeader.TotRecords, 6);
    ASSERT_EQ(r.size(), 7u);
    EXPECT_EQ(r[0].Offset, 1030);
    EXPECT_EQ(r[0].OffsetSize, 2);
    EXPECT_EQ(r[0].Operation, 8);
    EXPECT_EQ(r[0].Value, -5);
    EXPECT_EQ(r[0].SrcRoom, 4);
    EXPECT_EQ(r[1].SrcRoom, 5);
    EXPECT_EQ(r[1].TargetX, 1024);
    EXPECT_EQ(r[1].TargetY, -1);
    EXPECT_EQ(r[1].TargetZ, static_cast<int16_t>(40000 - 65536));
    EXPECT_EQ(r[1].TargetOrientation, 16384);
    EXPECT_EQ(r[1].TargetRoom, 7);
    EXPECT_EQ(r[2].RestoreFlags, 0x41);
    EXPECT_EQ(r[2].ExternBackup, "old.sav");
    EXPECT_EQ(r[3].ExternBackup, "");
    EXPECT_EQ(r[4].LastInput, "");
    EXPECT_EQ(r[5].Value, 44);
    NessunErrore();
}

struct CasoLettura {
    const char* nome;
    std::string record;
    std::string errore;
};

class LetturaErrataTest : public EquipTest, public testing::WithParamInterface<CasoLettura> {};

TEST_P(LetturaErrataTest, StopsWithItsErrorLine) {
    EXPECT_FALSE(LeggiEquipmentChunk(Sezione(0, {GetParam().record})));
    EXPECT_EQ(NumErroriLog, 1);
    EXPECT_TRUE(HaRiga(GetParam().errore)) << BufferLog;
}

INSTANTIATE_TEST_SUITE_P(
    Records, LetturaErrataTest,
    testing::Values(
        CasoLettura{"NoType", "#OFFSET#=3", "ERROR missing #COMMAND_TYPE#= field"},
        CasoLettura{"RoomOfAnEnemyField", "#COMMAND_TYPE#=0\r\n#OFFSET#=1030\r\n#OFFSET_SIZE#=2\r\n#OPERATION#=1\r\n#VALUE#=1",
                    "ERROR missing #SRC_ROOM#= field"},
        CasoLettura{"NotANumber", "#COMMAND_TYPE#=12\r\n#VALUE#=twelve", "ERROR missing #VALUE#= field"},
        CasoLettura{"FourItems", "#COMMAND_TYPE#=4\r\n#SRC_ROOM#=1\r\n#TARGET_POS#=1024:0:2048:16384",
                    "ERROR in #target_Pos# field: wrong number of arguments"},
        CasoLettura{"ItemNotANumber", "#COMMAND_TYPE#=4\r\n#SRC_ROOM#=1\r\n#TARGET_POS#=1024:y:2048:16384:1",
                    "ERROR in #target_Pos# field: wrong value y"},
        CasoLettura{"RoomTooLarge", "#COMMAND_TYPE#=6\r\n#SRC_ROOM#=1\r\n#TARGET_POS#=1024:0:2048:16384:256",
                    "ERROR in #target_Pos# field: wrong value 256"},
        CasoLettura{"CoordinateTooLarge", "#COMMAND_TYPE#=6\r\n#SRC_ROOM#=1\r\n#TARGET_POS#=65536:0:2048:16384:2",
                    "ERROR in #target_Pos# field: wrong value 65536"},
        CasoLettura{"NoLastInput", "#COMMAND_TYPE#=13", "ERROR missing #LAST_INPUT#= field"}),
    [](const testing::TestParamInfo<CasoLettura>& info) { return std::string(info.param.nome); });

TEST_F(EquipTest, AMissingRecordSectionStopsTheReading) {
    std::string sezione = Sezione(0, {"#COMMAND_TYPE#=9"});
    sezione.replace(sezione.find("#TOT_RECORDS#=1"), 15, "#TOT_RECORDS#=2");
    EXPECT_FALSE(LeggiEquipmentChunk(sezione));
    EXPECT_EQ(EquipmentHeader.TotRecords, 2);
    ASSERT_EQ(EquipmentHeader.Records.size(), 3u);
    EXPECT_EQ(EquipmentHeader.Records[0].CommandType, 9);
    EXPECT_EQ(EquipmentHeader.Records[1].CommandType, 0);
    EXPECT_EQ(NumErroriLog, 1);
    EXPECT_EQ(Righe(), std::vector<std::string>{"ERROR missing #COMMAND_TYPE#= field"});
}

TEST_F(EquipTest, ACountOutsideItsRangeIsRefused) {
    for (const char* totale : {"-1", "10000", "&H7FFFFFFF"}) {
        BufferLog.clear();
        NumErroriLog = 0;
        std::string sezione = Sezione(0, {});
        sezione.replace(sezione.find("#TOT_RECORDS#=0"), 15, std::string("#TOT_RECORDS#=") + totale);
        EXPECT_FALSE(LeggiEquipmentChunk(sezione)) << totale;
        EXPECT_EQ(EquipmentHeader.TotRecords, 0);
        EXPECT_EQ(EquipmentHeader.Records.size(), 1u);
        EXPECT_EQ(NumErroriLog, 1);
        EXPECT_TRUE(HaRigaCheInizia("ERROR wrong #TOT_RECORDS#= field: ")) << BufferLog;
    }
}

// ---------------------------------------------------------------- commands

// The base: Lara and the enemy of ConLaraENemico, words 5 at 512, 0x800 at
// 520 and -7 at 530, a long at 540, a byte 250 at 700, weapons and every CD
// track played.
std::string Base() {
    std::string s = mano::ConLaraENemico();
    mano::Byte(s, 512, {5, 0});
    mano::Byte(s, 520, {0x00, 0x08});
    mano::Byte(s, 530, {0xF9, 0xFF});  // -7
    mano::Byte(s, 540, {0xFF, 0xFF, 0xFF, 0x7F});
    mano::Byte(s, 700, {250});
    mano::Byte(s, 89, {1});
    mano::Byte(s, 95, {2});
    mano::Byte(s, 361, {1, 1, 1, 1, 1, 1, 1});
    for (int i = 586; i <= 690; ++i) s[static_cast<size_t>(i)] = 1;
    return s;
}

using Modifica = void (*)(std::string&);

struct CasoComando {
    const char* nome;
    int32_t flags;
    std::string record;
    bool risultato;
    bool errore;
    Modifica modifica;  // what the command leaves in the base, nullptr nothing
    std::vector<std::string> righe;  // lines the log must hold
};

class ComandoTest : public EquipTest, public testing::WithParamInterface<CasoComando> {
protected:
    void SetUp() override {
        EquipTest::SetUp();
        ImpostaBit(ModificheAvvio, FaseSpecialMedia);
        VarLastInput = "Open Sesame";
        LinguaForzata = "ITALIAN";
        ListaMedia.assign(3, MediaTrigger{});
        ListaMedia[0].MediaCode = 12;
        ListaMedia[1].MediaCode = 13;
        ListaMedia[1].Options = Disabled;
        HeaderMcf.TriggerCount = 2;
    }
    void TearDown() override {
        TogliBit(ModificheAvvio, FaseSpecialMedia);
        VarLastInput.clear();
        ListaMedia.clear();
        HeaderMcf.TriggerCount = 0;
        EquipTest::TearDown();
    }
};

TEST_P(ComandoTest, LeavesItsBytes) {
    const CasoComando& c = GetParam();
    std::string immagine = Base();
    std::string attesa = Base();
    if (c.modifica) c.modifica(attesa);
    bool errore = !c.errore;
    EXPECT_EQ(Esegui(Sezione(c.flags, {c.record}), immagine, errore), c.risultato);
    EXPECT_EQ(errore, c.errore);
    EXPECT_EQ(mano::Differenza(immagine, attesa), -1);
    for (const std::string& riga : c.righe) EXPECT_TRUE(HaRiga(riga)) << riga << "\n" << BufferLog;
    if (!c.errore && c.risultato) {
        EXPECT_EQ(NumErroriLog, 0) << BufferLog;
    }
}

std::string Std(int32_t offset, int32_t dimensione, int32_t operazione, int32_t valore) {
    return "#COMMAND_TYPE#=0\r\n#OFFSET#=" + std::to_string(offset) + "\r\n#OFFSET_SIZE#=" + std::to_string(dimensione) +
           "\r\n#OPERATION#=" + std::to_string(operazione) + "\r\n#VALUE#=" + std::to_string(valore);
}

INSTANTIATE_TEST_SUITE_P(
    Standard, ComandoTest,
    testing::Values(
        CasoComando{"GreaterThanEqual", 0, Std(512, 2, OpGreaterThan, 5), false, false, nullptr,
                    {"Perform instruction: Offset 0x0200 [W] Greater than 5 (0x5)", "Current field value = 5  (0x0005)",
                     "Current operand value = 5  (0x0005)", "Result = False"}},
        CasoComando{"LessThan", 0, Std(530, 2, OpLessThan, -6), true, false, nullptr, {"Result = True"}},
        CasoComando{"EqualTo", 0, Std(512, 1, OpEqualTo, 5), true, false, nullptr, {}},
        CasoComando{"DifferentThan", 0, Std(512, 1, OpDifferentThan, 5), false, false, nullptr, {}},
        CasoComando{"BitIsSet", 0, Std(512, 2, OpBitIsSet, 4), true, false, nullptr, {}},
        CasoComando{"BitIsClear", 0, Std(512, 2, OpBitIsClear, 2), true, false, nullptr, {}},
        CasoComando{"NoneIsFalse", 0, Std(512, 2, OpNone, 2), false, false, nullptr,
                    {"Perform instruction: Offset 0x0200 [W]  ...  2 (0x2)"}},
        CasoComando{"ComparisonStoredUnchanged", StoreResults, Std(512, 2, OpGreaterThan, 9), true, false, nullptr,
                    {"Result = 5 (0x0005)"}},
        CasoComando{"AddKeepsTheWidth", StoreResults, Std(700, 1, OpAdd, 10), true, false,
                    [](std::string& s) { mano::Byte(s, 700, {4}); }, {"Result = 260 (0x0104)"}},
        CasoComando{"SetToReadsNothing", StoreResults, Std(512, 2, OpSetTo, -2), true, false,
                    [](std::string& s) { mano::Byte(s, 512, {0xFE, 0xFF}); }, {"Result = -2 (0xFFFE)"}},
        CasoComando{"DivideTowardZero", StoreResults, Std(530, 2, OpDivide, 2), true, false,
                    [](std::string& s) { mano::Byte(s, 530, {0xFD, 0xFF}); }, {}},
        CasoComando{"Multiply", StoreResults, Std(512, 2, OpMultiply, -3), true, false,
                    [](std::string& s) { mano::Byte(s, 512, {0xF1, 0xFF}); }, {}},
        CasoComando{"SetBit", StoreResults, Std(512, 1, OpSetBit, 0x82), true, false,
                    [](std::string& s) { mano::Byte(s, 512, {0x87}); }, {}},
        CasoComando{"ClearBit", StoreResults, Std(512, 1, OpClearBit, 4), true, false,
                    [](std::string& s) { mano::Byte(s, 512, {1}); }, {}},
        CasoComando{"AssignToLaraPosX", 0, Std(520, 2, OpAssign, 0x301), false, false,
                    [](std::string& s) { mano::Byte(s, 1002, {0x00, 0x08}); },
                    {"Perform instruction: Offset 0x0208 [W] Assign -> Lara.PosX"}},
        CasoComando{"AssignStored", StoreResults, Std(512, 2, OpAssign, 361), true, false,
                    [](std::string& s) { mano::Byte(s, 361, {5}); }, {}},
        CasoComando{"UnknownOperatorIsNone", StoreResults, Std(512, 2, 14, 3), true, false, nullptr,
                    {"Perform instruction: Offset 0x0200 [W] UKNOWN 3 (0x3)"}},
        CasoComando{"LaraField", StoreResults, Std(0x302, 2, OpAdd, -256), true, false,
                    [](std::string& s) { mano::Byte(s, 1004, {0x00, 0xFF}); },
                    {"Perform instruction: {Lara.PosY} [W] Add -256 (0xFFFFFF00)"}},
        CasoComando{"EnemyFieldInItsRoom", 0,
                    "#COMMAND_TYPE#=0\r\n#OFFSET#=1040\r\n#OFFSET_SIZE#=2\r\n#OPERATION#=3\r\n#VALUE#=9022\r\n"
                    "#SRC_ROOM#=5",
                    true, false, nullptr, {"Current field value = 9022  (0x233E)"}},
        CasoComando{"NoEnemyInTheRoom", 0,
                    "#COMMAND_TYPE#=0\r\n#OFFSET#=1040\r\n#OFFSET_SIZE#=2\r\n#OPERATION#=3\r\n#VALUE#=1\r\n"
                    "#SRC_ROOM#=6",
                    false, true, nullptr, {"ERROR not found moveable structure"}},
        CasoComando{"DivisionByZero", StoreResults, Std(512, 2, OpDivide, 0), false, true, nullptr,
                    {"Error performing equip command: Offset 0x0200 [W] Divide 0 (0x0)", "Error: Division by zero"}},
        CasoComando{"AddOverflow", StoreResults, Std(540, 4, OpAdd, 1), false, true, nullptr, {"Error: Overflow"}},
        CasoComando{"MultiplyOverflow", StoreResults, Std(540, 4, OpMultiply, 2), false, true, nullptr,
                    {"Error: Overflow"}},
        CasoComando{"LastOffsetAsALong", StoreResults, Std(762, 4, OpSetTo, 1), true, false,
                    [](std::string& s) { mano::Byte(s, 762, {1, 0, 0, 0}); }, {}},
        CasoComando{"NegativeOffset", 0, Std(-2, 2, OpEqualTo, 0), false, true, nullptr,
                    {"Error: offset -2 outside the savegame of 15954 bytes"}},
        CasoComando{"WrongWidth", 0, Std(512, 3, OpEqualTo, 5), false, true, nullptr,
                    {"ERROR: not valid size 3 to read savegame offset 512"}}),
    [](const testing::TestParamInfo<CasoComando>& info) { return std::string(info.param.nome); });

INSTANTIATE_TEST_SUITE_P(
    Moveables, ComandoTest,
    testing::Values(
        CasoComando{"LaraInRoom", 0, "#COMMAND_TYPE#=1\r\n#SRC_ROOM#=3\r\n#VALUE#=1", true, false, nullptr,
                    {"Perform instruction: IsLaraInRoom 3 is TRUE", "Found Lara in room 3: Probability = 10"}},
        CasoComando{"LaraNotInRoom", 0, "#COMMAND_TYPE#=1\r\n#SRC_ROOM#=4\r\n#VALUE#=0", false, false, nullptr,
                    {"Perform instruction: IsLaraInRoom 4 is FALSE", "Not found Lara in room 4"}},
        CasoComando{"EnemyInRoom", 0, "#COMMAND_TYPE#=2\r\n#SRC_ROOM#=5\r\n#VALUE#=1", true, false, nullptr,
                    {"Found enemy in room 5"}},
        CasoComando{"EnemyNotInRoom", 0, "#COMMAND_TYPE#=2\r\n#SRC_ROOM#=3\r\n#VALUE#=1", false, false, nullptr,
                    {"Not found enemy in room 3"}},
        CasoComando{"MoveLara", 0, "#COMMAND_TYPE#=4\r\n#SRC_ROOM#=0\r\n#TARGET_POS#=2048:-256:40000:16384:7", true,
                    false,
                    [](std::string& s) { mano::Byte(s, 1002, {0x00, 0x08, 0x00, 0xFF, 0x40, 0x9C, 7, 0x00, 0x40}); },
                    {"Perform instruction: MoveLaraTo X=2048 Y=-256 Z=-25536 Room=7 Orient.=4000",
                     "Found lara. Probability = 10", "Move Lara in: X=2048 Y=-256 Z=-25536 Room=7 Orient.=4000"}},
        CasoComando{"MoveEnemy", 0, "#COMMAND_TYPE#=6\r\n#SRC_ROOM#=5\r\n#TARGET_POS#=3000:100:4000:-32768:9", true,
                    false,
                    [](std::string& s) { mano::Byte(s, 1102, {0xB8, 0x0B, 100, 0, 0xA0, 0x0F, 9, 0x00, 0x80}); },
                    {"Perform instruction: MoveEnemyFrom5To X=3000 Y=100 Z=4000 Room=9 Orient.=8000",
                     "Move enemy in: X=3000 Y=100 Z=4000 Room=9 Orient.=8000"}},
        CasoComando{"MoveNoEnemy", 0, "#COMMAND_TYPE#=6\r\n#SRC_ROOM#=2\r\n#TARGET_POS#=3000:100:4000:0:9", false,
                    true, nullptr, {"ERROR: Not found enemy in room 2"}},
        CasoComando{"KillAntiTrigger", 0, "#COMMAND_TYPE#=5\r\n#SRC_ROOM#=5\r\n#VALUE#=1212121", true, false,
                    [](std::string& s) {
                        mano::Byte(s, 1102, {0, 0});
                        mano::Byte(s, 1106, {0, 0});
                    },
                    {"Perform instruction: KillEnemy 5", "Kill it in anti-trigger mode", "Kill enemy"}},
        CasoComando{"KillDefinitively", 0, "#COMMAND_TYPE#=5\r\n#SRC_ROOM#=5\r\n#VALUE#=0", true, false,
                    [](std::string& s) {
                        mano::Byte(s, 1100, {0x00, 0xC0, 0x00, 0x05, 0x00, 0x00, 0x05, 0x06, 0x05, 0x00, 0x10, 0x07,
                                             0x07, 0x00, 0x64, 0x00, 0x0A, 0x00, 0x00, 0x20, 0x3E, 0x23, 0x80, 0x00});
                    },
                    {"Kill it definitively", "Old size structure = 22  New size structure = 24"}},
        CasoComando{"KillNoEnemy", 0, "#COMMAND_TYPE#=5\r\n#SRC_ROOM#=2\r\n#VALUE#=0", false, false, nullptr,
                    {"ERROR: Not found enemy in room 2"}},
        CasoComando{"SetDozy", 0, "#COMMAND_TYPE#=7", true, false,
                    [](std::string& s) {
                        mano::Byte(s, 99, {3, 0});
                        mano::Byte(s, 131, {0, 0});
                        mano::Byte(s, 449, {215, 0});
                        mano::Byte(s, 467, {215, 0});
                        // Two bytes longer: the enemy moves up by two.
                        const std::string enemy = s.substr(1100, 22);
                        s.replace(1100, 22, std::string(22, '\0'));
                        s.replace(1102, 22, enemy);
                        mano::Byte(s, 1000, {0x0D, 0x80, 0x00, 0x04, 0x61, 0xFF, 0x00, 0x07, 0x03, 0x00, 0x40, 0xC0,
                                             0x00, 0x11, 0x12, 0x00, 0x17, 0x00, 0x0A, 0x00, 0x00, 0x00, 0x00, 0x00});
                    },
                    {"Perform instruction: SetDozy"}},
        CasoComando{"ClearDozy", 0, "#COMMAND_TYPE#=8", true, false,
                    [](std::string& s) {
                        mano::Byte(s, 131, {3, 0});
                        mano::Byte(s, 1004, {0x00, 0xFF});
                        mano::Byte(s, 1011, {2, 2, 0, 103, 0});
                    },
                    {"Perform instruction: ClearDozy"}}),
    [](const testing::TestParamInfo<CasoComando>& info) { return std::string(info.param.nome); });

INSTANTIATE_TEST_SUITE_P(
    Others, ComandoTest,
    testing::Values(
        CasoComando{"MediaEnabled", 0, "#COMMAND_TYPE#=3\r\n#ENABLED_MEDIA#=12", true, false, nullptr,
                    {"Perform instruction: IsMedia12Enabled"}},
        CasoComando{"MediaDisabled", 0, "#COMMAND_TYPE#=3\r\n#ENABLED_MEDIA#=13", false, false, nullptr, {}},
        CasoComando{"MediaMissing", 0, "#COMMAND_TYPE#=3\r\n#ENABLED_MEDIA#=99", false, true, nullptr,
                    {"ERROR: not found media with code = 99"}},
        CasoComando{"Disarm", 0, "#COMMAND_TYPE#=9", true, false,
                    [](std::string& s) {
                        mano::Byte(s, 95, {0});
                        mano::Byte(s, 89, {3});
                        mano::Byte(s, 361, {0, 0, 0, 0, 0, 0});
                    },
                    {"Perform instruction: DisarmLara"}},
        CasoComando{"ClearOneCd", 0, "#COMMAND_TYPE#=12\r\n#VALUE#=3", true, false,
                    [](std::string& s) { s[589] = 0; }, {"Perform instruction: ClearUsedCD 003"}},
        CasoComando{"ClearLastCd", 0, "#COMMAND_TYPE#=12\r\n#VALUE#=104", true, false,
                    [](std::string& s) { s[690] = 0; }, {}},
        CasoComando{"ClearAllCd", 0, "#COMMAND_TYPE#=12\r\n#VALUE#=-1", true, false,
                    [](std::string& s) {
                        for (int i = 586; i <= 690; ++i) s[static_cast<size_t>(i)] = 0;
                    },
                    {"Perform instruction: ClearUsedCD ALL"}},
        CasoComando{"ClearCdPastTheArray", 0, "#COMMAND_TYPE#=12\r\n#VALUE#=105", false, true, nullptr,
                    {"ERROR: not valid CD track index = 105 (-1 or 0 to 104)"}},
        CasoComando{"ClearCdNegative", 0, "#COMMAND_TYPE#=12\r\n#VALUE#=-2", false, true, nullptr,
                    {"ERROR: not valid CD track index = -2 (-1 or 0 to 104)"}},
        CasoComando{"LastInputEqual", 0, "#COMMAND_TYPE#=13\r\n#LAST_INPUT#=OPEN sesame", true, false, nullptr,
                    {"Perform instruction: IsLastInputTextEqualTo \"OPEN sesame\"",
                     "Last Input value is equal to \"OPEN sesame\""}},
        CasoComando{"LastInputDifferent", 0, "#COMMAND_TYPE#=13\r\n#LAST_INPUT#=Open", false, false, nullptr,
                    {"Last Input value is different than \"Open\""}},
        CasoComando{"LanguageEqual", 0, "#COMMAND_TYPE#=14\r\n#VALUE#=3", true, false, nullptr,
                    {"Perform instruction: IsComputerLanguageEqual ITALIAN", "Language is equal to ITALIAN"}},
        CasoComando{"LanguageDifferent", 0, "#COMMAND_TYPE#=14\r\n#VALUE#=7", false, false, nullptr,
                    {"Language is different than GERMAN"}},
        CasoComando{"LanguageOutsideTheTable", 0, "#COMMAND_TYPE#=14\r\n#VALUE#=40", false, false, nullptr,
                    {"Perform instruction: IsComputerLanguageEqual 40", "Language is different than 40"}},
        CasoComando{"UnknownType", 0, "#COMMAND_TYPE#=20", false, true, nullptr,
                    {"Perform instruction: ", "ERROR: unknown command code = 20"}}),
    [](const testing::TestParamInfo<CasoComando>& info) { return std::string(info.param.nome); });

TEST_F(EquipTest, SetToReadsNoCurrentValue) {
    std::string immagine = Base();
    bool errore = false;
    ASSERT_TRUE(Esegui(Sezione(StoreResults, {Std(512, 2, OpSetTo, 9)}), immagine, errore));
    EXPECT_FALSE(HaRigaCheInizia("Current field value = "));
    EXPECT_TRUE(HaRiga("Current operand value = 9  (0x0009)"));
    ASSERT_TRUE(Esegui(Sezione(StoreResults, {Std(512, 2, OpAdd, 9)}), immagine, errore));
    EXPECT_TRUE(HaRiga("Current field value = 9  (0x0009)"));
    EXPECT_EQ(LeggiValore(immagine, 512, 2), 18);
}

TEST_F(EquipTest, TheBaseLaidByOurWritersIsTheHandLaidOne) {
    std::string s = mano::Savegame();
    ScriviValore(s, 99, 2, 0);
    ScriviValore(s, 127, 2, -1);
    ScriviValore(s, 251, 2, 0x4000);
    ScriviValore(s, 339, 4, -1);
    MoveableStruct lara;
    lara.Mark = static_cast<int16_t>(0x8000);
    lara.PosX = 0x400;
    lara.PosZ = 0x700;
    lara.Room = 3;
    lara.Orientation = 0x4000;
    lara.CurrentAnimation = lara.NextAnimation = 5;
    lara.AnimationId = 100;
    lara.AnimationFrame = 10;
    lara.Offset = 1000;
    lara.Length = 22;
    MoveableStruct nemico = lara;
    nemico.PosX = 0x500;
    nemico.PosZ = 0x605;
    nemico.Room = 5;
    nemico.Orientation = 0x1000;
    nemico.CurrentAnimation = nemico.NextAnimation = 7;
    nemico.TriggerStatus = 0x233E;
    nemico.Flags = 0x80;
    nemico.Offset = 1100;
    ASSERT_TRUE(VerificaStrutturaMoveable(s, lara, true));
    ASSERT_TRUE(VerificaStrutturaMoveable(s, nemico, false));
    EXPECT_EQ(mano::Differenza(s, mano::ConLaraENemico()), -1);
}

TEST_F(EquipTest, CommandsOnFixedOffsetsNeedASavegame) {
    for (const char* record : {"#COMMAND_TYPE#=9", "#COMMAND_TYPE#=12\r\n#VALUE#=-1", "#COMMAND_TYPE#=7"}) {
        std::string vuota;
        bool errore = false;
        EXPECT_FALSE(Esegui(Sezione(0, {record}), vuota, errore)) << record;
        EXPECT_TRUE(errore);
        EXPECT_TRUE(vuota.empty());
        EXPECT_TRUE(HaRigaCheInizia("Error: offset ")) << BufferLog;
    }
}

TEST_F(EquipTest, ACandidatePastTheMoveableAreaIsNoMoveable) {
    // A Lara-like structure whose end would fall past the moveable area.
    std::string s = mano::ConLaraENemico();
    mano::Byte(s, 1000, std::vector<int>(22, 0));
    // Something now and then, so that the search goes on to the end.
    for (size_t i = 1200; i < 15900; i += 400) s[i] = 1;
    mano::Byte(s, 15915, {0x00, 0x80, 0x00, 0x04, 0x00, 0x00, 0x00, 0x07, 0x03, 0x00, 0x40, 0x05, 0x05});
    EXPECT_EQ(CercaMoveableInRoom(s, true, -1), -1);
    bool errore = false;
    EXPECT_FALSE(Esegui(Sezione(0, {"#COMMAND_TYPE#=1\r\n#SRC_ROOM#=3\r\n#VALUE#=1"}), s, errore));
    EXPECT_FALSE(errore);
    EXPECT_TRUE(HaRiga("Not found Lara in room 3"));
}

// ---------------------------------------------------------------- backups

// A backup: other weapons, items, medipacks, statistics, number 7 and Lara
// elsewhere; the enemy gone from room 5 to room 6.
std::string Salvata() {
    std::string s = Base();
    mano::Byte(s, 75, {7, 0, 0, 0});
    for (int i = 361; i <= 427; ++i) s[static_cast<size_t>(i)] = static_cast<char>(0x40 + i % 32);
    for (int i : {493, 494, 495, 496, 79, 80, 85, 86, 489, 492, 509, 512, 507, 508, 497, 498})
        s[static_cast<size_t>(i)] = 0x33;
    mano::Byte(s, 1002, {0x00, 0x09, 0x10, 0x00, 0x00, 0x0A, 8, 0x00, 0x40});
    mano::Byte(s, 1108, {6});
    return s;
}

std::string Corrente() {
    std::string s = Base();
    mano::Byte(s, 75, {20, 0, 0, 0});
    return s;
}

class BackupEquipTest : public EquipTest {
protected:
    void MettiBackup(int n, const std::string& dati) { ASSERT_TRUE(ScriviFileProva(store / ("BackS" + std::to_string(n)), dati)); }
    bool Ripristina(int32_t flags, std::string& immagine, bool& errore, int32_t numero = 4) {
        return Esegui(Sezione(0, {"#COMMAND_TYPE#=11\r\n#VALUE#=" + std::to_string(numero) +
                                  "\r\n#RESTORE_FLAGS#=" + std::to_string(flags)}),
                      immagine, errore);
    }
};

TEST_F(BackupEquipTest, BackupWritesTheImageWithItsChecksumSpoilt) {
    std::string immagine = Corrente();
    mano::Chiudi(immagine);
    const std::string prima = immagine;
    bool errore = true;
    EXPECT_TRUE(Esegui(Sezione(0, {"#COMMAND_TYPE#=10\r\n#VALUE#=4\r\n#RESTORE_FLAGS#=0"}), immagine, errore));
    EXPECT_FALSE(errore);
    EXPECT_EQ(immagine, prima);
    std::string atteso = prima;
    atteso[488] = static_cast<char>(~static_cast<uint8_t>(atteso[488]));
    EXPECT_EQ(mano::Differenza(LeggiFileProva(store / "BackS4"), atteso), -1);
    EXPECT_TRUE(HaRiga("Perform instruction: BackupFile 4:"));
    // And back whole.
    std::string altra = Base();
    mano::Byte(altra, 75, {21, 0, 0, 0});
    ASSERT_TRUE(Ripristina(RipristinaTutto, altra, errore));
    std::string ripristinata = atteso;
    mano::Byte(ripristinata, 75, {21, 0, 0, 0});
    EXPECT_EQ(mano::Differenza(altra, ripristinata), -1);
}

struct CasoRipristino {
    const char* nome;
    int32_t flags;
    std::string (*atteso)();
    std::string descrizione;
};

class RipristinoTest : public BackupEquipTest, public testing::WithParamInterface<CasoRipristino> {};

TEST_P(RipristinoTest, TakesItsCategoriesFromTheBackup) {
    MettiBackup(4, Salvata());
    std::string immagine = Corrente();
    bool errore = true;
    EXPECT_TRUE(Ripristina(GetParam().flags, immagine, errore));
    EXPECT_FALSE(errore);
    EXPECT_EQ(mano::Differenza(immagine, GetParam().atteso()), -1);
    EXPECT_TRUE(HaRiga("Perform instruction: RestoreFile 4: " + GetParam().descrizione)) << BufferLog;
    EXPECT_TRUE(HaRiga("Restore following elements: " + GetParam().descrizione));
    EXPECT_EQ(NumErroriLog, 0) << BufferLog;
}

// The current image with the backup's bytes from..to.
void Da(std::string& s, int da, int a) { s.replace(da, a - da + 1, Salvata().substr(da, a - da + 1)); }

INSTANTIATE_TEST_SUITE_P(
    Categories, RipristinoTest,
    testing::Values(
        CasoRipristino{"Whole", RipristinaTutto,
                       [] {
                           std::string s = Salvata();
                           mano::Byte(s, 75, {20, 0, 0, 0});
                           return s;
                       },
                       "Whole Savegame"},
        CasoRipristino{"WholeWithExternCopiesNothing", RipristinaTutto | RipristinaEsterno,
                       [] { return Corrente(); }, "(EXTERN) Whole Savegame"},
        CasoRipristino{"Weapons", RipristinaArmi,
                       [] {
                           std::string s = Corrente();
                           Da(s, 361, 367);
                           Da(s, 406, 427);
                           return s;
                       },
                       "Weapons+Ammo"},
        CasoRipristino{"Inventory", RipristinaArmi | RipristinaMedipack | RipristinaOggetti,
                       [] {
                           std::string s = Corrente();
                           Da(s, 361, 367);
                           Da(s, 369, 427);
                           return s;
                       },
                       "All Inventory Items"},
        CasoRipristino{"LaraPosition", RipristinaPosizioneLara,
                       [] {
                           std::string s = Corrente();
                           Da(s, 1000, 1010);
                           return s;
                       },
                       "LaraPosition"},
        CasoRipristino{"Statistics", RipristinaStatistiche,
                       [] {
                           std::string s = Corrente();
                           Da(s, 493, 498);
                           Da(s, 79, 86);
                           Da(s, 489, 492);
                           Da(s, 507, 512);
                           return s;
                       },
                       "GameStatistics"},
        CasoRipristino{"EnemiesAndWeapons", RipristinaNemici | RipristinaArmi,
                       [] {
                           // The backup's moveables and weapons, the rest kept.
                           std::string s = Salvata();
                           const std::string c = Corrente();
                           s.replace(75, 4, c, 75, 4);
                           s.replace(369, 37, c, 369, 37);
                           s.replace(1000, 11, c, 1000, 11);
                           for (auto [da, a] : {std::pair{493, 498}, {79, 86}, {489, 492}, {507, 512}})
                               s.replace(da, a - da + 1, c, da, a - da + 1);
                           return s;
                       },
                       "Weapons+Ammo+Enemies+Triggers"},
        CasoRipristino{"ExternCopiesNothing", RipristinaEsterno, [] { return Corrente(); }, "(EXTERN) +"}),
    [](const testing::TestParamInfo<CasoRipristino>& info) { return std::string(info.param.nome); });

TEST_F(BackupEquipTest, AWholeRestoreIntoAnEmptyFolderNeverMakesNumberZero) {
    struct {
        int numeroBackup;
        int atteso;
    } casi[] = {{7, 7}, {0, 1}, {-3, 1}};
    for (const auto& c : casi) {
        std::string backup = Salvata();
        ScriviValore(backup, 75, 4, c.numeroBackup);
        MettiBackup(4, backup);
        // The image of a savegame that the restore makes.
        std::string immagine = mano::Savegame();
        bool errore = true;
        ASSERT_TRUE(Ripristina(RipristinaTutto, immagine, errore));
        EXPECT_EQ(LeggiValore(immagine, 75, 4), c.atteso);
        ScriviValore(backup, 75, 4, c.atteso);
        EXPECT_EQ(mano::Differenza(immagine, backup), -1);
    }
}

TEST_F(BackupEquipTest, AMissingOrDamagedBackupRestoresNothing) {
    struct {
        int32_t numero;
        std::string contenuto;  // "" no file
        std::string errore;
    } casi[] = {{5, "", "ERROR: not found backup file : BackS5"},
                {6, std::string(100, 'x'), "ERROR: wrong size of backup file : BackS6 (100 bytes)"},
                {7, std::string(15955, 'x'), "ERROR: wrong size of backup file : BackS7 (15955 bytes)"}};
    for (const auto& c : casi) {
        if (!c.contenuto.empty()) MettiBackup(c.numero, c.contenuto);
        for (int32_t flags : {RipristinaTutto, RipristinaArmi, RipristinaNemici}) {
            std::string immagine = Corrente();
            bool errore = false;
            EXPECT_FALSE(Ripristina(flags, immagine, errore, c.numero)) << c.numero;
            EXPECT_TRUE(errore);
            EXPECT_EQ(mano::Differenza(immagine, Corrente()), -1) << c.numero;
            EXPECT_EQ(NumErroriLog, 1);
            EXPECT_TRUE(HaRiga(c.errore)) << BufferLog;
        }
    }
}

TEST_F(BackupEquipTest, LaraMissingFromEitherImage) {
    std::string senzaLara = Salvata();
    mano::Byte(senzaLara, 1000, std::vector<int>(22, 0));
    MettiBackup(4, senzaLara);
    std::string immagine = Corrente();
    bool errore = false;
    EXPECT_FALSE(Ripristina(RipristinaPosizioneLara, immagine, errore));
    EXPECT_TRUE(errore);
    EXPECT_TRUE(HaRiga("ERROR: Not found Lara structure in backup file"));
    MettiBackup(4, Salvata());
    immagine = Corrente();
    mano::Byte(immagine, 1000, std::vector<int>(22, 0));
    EXPECT_FALSE(Ripristina(RipristinaPosizioneLara, immagine, errore));
    EXPECT_TRUE(errore);
    EXPECT_TRUE(HaRiga("ERROR: Not found Lara structure in current savegame"));
}

// ---------------------------------------------------------------- words

struct CasoDescrizione {
    std::string record;
    std::string descrizione;
};

class DescrizioneTest : public EquipTest, public testing::WithParamInterface<CasoDescrizione> {};

TEST_P(DescrizioneTest, DescribesTheCommand) {
    ASSERT_TRUE(LeggiEquipmentChunk(Sezione(0, {GetParam().record})));
    EXPECT_EQ(DescriviComandoEquip(0), GetParam().descrizione);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, DescrizioneTest,
    testing::Values(
        CasoDescrizione{Std(361, 1, OpSetTo, 1), "{Pistols} [B] Set to 1 (0x1)"},
        CasoDescrizione{Std(589, 1, OpEqualTo, 0), "{CD Array+3} [B] Equal to 0 (0x0)"},
        CasoDescrizione{Std(560, 2, OpEqualTo, 0), "{FlipMap Array+6} [W] Equal to 0 (0x0)"},
        CasoDescrizione{Std(0x302, 2, OpAdd, -256), "{Lara.PosY} [W] Add -256 (0xFFFFFF00)"},
        CasoDescrizione{Std(0x200, 2, OpGreaterThan, 5), "Offset 0x0200 [W] Greater than 5 (0x5)"},
        CasoDescrizione{Std(766, 4, OpMultiply, 3), "{Variable A} [L] Multiply 3 (0x3)"},
        CasoDescrizione{Std(0x200, 3, OpAssign, 0x403), "Offset 0x0200 Assign -> Enemy.PosZ"},
        CasoDescrizione{"#COMMAND_TYPE#=2\r\n#SRC_ROOM#=9\r\n#VALUE#=0", "IsEnemyInRoom 9 is FALSE"},
        CasoDescrizione{"#COMMAND_TYPE#=3\r\n#ENABLED_MEDIA#=12", "IsMedia12Enabled"},
        CasoDescrizione{"#COMMAND_TYPE#=4\r\n#SRC_ROOM#=0\r\n#TARGET_POS#=1:2:3:-1:4",
                        "MoveLaraTo X=1 Y=2 Z=3 Room=4 Orient.=FFFF"},
        CasoDescrizione{"#COMMAND_TYPE#=5\r\n#SRC_ROOM#=8\r\n#VALUE#=0", "KillEnemy 8"},
        CasoDescrizione{"#COMMAND_TYPE#=8", "ClearDozy"},
        CasoDescrizione{"#COMMAND_TYPE#=9", "DisarmLara"},
        CasoDescrizione{"#COMMAND_TYPE#=11\r\n#VALUE#=3\r\n#RESTORE_FLAGS#=1", "RestoreFile 3: Whole Savegame"},
        CasoDescrizione{"#COMMAND_TYPE#=12\r\n#VALUE#=7", "ClearUsedCD 007"},
        CasoDescrizione{"#COMMAND_TYPE#=14\r\n#VALUE#=0", "IsComputerLanguageEqual ENGLISH"},
        CasoDescrizione{"#COMMAND_TYPE#=20", ""}));

TEST(NomiEquip, RestoreCategories) {
    EXPECT_EQ(NomeCategoriaRipristino(0x0E), "All Inventory Items");
    EXPECT_EQ(NomeCategoriaRipristino(0x30), "Enemies+Triggers+LaraPosition");
    EXPECT_EQ(NomeCategoriaRipristino(0x48), "(EXTERN) +PickableItems+");
    EXPECT_EQ(NomeCategoriaRipristino(0x80), "GameStatistics");
    EXPECT_EQ(NomeCategoriaRipristino(0x1F), "Whole Savegame");
    EXPECT_EQ(NomeCategoriaRipristino(0x8E), "All Inventory Items+GameStatistics");
    EXPECT_EQ(NomeCategoriaRipristino(0), "");
}

TEST(NomiEquip, NamesOutsideTheTables) {
    EXPECT_EQ(NomeComandoSpeciale(-1), "UKNOWN");
    EXPECT_EQ(NomeComandoSpeciale(15), "UKNOWN");
    EXPECT_EQ(NomeOperatore(14), "UKNOWN");
    EXPECT_EQ(NomeOperatore(0), " ... ");
    ImpostaTabelleLingueCampi();
    int32_t larghezza = 9;
    EXPECT_EQ(NomeCampoSavegame(0x4B, larghezza), "Savegame Number");
    EXPECT_EQ(larghezza, 4);
    EXPECT_EQ(NomeCampoSavegame(0x2F0, larghezza), "02F0");
    EXPECT_EQ(larghezza, 4);
    EXPECT_EQ(NomeCampoSavegame(0x30A, larghezza), "Lara.CurrentAnimation");
    EXPECT_EQ(larghezza, 1);
}

}  // namespace
