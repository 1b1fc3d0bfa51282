#include <gtest/gtest.h>

#include <set>

#include "core/ScrambledString.h"
#include "tests/core/HandBytes.h"

namespace {

std::string Scrivi(const std::string& testo) {
    ScrittoreByte f;
    EXPECT_TRUE(ScriviStringaCodificata(testo, f));
    return f.Dati();
}

TEST(ScrambledString, KeyIsNineBytesThatScramble) {
    const auto chiave = ChiaveStringhe();
    EXPECT_EQ(chiave, ChiaveStringhe());
    // A key of zeros, or of one repeated byte, would leave the text readable.
    EXPECT_GT(std::set<uint8_t>(chiave.begin(), chiave.end()).size(), 4u);
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
    EXPECT_EQ(Scrivi("Caff\xE8"), mano::Stringa("Caff\xE8"));
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
    for (const char* t : {"intro.bmp", "", "Text with\r\nlines", "\xDC" "n\xEF" "c\xF6" "d\xE9"}) ASSERT_TRUE(ScriviStringaCodificata(t, w));
    w.ScriviI32(77);
    LettoreByte r(w.Dati());
    for (const char* t : {"intro.bmp", "", "Text with\r\nlines", "\xDC" "n\xEF" "c\xF6" "d\xE9"}) {
        std::string letto;
        ASSERT_TRUE(LeggiStringaCodificata(letto, r));
        EXPECT_EQ(letto, t);
    }
    int32_t coda = 0;
    EXPECT_TRUE(r.LeggiI32(coda));
    EXPECT_EQ(coda, 77);
}

TEST(ScrambledString, TextOutsideTheCodePageIsWrittenBackAsStored) {
    // "Ω" (U+03A9) scrambled by hand: the program holds it as "?" but keeps
    // the stored form for writing back.
    const auto chiave = ChiaveStringhe();
    std::string byte = std::string("\xA9\x03", 2) + "A" + std::string(1, '\0');
    for (size_t k = 0; k < byte.size(); ++k) byte[k] = static_cast<char>(byte[k] ^ chiave[k]);
    const std::string file = mano::I32(4) + byte;
    LettoreByte r(file);
    std::string testo;
    ASSERT_TRUE(LeggiStringaCodificata(testo, r));
    EXPECT_EQ(testo, "?A");
    EXPECT_EQ(Scrivi(testo), file);
}

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
