// The typing engine on the manual clock: what is written when, the sounds,
// the line-end pauses, the cursor and Escape; the font size from CharRow.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "core/MediaTrigger.h"
#include "media/MediaWindow.h"
#include "media/TypingEngine.h"
#include "platform/Clock.h"

namespace {

using Scritti = std::vector<std::pair<uint32_t, std::string>>;
const std::string Nb = "\xC2\xA0";

class Battitura : public testing::Test {
protected:
    void SetUp() override {
        formato = FormatoTestoCorrente;
        FormatoTestoCorrente = TextFormat{};
        FormatoTestoCorrente.Effect = 1;
        ClockUseManual(true, 70000);
        inizio = ClockTick();
    }
    void TearDown() override {
        ClockUseManual(false);
        FormatoTestoCorrente = formato;
    }
    AzioniTesto Azioni() {
        AzioniTesto a;
        a.Scrivi = [this](const std::string& t) {
            scritti.emplace_back(ClockTick() - inizio, t);
            ClockAdvance(costoScrittura);
        };
        a.Suona = [this](int32_t effetto, bool) { suoni.push_back(effetto); };
        a.Escape = [this] { return ++controlli == escapeAl; };
        a.Eventi = [this] { ++eventi; };
        a.Lampeggia = [this](const std::string& t) { lampeggi.push_back(t); };
        return a;
    }
    bool Mostra(const std::string& testo, int32_t flags, int32_t ritardo) {
        FormatoTestoCorrente.Flags = flags;
        FormatoTestoCorrente.DelayMicros = ritardo;
        return MostraTestoEffetto(testo, Azioni());
    }
    uint32_t Trascorsi() const { return ClockTick() - inizio; }

    TextFormat formato;
    uint32_t inizio = 0;
    Scritti scritti;
    std::vector<int32_t> suoni;
    std::vector<std::string> lampeggi;
    int32_t controlli = 0;
    int32_t escapeAl = -1;
    int32_t eventi = 0;
    // How long a drawing takes.
    uint32_t costoScrittura = 0;
};

struct CasoBattitura {
    const char* nome;
    std::string testo;
    int32_t flags;
    int32_t font;
    int32_t ritardo;
    Scritti scritti;
    std::vector<int32_t> suoni;
    uint32_t totale;
};

TEST_F(Battitura, CharacterAndWordModesArePacedAsTheirSteps) {
    const CasoBattitura casi[] = {
        {"two letters", "ab", 0, 0, 100, {{0, "a_"}, {100, "ab_"}, {200, "ab"}}, {1, 1, 5}, 200},
        {"no cursor", "ab", 0x10, 0, 100, {{0, "a"}, {100, "ab"}, {200, "ab"}}, {1, 1, 5}, 200},
        {"a blank does not click", "a b", 0, 0, 10, {{0, "a_"}, {10, "a _"}, {20, "a b_"}, {30, "a b"}}, {1, 1, 5}, 30},
        {"UTF-8 characters", "\xC3\xA8\xC3\xA9", 0, 0, 10,
         {{0, "\xC3\xA8_"}, {10, "\xC3\xA8\xC3\xA9_"}, {20, "\xC3\xA8\xC3\xA9"}}, {1, 1, 5}, 20},
        // The line end: the line, effect 5, the line with the cursor, 0.4 s.
        {"line end", "ab\r\ncd", 0, 0, 50,
         {{0, "a_"}, {50, "ab_"}, {100, "ab"}, {100, "ab_"}, {500, "ab\r\nc_"}, {550, "ab\r\ncd_"}, {600, "ab\r\ncd"}},
         {1, 1, 5, 1, 1, 5}, 600},
        {"line end signalled", "ab\r\ncd", 0x2, 0, 50,
         {{0, "a_"}, {50, "ab_"}, {100, "ab"}, {100, "ab_"}, {500, "ab"}, {900, "ab_"}, {1300, "ab\r\nc_"},
          {1350, "ab\r\ncd_"}, {1400, "ab\r\ncd"}},
         {1, 1, 5, 2, 1, 1, 5}, 1400},
        {"two line breaks pause once", "ab\r\n\r\ncd", 0, 0, 50,
         {{0, "a_"}, {50, "ab_"}, {100, "ab"}, {100, "ab_"}, {550, "ab\r\n\r\nc_"}, {600, "ab\r\n\r\ncd_"},
          {650, "ab\r\n\r\ncd"}},
         {1, 1, 5, 1, 1, 5}, 650},
        // Nothing lies before the first character: no pause.
        {"line break first", "\r\nab", 0, 0, 100, {{100, "\r\na_"}, {200, "\r\nab_"}, {300, "\r\nab"}}, {1, 1, 5}, 300},
        {"trailing breaks and blanks", "ab\r\n \r\n", 0, 0, 100, {{0, "a_"}, {100, "ab_"}, {200, "ab\r\n \r\n"}},
         {1, 1, 5}, 200},
        // The rest of the word keeps its room on the line, in the fixed-width font only.
        {"reserved room", "ab cd", 0x30, 0, 10,
         {{0, "a" + Nb}, {10, "ab"}, {20, "ab " + Nb + Nb}, {30, "ab c" + Nb}, {40, "ab cd"}, {50, "ab cd"}},
         {1, 1, 1, 1, 5}, 50},
        {"reserved room, proportional font", "ab cd", 0x30, 1, 10,
         {{0, "a"}, {10, "ab"}, {20, "ab "}, {30, "ab c"}, {40, "ab cd"}, {50, "ab cd"}}, {1, 1, 1, 1, 5}, 50},
        // Word mode: each word stays its length times the delay, at least the 100 ms pause.
        {"words", "ab cd", 0x40, 0, 100, {{0, "ab_"}, {200, "ab cd_"}, {400, "ab cd"}}, {5}, 400},
        {"words with sounds", "ab cd", 0x41, 0, 100, {{0, "ab_"}, {200, "ab cd_"}, {400, "ab cd"}}, {8, 8, 5}, 400},
        {"cursor blinks after 200 ms", "abcd", 0x40, 0, 100, {{0, "abcd_"}, {210, "abcd"}, {400, "abcd"}}, {5}, 400},
        {"words without cursor", "abcd", 0x50, 0, 100, {{0, "abcd"}, {400, "abcd"}}, {5}, 400},
        // A line end pauses 15 delays, then effect 2 with its flag.
        {"word line end", "ab\r\ncd", 0x42, 0, 10,
         {{0, "ab_"}, {210, "ab"}, {250, "ab \r\ncd_"}, {350, "ab\r\ncd"}}, {2, 5}, 350},
        {"empty word", "a  b", 0x40, 0, 50, {{0, "a_"}, {100, "a _"}, {150, "a  b_"}, {250, "a  b"}}, {5}, 250},
    };
    for (const CasoBattitura& c : casi) {
        SCOPED_TRACE(c.nome);
        scritti.clear();
        suoni.clear();
        inizio = ClockTick();
        FormatoTestoCorrente.Font = c.font;
        EXPECT_TRUE(Mostra(c.testo, c.flags, c.ritardo));
        EXPECT_EQ(scritti, c.scritti);
        EXPECT_EQ(suoni, c.suoni);
        EXPECT_EQ(Trascorsi(), c.totale);
    }
}

TEST_F(Battitura, ASlowSurfaceGetsTheCharactersDueTogether) {
    struct Caso {
        std::string testo;
        int32_t flags;
        Scritti scritti;
        std::vector<int32_t> suoni;
        uint32_t totale;
    };
    // Each drawing takes 25 ms, the steps 10 ms.
    const Caso casi[] = {
        {"abcdef", 0, {{0, "a_"}, {25, "abc_"}, {50, "abcdef_"}, {75, "abcdef"}}, {1, 1, 1, 5}, 100},
        // Blanks in a group do not silence its letters; a group stops at a line end.
        {"a b\r\ncd", 0x10,
         {{0, "a"}, {25, "a b"}, {50, "a b"}, {75, "a b"}, {500, "a b\r\nc"}, {525, "a b\r\ncd"}, {550, "a b\r\ncd"}},
         {1, 1, 5, 1, 1, 5}, 575},
    };
    costoScrittura = 25;
    for (const Caso& c : casi) {
        SCOPED_TRACE(c.testo);
        scritti.clear();
        suoni.clear();
        inizio = ClockTick();
        EXPECT_TRUE(Mostra(c.testo, c.flags, 10));
        EXPECT_EQ(scritti, c.scritti);
        EXPECT_EQ(suoni, c.suoni);
        EXPECT_EQ(Trascorsi(), c.totale);
    }
}

TEST_F(Battitura, EscapeLeavesTheTextAsFarAsTyped) {
    struct Caso {
        std::string testo;
        int32_t flags, ritardo, escapeAl;
        Scritti scritti;
        std::vector<int32_t> suoni;
    };
    const Caso casi[] = {
        {"abc", 0, 10, 3, {{0, "a_"}, {10, "ab_"}}, {1, 1}},
        // During the line-end pause, after effect 5.
        {"ab\r\ncd", 0, 10, 4, {{0, "a_"}, {10, "ab_"}, {20, "ab"}}, {1, 1, 5}},
        {"ab\r\ncd", 0x2, 10, 6, {{0, "a_"}, {10, "ab_"}, {20, "ab"}, {20, "ab_"}, {420, "ab"}}, {1, 1, 5}},
        // After the word's pause, and while it is held.
        {"abcd ef", 0x40, 10, 2, {{0, "abcd_"}, {100, "abcd ef_"}}, {}},
        {"abcd ef", 0x40, 100, 2, {{0, "abcd_"}}, {}},
    };
    for (const Caso& c : casi) {
        SCOPED_TRACE(c.testo + " at check " + std::to_string(c.escapeAl));
        scritti.clear();
        suoni.clear();
        controlli = 0;
        escapeAl = c.escapeAl;
        inizio = ClockTick();
        EXPECT_FALSE(Mostra(c.testo, c.flags, c.ritardo));
        EXPECT_EQ(scritti, c.scritti);
        EXPECT_EQ(suoni, c.suoni);
    }
}

TEST_F(Battitura, EffectsOtherThanTypingTakeNoTime) {
    FormatoTestoCorrente.Effect = 0;
    EXPECT_TRUE(Mostra("at once", 0x7F, 100));
    FormatoTestoCorrente.Effect = 2;
    EXPECT_TRUE(Mostra("blinking", 0, 100));
    EXPECT_EQ(lampeggi, std::vector<std::string>{"blinking"});
    for (int32_t effetto : {3, -1, 255}) {
        FormatoTestoCorrente.Effect = effetto;
        EXPECT_TRUE(Mostra("nothing", 0, 100));
    }
    FormatoTestoCorrente.Effect = 1;
    EXPECT_TRUE(Mostra("", 0, 100));
    EXPECT_TRUE(Mostra("", 0x40, 100));
    EXPECT_EQ(scritti, (Scritti{{0, "at once"}, {0, "blinking"}}));
    EXPECT_TRUE(suoni.empty());
    EXPECT_EQ(controlli, 0);
    EXPECT_EQ(Trascorsi(), 0u);
}

TEST_F(Battitura, EveryStepLetsEventsRun) {
    EXPECT_TRUE(Mostra("abc", 0, 10));
    EXPECT_EQ(eventi, 3);
    // A held word keeps the window alive as it waits.
    eventi = 0;
    EXPECT_TRUE(Mostra("abcd", 0x40, 100));
    EXPECT_GE(eventi, 20);
}

TEST(CursoreTesto, CountsCharactersAndClamps) {
    const TextFormat salvato = FormatoTestoCorrente;
    FormatoTestoCorrente = TextFormat{};
    EXPECT_EQ(TestoConCursore("abc", 0), "_");
    EXPECT_EQ(TestoConCursore("abc", 9), "abc_");
    EXPECT_EQ(TestoConCursore("abc", -4), "_");
    EXPECT_EQ(TestoConCursore("\xE4\xB8\x96\xE7\x95\x8C!", 2), "\xE4\xB8\x96\xE7\x95\x8C_");
    FormatoTestoCorrente.Flags = 0x30;
    // Up to the next separator of any kind.
    EXPECT_EQ(TestoConCursore("ab\tcd", 1), "a" + Nb);
    EXPECT_EQ(TestoConCursore("ab\r\ncd", 0), Nb + Nb);
    EXPECT_EQ(TestoConCursore("a\xE4\xB8\x96 c", 1), "a" + Nb);
    FormatoTestoCorrente.Flags = 0x20;
    EXPECT_EQ(TestoConCursore("ab", 1), "a_");
    FormatoTestoCorrente = salvato;
    for (char c : {' ', '\r', '\n', '\t'}) EXPECT_TRUE(IsSeparatore(c));
    for (char c : {'a', '\0', '_', '\xA0', '\v'}) EXPECT_FALSE(IsSeparatore(c));
}

TEST(FontTestoDimensione, WindowWidthOverCharactersPerRowInPoints) {
    struct Caso {
        int32_t larghezza, charRow, dpi;
        bool interi;
        double carattere, punti;
    };
    const Caso casi[] = {
        {800, 39, 96, false, 20, 26.6667},
        {800, 30, 96, false, 25.8065, 34.4086},
        {800, 30, 96, true, 26, 34.6667},
        {640, 0, 120, false, 640, 1066.6667},
        // CharRow -1 or less: the whole width, never a division by zero.
        {800, -1, 96, false, 800, 1066.6667},
        {800, -40, 96, true, 800, 1066.6667},
        {0, 39, 96, false, 0, 0},
    };
    for (const Caso& c : casi) {
        double carattere = -1;
        EXPECT_NEAR(DimensioneFontTesto(c.larghezza, c.charRow, c.dpi, c.interi, carattere), c.punti, 1e-4);
        EXPECT_NEAR(carattere, c.carattere, 1e-4);
    }
}

TEST(FontTestoSuperficie, EachFontIsFreedAndThePreviousOneComesBack) {
    HDC dc = CreateCompatibleDC(nullptr);
    ASSERT_NE(dc, nullptr);
    HGDIOBJ originale = GetCurrentObject(dc, OBJ_FONT);
    std::vector<HFONT> creati;
    {
        FontTesto font;
        for (int i = 0; i < 3; ++i) {
            creati.push_back(CreateFontA(-12 - i, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "Arial"));
            font.Seleziona(dc, creati.back());
            EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), creati.back());
        }
        for (size_t i = 0; i + 1 < creati.size(); ++i) EXPECT_EQ(GetObjectType(creati[i]), 0u);
        // Without a surface the font is not kept.
        HFONT senza = CreateFontA(-9, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "Arial");
        font.Seleziona(nullptr, senza);
        EXPECT_EQ(GetObjectType(senza), 0u);
        EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), originale);
        font.Seleziona(dc, CreateFontA(-20, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "Arial"));
        creati.push_back(static_cast<HFONT>(GetCurrentObject(dc, OBJ_FONT)));
    }
    EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), originale);
    EXPECT_EQ(GetObjectType(creati.back()), 0u);
    DeleteDC(dc);
}

class TestoFinestra : public Battitura {};

TEST_F(TestoFinestra, TheWindowTypesOnTheClockAndLeavesBlinkingToItsTimer) {
    Dialog_Titoli finestra;
    finestra.LarghezzaFinestra = 800;
    FormatoTestoCorrente.CharRow = 39;
    FormatoTestoCorrente.DelayMicros = 100;
    bool completato = false;
    finestra.MostraTestoDinamico("ab", completato);
    EXPECT_TRUE(completato);
    EXPECT_EQ(Trascorsi(), 200u);
    EXPECT_DOUBLE_EQ(finestra.DimensioneCarattere, 20);

    FormatoTestoCorrente.Effect = 5;
    completato = false;
    finestra.MostraTestoDinamico("never", completato);
    EXPECT_TRUE(completato);
    EXPECT_EQ(finestra.TestoDinamico, "");
    EXPECT_FALSE(finestra.Timer_Dinamico.Enabled());

    FormatoTestoCorrente.Effect = 2;
    FormatoTestoCorrente.DelayMicros = 300;
    finestra.MostraTestoDinamico("blink", completato);
    EXPECT_TRUE(completato);
    EXPECT_EQ(finestra.TestoDinamico, "blink");
    EXPECT_TRUE(finestra.TestoMostrato);
    EXPECT_EQ(finestra.Timer_Dinamico.Interval(), 300u);
    EXPECT_TRUE(finestra.Timer_Dinamico.Enabled());
    EXPECT_EQ(Trascorsi(), 200u);
    finestra.Timer_Dinamico.SetEnabled(false);

    FormatoTestoCorrente.Effect = 0;
    FormatoTestoCorrente.CharRow = 30;
    finestra.ImpostaFontFormattazione();
    EXPECT_DOUBLE_EQ(finestra.DimensioneCarattere, 26);
}

}  // namespace
