#include <gtest/gtest.h>

#include "core/MediaSyntax.h"
#include "core/MediaTrigger.h"
#include "tests/core/LogLines.h"

namespace {

struct CasoSezione {
    const char* testo;
    const char* sezione;
    const char* atteso;
};

class Sezione : public testing::TestWithParam<CasoSezione> {};

TEST_P(Sezione, ReadsTheContent) {
    const std::string testo = GetParam().testo;
    EXPECT_EQ(EstraiSezione(testo, GetParam().sezione), GetParam().atteso);
}

INSTANTIATE_TEST_SUITE_P(
    Sections, Sezione,
    testing::Values(CasoSezione{"a<TEXT>body<END_TEXT>z", "TEXT", "body"},
                    // Any letter case, and the leading line break stays.
                    CasoSezione{"<text>\r\nbody\r\n<end_Text>", "TEXT", "\r\nbody\r\n"},
                    CasoSezione{"<Text>body<END_TEXT>", "text", "body"},
                    // No closing mark: to the end of the text.
                    CasoSezione{"x<TEXT>all the rest", "TEXT", "all the rest"},
                    CasoSezione{"no section here", "TEXT", ""}, CasoSezione{"", "TEXT", ""},
                    // The first section counts, closed by the first mark after it.
                    CasoSezione{"<A>one<END_A><A>two<END_A>", "A", "one"},
                    CasoSezione{"<END_A>x<A>one<END_A>", "A", "one"},
                    // Nested sections are read by cutting the outer one first.
                    CasoSezione{"<SWITCH><ALERT>in<END_ALERT><END_SWITCH>", "SWITCH", "<ALERT>in<END_ALERT>"},
                    CasoSezione{"<TEXT><END_TEXT>", "TEXT", ""},
                    // UTF-8 texts: only ASCII letters fold, every other byte is kept.
                    CasoSezione{"Ω<greek>Ωμέγα ? 世界<end_GREEK>", "GREEK", "Ωμέγα ? 世界"},
                    CasoSezione{"<A>\xED\xA0\x80è<END_A>", "a", "\xED\xA0\x80è"},
                    CasoSezione{"<é>x<END_é>", "É", ""}));

class SintassiConLog : public ConRigheLog {};

TEST_F(SintassiConLog, SetSectionReplacesAppendsOrRefuses) {
    EXPECT_EQ(ImpostaSezione("a<text>old<END_TEXT>z", "TEXT", "new"), "a<TEXT>new<END_TEXT>z");
    EXPECT_EQ(ImpostaSezione("a<TEXT>one<END_TEXT><TEXT>two<END_TEXT>", "TEXT", "new"),
              "a<TEXT>new<END_TEXT><TEXT>two<END_TEXT>");
    EXPECT_EQ(ImpostaSezione("head", "CODEC", "http://x"), "head<CODEC>http://x<END_CODEC>");
    EXPECT_EQ(ImpostaSezione("", "CODEC", ""), "<CODEC><END_CODEC>");
    // The characters around the section stay as they were, byte for byte.
    EXPECT_EQ(ImpostaSezione("Ω\xED\xA0\x80<alert>old<end_alert>? 世界", "ALERT", "nuovo è"),
              "Ω\xED\xA0\x80<ALERT>nuovo è<end_alert>? 世界");
    NessunErrore();
    EXPECT_EQ(ImpostaSezione("a<TEXT>open", "TEXT", "new"), "a<TEXT>open");
    UnErrore("Syntax error: missing <END_TEXT> section");
}

TEST_F(SintassiConLog, RemoveSectionTakesEveryWholeOneAndLeavesAnOpenOne) {
    struct Caso {
        std::string testo, dopo;
        bool esito;
    };
    const Caso casi[] = {
        {"", "", true},
        {"head\r\n", "head\r\n", true},
        // What ImpostaSezione appended leaves no trace.
        {ImpostaSezione("Ω head\r\n", "CODEC", "x\r\n"), "Ω head\r\n", true},
        {"a<codec>1<end_codec>b<CODEC>2<END_CODEC>c", "abc", true},
        {"<CODEC_X>1<END_CODEC_X>", "<CODEC_X>1<END_CODEC_X>", true},
        // The first closing mark after its opening ends it.
        {"<CODEC><CODEC>1<END_CODEC>2<END_CODEC>", "2<END_CODEC>", true},
        {"a<CODEC>1<END_CODEC>b<CODEC>open", "ab<CODEC>open", false},
    };
    for (const Caso& c : casi) {
        BufferLog.clear();
        NumErroriLog = 0;
        std::string testo = c.testo;
        EXPECT_EQ(RimuoviSezione(testo, "CODEC"), c.esito) << c.testo;
        EXPECT_EQ(testo, c.dopo);
        if (c.esito)
            NessunErrore();
        else
            UnErrore("Syntax error: missing <END_CODEC> section");
    }
}

struct CasoTag {
    const char* testo;
    const char* tag;
    const char* valore;
    const char* resto;
};

class Tag : public testing::TestWithParam<CasoTag> {};

TEST_P(Tag, ExtractsAndRemoves) {
    std::string testo = GetParam().testo;
    EXPECT_EQ(EstraiTag(testo, GetParam().tag), GetParam().valore);
    EXPECT_EQ(testo, GetParam().resto);
}

INSTANTIATE_TEST_SUITE_P(
    Tags, Tag,
    testing::Values(CasoTag{"a\r\n#FLAGS#=12\r\n\r\nmore", "#FLAGS#=", "12", "a\r\nmore"},
                    CasoTag{"x#FLAGS#=", "#FLAGS#=", "~", "x"},
                    CasoTag{"#flags#=\r\nnext", "#FLAGS#=", "~", "next"},
                    CasoTag{"#FLAGS#= 1 2 \nz", "#FLAGS#=", " 1 2 ", "z"},
                    // In the middle of a line, and only the first occurrence.
                    CasoTag{"pre #CODE#=7\n#CODE#=8", "#CODE#=", "7", "pre #CODE#=8"},
                    CasoTag{"\n\n#A#=1\r\n\n\r#B#=2", "#A#=", "1", "\n\n#B#=2"},
                    CasoTag{"no tag", "#FLAGS#=", "", "no tag"}, CasoTag{"", "#FLAGS#=", "", ""},
                    CasoTag{"Ω\r\n#title#=Città 世界\r\n?", "#TITLE#=", "Città 世界", "Ω\r\n?"}));

struct CasoLingua {
    const char* testo;
    const char* lingua;
    const char* atteso;
    const char* linguaDopo;
};

class Lingua : public testing::TestWithParam<CasoLingua> {};

TEST_P(Lingua, PicksThePartWithFallback) {
    std::string lingua = GetParam().lingua;
    EXPECT_EQ(TestoInLingua(GetParam().testo, lingua), GetParam().atteso);
    EXPECT_EQ(lingua, GetParam().linguaDopo);
}

INSTANTIATE_TEST_SUITE_P(
    Languages, Lingua,
    testing::Values(
        CasoLingua{"<ENGLISH>Hi<END_ENGLISH><ITALIAN>Ciao<END_ITALIAN>", "ITALIAN", "Ciao", "ITALIAN"},
        CasoLingua{"<ENGLISH>Hi<END_ENGLISH><ITALIAN>Ciao<END_ITALIAN>", "italian", "Ciao", "italian"},
        CasoLingua{"<ENGLISH>Hi<END_ENGLISH><ITALIAN>Ciao<END_ITALIAN>", "GERMAN", "Hi", "english"},
        CasoLingua{"<english>Hi", "GERMAN", "Hi", "english"},
        CasoLingua{"<FRENCH>Salut<END_FRENCH>", "GERMAN", "<FRENCH>Salut<END_FRENCH>", "<NONE>"},
        CasoLingua{"plain text", "ENGLISH", "plain text", "<NONE>"},
        CasoLingua{"<english>Hi<END_ENGLISH><Japan>こんにちは<END_JAPAN>", "JAPAN", "こんにちは", "JAPAN"}));

TEST(NomiLingue, IdentifiersAndCharsets) {
    const std::pair<int32_t, const char*> nomi[] = {
        {4, "CHINESE"}, {7, "GERMAN"},      {8, "GREEK"},    {9, "ENGLISH"},  {10, "SPANISH"},
        {12, "FRENCH"}, {16, "ITALIAN"},    {17, "JAPAN"},   {19, "DUTCH"},   {22, "PORTUGUESE"},
        {25, "RUSSIAN"}, {31, "TURKISH"},   {0, "<NONE>"},   {5, "<NONE>"},   {0x409, "<NONE>"}};
    for (const auto& [id, nome] : nomi) EXPECT_EQ(NomeLinguaDaIdentificatore(id), nome) << id;
    const std::pair<const char*, int32_t> charset[] = {{"GREEK", 161}, {"turkish", 162}, {"Japan", 128},
                                                       {"RUSSIAN", 204}, {"CHINESE", 128}, {"ENGLISH", 0},
                                                       {"<NONE>", 0},   {"", 0}};
    for (const auto& [nome, valore] : charset) EXPECT_EQ(CharsetLingua(nome), valore) << nome;
}

struct CasoNumero {
    const char* testo;
    bool valido;
    int32_t valore;
};

class Numero : public testing::TestWithParam<CasoNumero> {};

TEST_P(Numero, TestsAndRoundsHalvesToEven) {
    int32_t v = -12345;
    const std::string t = GetParam().testo;
    const bool fuoriScala = t == "2147483648" || t == "2147483647.5" || t == "99999999999" || t == "&H100000000";
    EXPECT_EQ(IsNumerico(t), GetParam().valido || fuoriScala);
    EXPECT_EQ(ValoreIntero32(GetParam().testo, v), GetParam().valido);
    EXPECT_EQ(v, GetParam().valido ? GetParam().valore : -12345);
}

INSTANTIATE_TEST_SUITE_P(
    Numbers, Numero,
    testing::Values(CasoNumero{"12", true, 12}, CasoNumero{"  -7  ", true, -7}, CasoNumero{"+3", true, 3},
                    CasoNumero{"2.5", true, 2}, CasoNumero{"3.5", true, 4}, CasoNumero{"-2.5", true, -2},
                    CasoNumero{"2.51", true, 3}, CasoNumero{"2.4999", true, 2}, CasoNumero{".5", true, 0},
                    CasoNumero{"1.", true, 1}, CasoNumero{"&HFF", true, 255}, CasoNumero{"&hff00", true, 65280},
                    CasoNumero{"&HFFFFFFFF", true, -1}, CasoNumero{"&H000000010", true, 16},
                    CasoNumero{"2147483647", true, 2147483647}, CasoNumero{"-2147483648", true, INT32_MIN},
                    CasoNumero{"0002147483647", true, 2147483647},
                    // Outside 32 bits.
                    CasoNumero{"2147483648", false, 0}, CasoNumero{"2147483647.5", false, 0},
                    CasoNumero{"99999999999", false, 0}, CasoNumero{"&H100000000", false, 0},
                    // Not numbers.
                    CasoNumero{"", false, 0}, CasoNumero{"  ", false, 0}, CasoNumero{"~", false, 0},
                    CasoNumero{"-", false, 0}, CasoNumero{".", false, 0}, CasoNumero{"1.2.3", false, 0},
                    CasoNumero{"12a", false, 0}, CasoNumero{"1 2", false, 0}, CasoNumero{"&H", false, 0},
                    CasoNumero{"&HG1", false, 0}, CasoNumero{"&H FF", false, 0}, CasoNumero{"- 1", false, 0},
                    CasoNumero{"1e5", false, 0}));

class Formato : public ConRigheLog {
protected:
    void SetUp() override {
        ConRigheLog::SetUp();
        MediaCorrente = MediaTrigger{};
        // What callers prepare: the media's own format.
        FormatoTestoCorrente = TextFormat{};
        FormatoTestoCorrente.Color = 1;
        FormatoTestoCorrente.Align = 2;
        FormatoTestoCorrente.CharRow = 3;
        FormatoTestoCorrente.Font = 4;
        FormatoTestoCorrente.Effect = 5;
        FormatoTestoCorrente.Flags = 6;
        FormatoTestoCorrente.DelayMicros = 7;
        FormatoTestoCorrente.ScrollStep = 8;
        FormatoTestoCorrente.BoundRect = Rettangolo{10, 20, 30, 40};
    }
};

TEST_F(Formato, ReadsEveryDisplayTag) {
    const std::string testo =
        "#DELAY_MICROS#=250\r\n#color#=FF00\r\n#CHAR_ROW#=2\r\n#FONT#=14.5\r\nHello\r\n"
        "#BOUND_RECT#=100:200: 800 :900\r\n#ALIGN#=&H3\r\n#FLAGS#=64\r\n#EFFECT#=-2\r\n";
    ASSERT_TRUE(LeggiFormatoTesto(testo));
    const TextFormat& f = FormatoTestoCorrente;
    EXPECT_EQ(f.Color, 65280);
    EXPECT_EQ(f.CharRow, 2);
    EXPECT_EQ(f.Font, 14);
    EXPECT_EQ(f.BoundRect.Left, 100);
    EXPECT_EQ(f.BoundRect.Top, 200);
    EXPECT_EQ(f.BoundRect.Right, 800);
    EXPECT_EQ(f.BoundRect.Bottom, 900);
    EXPECT_EQ(f.Align, 3);
    EXPECT_EQ(f.Flags, 64);
    EXPECT_EQ(f.Effect, -2);
    EXPECT_EQ(f.DelayMicros, 250);
    EXPECT_EQ(f.ScrollStep, 8);
    NessunErrore();
    EXPECT_EQ(UltimoErrore, "");
}

TEST_F(Formato, AbsentTagsKeepThePreparedFieldsButFontEffectFlagsStartAtZero) {
    ASSERT_TRUE(LeggiFormatoTesto("just text"));
    const TextFormat& f = FormatoTestoCorrente;
    EXPECT_EQ(f.Color, 1);
    EXPECT_EQ(f.Align, 2);
    EXPECT_EQ(f.CharRow, 3);
    EXPECT_EQ(f.Font, 0);
    EXPECT_EQ(f.Effect, 0);
    EXPECT_EQ(f.Flags, 0);
    EXPECT_EQ(f.DelayMicros, 7);
    EXPECT_EQ(f.BoundRect.Right, 30);
}

TEST_F(Formato, EmptyTextTakesTheCurrentMediasFormat) {
    MediaCorrente.Formato.Color = 0xABCDEF;
    MediaCorrente.Formato.Font = 9;
    MediaCorrente.Formato.BoundRect = Rettangolo{1, 2, 3, 4};
    ASSERT_TRUE(LeggiFormatoTesto(""));
    EXPECT_EQ(FormatoTestoCorrente.Color, 0xABCDEF);
    EXPECT_EQ(FormatoTestoCorrente.Font, 9);
    EXPECT_EQ(FormatoTestoCorrente.BoundRect.Bottom, 4);
    EXPECT_EQ(FormatoTestoCorrente.Align, 0);
}

TEST_F(Formato, BoundRectErrorKeepsWhatCameBefore) {
    EXPECT_FALSE(LeggiFormatoTesto("#COLOR#=FF\n#CHAR_ROW#=9\n#FONT#=11\n#BOUND_RECT#=1:2:3\n#ALIGN#=5\n"));
    UnErrore("Syntax error in tag: #BOUND_RECT#");
    EXPECT_EQ(FormatoTestoCorrente.Color, 255);
    EXPECT_EQ(FormatoTestoCorrente.CharRow, 9);
    EXPECT_EQ(FormatoTestoCorrente.Font, 11);
    EXPECT_EQ(FormatoTestoCorrente.Align, 2);
    EXPECT_EQ(FormatoTestoCorrente.BoundRect.Left, 10);
}

TEST_F(Formato, TextOfTheCallerIsUnchanged) {
    const std::string testo = "#FLAGS#=64\r\nrest";
    const std::string copia = testo;
    ASSERT_TRUE(LeggiFormatoTesto(testo));
    EXPECT_EQ(testo, copia);
}

struct CasoErrore {
    const char* testo;
    const char* riga;
};

class ErroreTag : public Formato, public testing::WithParamInterface<CasoErrore> {};

TEST_P(ErroreTag, GivesTheTagsError) {
    EXPECT_FALSE(LeggiFormatoTesto(GetParam().testo));
    UnErrore(GetParam().riga);
}

INSTANTIATE_TEST_SUITE_P(
    TagErrors, ErroreTag,
    testing::Values(CasoErrore{"#COLOR#=GG", "Syntax error in tag: #COLOR#"},
                    CasoErrore{"#COLOR#=", "Syntax error in tag: #COLOR#"},
                    CasoErrore{"#COLOR#=1FFFFFFFF", "Syntax error in tag: #COLOR#"},
                    CasoErrore{"#CHAR_ROW#=x", "Syntax error in tag: #CHAR_ROW#"},
                    CasoErrore{"#FONT#=\r\n", "Syntax error in tag: #FONT#"},
                    CasoErrore{"#BOUND_RECT#=1:2:3:4:5", "Syntax error in tag: #BOUND_RECT#"},
                    CasoErrore{"#BOUND_RECT#=1:2:x:4", "Syntax error in tag: #BOUND_RECT#"},
                    CasoErrore{"#BOUND_RECT#=1:2:3:4294967296", "Syntax error in tag: #BOUND_RECT#"},
                    CasoErrore{"#ALIGN#=1,5", "Syntax error in tag: #ALIGN#"},
                    CasoErrore{"#FLAGS#=3000000000", "Syntax error in tag: #FLAGS#"},
                    CasoErrore{"#EFFECT#=-2147483649", "Syntax error in tag: #EFFECT#"},
                    CasoErrore{"#DELAY_MICROS#=soon", "Syntax error in tag: #delay_micros#"},
                    // The first error ends the reading.
                    CasoErrore{"#EFFECT#=x\n#FONT#=y", "Syntax error in tag: #FONT#"}));

}  // namespace
