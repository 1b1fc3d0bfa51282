// The life bar composed in its memory device context, read back by pixels;
// its progress on the test clock; what its destruction frees.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "core/MediaConfig.h"
#include "core/MediaLog.h"
#include "media/AlertSyntax.h"
#include "media/LifeBar.h"
#include "platform/Clock.h"
#include "runservices/Desktop.h"
#include "runservices/RunState.h"
#include "core/FileUtils.h"
#include "runservices/RunHooks.h"
#include "tests/core/BitmapFiles.h"
#include "tests/core/LogLines.h"
#include "tests/support/TestFolders.h"
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
    static int32_t FineVerde() {
        const int y = LifeBarStato.AltezzaBarra / 2;
        int x = 2;
        while (x < LifeBarStato.LarghezzaBarra && Pixel(x, y) == RGB(0, 0xC0, 0)) ++x;
        return x;
    }
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

// What the game tells the end effect: its CD starts again at a call, or it
// asks the effect to stop.
int32_t ChiamateCd = 0;
int32_t CdDiNuovoAlla = -1;
bool FermaEffetto = false;
int32_t CdDiNuovo(int32_t numero, int32_t tipo) {
    if (tipo != FileTracciaCd || numero != 7) return 0;
    return CdDiNuovoAlla >= 0 && ++ChiamateCd > CdDiNuovoAlla ? 1 : 0;
}
int32_t GiocoCalmo(bool& abort, int32_t, bool) {
    abort = FermaEffetto;
    return 0;
}

TEST_F(BarraVita, TheEndEffectEndsTheBarOrGivesItBackWhenTheCdStartsAgain) {
    struct Caso {
        const char* nome;
        int32_t flag;
        int32_t cdAlla;  // the call that finds the CD again; -1 never
        bool ferma;
        bool esito;
        int32_t tempoMin, tempoMax;
        int32_t progresso;  // -1: not given back
        const char* riga;
    };
    const Caso casi[] = {
        {"removed at once", RiempimentoColore | RimuoviSubito, -1, false, false, 0, 0, -1, "Remove immediatly life bar"},
        {"full for two seconds", RiempimentoColore | PienaDueSecondi, -1, false, false, 2000, 2100, -1,
         "Show full bar for 2 seconds and then exit"},
        {"full, then the CD again", RiempimentoColore | PienaDueSecondi, 3, false, true, 300, 400, 0,
         "Detected newly alert cd sound: restore bar progression"},
        {"refilled slowly", RiempimentoColore | RiempiLentamente, -1, false, false, 500, 2000, -1,
         "Increase slowly life bar to full and then exit"},
        // 50 percent less 1, 1.2 and 1.44: 46.36 percent of 4000 ms.
        {"refilled, then the CD again", RiempimentoColore | RiempiLentamente, 2, false, true, 100, 200, 1854,
         "Detected newly alert cd sound: restore bar progression"},
        {"the game stops it", RiempimentoColore | RiempiLentamente, -1, true, false, 0, 0, -1,
         "Increase slowly life bar to full and then exit"},
        {"no end mode", RiempimentoColore, -1, false, false, 0, 0, -1, nullptr},
    };
    GanciRun ganci = Ganci;
    Ganci.AnalisiGameProgress = GiocoCalmo;
    int32_t (*risposta)(int32_t, int32_t) = RispostaLoggerFileOccupato;
    RispostaLoggerFileOccupato = CdDiNuovo;
    for (const Caso& c : casi) {
        SCOPED_TRACE(c.nome);
        SintassiLifeBar("#BAR-COLOR#=200\r\n#D-TIME#=4\r\n#FLAGS#=" + std::to_string(c.flag) +
                        "\r\n#PERC-BLINK#=0\r\n#PERC-REDUCTION#=0\r\n");
        ASSERT_TRUE(InitLifeBar());
        // Half the time gone: the bar stands at 50 percent.
        ClockAdvance(2000);
        AggiornaLifeBar();
        ChiamateCd = 0;
        CdDiNuovoAlla = c.cdAlla;
        FermaEffetto = c.ferma;
        BufferLog.clear();
        LogAbilitato = true;
        const uint32_t inizio = ClockTick();
        EXPECT_EQ(ChiudiLifeBar(7), c.esito);
        LogAbilitato = false;
        const int32_t tempo = static_cast<int32_t>(ClockTick() - inizio);
        EXPECT_GE(tempo, c.tempoMin);
        EXPECT_LE(tempo, c.tempoMax);
        if (c.progresso >= 0) {
            EXPECT_EQ(LifeBarStato.Progresso, c.progresso);
            EXPECT_EQ(LifeBarStato.UltimoTick, ClockTick());
        }
        if (c.riga) {
            const std::vector<std::string> righe = Righe();
            EXPECT_NE(std::find(righe.begin(), righe.end(), c.riga), righe.end()) << c.riga;
        }
        DistruggiLifeBar();
    }
    RispostaLoggerFileOccupato = risposta;
    Ganci = ganci;
}

TEST_F(BarraVita, AnImageFillShowsThePicturesLeftPartAndAMissingPictureRefusesTheBar) {
    CartellaProva cartella;
    // 300 x 30 pixels, green, rows of 900 bytes: no padding.
    std::string pixel;
    for (int i = 0; i < 300 * 30; ++i) pixel += std::string("\x00\xC0\x00", 3);
    const std::string immagine = cartella / "bar.bmp";
    ASSERT_TRUE(ScriviFileProva(immagine, mano::Bmp(300, 30, 24, 0, "", pixel)));
    // With the colour fill as well, the picture is laid over the colour.
    for (const char* flag : {"8192", "12288"}) {
        SCOPED_TRACE(flag);
        ASSERT_TRUE(SintassiLifeBar(std::string("#BAR-COLOR#=1\r\n#D-TIME#=2\r\n#FLAGS#=") + flag +
                                    "\r\n#PERC-BLINK#=0\r\n#PERC-REDUCTION#=0\r\n#IMAGE#=" + immagine + "\r\n"));
        ASSERT_TRUE(InitLifeBar());
        bool blink = false;
        DisegnaLifeBar(50, blink);
        EXPECT_EQ(FineVerde(), 121);
        EXPECT_EQ(Pixel(2, 17), RGB(0, 0xC0, 0));
        EXPECT_EQ(Pixel(0, 0), Bianco);
        DistruggiLifeBar();
        EXPECT_EQ(LifeBarStato.Immagine.dc, nullptr);
    }

    BufferLog.clear();
    NumErroriLog = 0;
    ASSERT_TRUE(SintassiLifeBar("#BAR-COLOR#=1\r\n#D-TIME#=2\r\n#FLAGS#=8192\r\n#PERC-BLINK#=0\r\n"
                                "#PERC-REDUCTION#=0\r\n#IMAGE#=" + (cartella / "none.bmp") + "\r\n"));
    EXPECT_FALSE(InitLifeBar());
    EXPECT_EQ(LifeBarStato.DCBarra, nullptr);
    EXPECT_EQ(NumErroriLog, 1);
}

}  // namespace
