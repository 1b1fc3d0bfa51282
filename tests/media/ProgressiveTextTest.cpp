// The progressive text: its section, the rows it lays out (by line or by
// counting to the number the player typed), and their pace in the cover
// window on the test clock, read back from the cover's surface.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "core/LevelVariables.h"
#include "core/MediaConfig.h"
#include "core/MediaTrigger.h"
#include "core/ModuleInit.h"
#include "media/ProgressiveText.h"
#include "media/TextLayout.h"
#include "platform/Clock.h"
#include "runservices/Desktop.h"
#include "runservices/RunState.h"
#include "tests/core/LogLines.h"

namespace {

constexpr COLORREF Bianco = RGB(255, 255, 255);

class TestoProgressivo : public ConRigheLog {
protected:
    void SetUp() override {
        ConRigheLog::SetUp();
        ClockUseManual(true, 5000);
        nomi_ = NomiFont;
        schermoX_ = SchermoX;
        schermoY_ = SchermoY;
        opzioni_ = HeaderMcf.HeaderOptions;
        NomiFont = {"Arial"};
        SchermoX = 1024;
        SchermoY = 768;
        // The rectangle is scaled on the screen of a windowed game.
        HeaderMcf.HeaderOptions = ParolaOpzioni(OpzioneHeader::SharedMode);
        ImpostaBit(ModificheAvvio, FaseSpecialMedia);
        VarLastInput = "2";
        MediaCorrente = MediaTrigger{};
        MediaCorrente.Formato.Color = static_cast<int32_t>(Bianco);
        MediaCorrente.Formato.CharRow = 39;
        MediaCorrente.Formato.BoundRect = Rettangolo{0, 0, 500, 100};
        // The rows go on the cover placed over the whole screen.
        InitFormattazioneTesto();
    }
    void TearDown() override {
        DialogCover().Hide();
        DialogCover().LiberaSuperficie();
        NomiFont = nomi_;
        SchermoX = schermoX_;
        SchermoY = schermoY_;
        HeaderMcf.HeaderOptions = opzioni_;
        ModificheAvvio = 0;
        VarLastInput.clear();
        MediaCorrente = MediaTrigger{};
        DatiTestoProgressivo = DatiTestoProgressivoMedia{};
        ClockUseManual(false);
        ConRigheLog::TearDown();
    }
    static void Media(const std::string& testo, const std::string& sezione) {
        MediaCorrente.Text = "<TEXT>" + testo + "<END_TEXT>";
        MediaCorrente.Syntax = "<PROGR_TEXT>" + sezione + "<END_PROGR_TEXT>";
    }
    // Lit pixels of the rows' rectangle on the cover's black surface.
    static int32_t Bianchi() {
        HDC dc = DialogCover().DCCover();
        const Rettangolo& r = DatiTestoProgressivo.Rect;
        int32_t n = 0;
        for (int32_t y = r.Top; y < r.Bottom; y += 2)
            for (int32_t x = r.Left; x < r.Right; x += 2)
                if (GetPixel(dc, x, y) != RGB(0, 0, 0)) ++n;
        return n;
    }

private:
    std::vector<std::string> nomi_;
    int32_t schermoX_ = 0, schermoY_ = 0, opzioni_ = 0;
};

TEST_F(TestoProgressivo, TheSectionIsReadInOrderAndStopsAtTheFirstValueThatIsNoNumber) {
    struct Caso {
        const char* sezione;
        bool esito;
        int32_t flags, tempo, inizio;
        const char* errore;
    };
    const Caso casi[] = {
        {"", true, 0, 1000, 1, nullptr},
        {"#FLAGS#=3\r\n#TIME#=2500\r\n#START_COUNT#=7\r\n", true, 3, 2500, 7, nullptr},
        {"#FLAGS#=x\r\n#TIME#=2500\r\n#START_COUNT#=7\r\n", false, 0, 1000, 1,
         "ERROR: not numeric value for #flags# field of Progressive Text chunk"},
        {"#FLAGS#=1\r\n#TIME#=\r\n#START_COUNT#=7\r\n", false, 1, 1000, 1,
         "ERROR: not numeric value for #Time# field of Progressive Text chunk"},
        {"#FLAGS#=2\r\n#TIME#=300\r\n", false, 2, 300, 1,
         "ERROR: not numeric value for #Start_Count# field of Progressive Text chunk"},
    };
    for (const Caso& c : casi) {
        SCOPED_TRACE(c.sezione);
        DatiTestoProgressivo.Flags = 99;
        BufferLog.clear();
        NumErroriLog = 0;
        EXPECT_EQ(LeggiChunkTestoProgressivo(c.sezione), c.esito);
        EXPECT_EQ(DatiTestoProgressivo.Flags, c.flags);
        EXPECT_EQ(DatiTestoProgressivo.Time, c.tempo);
        EXPECT_EQ(DatiTestoProgressivo.StartCount, c.inizio);
        if (c.errore)
            UnErrore(c.errore);
        else
            NessunErrore();
    }
}

TEST_F(TestoProgressivo, RowsComeFromTheLinesOrFromCountingToTheTypedNumber) {
    struct Caso {
        const char* nome;
        std::string testo;
        std::string sezione;
        const char* digitato;
        bool esito;
        std::vector<std::string> righe;
        int32_t tempoRiga;
        const char* errore;
    };
    const Caso casi[] = {
        {"one per line", "ONE\r\nTWO\r\nTHREE", "#FLAGS#=0\r\n#TIME#=800\r\n#START_COUNT#=1\r\n", "2", true,
         {"ONE", "TWO", "THREE"}, 800, nullptr},
        {"the time shared by the rows", "ONE\r\nTWO\r\nTHREE", "#FLAGS#=2\r\n#TIME#=3000\r\n#START_COUNT#=1\r\n", "2",
         true, {"ONE", "TWO", "THREE"}, 1000, nullptr},
        {"counting down", "Floor #COUNTER#", "#FLAGS#=1\r\n#TIME#=500\r\n#START_COUNT#=5\r\n", "2", true,
         {"Floor 5", "Floor 4", "Floor 3", "Floor 2"}, 500, nullptr},
        {"counting up", "#counter#!", "#FLAGS#=1\r\n#TIME#=500\r\n#START_COUNT#=1\r\n", "3", true,
         {"1!", "2!", "3!"}, 500, nullptr},
        {"a typed text that is no number", "#COUNTER#", "#FLAGS#=1\r\n#TIME#=500\r\n#START_COUNT#=1\r\n", "many",
         false, {}, 0,
         "Error: the last text typed is not a number for the progressive text's counter: many"},
        {"a count past the cap", "#COUNTER#", "#FLAGS#=1\r\n#TIME#=500\r\n#START_COUNT#=1\r\n", "5000", false, {}, 0,
         "Error: the progressive text's counter from 1 to 5000 passes 1000 rows"},
        {"no text", "", "#FLAGS#=0\r\n#TIME#=500\r\n#START_COUNT#=1\r\n", "2", false, {}, 0,
         "Error: no texts to show"},
        // A text that does not count needs no start: the faulty section's
        // error line, then the layout on what was read.
        {"no start count", "ONE\r\nTWO", "#FLAGS#=2\r\n#TIME#=3000\r\n", "2", true, {"ONE", "TWO"}, 1500,
         "ERROR: not numeric value for #Start_Count# field of Progressive Text chunk"},
    };
    for (const Caso& c : casi) {
        SCOPED_TRACE(c.nome);
        Media(c.testo, c.sezione);
        VarLastInput = c.digitato;
        BufferLog.clear();
        NumErroriLog = 0;
        int32_t altezza = 0;
        EXPECT_EQ(InitProgressiveText(altezza), c.esito);
        if (c.errore) UnErrore(c.errore);
        if (!c.esito) continue;
        EXPECT_EQ(DatiTestoProgressivo.Rows, c.righe);
        EXPECT_EQ(DatiTestoProgressivo.RowCount, static_cast<int32_t>(c.righe.size()));
        EXPECT_EQ(DatiTestoProgressivo.RowTime, c.tempoRiga);
        // 1024 pixels for 40 characters.
        EXPECT_EQ(altezza, 26);
        EXPECT_EQ(DatiTestoProgressivo.NextRow, 0);
        EXPECT_EQ(DatiTestoProgressivo.BackColour, -1);
        // Narrowed to the widest row, as high as one row.
        const Rettangolo& r = DatiTestoProgressivo.Rect;
        EXPECT_EQ(r.Left, 0);
        EXPECT_GT(r.Right, 0);
        EXPECT_LT(r.Right, 512);
        EXPECT_GT(r.Bottom, 20);
        EXPECT_LT(r.Bottom, 50);
    }
}

TEST_F(TestoProgressivo, EachRowShowsAtItsTimeAndTheEndComesAfterTheLastRowsTime) {
    Media("WWWW\r\nI", "#FLAGS#=0\r\n#TIME#=1000\r\n#START_COUNT#=1\r\n");
    int32_t altezza = 0;
    ASSERT_TRUE(InitProgressiveText(altezza));
    DialogCover().BackColor = RGB(0, 0, 0);
    DialogCover().PulisciCover();
    bool completo = true;
    // The first row at once.
    MostraTestoProgressivo(completo);
    EXPECT_FALSE(completo);
    EXPECT_EQ(DatiTestoProgressivo.NextRow, 1);
    EXPECT_EQ(DatiTestoProgressivo.BackColour, 0);
    const int32_t prima = Bianchi();
    EXPECT_GT(prima, 10);
    ClockAdvance(999);
    MostraTestoProgressivo(completo);
    EXPECT_EQ(DatiTestoProgressivo.NextRow, 1);
    ClockAdvance(1);
    MostraTestoProgressivo(completo);
    EXPECT_EQ(DatiTestoProgressivo.NextRow, 2);
    EXPECT_FALSE(completo);
    // The second row took the first one's place.
    EXPECT_LT(Bianchi(), prima / 2);
    EXPECT_GT(Bianchi(), 10);
    ClockAdvance(500);
    MostraTestoProgressivo(completo);
    EXPECT_FALSE(completo);
    ClockAdvance(500);
    MostraTestoProgressivo(completo);
    EXPECT_TRUE(completo);
}

// A caller that gives the colour (an opaque splash text, an alert) has its
// first row shown at once however long the system has been up: past 2^31
// ms the tick count reads as negative against the layout's LastTick of 0.
TEST_F(TestoProgressivo, AGivenColourShowsTheFirstRowAtOnceAtAnyTickCount) {
    const uint32_t inizi[] = {5000, 0x80000000u + 5000, 0xFFFFFC18u /* wraps before the second row */};
    for (const uint32_t inizio : inizi) {
        SCOPED_TRACE(inizio);
        ClockUseManual(true, inizio);
        Media("WWWW\r\nI", "#FLAGS#=0\r\n#TIME#=1000\r\n#START_COUNT#=1\r\n");
        int32_t altezza = 0;
        ASSERT_TRUE(InitProgressiveText(altezza));
        DialogCover().BackColor = RGB(0, 0, 0);
        DialogCover().PulisciCover();
        DatiTestoProgressivo.BackColour = 0;
        bool completo = true;
        MostraTestoProgressivo(completo);
        EXPECT_FALSE(completo);
        EXPECT_EQ(DatiTestoProgressivo.NextRow, 1);
        EXPECT_GT(Bianchi(), 10);
        ClockAdvance(999);
        MostraTestoProgressivo(completo);
        EXPECT_EQ(DatiTestoProgressivo.NextRow, 1);
        ClockAdvance(1);
        MostraTestoProgressivo(completo);
        EXPECT_EQ(DatiTestoProgressivo.NextRow, 2);
        ClockAdvance(1000);
        MostraTestoProgressivo(completo);
        EXPECT_TRUE(completo);
    }
}

}  // namespace
