// The layout arithmetic of the media texts: rectangles in thousandths
// scaled to pixels and twips, centring, the lettered layouts and the alert's
// cover rectangle.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <climits>

#include "core/MediaConfig.h"
#include "core/MediaLog.h"
#include "core/MediaTrigger.h"
#include "core/SharedState.h"
#include "runservices/Desktop.h"
#include "media/AlertMedia.h"
#include "media/MediaWindow.h"
#include "media/TextLayout.h"
#include "platform/Clock.h"
#include "tests/core/LogLines.h"

namespace {

// Compared and printed as their four values.
std::array<int32_t, 4> V(const Rettangolo& r) { return {r.Left, r.Top, r.Right, r.Bottom}; }

const Rettangolo Nessuno{-1, -1, -1, -1};

struct CasoScala {
    Rettangolo millesimi;
    int32_t larghezza, altezza;
    Rettangolo pixel;
};

TEST(Layout, ThousandthsScaleToTheNearestPixelHalvesToEven) {
    const CasoScala casi[] = {
        {{100, 100, 900, 900}, 800, 600, {80, 60, 720, 540}},
        {{0, 0, 1000, 1000}, 1024, 768, {0, 0, 1024, 768}},
        // 0.5 and 2.5 go down to the even neighbour, 1.5 goes up.
        {{5, 15, 25, 5}, 100, 100, {0, 2, 2, 0}},
        {{-5, -15, 1005, 1015}, 100, 100, {0, -2, 100, 102}},
        {{333, 667, 500, 1}, 640, 480, {213, 320, 320, 0}},
    };
    for (const CasoScala& c : casi) EXPECT_EQ(V(ScalaMillesimi(c.millesimi, c.larghezza, c.altezza)), V(c.pixel));
}

TEST(Layout, CentringKeepsWidthAndVerticalPlace) {
    const CasoScala casi[] = {
        // Already centred: unchanged.
        {{80, 60, 720, 540}, 800, 0, {80, 60, 720, 540}},
        {{0, 10, 101, 20}, 800, 0, {350, 10, 451, 20}},
        {{0, 10, 103, 20}, 800, 0, {348, 10, 451, 20}},
        {{700, 1, 900, 2}, 1000, 0, {400, 1, 600, 2}},
        // Wider than the screen: it sticks out on both sides alike.
        {{0, 0, 1200, 5}, 1000, 0, {-100, 0, 1100, 5}},
    };
    for (const CasoScala& c : casi) {
        Rettangolo r = c.millesimi;
        CentraOrizzontale(r, c.larghezza);
        EXPECT_EQ(V(r), V(c.pixel));
    }
}

TEST(Layout, TwipsOfAPictureRectangleHaveTheExtraPixels) {
    struct Caso {
        Rettangolo millesimi;
        int32_t larghezza, altezza, twips;
        Rettangolo atteso;
    };
    const Caso casi[] = {
        // 802 x 601 pixels on an 800 x 600 window.
        {{0, 0, 1000, 1000}, 800, 600, 15, {0, 0, 802 * 15, 601 * 15}},
        {{100, 100, 900, 900}, 800, 600, 15, {1200, 900, 642 * 15, 481 * 15}},
        {{333, 333, 667, 667}, 800, 600, 15, {3996, 2997, 4038, 3021}},
        // The products round halves to even: 0.5, 0.5, 2.5, 1.5.
        {{5, 5, 10, 10}, 100, 100, 1, {0, 0, 2, 2}},
        {{15, 15, 20, 20}, 100, 100, 1, {2, 2, 2, 2}},
        // An author's rectangle far outside the window stays within 32 bits.
        {{INT32_MIN, 0, INT32_MAX, 0}, 1024, 768, 15, {INT32_MIN, 0, INT32_MAX, 15}},
    };
    for (const Caso& c : casi)
        EXPECT_EQ(V(ScalaRettangoloTwips(c.millesimi, c.larghezza, c.altezza, c.twips, c.twips)), V(c.atteso));
}

struct Layout {
    char lettera;
    Rettangolo posti[7];
    // Place 5 when the second person speaks.
    Rettangolo quintoSecondo;
};

// Thousandths of the 640 x 480 reference rectangles.
const Layout Layouts[] = {
    {'A', {{58, 62, 322, 404}, {27, 504, 466, 958}, {684, 62, 947, 406}, {533, 504, 972, 958},
           {58, 62, 322, 404}, {58, 415, 319, 450}, {684, 417, 945, 452}},
          {684, 62, 947, 406}},
    {'B', {{52, 62, 289, 390}, {381, 46, 967, 400}, {52, 617, 288, 944}, {381, 596, 967, 954},
           {52, 62, 289, 390}, {53, 402, 288, 431}, {53, 956, 288, 988}},
          {52, 617, 289, 944}},
    {'C', {{41, 50, 231, 312}, {316, 38, 964, 271}, {41, 50, 231, 312}, {316, 38, 964, 271},
           {309, 358, 967, 944}, {42, 321, 231, 346}, {42, 321, 231, 346}},
          {309, 358, 967, 944}},
    {'D', {{38, 38, 200, 252}, {47, 346, 952, 942}, {800, 38, 962, 252}, {47, 346, 952, 942},
           {38, 38, 200, 252}, {36, 262, 202, 285}, {798, 262, 962, 283}},
          {800, 38, 962, 252}},
    {'E', {{-1, -1, -1, -1}, {544, 19, 959, 248}, {345, 708, 461, 825}, {20, 323, 436, 552},
           {345, 708, 461, 825}, {-1, -1, -1, -1}, {-1, -1, -1, -1}},
          {345, 708, 461, 825}},
    {'F', {{-1, -1, -1, -1}, {609, 52, 984, 265}, {-1, -1, -1, -1}, {197, 0, 572, 212},
           {-1, -1, -1, -1}, {-1, -1, -1, -1}, {-1, -1, -1, -1}},
          {-1, -1, -1, -1}},
    {'G', {{464, 352, 845, 735}, {405, 219, 914, 725}, {464, 352, 845, 735}, {405, 219, 914, 725},
           {464, 352, 845, 735}, {-1, -1, -1, -1}, {-1, -1, -1, -1}},
          {464, 352, 845, 735}},
    {'H', {{-1, -1, -1, -1}, {41, 54, 538, 342}, {344, 696, 606, 938}, {41, 54, 538, 342},
           {344, 696, 606, 938}, {-1, -1, -1, -1}, {-1, -1, -1, -1}},
          {344, 696, 606, 938}},
    {'I', {{-1, -1, -1, -1}, {75, 690, 930, 923}, {333, 110, 673, 554}, {75, 690, 930, 923},
           {333, 110, 673, 554}, {-1, -1, -1, -1}, {-1, -1, -1, -1}},
          {333, 110, 673, 554}},
    {'J', {{-1, -1, -1, -1}, {75, 690, 930, 923}, {317, 100, 672, 548}, {75, 690, 930, 923},
           {317, 100, 672, 548}, {-1, -1, -1, -1}, {-1, -1, -1, -1}},
          {317, 100, 672, 548}},
};

TEST(Layout, EveryLetterAndPlace) {
    for (const Layout& l : Layouts) {
        for (char lettera : {l.lettera, static_cast<char>(l.lettera - 'A' + 'a')}) {
            const std::string file = std::string("C:\\trle\\media\\dialog_") + lettera + "1.bmp";
            for (int32_t posto = 1; posto <= 7; ++posto) {
                SCOPED_TRACE(file + " place " + std::to_string(posto));
                EXPECT_EQ(V(RettangoloPredefinito(file, posto, 0)), V(l.posti[posto - 1]));
                EXPECT_EQ(V(RettangoloPredefinito(file, posto, 3)),
                          V(posto == 5 ? l.quintoSecondo : l.posti[posto - 1]));
            }
        }
    }
}

TEST(Layout, NamesWithoutALayoutLetter) {
    for (const char* file : {"dialogA", "dialog_", "", "dialog_K.bmp", "dialog_1.bmp", "dir\\dialog_\\x.bmp",
                             "dialog_\xC3\x80.bmp"})
        EXPECT_EQ(V(RettangoloPredefinito(file, 2, 0)), V(Nessuno)) << file;
    for (int32_t posto : {0, 8, -1}) EXPECT_EQ(V(RettangoloPredefinito("dialog_A.bmp", posto, 0)), V(Nessuno));
    // Characters count, not bytes; the name is the part after the last "\" or ":".
    EXPECT_EQ(V(RettangoloPredefinito("\xC3\xA8\xC3\xA8\xC3\xA8\xC3\xA8\xC3\xA8\xC3\xA8\xC3\xA8" "F", 4, 0)),
              V({197, 0, 572, 212}));
    EXPECT_EQ(V(RettangoloPredefinito("D:dialog_f", 4, 0)), V({197, 0, 572, 212}));
}

TEST(Layout, CoverOfAnAlertText) {
    struct Caso {
        Rettangolo testo;
        int32_t extra, bordo;
        Rettangolo cover, dentro;
    };
    const Caso casi[] = {
        // Without a border: the text widened by the extra width, starting at half of it.
        {{100, 50, 299, 149}, 0, 0, {100, 50, 300, 150}, {0, 0, 200, 100}},
        {{100, 50, 299, 149}, 20, 0, {100, 50, 320, 150}, {10, 0, 210, 100}},
        {{100, 50, 299, 149}, 21, 3, {100, 50, 327, 156}, {13, 3, 213, 103}},
        {{0, 0, 0, 0}, 0, 2, {0, 0, 5, 5}, {2, 2, 3, 3}},
    };
    for (const Caso& c : casi) {
        Rettangolo testo = c.testo;
        EXPECT_EQ(V(RettangoloCover(testo, c.extra, c.bordo)), V(c.cover));
        EXPECT_EQ(V(testo), V(c.dentro));
    }
}

// The screen globals of a run, put back after each test.
class LayoutSchermo : public ConRigheLog {
protected:
    void SetUp() override {
        ConRigheLog::SetUp();
        salvati = {SchermoX, SchermoY, SchermoOrigX, SchermoOrigY, HeaderMcf.HeaderOptions};
        fuoriGioco = FuoriGioco;
        formato = FormatoTestoCorrente;
        media = MediaCorrente;
        alert = BloccoAlert;
        cover = RettCover;
        // The game runs in exclusive full screen at 640 x 480 on a desktop of 1024 x 768.
        FuoriGioco = false;
        HeaderMcf.HeaderOptions = 0;
        SchermoX = 640;
        SchermoY = 480;
        SchermoOrigX = 1024;
        SchermoOrigY = 768;
        FormatoTestoCorrente = TextFormat{};
        MediaCorrente = MediaTrigger{};
        TickUltimaScritturaLog = ClockTick();
    }
    void TearDown() override {
        SchermoX = salvati[0];
        SchermoY = salvati[1];
        SchermoOrigX = salvati[2];
        SchermoOrigY = salvati[3];
        HeaderMcf.HeaderOptions = salvati[4];
        FuoriGioco = fuoriGioco;
        FormatoTestoCorrente = formato;
        MediaCorrente = media;
        BloccoAlert = alert;
        RettCover = cover;
        LogAbilitato = false;
        ChiudiCover();
        ConRigheLog::TearDown();
    }
    std::array<int32_t, 5> salvati{};
    bool fuoriGioco = false;
    TextFormat formato;
    MediaTrigger media;
    BloccoAlertMedia alert;
    RettangoloDim cover;
};

TEST_F(LayoutSchermo, BoundRectIsCentredOnTheWidthItWasScaledOn) {
    Dialog_Titoli finestra;
    FormatoTestoCorrente.BoundRect = {100, 100, 500, 900};
    // Scaled on the desktop's 1024 x 768, which the media window covers.
    EXPECT_EQ(V(finestra.CalcolaBoundRect(true)), V({102, 77, 512, 691}));
    FormatoTestoCorrente.Flags = 0x80;
    LogAbilitato = true;
    EXPECT_EQ(V(finestra.CalcolaBoundRect(true)), V({307, 77, 717, 691}));
    EXPECT_EQ(Righe(), (std::vector<std::string>{"Original bound rect before centering: (102,77) - (512,691)",
                                                 "New bound rect after centering: (307,77) - (717,691)"}));
    EXPECT_EQ(V(finestra.CalcolaBoundRect(false)), V({102, 77, 512, 691}));
    // The comunicator places its own rectangles.
    MediaCorrente.TypeFlags = 0x20000000;
    EXPECT_EQ(V(finestra.CalcolaBoundRect(true)), V({102, 77, 512, 691}));
    MediaCorrente.TypeFlags = 0;
    // Shared mode, and outside a run: the screen as it is now.
    HeaderMcf.HeaderOptions = static_cast<int32_t>(OpzioneHeader::SharedMode);
    EXPECT_EQ(V(finestra.CalcolaBoundRect(true)), V({192, 48, 448, 432}));
    HeaderMcf.HeaderOptions = 0;
    FuoriGioco = true;
    EXPECT_EQ(V(finestra.CalcolaBoundRect(true)), V({192, 48, 448, 432}));
    // A rectangle centred in thousandths stays in thousandths.
    Rettangolo millesimi{0, 5, 200, 6};
    CentraRettangoloTesto(millesimi, false);
    EXPECT_EQ(V(millesimi), V({400, 5, 600, 6}));
}

TEST_F(LayoutSchermo, CoverOfAnAlertWithBorderCentredByTheMediaOwnFormat) {
    HeaderMcf.HeaderOptions = static_cast<int32_t>(OpzioneHeader::SharedMode);
    SchermoX = 800;
    BloccoAlert.FlagAlert = ConBordo;
    BloccoAlert.SpessoreBordo = 2;
    MediaCorrente.Formato.Flags = 0x80;
    // The working copy's flags do not decide.
    FormatoTestoCorrente.Flags = 0;
    LogAbilitato = true;
    Rettangolo testo{100, 50, 299, 149};
    CalcolaRettangoloTesto(testo, 20);
    EXPECT_EQ(V(testo), V({12, 2, 212, 102}));
    EXPECT_EQ(RettCover, (RettangoloDim{288, 50, 224, 104}));
    // The cover window logs its own move after these.
    std::vector<std::string> righe = Righe();
    righe.resize(std::min<size_t>(righe.size(), 4));
    EXPECT_EQ(righe, (std::vector<std::string>{"Bound text rect: 100,50 - 299,149", "Text Format Rect: 12,2 - 212,102",
                                                 "Original bound rect before centering: (100,50) - (324,154)",
                                                 "New bound rect after centering: (288,50) - (512,154)"}));
    // Without the border bit the width is ignored, and without the media's
    // centring flag the cover stays where the text was.
    BloccoAlert.FlagAlert = 0;
    MediaCorrente.Formato.Flags = 0;
    FormatoTestoCorrente.Flags = 0x80;
    testo = {100, 50, 299, 149};
    CalcolaRettangoloTesto(testo, 20);
    EXPECT_EQ(V(testo), V({10, 0, 210, 100}));
    EXPECT_EQ(RettCover, (RettangoloDim{100, 50, 220, 100}));
}

}  // namespace
