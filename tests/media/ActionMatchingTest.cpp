// The action media's section and the pixel routines of the item name, over
// pictures drawn by hand as rows of characters.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "core/MediaConfig.h"
#include "core/MediaLog.h"
#include "media/ActionMatching.h"
#include "tests/core/LogLines.h"

namespace {

constexpr uint32_t Rgb(uint32_t r, uint32_t g, uint32_t b) { return r | (g << 8) | (b << 16); }

// '.' black, 'Y' the game's yellow, 'y' a dim yellow only the lax test
// takes, 'w' white.
ImmaginePixel Disegno(const std::vector<std::string>& righe) {
    ImmaginePixel p;
    p.Altezza = static_cast<int32_t>(righe.size());
    p.Larghezza = righe.empty() ? 0 : static_cast<int32_t>(righe[0].size());
    for (const std::string& riga : righe)
        for (char c : riga)
            p.Colori.push_back(c == 'Y' ? Rgb(220, 180, 0) : c == 'y' ? Rgb(120, 90, 30)
                                                         : c == 'w' ? Rgb(255, 255, 255)
                                                                    : 0);
    return p;
}

bool operator==(const Rettangolo& a, const Rettangolo& b) {
    return a.Left == b.Left && a.Top == b.Top && a.Right == b.Right && a.Bottom == b.Bottom;
}

class PixelAzione : public ConRigheLogTenute {
protected:
    void SetUp() override {
        ConRigheLogTenute::SetUp();
        salvato_ = HeaderMcf.VideoMode;
        ParametriAction = ParametriActionMedia{};
    }
    void TearDown() override {
        HeaderMcf.VideoMode = salvato_;
        ParametriAction = ParametriActionMedia{};
        ConRigheLogTenute::TearDown();
    }
    int32_t salvato_ = 0;
};

TEST_F(PixelAzione, TextPixelTestsAtTheirEdges) {
    struct Caso {
        uint32_t colore;
        bool stretto, lasco;
    };
    const Caso casi[] = {
        {Rgb(150, 100, 9), true, true},   {Rgb(149, 100, 9), false, true}, {Rgb(150, 99, 9), false, true},
        {Rgb(150, 100, 10), false, true}, {Rgb(100, 80, 49), false, true}, {Rgb(99, 80, 0), false, false},
        {Rgb(100, 79, 0), false, false},  {Rgb(255, 255, 50), false, false}, {Rgb(255, 255, 0), true, true},
        {0, false, false},                {ColoreNonValido, false, false},
    };
    for (const Caso& c : casi) {
        EXPECT_EQ(IsPixelTesto(c.colore, true), c.stretto) << std::hex << c.colore;
        EXPECT_EQ(IsPixelTesto(c.colore, false), c.lasco) << std::hex << c.colore;
    }
}

TEST_F(PixelAzione, TextBoxOfHandDrawnPictures) {
    struct Caso {
        std::vector<std::string> righe;
        bool trovato;
        Rettangolo bordi;
    };
    const Caso casi[] = {
        {{}, false, {-1, -1, -1, -1}},
        {{"....", "...."}, false, {-1, -1, -1, -1}},
        // Dim yellow is not the game's text colour for the box.
        {{"yyy.", ".ww."}, false, {-1, -1, -1, -1}},
        {{"....", "..Y.", "...."}, true, {2, 1, 2, 1}},
        {{"......", "..Y...", ".YYYY.", "...Y..", "......"}, true, {1, 1, 4, 3}},
        // Every edge of the picture itself.
        {{"Y...", "....", "...Y"}, true, {0, 0, 3, 2}},
        {{"..Y", "Y..", "y.."}, true, {0, 0, 2, 1}},
    };
    for (const Caso& c : casi) {
        Rettangolo bordi{7, 7, 7, 7};
        EXPECT_EQ(TrovaBordiTesto(bordi, Disegno(c.righe)), c.trovato) << c.righe.size();
        EXPECT_TRUE(bordi == c.bordi) << TestoBordi(bordi);
    }
    Rettangolo bordi;
    BufferLog.clear();
    TrovaBordiTesto(bordi, Disegno({"....", ".Y..", "..Y."}));
    EXPECT_EQ(Righe(), (std::vector<std::string>{"Top pixel (1,1) = 0xB4DC", "Left pixel (1,1) = 0xB4DC",
                                                 "Bottom pixel (2,2) = 0xB4DC", "Right pixel (2,2) = 0xB4DC"}));
}

TEST_F(PixelAzione, ItemNameStripOnTheGamePicture) {
    EXPECT_TRUE(StrisciaNomeOggetto(1024, 768) == (Rettangolo{323, 199, 694, 262}));
    EXPECT_TRUE(StrisciaNomeOggetto(640, 480) == (Rettangolo{202, 124, 434, 164}));
    EXPECT_TRUE(StrisciaNomeOggetto(0, 0) == (Rettangolo{0, 0, 0, 0}));
}

TEST_F(PixelAzione, SectionValuesDefaultsAndFaults) {
    HeaderMcf.VideoMode = 5;
    const std::string base = "#FLAGS#=3\r\n#MEDIA_CODE#=12\r\n#TOLLERANCE#=7\r\n#M_POINTS#=4\r\n";
    struct Caso {
        std::string sezione;
        bool esito;
        const char* errore;  // "" none
    };
    const Caso casi[] = {
        {"", true, ""},
        {base + "#SCREENX#=800\r\n#SCREENY#=600\r\n#RESOLUTION#=2\r\n#IMAGE#=axe.bmp\r\n#BOUND#=1:2:30:12\r\n", true,
         ""},
        {"#MEDIA_CODE#=12\r\n", false, "ERROR in Action Media: missing #flags# value"},
        {"#FLAGS#=1\r\n", false, "ERROR in Action Media: missing #media_code# value"},
        {"#FLAGS#=1\r\n#MEDIA_CODE#=2\r\n#TOLLERANCE#=~\r\n", false,
         "ERROR in Action Media: missing #Tollerance# value"},
        {"#FLAGS#=1\r\n#MEDIA_CODE#=2\r\n#TOLLERANCE#=3\r\n#M_POINTS#=x\r\n", false,
         "ERROR in Action Media: missing #M_POINTS# value"},
        {base + "#BOUND#=1:2:3\r\n", false, "ERROR in Action media: wrong number of arguments in #BOUND# field"},
        {base + "#BOUND#=1:2:3:4:5\r\n", false, "ERROR in Action media: wrong number of arguments in #BOUND# field"},
        {base, false, "ERROR in Action media: wrong number of arguments in #BOUND# field"},
        {base + "#BOUND#=1:b:3:4\r\n", false, "ERROR in Action media: not numeric value in #BOUND# field: 1:b:3:4"},
        {base + "#BOUND#=0:0:32767:32767\r\n", true, ""},
        {base + "#BOUND#=-2147483648:0:2147483647:1\r\n", false,
         "ERROR in Action media: value out of range in #BOUND# field: -2147483648:0:2147483647:1"},
        {base + "#BOUND#=0:0:32768:1\r\n", false,
         "ERROR in Action media: value out of range in #BOUND# field: 0:0:32768:1"},
    };
    for (const Caso& c : casi) {
        BufferLog.clear();
        NumErroriLog = 0;
        EXPECT_EQ(SintassiActionMedia(c.sezione), c.esito) << c.sezione;
        if (*c.errore) {
            UnErrore(c.errore);
        } else {
            EXPECT_EQ(NumErroriLog, 0) << c.sezione;
        }
    }
    ASSERT_TRUE(SintassiActionMedia(casi[1].sezione));
    const ParametriActionMedia& p = ParametriAction;
    EXPECT_EQ(p.Flags, 3);
    EXPECT_EQ(p.MediaCode, 12);
    EXPECT_EQ(p.Tollerance, 7);
    EXPECT_EQ(p.MPoints, 4);
    EXPECT_EQ(p.ScreenX, 800);
    EXPECT_EQ(p.ScreenY, 600);
    EXPECT_EQ(p.Resolution, 2);
    EXPECT_EQ(p.Image, "axe.bmp");
    EXPECT_TRUE(p.Bound == (Rettangolo{1, 2, 30, 12}));

    // Without the tag the configuration's mode holds; a word names none.
    ASSERT_TRUE(SintassiActionMedia(base + "#IMAGE#=~\r\n#BOUND#=0:0:1:1\r\n"));
    EXPECT_EQ(ParametriAction.Resolution, 5);
    EXPECT_EQ(ParametriAction.Image, "");
    ASSERT_TRUE(SintassiActionMedia(base + "#RESOLUTION#=high\r\n#BOUND#=0:0:1:1\r\n"));
    EXPECT_EQ(ParametriAction.Resolution, 0);
    ASSERT_TRUE(SintassiActionMedia(""));
    EXPECT_EQ(ParametriAction.Resolution, 5);
    EXPECT_EQ(ParametriAction.Tollerance, 10);
    EXPECT_EQ(ParametriAction.MediaCode, -1);
    EXPECT_TRUE(ParametriAction.Bound == (Rettangolo{-1, -1, -1, -1}));
}

// Ten by ten positions (boxes 0..9), so each position is one percent.
const std::vector<std::string> Dieci = {
    "..........", ".YYYYYYYY.", ".Y......Y.", ".Y.YYYY.Y.", ".Y.Y..Y.Y.",
    ".Y.Y..Y.Y.", ".Y.YYYY.Y.", ".Y......Y.", ".YYYYYYYY.", "..........",
};

TEST_F(PixelAzione, GridPercentageEqualPositionsOverAllPositions) {
    const ImmaginePixel a = Disegno(Dieci);
    const Rettangolo box{0, 0, 9, 9};
    struct Caso {
        const char* nome;
        ImmaginePixel catturata;
        Rettangolo c, r;
        int32_t sx, sy;
        double percentuale;
    };
    std::vector<std::string> unaDiversa = Dieci;
    unaDiversa[4][4] = 'Y';
    std::vector<std::string> treDiverse = unaDiversa;
    treDiverse[2][2] = 'Y';
    treDiverse[7][5] = 'y';  // the lax test takes dim yellow as text
    std::vector<std::string> bianca = Dieci;
    bianca[4][4] = 'w';  // black and white are both no text
    const Caso casi[] = {
        {"same", a, box, box, 0, 0, 100.0},
        {"one differs", Disegno(unaDiversa), box, box, 0, 0, 99.0},
        {"three differ", Disegno(treDiverse), box, box, 0, 0, 97.0},
        {"white for black", Disegno(bianca), box, box, 0, 0, 100.0},
        // Moved down by one row: the last row of the reference lies outside
        // it and counts as different, the rows above compare shifted.
        {"outside", a, box, box, 0, 1, 50.0},
        // A bound far outside both pictures compares nothing equal, at once.
        {"far", a, box, {1000000, 1000000, 1000009, 1000009}, 0, 0, 0.0},
        {"huge", a, {0, 0, 99999, 99999}, {0, 0, 99999, 99999}, 0, 0, 1e-6},
        {"empty grid", a, {5, 5, 3, 3}, {5, 5, 3, 3}, 0, 0, 0.0},
    };
    for (const Caso& c : casi)
        EXPECT_NEAR(PercentualeGriglia(c.catturata, c.c, a, c.r, c.sx, c.sy), c.percentuale, 1e-9) << c.nome;
}

TEST_F(PixelAzione, ToleranceEdgesAndTheEmptyGrid) {
    std::vector<std::string> treDiverse = Dieci;
    treDiverse[4][4] = treDiverse[5][5] = treDiverse[2][2] = 'Y';
    const ImmaginePixel a = Disegno(Dieci), c = Disegno(treDiverse);
    const Rettangolo box{0, 0, 9, 9};
    struct Caso {
        int32_t tolleranza;
        const ImmaginePixel* catturata;
        bool uguale;
    };
    const Caso casi[] = {{3, &c, true}, {2, &c, false}, {0, &c, false}, {0, &a, true}, {-1, &a, false}};
    for (const Caso& k : casi) {
        ParametriAction.Tollerance = k.tolleranza;
        EXPECT_EQ(ConfrontaGrigliaPixel(*k.catturata, box, a, box, 0, 0), k.uguale) << k.tolleranza;
    }
    BufferLog.clear();
    ParametriAction.Tollerance = 3;
    ConfrontaGrigliaPixel(c, box, a, box, 0, 1);
    EXPECT_EQ(Righe(), (std::vector<std::string>{"Bound rect captured: 0,0 - 9,9", "Bound rect image   : 0,1 - 9,10",
                                                 "Matching percentage = 49.00 %",
                                                 "Matching error = 51.00 %    Tollerance=3%",
                                                 "Matching error higher than tollerance: no matching"}));
    // Even a tolerance of everything finds no match in a grid of nothing.
    ParametriAction.Tollerance = 100;
    EXPECT_FALSE(ConfrontaGrigliaPixel(a, {5, 5, 3, 3}, a, {5, 5, 3, 3}, 0, 0));
    EXPECT_TRUE(ConfrontaGrigliaPixel(a, box, a, {50, 50, 59, 59}, 0, 0));
}

TEST_F(PixelAzione, AlignmentsTriedInTurnUntilOneMatches) {
    // The reference's bound holds its text in the bottom right corner, one
    // row and two columns more around it; both pictures are larger than
    // their boxes, as the strip is.
    const ImmaginePixel catturata = Disegno({"........", "..YY.Y..", "..Y..Y..", "..YYYY..", "........", "........"});
    const ImmaginePixel azione = Disegno({"........", "..YY.Y..", "..Y..Y..", "..YYYY..", "........"});
    const Rettangolo c{2, 1, 5, 3};
    ParametriAction.Tollerance = 0;
    BufferLog.clear();
    EXPECT_TRUE(ConfrontaAllineamenti(catturata, c, azione, {0, 0, 5, 3}));
    const std::vector<std::string> righe = Righe();
    const std::vector<std::string> tentativi = {"Compare pixel grids: LEFT, TOP alignment",
                                                "Compare pixel grids: LEFT, BOTTOM alignment",
                                                "Compare pixel grids: RIGHT, TOP alignment",
                                                "Compare pixel grids: RIGHT, BOTTOM alignment"};
    std::vector<std::string> visti;
    for (const std::string& r : righe)
        if (r.rfind("Compare pixel grids", 0) == 0) visti.push_back(r);
    EXPECT_EQ(visti, tentativi);
    EXPECT_EQ(righe[0], "DeltaX=2  DeltaY=1");
    EXPECT_EQ(righe[1], "Size Image   : 5 x 3");
    EXPECT_EQ(righe[2], "Size captured: 3 x 2");
    EXPECT_NE(std::string(BufferLog).find("\tBound rect image   : 2,1 - 7,4"), std::string::npos) << BufferLog;

    // Same sizes: one comparison, without an alignment line.
    BufferLog.clear();
    EXPECT_FALSE(ConfrontaAllineamenti(catturata, c, Disegno({"YY.Y", "Y..Y", "YYY."}), {0, 0, 3, 2}));
    for (const std::string& r : Righe()) EXPECT_EQ(r.find("Compare pixel grids"), std::string::npos) << r;
    EXPECT_EQ(NumErroriLog, 0);
}

}  // namespace
