// The life bar composed in its memory device context, read back by pixels;
// its progress on the test clock; what its destruction frees.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>

#include "core/MediaConfig.h"
#include "core/MediaLog.h"
#include "media/AlertSyntax.h"
#include "media/LifeBar.h"
#include "platform/Clock.h"
#include "runservices/Desktop.h"
#include "runservices/RunState.h"
#include "tests/core/LogLines.h"
#include "tests/support/GdiObjects.h"

namespace {

constexpr COLORREF Rosso = RGB(200, 0, 0);
constexpr COLORREF Nero = RGB(0, 0, 0);
constexpr COLORREF Bianco = RGB(255, 255, 255);

class BarraVita : public ConRigheLog {
protected:
    void SetUp() override {
        ConRigheLog::SetUp();
        opzioni_ = HeaderMcf.HeaderOptions;
        HeaderMcf.HeaderOptions |= ParolaOpzioni(OpzioneHeader::SharedMode);
        TombSchermoX = 1024;
        TombSchermoY = 768;
        SintassiLifeBar("");
        ClockUseManual(true, 1000);
    }
    void TearDown() override {
        DistruggiLifeBar();
        DialogCover().Hide();
        ClockUseManual(false);
        HeaderMcf.HeaderOptions = opzioni_;
        BloccoAlert.FlagAlert = 0;
        ConRigheLog::TearDown();
    }
    static COLORREF Pixel(int x, int y) { return GetPixel(LifeBarStato.DCBarra, x, y); }
    // The fill's right end on the middle row: the first column past it.
    static int32_t FineRiempimento() {
        const int y = LifeBarStato.AltezzaBarra / 2;
        int x = 2;
        while (x < LifeBarStato.LarghezzaBarra && Pixel(x, y) == Rosso) ++x;
        return x;
    }

private:
    int32_t opzioni_ = 0;
};

TEST_F(BarraVita, TheBarEmptiesAsTimeRunsAndBlinksItsFillAway) {
    ASSERT_TRUE(InitLifeBar());
    const StatoLifeBar& s = LifeBarStato;
    // Default place on 1024 x 768: left side, lower row.
    EXPECT_EQ(s.RettBarra.left, 21);
    EXPECT_EQ(s.RettBarra.top, 41);
    EXPECT_EQ(s.LarghezzaBarra, 241);
    EXPECT_EQ(s.AltezzaBarra, 20);
    EXPECT_EQ(s.OrigineX, 0);
    EXPECT_EQ(RettCover, (RettangoloDim{21, 41, 241, 20}));
    EXPECT_TRUE(IsWindowVisible(DialogCover().hWnd()));

    struct Caso {
        double percentuale;
        int32_t fine;  // first column past the fill
    };
    // 237 pixels of fill room from column 2; the remaining part is shown.
    const Caso casi[] = {{0, 239}, {50, 121}, {90, 26}, {100, 2}};
    for (const Caso& c : casi) {
        SCOPED_TRACE(c.percentuale);
        bool blink = false;
        DisegnaLifeBar(c.percentuale, blink);
        EXPECT_EQ(FineRiempimento(), c.fine);
        // The white frame, a black gap inside it, black past the fill.
        EXPECT_EQ(Pixel(0, 0), Bianco);
        EXPECT_EQ(Pixel(240, 19), Bianco);
        EXPECT_EQ(Pixel(1, 1), Nero);
        EXPECT_EQ(Pixel(2, 1), Nero);
        EXPECT_EQ(Pixel(2, 18), Nero);
        EXPECT_EQ(Pixel(239, 10), Nero);
        if (c.fine > 2) {
            EXPECT_EQ(Pixel(2, 17), Rosso);
        }
    }
    bool blink = true;
    DisegnaLifeBar(0, blink);
    EXPECT_EQ(FineRiempimento(), 2);
    EXPECT_EQ(Pixel(0, 0), Bianco);

    // A growing bar shows the part already gone.
    LifeBarStato.FlagCorrenti |= BarraCrescente;
    blink = false;
    DisegnaLifeBar(25, blink);
    EXPECT_EQ(FineRiempimento(), 2 + 59);
}

TEST_F(BarraVita, ProgressCountsOnTheClockAndCompletesAtTheFullTime) {
    SintassiLifeBar("#BAR-COLOR#=200\r\n#D-TIME#=2\r\n#FLAGS#=4353\r\n#PERC-BLINK#=10\r\n#PERC-REDUCTION#=0\r\n");
    ASSERT_TRUE(InitLifeBar());
    ClockAdvance(1000);
    EXPECT_TRUE(AggiornaLifeBar());
    EXPECT_EQ(LifeBarStato.Progresso, 1000);
    EXPECT_DOUBLE_EQ(LifeBarStato.UltimaPercentuale, 50.0);
    EXPECT_EQ(FineRiempimento(), 121);
    // Near the end the fill shows every other pass.
    ClockAdvance(900);
    EXPECT_TRUE(AggiornaLifeBar());
    EXPECT_TRUE(LifeBarStato.StatoBlink);
    EXPECT_EQ(FineRiempimento(), 2);
    ClockAdvance(50);
    EXPECT_TRUE(AggiornaLifeBar());
    EXPECT_FALSE(LifeBarStato.StatoBlink);
    EXPECT_GT(FineRiempimento(), 2);
    ClockAdvance(50);
    EXPECT_FALSE(AggiornaLifeBar());
    EXPECT_DOUBLE_EQ(LifeBarStato.UltimaPercentuale, 100.0);
}

TEST_F(BarraVita, AScreenWithNoRoomOrAnImageFillLeavesNothingMade) {
    TombSchermoX = 0;
    TombSchermoY = 0;
    EXPECT_FALSE(InitLifeBar());
    EXPECT_EQ(LifeBarStato.DCBarra, nullptr);
    EXPECT_EQ(LifeBarStato.PennelloBarra, nullptr);
    TombSchermoX = 800;
    TombSchermoY = 600;
    ASSERT_TRUE(SintassiLifeBar(
        "#BAR-COLOR#=1\r\n#D-TIME#=2\r\n#FLAGS#=8192\r\n#PERC-BLINK#=3\r\n#PERC-REDUCTION#=4\r\n#IMAGE#=bar.bmp\r\n"));
    EXPECT_FALSE(InitLifeBar());
    EXPECT_EQ(LifeBarStato.DCBarra, nullptr);
    EXPECT_EQ(LifeBarStato.PennelloBarra, nullptr);
}

TEST_F(BarraVita, DestroyingFreesOnlyWhatInitMadeAndFiftyBarsLeaveNoGdiObjects) {
    DistruggiLifeBar();
    EXPECT_EQ(LifeBarStato.DCBarra, nullptr);
    // The cover window's own objects come with its first showing.
    ASSERT_TRUE(InitLifeBar());
    DistruggiLifeBar();
    DialogCover().Hide();
    const int32_t prima = OggettiGdi();

    ASSERT_TRUE(InitLifeBar());
    DistruggiLifeBar();
    EXPECT_EQ(LifeBarStato.DCBarra, nullptr);
    EXPECT_EQ(LifeBarStato.BitmapBarra, nullptr);
    EXPECT_EQ(LifeBarStato.PennelloBarra, nullptr);
    // The handles the bar had may by now name another owner's objects.
    HBRUSH altro = CreateSolidBrush(RGB(1, 2, 3));
    HDC altroDC = CreateCompatibleDC(nullptr);
    DistruggiLifeBar();
    EXPECT_EQ(GetObjectType(altro), static_cast<DWORD>(OBJ_BRUSH));
    EXPECT_EQ(GetObjectType(altroDC), static_cast<DWORD>(OBJ_MEMDC));
    DeleteDC(altroDC);
    DeleteObject(altro);

    for (int i = 0; i < 50; ++i) {
        ASSERT_TRUE(InitLifeBar());
        bool blink = false;
        DisegnaLifeBar(i * 2.0, blink);
        // A second start without an end in between frees the first bar.
        if (i % 10 == 0) {
            ASSERT_TRUE(InitLifeBar());
        }
        DistruggiLifeBar();
    }
    DialogCover().Hide();
    EXPECT_EQ(OggettiGdi(), prima);
}

}  // namespace
