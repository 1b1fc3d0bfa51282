// The savegame image: values by width, hexadecimal texts, the checksum rule,
// number, title and description, and the moveable structures with the move
// of what follows them.
#include <gtest/gtest.h>

#include "core/SharedState.h"
#include "savegames/SavegameValues.h"
#include "tests/core/LogLines.h"
#include "tests/savegames/SavegameBytes.h"

namespace {

struct CasoLettura {
    std::vector<int> byte;
    int32_t dimensione;
    int32_t atteso;
    int32_t avanzamento;
};

class LetturaTest : public testing::TestWithParam<CasoLettura> {};

TEST_P(LetturaTest, ReadsLittleEndianByWidth) {
    const CasoLettura& c = GetParam();
    std::string s = mano::Savegame();
    mano::Byte(s, 100, c.byte);
    int32_t offset = 100;
    EXPECT_EQ(LeggiValoreSavegame(s, offset, c.dimensione, true), c.atteso);
    EXPECT_EQ(offset, 100 + c.avanzamento);
    offset = 100;
    LeggiValoreSavegame(s, offset, c.dimensione, false);
    EXPECT_EQ(offset, 100);
}

INSTANTIATE_TEST_SUITE_P(Widths, LetturaTest,
                         testing::Values(CasoLettura{{0x34, 0x12}, 2, 0x1234, 2},
                                         CasoLettura{{0xFF, 0xFF}, 2, -1, 2},
                                         CasoLettura{{0xFF, 0xFF}, 1, 255, 1},
                                         CasoLettura{{0x00, 0x80}, 2, -32768, 2},
                                         CasoLettura{{0x78, 0x56, 0x34, 0x12}, 4, 0x12345678, 4},
                                         CasoLettura{{0xFE, 0xFF, 0xFF, 0xFF}, 4, -2, 4},
                                         // Another width reads nothing and stays put.
                                         CasoLettura{{0x01, 0x02, 0x03}, 3, 0, 0},
                                         CasoLettura{{0x01}, 0, 0, 0}));

TEST(SavegameValuesTest, ReadsAndWritesNothingBeyondTheImage) {
    std::string s = mano::Savegame();
    int32_t offset = 15953;
    EXPECT_EQ(LeggiValoreSavegame(s, offset, 2, true), 0);
    offset = -1;
    EXPECT_EQ(LeggiValoreSavegame(s, offset, 1, false), 0);
    offset = 15952;
    ScriviValoreSavegame(s, offset, 4, -1, true);
    EXPECT_EQ(offset, 15956);
    EXPECT_EQ(mano::Differenza(s, mano::Savegame()), -1);
}

struct CasoScrittura {
    int32_t dimensione;
    int32_t valore;
    std::vector<int> byte;
};

class ScritturaTest : public testing::TestWithParam<CasoScrittura> {};

TEST_P(ScritturaTest, StoresTheLowBytes) {
    const CasoScrittura& c = GetParam();
    std::string s = mano::Savegame();
    std::string atteso = s;
    mano::Byte(atteso, 200, c.byte);
    int32_t offset = 200;
    ScriviValoreSavegame(s, offset, c.dimensione, c.valore, true);
    EXPECT_EQ(mano::Differenza(s, atteso), -1);
    EXPECT_EQ(offset, 200 + static_cast<int32_t>(c.byte.size()));
}

INSTANTIATE_TEST_SUITE_P(Widths, ScritturaTest,
                         testing::Values(CasoScrittura{2, -2, {0xFE, 0xFF}}, CasoScrittura{2, 0x12345, {0x45, 0x23}},
                                         CasoScrittura{1, 0x1FF, {0xFF}}, CasoScrittura{1, -1, {0xFF}},
                                         CasoScrittura{4, -2, {0xFE, 0xFF, 0xFF, 0xFF}},
                                         CasoScrittura{4, 0x01020304, {0x04, 0x03, 0x02, 0x01}}));

TEST(SavegameValuesTest, HexadecimalTexts) {
    EXPECT_EQ(Hex2(5), "05");
    EXPECT_EQ(Hex2(0x123), "23");
    EXPECT_EQ(Hex2(-1), "FF");
    EXPECT_EQ(Hex4(0xABC), "0ABC");
    EXPECT_EQ(Hex4(0x12345), "2345");
    EXPECT_EQ(Hex4(-2), "FFFE");
    EXPECT_EQ(Hex8(0x1F), "0000001F");
    EXPECT_EQ(Hex8(-2), "FFFFFFFE");
    EXPECT_EQ(WordSenzaSegno(-1), 0xFFFF);
}

TEST(SavegameValuesTest, ChecksumMakesTheRangeSumToZero) {
    std::string s = mano::SavegameGioco("Cave", 12, 3, 107);
    EXPECT_EQ(mano::SommaChecksum(s), 0u);
    EXPECT_TRUE(ChecksumValido(s));
    // An already valid image keeps its byte.
    EXPECT_EQ(ChecksumSavegame(s), static_cast<uint8_t>(s[488]));
    // Bytes before 87 are not covered; any byte from 87 to 15953 is.
    for (size_t offset : {0u, 86u}) {
        std::string t = s;
        t[offset] = 'x';
        EXPECT_TRUE(ChecksumValido(t)) << offset;
    }
    for (size_t offset : {87u, 489u, 15953u}) {
        std::string t = s;
        t[offset] = static_cast<char>(t[offset] + 1);
        EXPECT_FALSE(ChecksumValido(t)) << offset;
        t[488] = static_cast<char>(ChecksumSavegame(t));
        EXPECT_EQ(mano::SommaChecksum(t), 0u) << offset;
    }
    EXPECT_FALSE(ChecksumValido(s.substr(0, 15953)));
}

TEST(SavegameValuesTest, NumberTitleAndDescription) {
    const std::string s = mano::SavegameGioco("Cave", 12, 3, 107);
    std::string titolo;
    EXPECT_EQ(LeggiNumeroTitoloSavegame(s, titolo), 12);
    EXPECT_EQ(titolo, "Cave");
    EXPECT_EQ(DescrizioneSavegameBin("C:\\trle\\savegame.3", s), "savegame.3 [12: Cave]");
    EXPECT_EQ(LeggiValore(s, OffsetLivelloSavegame, 1), 3);
    EXPECT_EQ(LeggiValore(s, OffsetCdSavegame, 1), 107);

    // A title with no zero in its 65 bytes is the 65 characters.
    std::string lungo = mano::Savegame();
    lungo.replace(0, 70, std::string(70, 'T'));
    LeggiNumeroTitoloSavegame(lungo, titolo);
    EXPECT_EQ(titolo, std::string(65, 'T'));
}

TEST(SavegameValuesTest, TitlesResetTakesTheTitleCd) {
    std::string s = mano::SavegameGioco("Cave", 12, 3, 107);
    s[437] = 9;
    const int32_t prima = CdTitoli;
    CdTitoli = 0x1A3;
    ModificaSavegameTitoli(s);
    CdTitoli = prima;
    EXPECT_EQ(LeggiValore(s, 437, 1), 0);
    EXPECT_EQ(LeggiValore(s, OffsetLivelloSavegame, 1), 0);
    EXPECT_EQ(LeggiValore(s, OffsetCdSavegame, 1), 0xA3);
}

// Lara at 900: Mark 0x800D holds only ew_0001 among the optional words.
std::string ConMoveable() {
    std::string s = mano::Savegame();
    mano::Byte(s, 900, {0x0D, 0x80,              // Mark
                        0x00, 0x04,              // PosX 1024
                        0xF0, 0xFF,              // PosY -16
                        0x00, 0x07,              // PosZ 1792
                        0x03,                    // Room
                        0x00, 0x40,              // Orientation
                        0x11, 0x22,              // ew_0001
                        0x05, 0x06, 0x00,        // Current, Next, Special animation
                        0x64, 0x00,              // AnimationId
                        0x0A, 0x01,              // AnimationFrame
                        0x00, 0x00,              // TriggerStatus
                        0x08,                    // Flags
                        0x2A});                  // EndByte
    mano::Byte(s, 924, {0xA1, 0xA2, 0xA3});
    mano::Byte(s, 15926, {0xE1, 0xE2, 0xC1, 0xC2, 0xC3, 0xC4});
    mano::Byte(s, 15953, {0x01});
    return s;
}

TEST(MoveableTest, ParsesTheFieldsInOrder) {
    const std::string s = ConMoveable();
    EXPECT_EQ(LeggiStrutturaMoveable(s, 900), 24);
    const MoveableStruct& m = MoveableCorrente;
    EXPECT_EQ(m.Mark, static_cast<int16_t>(0x800D));
    EXPECT_EQ(m.PosX, 1024);
    EXPECT_EQ(m.PosY, -16);
    EXPECT_EQ(m.PosZ, 1792);
    EXPECT_EQ(m.Room, 3);
    EXPECT_EQ(m.Orientation, 0x4000);
    EXPECT_EQ(m.ew_0001, 0x2211);
    EXPECT_EQ(m.ew_0002, -1);
    EXPECT_EQ(m.ew_4000, -1);
    EXPECT_EQ(m.CurrentAnimation, 5);
    EXPECT_EQ(m.NextAnimation, 6);
    EXPECT_EQ(m.AnimationId, 100);
    EXPECT_EQ(m.AnimationFrame, 0x010A);
    EXPECT_EQ(m.Flags, 8);
    EXPECT_EQ(m.EndByte, 0x2A);
    EXPECT_EQ(m.Offset, 900);
    EXPECT_EQ(DimensioneStrutturaMoveable(m), 24);
    EXPECT_EQ(LeggiCampoMoveable(m, 0x301), 1024);
    EXPECT_EQ(LeggiCampoMoveable(m, 0x407), 0x2211);
}

TEST(MoveableTest, LengthCountsTheElevenOptionalBits) {
    MoveableStruct m;
    for (const auto& [mark, lunghezza] : std::initializer_list<std::pair<int, int>>{
             {0x8000, 22}, {0x800D, 24}, {0xA000, 22}, {0x1FE3, 42}, {0x5FE3, 44}, {0xFFFF, 44}}) {
        m.Mark = static_cast<int16_t>(mark);
        EXPECT_EQ(DimensioneStrutturaMoveable(m), lunghezza) << std::hex << mark;
    }
}

TEST(MoveableTest, GrowingAndShrinkingMoveOnlyTheMoveableArea) {
    std::string s = ConMoveable();
    const std::string prima = s;
    SpostaCodaSavegame(s, 900, 24, 26);
    EXPECT_EQ(s.size(), 15954u);
    EXPECT_EQ(s.substr(926, 3), "\xA1\xA2\xA3");
    EXPECT_EQ(mano::Differenza(s.substr(0, 902), prima.substr(0, 902)), -1);
    EXPECT_EQ(mano::Differenza(s.substr(902, 15928 - 902), prima.substr(900, 15928 - 902)), -1);
    // The private variables and the editor mark stay where the game reads them.
    EXPECT_EQ(mano::Differenza(s.substr(15928), prima.substr(15928)), -1);
    EXPECT_EQ(s.substr(15926, 2), prima.substr(15924, 2));

    SpostaCodaSavegame(s, 900, 26, 24);
    EXPECT_EQ(s.substr(924, 3), "\xA1\xA2\xA3");
    EXPECT_EQ(s.substr(15926, 2), std::string(2, '\0'));
    EXPECT_EQ(mano::Differenza(s.substr(15928), prima.substr(15928)), -1);
    EXPECT_EQ(mano::Differenza(s.substr(0, 15926), prima.substr(0, 15926)), -1);
}

class VerificaTest : public ConRigheLog {};

TEST_F(VerificaTest, AddingEw4000RewritesTheStructureLonger) {
    std::string s = ConMoveable();
    const std::string prima = s;
    LeggiStrutturaMoveable(s, 900);
    MoveableStruct m = MoveableCorrente;
    TipoMoveable = true;
    ASSERT_TRUE(ScriviCampoMoveable(m, 0x30F, 7));
    LogAbilitato = true;
    ASSERT_TRUE(VerificaStrutturaMoveable(s, m, true));
    LogAbilitato = false;
    EXPECT_EQ(Righe(), (std::vector<std::string>{"Verify legality of structure", "Update moveable in offset: 0x0384",
                                                 "Old size structure = 24  New size structure = 26"}));
    EXPECT_EQ(m.Length, 26);
    EXPECT_EQ(s.substr(926, 3), "\xA1\xA2\xA3");
    EXPECT_EQ(mano::Differenza(s.substr(15928), prima.substr(15928)), -1);
    ASSERT_EQ(LeggiStrutturaMoveable(s, 900), 26);
    EXPECT_EQ(MoveableCorrente.ew_4000, 7);
    EXPECT_EQ(MoveableCorrente.TriggerStatus, 0);
    EXPECT_EQ(MoveableCorrente.EndByte, 0x2A);
    EXPECT_EQ(MoveableCorrente.ew_0001, 0x2211);
}

TEST_F(VerificaTest, AStructureBeyondTheMoveableAreaIsRefused) {
    std::string s = mano::Savegame();
    MoveableStruct m;
    m.Offset = 15920;
    m.Length = 22;
    m.PosX = m.PosZ = 1000;
    EXPECT_FALSE(VerificaStrutturaMoveable(s, m, true));
    EXPECT_EQ(mano::Differenza(s, mano::Savegame()), -1);
    EXPECT_EQ(NumErroriLog, 1);
}

TEST(MoveableTest, FieldFifteenOfAnEnemyIsSplit) {
    MoveableStruct m;
    m.AnimationFrame = 0x1234;
    TipoMoveable = false;
    ASSERT_TRUE(ScriviCampoMoveable(m, 0x40F, 0x0203));
    EXPECT_EQ(m.ew_4000, 0x2002);
    EXPECT_EQ(m.AnimationFrame, 0x0334);
    EXPECT_TRUE(m.Mark & 0x4000);
    EXPECT_EQ(LeggiCampoMoveable(m, 0x40F), 0x0203);
    m.Mark = 0;
    EXPECT_EQ(LeggiCampoMoveable(m, 0x40F), -1);
    // An optional word is held without its bit.
    ASSERT_TRUE(ScriviCampoMoveable(m, 0x416, 77));
    EXPECT_EQ(m.ew_0800, 77);
    EXPECT_EQ(m.Mark, 0);
}

class CampoErratoTest : public ConRigheLog {};

TEST_F(CampoErratoTest, UnknownFieldsAndOverflowsChangeNothing) {
    MoveableStruct m;
    EXPECT_EQ(LeggiCampoMoveable(m, 0x318), 0);
    EXPECT_FALSE(ScriviCampoMoveable(m, 0x320, 1));
    EXPECT_FALSE(ScriviCampoMoveable(m, 0x304, 256));
    EXPECT_FALSE(ScriviCampoMoveable(m, 0x300, 0x8000));
    EXPECT_EQ(m.Room, 0);
    EXPECT_EQ(m.Mark, 0);
    EXPECT_EQ(Righe(), (std::vector<std::string>{"ERROR unknown moveable struct field: 24",
                                                 "ERROR unknown moveable struct field: 32",
                                                 "ERROR in ScriviCampoMoveable() : Overflow",
                                                 "ERROR in ScriviCampoMoveable() : Overflow"}));
}

}  // namespace
