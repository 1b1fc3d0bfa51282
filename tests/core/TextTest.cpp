// Text and number routines, with the quirks callers depend on.
#include <gtest/gtest.h>

#include "core/TextUtils.h"

namespace {

struct CasoNumero {
    const char* testo;
    int32_t da;
    const char* numero;
    int32_t poi;
};

class EstraiNumeroTest : public testing::TestWithParam<CasoNumero> {};

TEST_P(EstraiNumeroTest, TakesTheNextRunOfDigits) {
    const CasoNumero& c = GetParam();
    int32_t pos = c.da;
    EXPECT_EQ(EstraiNumero(c.testo, pos), c.numero);
    EXPECT_EQ(pos, c.poi);
}

INSTANTIATE_TEST_SUITE_P(Numbers, EstraiNumeroTest,
                         testing::Values(CasoNumero{"x=12;y=7", 1, "12", 5}, CasoNumero{"x=12;y=7", 5, "7", 9},
                                         CasoNumero{"x=12;y=7", 9, "", 9},
                                         // The sign is not taken.
                                         CasoNumero{"a-5", 1, "5", 4}, CasoNumero{"", 1, "", 1},
                                         CasoNumero{"abc", 2, "", 4}, CasoNumero{"123", 2, "23", 4},
                                         // A position past the end, or before the start.
                                         CasoNumero{"12", 40, "", 3}, CasoNumero{"12", 0, "12", 3}));

struct CasoZeri {
    int64_t valore;
    int32_t cifre;
    const char* atteso;
};

class FormatoZeriTest : public testing::TestWithParam<CasoZeri> {};

TEST_P(FormatoZeriTest, ZerosGoBetweenTheSignAndTheDigits) {
    EXPECT_EQ(FormatoZeri(GetParam().valore, GetParam().cifre), GetParam().atteso);
}

INSTANTIATE_TEST_SUITE_P(Formats, FormatoZeriTest,
                         testing::Values(CasoZeri{5, 3, "005"}, CasoZeri{-5, 3, "-005"}, CasoZeri{0, 3, "000"},
                                         CasoZeri{-99, 3, "-099"}, CasoZeri{999, 3, "999"},
                                         CasoZeri{-1234, 3, "-1234"}, CasoZeri{12345, 4, "12345"},
                                         CasoZeri{7, 2, "07"}, CasoZeri{-7, 0, "-7"},
                                         CasoZeri{INT64_MIN, 3, "-9223372036854775808"}));

TEST(EstraiRigaTest, SkipsEveryLineEndThatFollows) {
    const std::string testo = "A\r\n\r\nB\nC";
    int32_t pos = 1;
    EXPECT_EQ(EstraiRiga(testo, pos), "A");
    EXPECT_EQ(pos, 6);
    EXPECT_EQ(EstraiRiga(testo, pos), "B");
    EXPECT_EQ(pos, 8);
    EXPECT_EQ(EstraiRiga(testo, pos), "C");
    EXPECT_EQ(pos, 9);
    EXPECT_EQ(EstraiRiga(testo, pos), "");
    EXPECT_EQ(pos, 9);
    pos = 100;
    EXPECT_EQ(EstraiRiga(testo, pos), "");
}

struct CasoEsadecimale {
    const char* testo;
    bool atteso;
};

class EsadecimaleTest : public testing::TestWithParam<CasoEsadecimale> {};

TEST_P(EsadecimaleTest, HexDigitsWithAnOptionalLeadingMinus) {
    EXPECT_EQ(IsEsadecimale(GetParam().testo), GetParam().atteso) << GetParam().testo;
}

INSTANTIATE_TEST_SUITE_P(Hex, EsadecimaleTest,
                         testing::Values(CasoEsadecimale{"ff00", true}, CasoEsadecimale{"-1A", true},
                                         CasoEsadecimale{"0123456789abcdefABCDEF", true},
                                         // A lone minus passes, as callers have always seen it.
                                         CasoEsadecimale{"-", true}, CasoEsadecimale{"1-A", false},
                                         CasoEsadecimale{"", false}, CasoEsadecimale{"0x10", false},
                                         CasoEsadecimale{"G", false}, CasoEsadecimale{" 1", false},
                                         CasoEsadecimale{"--1", false}));

struct CasoSenzaCaso {
    const char* a;
    const char* b;
    bool uguali;
};

class SenzaCasoTest : public testing::TestWithParam<CasoSenzaCaso> {};

TEST_P(SenzaCasoTest, FoldsOnlyAsciiLetters) {
    EXPECT_EQ(UgualeSenzaCaso(GetParam().a, GetParam().b), GetParam().uguali) << GetParam().a << " / " << GetParam().b;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, SenzaCasoTest,
    testing::Values(CasoSenzaCaso{"Media.MCF", "media.mcf", true}, CasoSenzaCaso{"", "", true},
                    CasoSenzaCaso{"level", "level1", false}, CasoSenzaCaso{"level1", "level", false},
                    // '@' and '`' sit next to the letters and are not cases of them.
                    CasoSenzaCaso{"@", "`", false}, CasoSenzaCaso{"[", "{", false},
                    // UTF-8 bytes stay as they are: "é" and "É" differ.
                    CasoSenzaCaso{"\xC3\xA9", "\xC3\x89", false},
                    CasoSenzaCaso{"\xC3\xA9t\xC3\xA9", "\xC3\xA9T\xC3\xA9", true}));

TEST(MaiuscoloAsciiTest, LeavesUtf8BytesAlone) {
    EXPECT_EQ(MaiuscoloAscii("ab\xC3\xA9z"), "AB\xC3\xA9Z");
}

TEST(ConvertiInWideTest, ZeroAfterEachCharacter) {
    EXPECT_EQ(ConvertiInWide("Ab"), std::string("A\0b\0", 4));
    EXPECT_EQ(ConvertiInWide(""), "");
}

TEST(OrdinaIndiciTest, OrdersIndicesByValue) {
    EXPECT_EQ(OrdinaIndici({30, 10, 20}, 3, true), (std::vector<int32_t>{1, 2, 0}));
    EXPECT_EQ(OrdinaIndici({30, 10, 20}, 3, false), (std::vector<int32_t>{0, 2, 1}));
    EXPECT_EQ(OrdinaIndici({5, 5, 1}, 3, true), (std::vector<int32_t>{2, 1, 0}));
    EXPECT_EQ(OrdinaIndici({30, 10, 20}, 2, true), (std::vector<int32_t>{1, 0}));
    EXPECT_TRUE(OrdinaIndici({}, 0, true).empty());
    // A count beyond the values is bounded by them.
    EXPECT_EQ(OrdinaIndici({2, 1}, 9, true), (std::vector<int32_t>{1, 0}));
    EXPECT_TRUE(OrdinaIndici({2, 1}, -3, true).empty());
}

TEST(PercentualiTest, PercentAndPerMille) {
    EXPECT_DOUBLE_EQ(PercentualeDi(640, 50), 320);
    EXPECT_DOUBLE_EQ(PercentualeRapporto(640, 320), 50);
    EXPECT_DOUBLE_EQ(PercentualeRapporto(0, 320), 0);
    EXPECT_DOUBLE_EQ(MillesimiDi(1024, 250), 256);
    EXPECT_DOUBLE_EQ(MillesimiRapporto(1024, 256), 250);
    EXPECT_DOUBLE_EQ(MillesimiRapporto(0, 256), 0);
}

TEST(NumeroCasualeTest, StaysWithinTheRange) {
    for (int i = 0; i < 200; ++i) {
        const int32_t r = NumeroCasuale(6);
        EXPECT_GE(r, 0);
        EXPECT_LT(r, 6);
    }
    EXPECT_EQ(NumeroCasuale(1), 0);
    EXPECT_EQ(NumeroCasuale(0), 0);
}

TEST(DividiTestoTest, EveryPartBetweenSeparatorsEvenEmptyOnes) {
    using Parti = std::vector<std::string>;
    EXPECT_EQ(DividiTesto("", ':'), Parti{""});
    EXPECT_EQ(DividiTesto("12", ':'), Parti{"12"});
    EXPECT_EQ(DividiTesto("1:2:30:4", ':'), (Parti{"1", "2", "30", "4"}));
    EXPECT_EQ(DividiTesto(":a::", ':'), (Parti{"", "a", "", ""}));
}

}  // namespace

TEST(SostituisciSenzaCasoTest, EveryPlaceholderInAnyCaseAndNothingTwice) {
    struct Caso {
        std::string testo, cerca, con, atteso;
    };
    const Caso casi[] = {
        {"#counter# left of #COUNTER#", "#COUNTER#", "10", "10 left of 10"},
        {"a #Prompt# b", "#PROMPT#", "#prompt#", "a #prompt# b"},
        {"\xC3\xA8 #X#\xC3\xA8", "#x#", "1", "\xC3\xA8 1\xC3\xA8"},
        {"nothing here", "#X#", "1", "nothing here"},
        {"empty search", "", "1", "empty search"},
    };
    for (const Caso& c : casi) EXPECT_EQ(SostituisciSenzaCaso(c.testo, c.cerca, c.con), c.atteso) << c.testo;
}
