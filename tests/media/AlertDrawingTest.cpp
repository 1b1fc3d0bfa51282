// The alert's text drawn on a screen-sized memory device context, read back
// by pixels; what the font set-up makes, saves and gives back.
#include <windows.h>

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <string>
#include <vector>

#include "core/ModuleInit.h"
#include "core/MediaTrigger.h"
#include "core/SharedState.h"
#include "media/AlertDrawing.h"
#include "media/AlertSyntax.h"
#include "tests/core/LogLines.h"
#include "tests/support/GdiObjects.h"

namespace {

constexpr int32_t Larghezza = 200, Altezza = 100;
constexpr COLORREF Bianco = RGB(255, 255, 255), Blu = RGB(0, 0, 255), Sentinella = RGB(1, 2, 3);

class DisegnoSchermo : public ConRigheLog {
protected:
    void SetUp() override {
        ConRigheLog::SetUp();
        salvatiNomi_ = NomiFont;
        salvatoX_ = SchermoX;
        salvatoFormato_ = FormatoTestoCorrente;
        salvatoBlocco_ = BloccoAlert;
        NomiFont = {"Arial"};
        SchermoX = Larghezza;
        FormatoTestoCorrente = TextFormat{};
        FormatoTestoCorrente.Color = static_cast<int32_t>(Bianco);
        FormatoTestoCorrente.CharRow = 9;
        FormatoTestoCorrente.BoundRect = Rettangolo{0, 0, 500, 1000};
        BloccoAlert.ColoreSfondoAlert = static_cast<int32_t>(Blu);
        BITMAPINFO bi{};
        bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
        bi.bmiHeader.biWidth = Larghezza;
        bi.bmiHeader.biHeight = -Altezza;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        dc_ = CreateCompatibleDC(nullptr);
        void* bits = nullptr;
        bitmap_ = CreateDIBSection(dc_, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
        ASSERT_NE(bitmap_, nullptr);
        pixel_ = static_cast<uint32_t*>(bits);
        vecchia_ = SelectObject(dc_, bitmap_);
        fontIniziale_ = GetCurrentObject(dc_, OBJ_FONT);
        pennaIniziale_ = GetCurrentObject(dc_, OBJ_PEN);
    }
    void TearDown() override {
        CreaFontSchermoGioco = creaFont_;
        SelectObject(dc_, vecchia_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
        NomiFont = salvatiNomi_;
        SchermoX = salvatoX_;
        FormatoTestoCorrente = salvatoFormato_;
        BloccoAlert = salvatoBlocco_;
        ConRigheLog::TearDown();
    }
    uint32_t Pixel(int32_t x, int32_t y) const {
        GdiFlush();
        return pixel_[y * Larghezza + x] & 0xFFFFFF;
    }
    // Pixels that are no longer black inside [x0, x1) x [y0, y1).
    int32_t Tinti(int32_t x0, int32_t y0, int32_t x1, int32_t y1) const {
        int32_t n = 0;
        for (int32_t y = y0; y < y1; ++y)
            for (int32_t x = x0; x < x1; ++x)
                if (Pixel(x, y) != 0) ++n;
        return n;
    }
    // One showing as the full-screen alert draws it.
    void UnaVolta(const std::string& testo) {
        void* dc = dc_;
        StatoDCSchermo stato;
        ImpostaFontSchermoGioco(dc, stato);
        DisegnaTestoSchermo(dc, testo, RettangoloAlertSchermo(Larghezza, Altezza));
        RipristinaDCSchermo(dc, stato);
    }

    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ vecchia_ = nullptr, fontIniziale_ = nullptr, pennaIniziale_ = nullptr;
    uint32_t* pixel_ = nullptr;
    void* (*creaFont_)(int32_t, int32_t, const char*) = CreaFontSchermoGioco;
    std::vector<std::string> salvatiNomi_;
    int32_t salvatoX_ = 0;
    TextFormat salvatoFormato_;
    BloccoAlertMedia salvatoBlocco_;
};

TEST_F(DisegnoSchermo, TheTextLandsInItsRectangleInItsColoursAndTheDcGetsItsOwnBack) {
    SetTextColor(dc_, Sentinella);
    SetBkColor(dc_, Sentinella);
    SetBkMode(dc_, TRANSPARENT);
    UnaVolta("WWWW WWWW WWWW");
    EXPECT_EQ(Tinti(Larghezza / 2, 0, Larghezza, Altezza), 0);
    bool bianco = false, blu = false;
    for (int32_t y = 0; y < Altezza; ++y)
        for (int32_t x = 0; x < Larghezza / 2; ++x) {
            bianco |= Pixel(x, y) == 0xFFFFFF;
            blu |= Pixel(x, y) == 0x0000FF;  // the DIB holds blue in its low byte
        }
    EXPECT_TRUE(bianco);
    EXPECT_TRUE(blu);
    EXPECT_EQ(GetTextColor(dc_), Sentinella);
    EXPECT_EQ(GetBkColor(dc_), Sentinella);
    EXPECT_EQ(GetBkMode(dc_), TRANSPARENT);
    EXPECT_EQ(GetCurrentObject(dc_, OBJ_FONT), fontIniziale_);
    EXPECT_EQ(GetCurrentObject(dc_, OBJ_PEN), pennaIniziale_);
    NessunErrore();
}

TEST_F(DisegnoSchermo, FiftyShowingsLeaveTheGdiObjectsWhereTheyWere) {
    UnaVolta("warm-up");
    const int32_t prima = OggettiGdi();
    for (int i = 0; i < 50; ++i) UnaVolta("Time left: 10");
    EXPECT_EQ(OggettiGdi(), prima);
}

TEST_F(DisegnoSchermo, AFontThatCannotBeMadeLeavesTheDcAsItWasAndSaysSo) {
    CreaFontSchermoGioco = [](int32_t, int32_t, const char*) -> void* { return nullptr; };
    SetTextColor(dc_, Sentinella);
    SetBkColor(dc_, Sentinella);
    SetBkMode(dc_, TRANSPARENT);
    const int32_t prima = OggettiGdi();
    void* dc = dc_;
    StatoDCSchermo stato;
    ImpostaFontSchermoGioco(dc, stato);
    EXPECT_FALSE(stato.Salvato);
    RipristinaDCSchermo(dc, stato);
    EXPECT_EQ(GetTextColor(dc_), Sentinella);
    EXPECT_EQ(GetBkColor(dc_), Sentinella);
    EXPECT_EQ(GetBkMode(dc_), TRANSPARENT);
    EXPECT_EQ(GetCurrentObject(dc_, OBJ_FONT), fontIniziale_);
    EXPECT_EQ(GetCurrentObject(dc_, OBJ_PEN), pennaIniziale_);
    EXPECT_EQ(OggettiGdi(), prima);
    UnErrore("Error creating font for tomb raider screen");
}

TEST_F(DisegnoSchermo, TheCharacterWidthSharesTheScreenAndNeverDividesByZero) {
    struct Caso {
        int32_t schermo, charRow, larghezza;
    };
    for (const Caso& c : {Caso{200, 9, 20}, Caso{200, 0, 200}, Caso{50, 3, 12}, Caso{50, 19, 2}, Caso{70, 19, 4},
                          Caso{200, -1, 200}, Caso{200, -7, 200}, Caso{200, INT_MIN, 200}, Caso{200, INT_MAX, 0}}) {
        SCOPED_TRACE(testing::Message() << c.schermo << " / (" << c.charRow << " + 1)");
        SchermoX = c.schermo;
        FormatoTestoCorrente.CharRow = c.charRow;
        EXPECT_EQ(LarghezzaCarattereAlert(), c.larghezza);
    }
}

TEST_F(DisegnoSchermo, ACharRowOfMinusOneOrLessAndAnEmptyRectangleAreHarmless) {
    // -1 or less is taken as one character on the whole width.
    for (int32_t charRow : {-1, -2, INT_MIN}) {
        SCOPED_TRACE(charRow);
        FormatoTestoCorrente.CharRow = charRow;
        UnaVolta("W");
    }
    NessunErrore();
    SelectObject(dc_, GetStockObject(BLACK_BRUSH));
    PatBlt(dc_, 0, 0, Larghezza, Altezza, PATCOPY);
    struct Caso {
        Rettangolo millesimi;
    };
    for (const Caso& c : {Caso{{0, 500, 1000, 500}}, Caso{{500, 0, 500, 1000}}, Caso{{0, 800, 1000, 200}}}) {
        FormatoTestoCorrente.BoundRect = c.millesimi;
        FormatoTestoCorrente.CharRow = 9;
        UnaVolta("WWWW");
    }
    EXPECT_EQ(Tinti(0, 0, Larghezza, Altezza), 0);
}

}  // namespace
