// The conversions of the texts a level author writes: UTF-16 to UTF-8 and
// back without loss, and toward the ANSI code page at the edges.
#include <gtest/gtest.h>

#include "core/Utf8Text.h"

namespace {

struct CasoUtf8 {
    const char* nome;
    std::string utf8;
    std::u16string utf16;
};

class Utf8NonValido : public testing::TestWithParam<CasoUtf8> {};

// Bytes that no UTF-16 text gives (an ANSI byte that slipped in, a cut
// sequence) still convert, each bad byte to U+FFFD, and never past the end.
TEST_P(Utf8NonValido, EveryBadByteBecomesOneReplacement) {
    EXPECT_EQ(Utf16DaUtf8(GetParam().utf8), GetParam().utf16);
}

INSTANTIATE_TEST_SUITE_P(
    Bytes, Utf8NonValido,
    testing::Values(CasoUtf8{"AnsiByte", "Caff\xE8", u"Caff\xFFFD"},
                    CasoUtf8{"StrayContinuation", "\x80" "a", u"\xFFFD" "a"},
                    CasoUtf8{"OverlongTwo", "\xC0\xAF", u"\xFFFD\xFFFD"},
                    CasoUtf8{"OverlongThree", "\xE0\x80\xAF", u"\xFFFD\xFFFD\xFFFD"},
                    CasoUtf8{"PastUnicode", "\xF4\x90\x80\x80", u"\xFFFD\xFFFD\xFFFD\xFFFD"},
                    CasoUtf8{"CutAtTheEnd", "a\xE4\xB8", u"a\xFFFD\xFFFD"},
                    CasoUtf8{"CutBeforeAscii", "\xF0\x9F" "b", u"\xFFFD\xFFFD" "b"},
                    CasoUtf8{"NoSuchLead", "\xF8\xFF", u"\xFFFD\xFFFD"},
                    // Two three-byte surrogates give the pair they spell.
                    CasoUtf8{"SurrogatesInThreeBytes", "\xED\xA0\x80\xED\xB0\x80", u"\xD800\xDC00"}),
    [](const auto& info) { return std::string(info.param.nome); });

TEST(Utf8Testo, EveryCodeUnitSequenceComesBackUnchanged) {
    // All single units, then a walk over pairs and lone halves in both orders.
    std::u16string tutte;
    for (char32_t u = 1; u <= 0xFFFF; ++u) tutte += static_cast<char16_t>(u);
    EXPECT_EQ(Utf16DaUtf8(Utf8DaUtf16(tutte)), tutte);
    for (char16_t a : {u'\xD800', u'\xDBFF', u'\xDC00', u'\xDFFF', u'x'})
        for (char16_t b : {u'\xD800', u'\xDBFF', u'\xDC00', u'\xDFFF', u'x'}) {
            const std::u16string due = {a, b};
            EXPECT_EQ(Utf16DaUtf8(Utf8DaUtf16(due)), due) << std::hex << static_cast<int>(a) << " " << static_cast<int>(b);
        }
}

TEST(Utf8Testo, AnsiEdgeShowsWhatTheCodePageHolds) {
    EXPECT_EQ(AnsiDaUtf8("Caffè ?"), "Caff\xE8 ?");
    EXPECT_EQ(AnsiDaUtf8("Ω 世"), "? ?");
    EXPECT_EQ(Utf8DaAnsi("Caff\xE8"), "Caffè");
    EXPECT_EQ(Utf8DaAnsi("C:\\trle\\media.mpf"), "C:\\trle\\media.mpf");
}

}  // namespace
