// The "ALERT" and "LIFE_BAR" sections of an alert and the life bar's place
// on the game's screen: values, defaults, and each fault with its line.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/MediaLog.h"
#include "core/MediaTrigger.h"
#include "media/AlertSyntax.h"
#include "platform/Clock.h"
#include "tests/core/LogLines.h"

namespace {

class SintassiAlert : public ConRigheLog {
protected:
    void TearDown() override {
        LeggiSintassiAlert("");
        SintassiLifeBar("");
        LogAbilitato = false;
        ConRigheLog::TearDown();
    }
};

constexpr int32_t Grigio = 0x808080;
constexpr int32_t Lasciato = 77;  // what an earlier alert left in the block

struct CasoAlert {
    const char* sezione;
    bool esito;
    BloccoAlertMedia atteso;
    const char* errore;  // "" none
    bool inUltimoErrore;
};

TEST_F(SintassiAlert, AlertSectionValuesDefaultsAndEachFaultWithItsLine) {
    const char* fine = "#BACK_COLOR#=255\r\n#STOP_PERFORM#=3\r\n#END_PERFORM#=4\r\n";
    const std::string completa = std::string("#REFRESH#=25\r\n#FLAGS#=768\r\n#CD_BREAK#=12\r\n") + fine +
                                 "#BORDER_COLOR#=65280\r\n#BORDER_SIZE#=3\r\n";
    const std::string senzaCd = std::string("#REFRESH#=5\r\n#FLAGS#=0\r\n#CD_BREAK#=7\r\n") + fine;
    const std::string mezzi = "#end_perform#=&H10\r\n#Stop_Perform#=13.5\r\n#BACK_COLOR#=-1\r\n#FLAGS#=33\r\n"
                              "#REFRESH#=12.5\r\n";
    const std::string senzaMisura = std::string("#REFRESH#=5\r\n#FLAGS#=256\r\n") + fine + "#BORDER_COLOR#=9\r\n";
    const std::string senzaColore = std::string("#REFRESH#=5\r\n#FLAGS#=256\r\n") + fine + "#BORDER_SIZE#=2\r\n";
    const char* noCd = "Syntax error in Alert Trigger: not numeric value for [Cd break] field";
    const CasoAlert casi[] = {
        {"", true, {32, 80, 0, 0, Grigio, -1, -1, -1}, "", false},
        {completa.c_str(), true, {768, 25, 65280, 3, 255, 4, 3, 12}, "", false},
        // Tags in any order and case; halves to even; hexadecimal.
        {mezzi.c_str(), true, {33, 12, 0, 0, -1, 16, 14, -1}, "", false},
        // No break CD without its flag: the tag stays unread.
        {senzaCd.c_str(), true, {0, 5, 0, 0, 255, 4, 3, -1}, "", false},
        // What was read before the fault keeps its new value.
        {"#REFRESH#=12\r\n", false, {32, 12, 0, 0, Grigio, -1, -1, -1},
         "Syntax error in Alert Trigger: not numeric value for alert flags", true},
        {"#FLAGS#=0\r\n", false, {32, 80, 0, 0, Grigio, -1, -1, -1},
         "Syntax error in Alert Trigger: missing refresh time", true},
        {"\r\n", false, {32, 80, 0, 0, Grigio, -1, -1, -1},
         "Syntax error in Alert Trigger: missing refresh time", true},
        {"#REFRESH#=fast\r\n", false, {32, 80, 0, 0, Grigio, -1, -1, -1},
         "Syntax error in Alert Trigger: not numeric value for refresh time", true},
        // Written but empty, or "~", it is there and not a number.
        {"#REFRESH#=\r\n#FLAGS#=0\r\n", false, {32, 80, 0, 0, Grigio, -1, -1, -1},
         "Syntax error in Alert Trigger: not numeric value for refresh time", true},
        {"#REFRESH#=~\r\n", false, {32, 80, 0, 0, Grigio, -1, -1, -1},
         "Syntax error in Alert Trigger: not numeric value for refresh time", true},
        // No redraw interval comes from these: refused, the default kept.
        {"#REFRESH#=0\r\n#FLAGS#=0\r\n", false, {32, 80, 0, 0, Grigio, -1, -1, -1},
         "Syntax error in Alert Trigger: refresh time must be greater than zero: 0", true},
        {"#REFRESH#=-5\r\n", false, {32, 80, 0, 0, Grigio, -1, -1, -1},
         "Syntax error in Alert Trigger: refresh time must be greater than zero: -5", true},
        {"#REFRESH#=0.4\r\n", false, {32, 80, 0, 0, Grigio, -1, -1, -1},
         "Syntax error in Alert Trigger: refresh time must be greater than zero: 0.4", true},
        {"#REFRESH#=5\r\n#FLAGS#=99999999999\r\n", false, {32, 5, 0, 0, Grigio, -1, -1, -1},
         "Syntax error in Alert Trigger: not numeric value for alert flags", true},
        {"#REFRESH#=5\r\n#FLAGS#=512\r\n#BACK_COLOR#=1\r\n", false, {512, 5, 0, 0, Grigio, -1, -1, -1},
         noCd, true},
        {"#REFRESH#=5\r\n#FLAGS#=0\r\n#BACK_COLOR#=red\r\n", false, {0, 5, 0, 0, Grigio, -1, -1, -1},
         "Syntax error in Alert Trigger: not numeric value for background color", true},
        {"#REFRESH#=5\r\n#FLAGS#=0\r\n#BACK_COLOR#=1\r\n#END_PERFORM#=2\r\n", false,
         {0, 5, 0, 0, 1, -1, -1, -1}, "Syntax error in Alert Trigger: not numeric value for #stop_perform#",
         true},
        {"#REFRESH#=5\r\n#FLAGS#=0\r\n#BACK_COLOR#=1\r\n#STOP_PERFORM#=2\r\n#END_PERFORM#=~\r\n", false,
         {0, 5, 0, 0, 1, -1, 2, -1}, "Syntax error in Alert Trigger: not numeric value for #end_perform#",
         true},
        // The border's faults go to the log only; no border is carried over
        // from an earlier alert.
        {senzaMisura.c_str(), false, {256, 5, 9, 0, 255, 4, 3, -1},
         "ERROR in alert media: missing #BORDER_SIZE#= field", false},
        {senzaColore.c_str(), false, {256, 5, 0, 0, 255, 4, 3, -1},
         "ERROR in alert media: missing #BORDER_COLOR#= field", false},
    };
    for (const CasoAlert& c : casi) {
        SCOPED_TRACE(c.sezione);
        BloccoAlert = BloccoAlertMedia{Lasciato, Lasciato, Lasciato, Lasciato, Lasciato, Lasciato, Lasciato, Lasciato};
        BufferLog.clear();
        NumErroriLog = 0;
        UltimoErrore = "previous";
        EXPECT_EQ(LeggiSintassiAlert(c.sezione), c.esito);
        const BloccoAlertMedia& b = BloccoAlert;
        const std::vector<int32_t> letto{b.FlagAlert,      b.RefreshAlert,      b.ColoreBordo,     b.SpessoreBordo,
                                         b.ColoreSfondoAlert, b.MediaFineTempo, b.MediaInterruzione, b.CdInterruzione};
        const BloccoAlertMedia& a = c.atteso;
        const std::vector<int32_t> atteso{a.FlagAlert,      a.RefreshAlert,      a.ColoreBordo,     a.SpessoreBordo,
                                          a.ColoreSfondoAlert, a.MediaFineTempo, a.MediaInterruzione, a.CdInterruzione};
        EXPECT_EQ(letto, atteso);
        if (c.esito) {
            NessunErrore();
        } else if (c.inUltimoErrore) {
            UnErrore(c.errore);
        } else {
            EXPECT_EQ(NumErroriLog, 1);
            EXPECT_EQ(Righe(), std::vector<std::string>{c.errore});
            EXPECT_EQ(UltimoErrore, "previous");
        }
    }
}

struct CasoLifeBar {
    const char* sezione;
    bool esito;
    std::vector<int32_t> valori;  // flags, d-time, blink, reduction, colour
    const char* immagine;
    const char* errore;
};

TEST_F(SintassiAlert, LifeBarSectionValuesDefaultsAndEachFaultWithItsLine) {
    const char* tutti = "#BAR-COLOR#=65280\r\n#D-TIME#=30\r\n#FLAGS#=4129\r\n#PERC-BLINK#=20\r\n"
                        "#PERC-REDUCTION#=50\r\n#IMAGE#=~\r\n";
    const char* conImmagine = "#IMAGE#=barra.bmp\r\n#perc-reduction#=0\r\n#perc-blink#=0\r\n#flags#=8192\r\n"
                              "#d-time#=2.5\r\n#bar-color#=&HFF\r\n";
    const char* senzaImmagine = "#BAR-COLOR#=1\r\n#D-TIME#=2\r\n#FLAGS#=8192\r\n#PERC-BLINK#=3\r\n"
                                "#PERC-REDUCTION#=4\r\n#IMAGE#=~\r\n";
    const std::vector<int32_t> predefiniti{6409, 16, 10, 0, 200};
    const CasoLifeBar casi[] = {
        {"", true, predefiniti, "", ""},
        {tutti, true, {4129, 30, 20, 50, 65280}, "", ""},
        {conImmagine, true, {8192, 2, 0, 0, 255}, "barra.bmp", ""},
        {"#D-TIME#=3\r\n", false, predefiniti, "", "ERROR in Life-Bar effect of Alert Media: missing #bar-color#"},
        {"#BAR-COLOR#=1\r\n", false, {6409, 16, 10, 0, 1}, "",
         "ERROR in Life-Bar effect of Alert Media: missing #D-Time#"},
        {"#BAR-COLOR#=1\r\n#D-TIME#=2\r\n#FLAGS#=x\r\n", false, {6409, 2, 10, 0, 1}, "",
         "ERROR in Life-Bar effect of Alert Media: missing #flags#"},
        {"#BAR-COLOR#=1\r\n#D-TIME#=2\r\n#FLAGS#=0\r\n", false, {0, 2, 10, 0, 1}, "",
         "ERROR in Life-Bar effect of Alert Media: missing #perc-blink#"},
        {"#BAR-COLOR#=1\r\n#D-TIME#=2\r\n#FLAGS#=0\r\n#PERC-BLINK#=3\r\n", false, {0, 2, 3, 0, 1}, "",
         "ERROR in Life-Bar effect of Alert Media: missing #perc-reduction#"},
        {senzaImmagine, false, {8192, 2, 3, 4, 1}, "", "ERROR in Life-bar effect of alert media: missing Bar image"},
    };
    for (const CasoLifeBar& c : casi) {
        SCOPED_TRACE(c.sezione);
        LifeBarParametri = ParametriLifeBar{1, 1, 1, 1, 1, "old.bmp"};
        BufferLog.clear();
        NumErroriLog = 0;
        UltimoErrore = "previous";
        EXPECT_EQ(SintassiLifeBar(c.sezione), c.esito);
        const ParametriLifeBar& p = LifeBarParametri;
        EXPECT_EQ((std::vector<int32_t>{p.FlagLifeBar, p.DurataPiena, p.PercBlink, p.PercRiduzione, p.ColoreBarra}),
                  c.valori);
        EXPECT_EQ(p.ImmagineBarra, c.immagine);
        if (c.esito)
            NessunErrore();
        else
            UnErrore(c.errore);
    }
}

TEST_F(SintassiAlert, LifeBarPlaceOnStandardAndOtherScreensAndNoneOnATinyOne) {
    struct Caso {
        int32_t flag, x, y;
        bool esito;
        RettangoloBarra atteso;
    };
    const Caso casi[] = {
        {6409, 1024, 768, true, {21, 41, 262, 61}},
        {0x40, 800, 600, true, {598, 9, 787, 25}},
        {0x10, 640, 480, true, {480, 24, 631, 36}},
        {0x4, 640, 480, true, {6, 7, 157, 19}},
        {0x14, 1024, 768, true, {759, 13, 1000, 33}},
        {0, 1280, 1024, true, {26, 55, 327, 81}},
        {0x40, 1280, 1024, true, {949, 17, 1250, 44}},
        // The game's size not known yet, or too small for a frame round a fill.
        {0, 0, 0, false, {0, 0, 1, 1}},
        {0, 100, 50, false, {2, 3, 26, 5}},
    };
    for (const Caso& c : casi) {
        SCOPED_TRACE(std::to_string(c.flag) + " " + std::to_string(c.x) + "x" + std::to_string(c.y));
        LifeBarParametri.FlagLifeBar = c.flag;
        LogAbilitato = true;
        TickUltimaScritturaLog = ClockTick();
        BufferLog.clear();
        NumErroriLog = 0;
        RettangoloBarra r;
        EXPECT_EQ(RettangoloLifeBar(c.x, c.y, r), c.esito);
        EXPECT_EQ(r, c.atteso);
        EXPECT_EQ(NumErroriLog, c.esito ? 0 : 1);
        const std::vector<std::string> righe = Righe();
        ASSERT_GE(righe.size(), 2u);
        const std::string rett = "Bar Rect: " + std::to_string(c.atteso.Left) + "," + std::to_string(c.atteso.Top) +
                                 " - " + std::to_string(c.atteso.Right) + "," + std::to_string(c.atteso.Bottom);
        EXPECT_NE(std::find(righe.begin(), righe.end(), rett), righe.end());
    }
}

}  // namespace
