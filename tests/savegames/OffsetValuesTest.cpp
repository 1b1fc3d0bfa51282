// Values by offset code: savegame offsets by width, the two game times kept
// consistent, the level variables, and moveable fields found by the search
// and clamped before they are stored.
#include <gtest/gtest.h>

#include "core/LevelVariables.h"
#include "core/SharedState.h"
#include "savegames/MoveableSearch.h"
#include "savegames/OffsetValues.h"
#include "tests/core/LogLines.h"
#include "tests/savegames/SavegameBytes.h"

namespace {

class CodiceTest : public ConRigheLog {
protected:
    void SetUp() override {
        ConRigheLog::SetUp();
        LogAbilitato = true;
    }
    void TearDown() override {
        LogAbilitato = false;
        ConRigheLog::TearDown();
    }
};

struct CasoLarghezza {
    int32_t dimensione;
    double letto;
    std::vector<int> scritto;
};

class LarghezzaTest : public CodiceTest, public testing::WithParamInterface<CasoLarghezza> {};

TEST_P(LarghezzaTest, ReadsAndWritesAnOffsetByWidth) {
    const CasoLarghezza& c = GetParam();
    std::string s = mano::Savegame();
    mano::Byte(s, 400, {0xFE, 0xFF, 0xFF, 0x7F});
    bool fallito = true;
    EXPECT_EQ(LeggiValorePerCodice(400, c.dimensione, 0, s, fallito), c.letto);
    EXPECT_FALSE(fallito);
    // Rounded to a whole number, halves to even.
    EXPECT_TRUE(ScriviValorePerCodice(400, c.dimensione, 0, s, 258.5));
    std::string atteso = mano::Savegame();
    mano::Byte(atteso, 400, {0xFE, 0xFF, 0xFF, 0x7F});
    mano::Byte(atteso, 400, c.scritto);
    EXPECT_EQ(mano::Differenza(s, atteso), -1);
    NessunErrore();
}

INSTANTIATE_TEST_SUITE_P(Widths, LarghezzaTest,
                         testing::Values(CasoLarghezza{1, 254, {0x02}}, CasoLarghezza{2, -2, {0x02, 0x01}},
                                         CasoLarghezza{4, 0x7FFFFFFE, {0x02, 0x01, 0x00, 0x00}}));

class LarghezzaErrataTest : public CodiceTest, public testing::WithParamInterface<int32_t> {};

TEST_P(LarghezzaErrataTest, IsRefused) {
    std::string s = mano::Savegame();
    mano::Byte(s, 400, {1, 2, 3});
    const std::string prima = s;
    bool fallito = false;
    EXPECT_EQ(LeggiValorePerCodice(400, GetParam(), 0, s, fallito), 0);
    EXPECT_TRUE(fallito);
    EXPECT_FALSE(ScriviValorePerCodice(400, GetParam(), 0, s, 5));
    EXPECT_EQ(mano::Differenza(s, prima), -1);
    EXPECT_EQ(NumErroriLog, 2);
}

INSTANTIATE_TEST_SUITE_P(Widths, LarghezzaErrataTest, testing::Values(0, 3, 8, -1));

TEST_F(CodiceTest, WritingARelativeFieldRecomputesTheAbsoluteTime) {
    std::string s = mano::Savegame();
    mano::Byte(s, 81, {1, 0});  // hours 1
    ASSERT_TRUE(ScriviValorePerCodice(79, 2, 0, s, 2));
    EXPECT_EQ(LeggiValore(s, 489, 4), 2 * 2592000 + 108000);
    EXPECT_EQ(Righe(), (std::vector<std::string>{
                           "Write operation on relative time fields: update [Absolute game time] field",
                           "Current relative game time fields: Days=2  Hours=1  Minutes=0  Seconds=0",
                           "New absolute time = 5292000 (0x50BFE0) "}));
}

TEST_F(CodiceTest, WritingTheAbsoluteTimeRecomputesTheRelativeFields) {
    std::string s = mano::Savegame();
    ASSERT_TRUE(ScriviValorePerCodice(489, 4, 0, s, 2592000 + 30));
    EXPECT_EQ(LeggiValore(s, 79, 2), 1);
    EXPECT_EQ(LeggiValore(s, 81, 2), 0);
    EXPECT_EQ(LeggiValore(s, 83, 2), 0);
    EXPECT_EQ(LeggiValore(s, 85, 2), 1);
    EXPECT_EQ(Righe(), (std::vector<std::string>{
                           "Write operation on absolute game time field: update relative fields: days, hours, "
                           "minutes and seconds",
                           "Current absolute game time: 2592030 (0x278D1E)",
                           "New relative game time fields: Days=1  Hours=0  Minutes=0  Seconds=1"}));
    // Every unit at once, and back again.
    ASSERT_TRUE(ScriviValorePerCodice(489, 4, 0, s, 3 * 2592000 + 4 * 108000 + 5 * 1800 + 6 * 30 + 29));
    EXPECT_EQ(LeggiValore(s, 79, 2), 3);
    EXPECT_EQ(LeggiValore(s, 81, 2), 4);
    EXPECT_EQ(LeggiValore(s, 83, 2), 5);
    EXPECT_EQ(LeggiValore(s, 85, 2), 6);
    ASSERT_TRUE(ScriviValorePerCodice(85, 2, 0, s, 6));
    EXPECT_EQ(LeggiValore(s, 489, 4), 3 * 2592000 + 4 * 108000 + 5 * 1800 + 6 * 30);
}

TEST_F(CodiceTest, OtherOffsetsLeaveTheTimesAlone) {
    std::string s = mano::Savegame();
    ASSERT_TRUE(ScriviValorePerCodice(87, 2, 0, s, 9));
    ASSERT_TRUE(ScriviValorePerCodice(493, 1, 0, s, 9));
    EXPECT_EQ(LeggiValore(s, 489, 4), 0);
    EXPECT_EQ(LeggiValore(s, 79, 2), 0);
    EXPECT_TRUE(Righe().empty());
}

struct CasoVariabile {
    int32_t codice;
    std::string* globale;
};

class VariabileTest : public CodiceTest, public testing::WithParamInterface<CasoVariabile> {
protected:
    void SetUp() override {
        CodiceTest::SetUp();
        ImpostaBit(ModificheAvvio, FaseSpecialMedia);
    }
    void TearDown() override {
        TogliBit(ModificheAvvio, FaseSpecialMedia);
        VarA = VarB = VarC = VarD = VarLastInput = "";
        CodiceTest::TearDown();
    }
};

TEST_P(VariabileTest, VariablesByCode) {
    std::string s = mano::Savegame();
    ASSERT_TRUE(ScriviValorePerCodice(GetParam().codice, 0, 0, s, 42));
    EXPECT_EQ(*GetParam().globale, "42");
    *GetParam().globale = "-17";
    bool fallito = true;
    EXPECT_EQ(LeggiValorePerCodice(GetParam().codice, 0, 0, s, fallito), -17);
    EXPECT_FALSE(fallito);
    *GetParam().globale = "";
    EXPECT_EQ(LeggiValorePerCodice(GetParam().codice, 0, 0, s, fallito), 0);
    EXPECT_EQ(mano::Differenza(s, mano::Savegame()), -1);
    EXPECT_EQ(NumErroriLog, 0);
}

INSTANTIATE_TEST_SUITE_P(Codes, VariabileTest,
                         testing::Values(CasoVariabile{763, &VarD}, CasoVariabile{764, &VarC},
                                         CasoVariabile{765, &VarB}, CasoVariabile{766, &VarA},
                                         CasoVariabile{767, &VarLastInput}));

TEST_F(CodiceTest, FindsLaraAndTheEnemy) {
    const std::string s = mano::ConLaraENemico();
    EXPECT_EQ(CercaMoveableInRoom(s, true, -1), 1000);
    EXPECT_TRUE(TipoMoveable);
    EXPECT_EQ(PunteggioMoveable, 10);
    EXPECT_EQ(MoveableCorrente.PosX, 1024);
    EXPECT_EQ(CercaMoveableInRoom(s, false, 5), 1100);
    EXPECT_FALSE(TipoMoveable);
    EXPECT_EQ(PunteggioMoveable, 10);
    EXPECT_EQ(Righe(), (std::vector<std::string>{"LARA:  10  0x3E8 ", "ENEMY:  10  0x44C "}));
}

TEST_F(CodiceTest, NoCandidateInTheRoom) {
    const std::string s = mano::ConLaraENemico();
    EXPECT_EQ(CercaMoveableInRoom(s, false, 4), -1);
    EXPECT_EQ(CercaMoveableInRoom(mano::Savegame(), true, 5), -1);
    EXPECT_EQ(Righe(), (std::vector<std::string>{"Moveable not found in room 4", "Moveable not found in room 5"}));
}

TEST_F(CodiceTest, PositionLimitsRejectACandidate) {
    std::string s = mano::ConLaraENemico();
    int32_t punteggio = 0;
    mano::Byte(s, 1002, {0x32, 0x02});  // PosX 562
    EXPECT_TRUE(PunteggioLara(s, 1000, punteggio, -1));
    mano::Byte(s, 1002, {0x31, 0x02});  // PosX 561
    EXPECT_FALSE(PunteggioLara(s, 1000, punteggio, -1));
    mano::Byte(s, 1002, {0xCD, 0xC9});  // PosX 51661
    EXPECT_TRUE(PunteggioLara(s, 1000, punteggio, -1));
    mano::Byte(s, 1002, {0xCE, 0xC9});
    EXPECT_FALSE(PunteggioLara(s, 1000, punteggio, -1));
    // An enemy with no trigger status is never one.
    mano::Byte(s, 1118, {0x00, 0x00});
    EXPECT_FALSE(PunteggioEnemy(s, 1100, punteggio, -1));
}

TEST_F(CodiceTest, NearCandidatesFavourTheEarliest) {
    std::string s = mano::ConLaraENemico();
    // A second Lara at 1300 scored 10, and the first down to 7 by a frame of
    // 8192 or more: the first keeps 7, the later one drops to 7 and loses.
    mano::Byte(s, 1300, {0x00, 0x80, 0x00, 0x04, 0x00, 0x00, 0x00, 0x07, 0x03, 0x00, 0x40,
                         0x05, 0x05, 0x00, 0x64, 0x00, 0x0A, 0x00, 0x00, 0x00, 0x00, 0x00});
    mano::Byte(s, 1016, {0x00, 0x21});  // the first's AnimationFrame 0x2100
    EXPECT_EQ(CercaMoveableInRoom(s, true, -1), 1000);
    EXPECT_EQ(PunteggioMoveable, 7);
    EXPECT_EQ(Righe().back(), "LARA: *   7    7  0x3E8 0x514 ");
    // The search read Lara's references; with them the later one scores 10.
    int32_t punteggio = 0;
    ASSERT_TRUE(PunteggioLara(s, 1300, punteggio, -1));
    EXPECT_EQ(punteggio, 10);
}

TEST_F(CodiceTest, MoveableFieldsByCode) {
    std::string s = mano::ConLaraENemico();
    bool fallito = true;
    EXPECT_EQ(LeggiValorePerCodice(0x301, 0, 0, s, fallito), 1024);
    EXPECT_FALSE(fallito);
    EXPECT_EQ(LeggiValorePerCodice(0x410, 0, 5, s, fallito), 0x233E);
    EXPECT_FALSE(fallito);
    BufferLog.clear();
    ASSERT_TRUE(ScriviValorePerCodice(0x303, 0, 0, s, 100));
    EXPECT_EQ(LeggiValore(s, 1006, 2), 562);
    const std::vector<std::string> righe = Righe();
    EXPECT_NE(std::find(righe.begin(), righe.end(), "Warning: too low value for OrgZ. Changed it with 562 value"),
              righe.end());
}

TEST_F(CodiceTest, NoMoveableNoChange) {
    std::string s = mano::Savegame();
    bool fallito = false;
    EXPECT_EQ(LeggiValorePerCodice(0x301, 0, 0, s, fallito), 0);
    EXPECT_TRUE(fallito);
    EXPECT_FALSE(ScriviValorePerCodice(0x301, 0, 0, s, 1000));
    EXPECT_EQ(mano::Differenza(s, mano::Savegame()), -1);
    EXPECT_EQ(NumErroriLog, 2);
    const std::vector<std::string> righe = Righe();
    EXPECT_EQ(std::count(righe.begin(), righe.end(), "ERROR not found moveable structure"), 2);
}

struct CasoClamp {
    const char* nome;
    bool lara;
    MoveableStruct prima;
    MoveableStruct dopo;
    std::vector<std::string> avvisi;
};

MoveableStruct Struttura(int mark, int x, int z, int speciale, int ew4000, int stato, int flags) {
    MoveableStruct m;
    m.Mark = static_cast<int16_t>(mark);
    m.PosX = x;
    m.PosZ = z;
    m.SpecialAnimation = static_cast<uint8_t>(speciale);
    m.ew_4000 = ew4000;
    m.TriggerStatus = static_cast<int16_t>(stato);
    m.Flags = static_cast<uint8_t>(flags);
    return m;
}

class ClampTest : public CodiceTest, public testing::WithParamInterface<CasoClamp> {};

TEST_P(ClampTest, ClampsWithItsWarning) {
    const CasoClamp& c = GetParam();
    MoveableStruct m = c.prima;
    ControllaValoriMoveable(m, c.lara);
    EXPECT_EQ(m.Mark, c.dopo.Mark);
    EXPECT_EQ(m.PosX, c.dopo.PosX);
    EXPECT_EQ(m.PosZ, c.dopo.PosZ);
    EXPECT_EQ(m.SpecialAnimation, c.dopo.SpecialAnimation);
    EXPECT_EQ(m.ew_4000, c.dopo.ew_4000);
    EXPECT_EQ(m.TriggerStatus, c.dopo.TriggerStatus);
    EXPECT_EQ(m.Flags, c.dopo.Flags);
    EXPECT_EQ(Righe(), c.avvisi);
}

INSTANTIATE_TEST_SUITE_P(
    Records, ClampTest,
    testing::Values(
        CasoClamp{"LaraLegal", true, Struttura(0x8000, 1000, 1000, 0x47, -1, 0, 0),
                  Struttura(0x8000, 1000, 1000, 0x47, -1, 0, 0), {}},
        CasoClamp{"LowPositions", true, Struttura(0x8000, 561, 0, 0, -1, 0, 0), Struttura(0x8000, 562, 562, 0, -1, 0, 0),
                  {"Warning: too low value for OrgX. Changed it with 562 value",
                   "Warning: too low value for OrgZ. Changed it with 562 value"}},
        CasoClamp{"HighPositions", false, Struttura(0xA000, 51662, 60000, 0, -1, 9022, 128),
                  Struttura(0x8000, 51661, 51661, 0, -1, 9022, 128),
                  {"Warning: too high value for OrgX. Changed it with 51661 value",
                   "Warning: too high value for OrgZ. Changed it with 51661 value",
                   "Warning: illegal bit value 0x2000 for StructType. Removed bit 0x2000"}},
        CasoClamp{"Enemy", false, Struttura(0x8000, 1000, 1000, 3, -1, 0, 0),
                  Struttura(0x8000, 1000, 1000, 0, -1, 0x233E, 0x80),
                  {"Warning: illegal value for .SpecialAnimation. Changed it with 0 value",
                   "Warning: illegal value for .TriggerStatus. Changed it with 0x233E value",
                   "Warning: illegal value for .Flags. Changed it with 0x80 value"}},
        CasoClamp{"LaraLowEw4000", true, Struttura(0xC000, 1000, 1000, 5, -5, 9, 0),
                  Struttura(0xC000, 1000, 1000, 0x47, 1, 0, 0),
                  {"Warning: too low value for ew_4000. Changed it with 1 value",
                   "Warning: illegal value for .SpecialAnimation field. Changed it with 0x47 value",
                   "Warning: illegal value for .TriggerStatus. Changed it with 0 value"}},
        CasoClamp{"LaraHighEw4000", true, Struttura(0xC000, 1000, 1000, 0, 1000, 0, 0),
                  Struttura(0xC000, 1000, 1000, 0, 999, 0, 0),
                  {"Warning: too high value for ew_4000. Changed it with 999 value"}},
        CasoClamp{"LaraEw4000WithoutItsBit", true, Struttura(0x8000, 1000, 1000, 0, 1000, 0, 0),
                  Struttura(0x8000, 1000, 1000, 0, 1000, 0, 0), {}}),
    [](const testing::TestParamInfo<CasoClamp>& info) { return std::string(info.param.nome); });

}  // namespace
