#include <gtest/gtest.h>

#include <array>

#include "core/ScrambledString.h"
#include "tests/core/HandBytes.h"

namespace {

std::string Scrivi(const std::string& testo) {
    ScrittoreByte f;
    EXPECT_TRUE(ScriviStringaCodificata(testo, f));
    return f.Dati();
}

TEST(ScrambledString, KeyIsTheNineBytesEveryWriterUses) {
    // Every media.mcf and media.mpf ever written depends on these bytes: a
    // change here makes them all unreadable.
    const std::array<uint8_t, 9> chiave = {0x6F, 0xAB, 0xF8, 0x9D, 0xB1, 0xD3, 0x83, 0x8F, 0x99};
    EXPECT_EQ(ChiaveStringhe(), chiave);
    // "A" alone: one code unit, 41 00, combined with the first two key bytes.
    EXPECT_EQ(Scrivi("A"), std::string("\x02\x00\x00\x00\x2E\xAB", 6));
}

TEST(ScrambledString, EmptyTextIsFourZeroBytes) {
    EXPECT_EQ(Scrivi(""), std::string(4, '\0'));
    std::string testo = "old";
    const std::string quattroZeri(4, '\0');
    LettoreByte f(quattroZeri);
    EXPECT_TRUE(LeggiStringaCodificata(testo, f));
    EXPECT_EQ(testo, "");
    EXPECT_EQ(f.Rimanenti(), 0u);
}

TEST(ScrambledString, MatchesTheLayoutByHand) {
    // Eleven characters: 22 bytes, so the key wraps twice within the string.
    EXPECT_EQ(Scrivi("Hello world"), mano::Stringa("Hello world"));
    EXPECT_EQ(Scrivi("Caffè"), mano::Stringa(u"Caff\u00E8"));
}

TEST(ScrambledString, KeyRestartsForEveryString) {
    ScrittoreByte f;
    ASSERT_TRUE(ScriviStringaCodificata("abcde", f));
    ASSERT_TRUE(ScriviStringaCodificata("abcde", f));
    const std::string& d = f.Dati();
    ASSERT_EQ(d.size(), 28u);
    EXPECT_EQ(d.substr(0, 14), d.substr(14));
}

TEST(ScrambledString, ReadsBackWhatWasWrittenOneAfterAnother) {
    ScrittoreByte w;
    for (const char* t : {"intro.bmp", "", "Text with\r\nlines", "Ünïcödé 世界"}) ASSERT_TRUE(ScriviStringaCodificata(t, w));
    w.ScriviI32(77);
    LettoreByte r(w.Dati());
    for (const char* t : {"intro.bmp", "", "Text with\r\nlines", "Ünïcödé 世界"}) {
        std::string letto;
        ASSERT_TRUE(LeggiStringaCodificata(letto, r));
        EXPECT_EQ(letto, t);
    }
    int32_t coda = 0;
    EXPECT_TRUE(r.LeggiI32(coda));
    EXPECT_EQ(coda, 77);
}

struct CasoTesto {
    const char* nome;
    std::u16string memorizzato;  // the code units the file stores
    std::string utf8;            // the text in memory
};

class TestoConservato : public testing::TestWithParam<CasoTesto> {};

TEST_P(TestoConservato, ReadsAsUtf8AndIsWrittenBackAsStored) {
    const std::string file = mano::Stringa(GetParam().memorizzato);
    LettoreByte r(file);
    std::string testo;
    ASSERT_TRUE(LeggiStringaCodificata(testo, r));
    EXPECT_EQ(testo, GetParam().utf8);
    EXPECT_EQ(Scrivi(testo), file);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, TestoConservato,
    testing::Values(
        CasoTesto{"Omega", u"\u03A9", "\xCE\xA9"},
        // A stored "?" stays "?" beside a character the code page lacks.
        CasoTesto{"QuestionMarkBesideOmega", u"?\u03A9?", "?\xCE\xA9?"},
        CasoTesto{"Cjk", u"\u4E16\u754C.wav", "\xE4\xB8\x96\xE7\x95\x8C.wav"},
        CasoTesto{"SurrogatePair", u"\U0001F600", "\xF0\x9F\x98\x80"},
        // Lone surrogates: three bytes of their own value.
        CasoTesto{"LoneHigh", u"a\xD800" u"b", "a\xED\xA0\x80" "b"},
        CasoTesto{"LoneLow", u"\xDC00", "\xED\xB0\x80"},
        CasoTesto{"HighAtTheEnd", u"x\xDBFF", "x\xED\xAF\xBF"},
        CasoTesto{"LowBeforeHigh", u"\xDC00\xD800", "\xED\xB0\x80\xED\xA0\x80"},
        CasoTesto{"Replacement", u"\xFFFD\xFFFF", "\xEF\xBF\xBD\xEF\xBF\xBF"},
        CasoTesto{"Zero", std::u16string(u"a\0b", 3), std::string("a\0b", 3)}),
    [](const auto& info) { return std::string(info.param.nome); });

struct CasoConteggio {
    const char* nome;
    std::string byte;
};

class ConteggioRotto : public testing::TestWithParam<CasoConteggio> {};

TEST_P(ConteggioRotto, FailsAndLeavesTheText) {
    const std::string byte = GetParam().byte;
    LettoreByte r(byte);
    std::string testo = "unchanged";
    EXPECT_FALSE(LeggiStringaCodificata(testo, r));
    EXPECT_EQ(testo, "unchanged");
}

INSTANTIATE_TEST_SUITE_P(
    Counts, ConteggioRotto,
    testing::Values(CasoConteggio{"NoCount", ""}, CasoConteggio{"ShortCount", std::string("\x02\x00\x00", 3)},
                    CasoConteggio{"Negative", mano::I32(-2) + "abcd"}, CasoConteggio{"Odd", mano::I32(3) + "abcd"},
                    CasoConteggio{"PastTheEnd", mano::I32(6) + "abcd"},
                    CasoConteggio{"Huge", mano::I32(0x7FFFFFFE) + "abcd"},
                    CasoConteggio{"MinimumInt", mano::I32(INT32_MIN) + "abcd"}),
    [](const auto& info) { return std::string(info.param.nome); });

}  // namespace
