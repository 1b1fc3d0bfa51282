// Alerts over a game window on the test clock: what the player sees on the
// screen pass after pass (the cover window's text and life bar, the text
// drawn straight on the screen in full screen), why each alert ended, which
// follow-up media ran, and what is left behind.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/FileUtils.h"
#include "core/ImageLoading.h"
#include "core/MediaConfig.h"
#include "core/MediaSyntax.h"
#include "core/MediaTrigger.h"
#include "core/ModuleInit.h"
#include "media/AlertMedia.h"
#include "media/AlertSyntax.h"
#include "media/LifeBar.h"
#include "platform/Clock.h"
#include "runservices/Desktop.h"
#include "runservices/RunHooks.h"
#include "runservices/RunState.h"
#include "tests/core/LogLines.h"
#include "tests/support/GdiObjects.h"

namespace {

constexpr int32_t Codice = 5;
constexpr int32_t TracciaCd = 7;
constexpr COLORREF Bianco = RGB(255, 255, 255), Blu = RGB(0, 0, 255), Rosso = RGB(200, 0, 0);

// What the game tells the alert on each pass; past the script, nothing.
struct Passo {
    bool abort = false;
    int32_t codice = 0;
};

std::vector<Passo> Copione;
size_t Passi = 0;
std::function<void(size_t)> AlPasso;
std::vector<int32_t> MediaSeguiti;

int32_t AnalisiDaCopione(bool& abort, int32_t, bool) {
    const size_t n = Passi++;
    // Lines are kept in the buffer however far the clock has run.
    TickUltimaScritturaLog = ClockTick();
    if (AlPasso) AlPasso(n);
    const Passo p = n < Copione.size() ? Copione[n] : Passo{};
    abort = p.abort;
    return p.codice;
}

bool SeguitoRegistrato(int32_t codice, bool& errore) {
    MediaSeguiti.push_back(codice);
    errore = false;
    return true;
}

int32_t CdSuonati = -1;
int32_t TracciaOccupata(int32_t numero, int32_t tipo) { return tipo == FileTracciaCd && numero == CdSuonati ? 1 : 0; }

LRESULT CALLBACK ProceduraGioco(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m == WM_ERASEBKGND) {
        RECT r;
        GetClientRect(h, &r);
        FillRect(reinterpret_cast<HDC>(w), &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        return 1;
    }
    return DefWindowProcA(h, m, w, l);
}

std::string Alert(int32_t flag, const std::string& altro = "") {
    return "<ALERT>\r\n#REFRESH#=80\r\n#FLAGS#=" + std::to_string(flag) + "\r\n" + altro +
           "#BACK_COLOR#=" + std::to_string(Blu) + "\r\n#STOP_PERFORM#=21\r\n#END_PERFORM#=22\r\n<END_ALERT>\r\n";
}

class AlertaInGioco : public ConRigheLogTenute {
protected:
    void SetUp() override {
        ConRigheLogTenute::SetUp();
        ClockUseManual(true, 100000);
        TickUltimaScritturaLog = ClockTick();
        ganci_ = Ganci;
        header_ = HeaderMcf;
        nomi_ = NomiFont;
        risposta_ = RispostaLoggerFileOccupato;
        Ganci.AnalisiGameProgress = AnalisiDaCopione;
        Ganci.EseguiMediaCode = SeguitoRegistrato;
        RispostaLoggerFileOccupato = TracciaOccupata;
        CdSuonati = -1;
        Copione.clear();
        Passi = 0;
        AlPasso = nullptr;
        MediaSeguiti.clear();
        NomiFont = {"Arial"};
        HeaderMcf = MediaConfigHeader{};
        HeaderMcf.HeaderOptions = ParolaOpzioni(OpzioneHeader::SharedMode);
        FuoriGioco = false;
        TombSchermoX = 1024;
        TombSchermoY = 768;
        schermoX_ = SchermoX;
        schermoY_ = SchermoY;
        SchermoX = 1024;
        SchermoY = 768;
        StatoGioco = 0;
        StatoSequenza = 0;
        ModificheAvvio = 0;
        CdAvvioAlert = -1;
        CodeAlertCaricato = -1;
        TimeAlertCaricato = 0;

        WNDCLASSA wc{};
        wc.lpfnWndProc = ProceduraGioco;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "AlertaGiocoProva";
        RegisterClassA(&wc);
        gioco_ = CreateWindowExA(0, "AlertaGiocoProva", "Tomb Raider", WS_POPUP | WS_VISIBLE, 0, 0, 800, 600,
                                 nullptr, nullptr, wc.hInstance, nullptr);
        ASSERT_NE(gioco_, nullptr);
        FinestraGioco = gioco_;
        // As the run's preparation leaves it: above the game.
        MostraCoverTopMost();

        MediaTrigger m;
        m.TypeFlags = BitAlert;
        m.MediaCode = Codice;
        m.TriggerCd = TracciaCd;
        m.Duration = 3;
        m.Text = "<TEXT>WWWW<END_TEXT>";
        m.Formato.Color = static_cast<int32_t>(Bianco);
        m.Formato.CharRow = 19;
        m.Formato.BoundRect = Rettangolo{100, 100, 900, 500};
        ListaMedia = {m};
        HeaderMcf.TriggerCount = 1;
        MediaCorrente = m;
    }
    void TearDown() override {
        DistruggiLifeBar();
        DialogCover().Hide();
        if (gioco_) DestroyWindow(gioco_);
        FinestraGioco = nullptr;
        Ganci = ganci_;
        HeaderMcf = header_;
        NomiFont = nomi_;
        RispostaLoggerFileOccupato = risposta_;
        SchermoX = schermoX_;
        SchermoY = schermoY_;
        ListaMedia.clear();
        MediaCorrente = MediaTrigger{};
        AlPasso = nullptr;
        ModificheAvvio = 0;
        StatoGioco = 0;
        ConRigheLogTenute::TearDown();
    }
    static void Sintassi(const std::string& testo) {
        ListaMedia[0].Syntax = testo;
        MediaCorrente.Syntax = testo;
    }
    static bool Esegui() {
        bool errore = true;
        const bool esito = EseguiAlertMedia(errore);
        EXPECT_FALSE(errore);
        return esito;
    }
    static bool HaRiga(const std::string& riga) {
        const std::vector<std::string> righe = Righe();
        return std::find(righe.begin(), righe.end(), riga) != righe.end();
    }
    static int32_t Conta(const std::string& inizio) {
        int32_t n = 0;
        for (const std::string& r : Righe())
            if (r.rfind(inizio, 0) == 0) ++n;
        return n;
    }
    // The colours shown on the screen inside the rectangle.
    static std::vector<COLORREF> Colori(const RettangoloDim& r) {
        CopiaSchermo copia;
        std::vector<COLORREF> colori;
        if (!LeggiSchermo(copia, r.X, r.Y, r.Larghezza, r.Altezza)) return colori;
        for (int32_t y = 0; y < r.Altezza; ++y)
            for (int32_t x = 0; x < r.Larghezza; ++x) colori.push_back(PixelCopia(copia, x, y));
        LiberaDibMemoria(copia.dib);
        return colori;
    }
    static int32_t Quanti(const std::vector<COLORREF>& colori, COLORREF c) {
        return static_cast<int32_t>(std::count(colori.begin(), colori.end(), c));
    }
    HWND gioco_ = nullptr;

private:
    GanciRun ganci_{};
    MediaConfigHeader header_;
    std::vector<std::string> nomi_;
    int32_t (*risposta_)(int32_t, int32_t) = nullptr;
    int32_t schermoX_ = 0, schermoY_ = 0;
};

TEST_F(AlertaInGioco, TheCoverShowsTheTextInItsRectangleForItsTimeThenHidesAndRunsTheEndMedia) {
    Sintassi(Alert(TestoSemplice));
    std::vector<COLORREF> visti;
    RettangoloDim cover{};
    AlPasso = [&](size_t n) {
        if (n != 1) return;
        cover = RettCover;
        visti = Colori(RettCover);
        EXPECT_TRUE(CoverVisibile());
        EXPECT_TRUE(HaBit(ModificheAvvio, AlertInCorso));
        EXPECT_EQ(CodeAlertCorrente, Codice);
    };
    const uint32_t inizio = ClockTick();
    EXPECT_TRUE(Esegui());
    const int32_t durata = static_cast<int32_t>(ClockTick() - inizio);
    EXPECT_GE(durata, 3000);
    EXPECT_LE(durata, 3600);

    // The text's rectangle in thousandths of the game window (800 x 600), its
    // size measured: the cover starts at the rectangle's top left.
    EXPECT_EQ(cover.X, 80);
    EXPECT_EQ(cover.Y, 60);
    EXPECT_GT(cover.Larghezza, 0);
    EXPECT_GT(cover.Altezza, 0);
    ASSERT_FALSE(visti.empty());
    EXPECT_GT(Quanti(visti, Blu), static_cast<int32_t>(visti.size()) / 4);
    EXPECT_GT(Quanti(visti, Bianco), 20);

    EXPECT_EQ(MediaSeguiti, std::vector<int32_t>{22});
    EXPECT_TRUE(HaRiga("Exit with value = True for: Time is complete"));
    EXPECT_TRUE(HaRiga("Required to perform media code=22"));
    EXPECT_TRUE(HaRiga("Operation: simple text: \"WWWW\""));
    EXPECT_FALSE(CoverVisibile());
    EXPECT_FALSE(HaBit(ModificheAvvio, AlertInCorso));
    EXPECT_EQ(CodeAlertCorrente, -1);
    EXPECT_EQ(TimeAlertCorrente, 0);
    EXPECT_EQ(CdCorrente, -1);
}

// The cover gets the whole screen back at the end: hidden where it stood
// first, so that its text is never carried to the screen's corner.
TEST_F(AlertaInGioco, TheEndLeavesTheTextNowhereButWhereItWas) {
    Sintassi(Alert(TestoSemplice));
    RettangoloDim cover{};
    AlPasso = [&](size_t n) {
        if (n == 1) cover = RettCover;
    };
    EXPECT_TRUE(Esegui());
    ASSERT_GT(cover.Larghezza, 0);
    // Read before anything repaints what the cover uncovered.
    const RettangoloDim gioco{0, 0, 800, 600};
    const std::vector<COLORREF> visti = Colori(gioco);
    ASSERT_EQ(visti.size(), 800u * 600u);
    int32_t fuori = 0;
    for (int32_t y = 0; y < gioco.Altezza; ++y)
        for (int32_t x = 0; x < gioco.Larghezza; ++x) {
            const bool dentro = x >= cover.X && x < cover.X + cover.Larghezza && y >= cover.Y &&
                                y < cover.Y + cover.Altezza;
            if (!dentro && visti[static_cast<size_t>(y) * 800 + x] == Blu) ++fuori;
        }
    EXPECT_EQ(fuori, 0);
    EXPECT_FALSE(CoverVisibile());
    EXPECT_EQ(RettCover, (RettangoloDim{0, 0, SchermoX, SchermoY}));
}

TEST_F(AlertaInGioco, TheLifeBarShrinksOnTheScreenUntilItIsEmpty) {
    Sintassi(Alert(ConLifeBar) +
             "<LIFE_BAR>\r\n#BAR-COLOR#=200\r\n#D-TIME#=4\r\n#FLAGS#=4096\r\n#PERC-BLINK#=0\r\n"
             "#PERC-REDUCTION#=0\r\n#IMAGE#=~\r\n<END_LIFE_BAR>\r\n");
    MediaCorrente.Duration = 0;
    std::vector<int32_t> rossi;
    AlPasso = [&](size_t n) {
        if (n == 0) return;
        EXPECT_EQ(RettCover, (RettangoloDim{21, 41, 241, 20}));
        EXPECT_EQ(TimeAlertCorrente, LifeBarStato.Progresso);
        rossi.push_back(Quanti(Colori(RettCover), Rosso));
    };
    const uint32_t inizio = ClockTick();
    EXPECT_TRUE(Esegui());
    const int32_t durata = static_cast<int32_t>(ClockTick() - inizio);
    EXPECT_GE(durata, 4000);
    EXPECT_LE(durata, 4600);
    ASSERT_GE(rossi.size(), 6u);
    // Full red room at first (237 x 16 pixels), less on every pass.
    EXPECT_GT(rossi.front(), 237 * 16 * 3 / 4);
    for (size_t i = 1; i < rossi.size(); ++i) EXPECT_LT(rossi[i], rossi[i - 1]) << i;
    EXPECT_EQ(MediaSeguiti, std::vector<int32_t>{22});
    EXPECT_FALSE(CoverVisibile());
    EXPECT_EQ(LifeBarStato.DCBarra, nullptr);
}

TEST_F(AlertaInGioco, EachWayOfEndingGivesItsReasonAndFollowUp) {
    struct Caso {
        const char* nome;
        int32_t flag;
        std::vector<Passo> copione;
        int32_t cdBreak;  // starts playing at the third pass
        bool giocoFinito;  // the game's process ends at the third pass
        bool risultato;
        std::vector<int32_t> seguiti;
        const char* riga;
    };
    const Caso casi[] = {
        {"its CD sound ended", TestoSemplice, {{}, {}, {true, 3}}, -1, false, true, {21},
         "Exit with value = True for: Alert was interrupted by end cd sound trigger"},
        {"a level loads", TestoSemplice, {{}, {true, 1}}, -1, false, false, {},
         "Exit with value = False for: Abort on loading new game or title phase"},
        {"the break CD starts", TestoSemplice | ConCdBreak, {}, 12, false, true, {21},
         "Detected start of 'break cd' 12 break media alert"},
        {"the game ended", TestoSemplice, {}, -1, true, false, {},
         "Exit with value = False for: Abort on loading new game or title phase"},
        {"ignoring the game, a loading does not end it", TestoSemplice | IgnoraGioco, {{true, 1}, {true, 1}}, -1,
         false, true, {22}, "Exit with value = True for: Time is complete"},
    };
    for (const Caso& c : casi) {
        SCOPED_TRACE(c.nome);
        Sintassi(Alert(c.flag, c.cdBreak >= 0 ? "#CD_BREAK#=" + std::to_string(c.cdBreak) + "\r\n" : ""));
        Copione = c.copione;
        Passi = 0;
        MediaSeguiti.clear();
        CdSuonati = -1;
        HANDLE fine = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        ProcessoGioco.hProcess = fine;
        AlPasso = [&](size_t n) {
            if (n != 2) return;
            if (c.cdBreak >= 0) CdSuonati = c.cdBreak;
            if (c.giocoFinito) SetEvent(fine);
        };
        BufferLog.clear();
        EXPECT_EQ(Esegui(), c.risultato);
        EXPECT_EQ(MediaSeguiti, c.seguiti);
        EXPECT_TRUE(HaRiga(c.riga)) << c.riga;
        if (c.seguiti.empty()) {
            EXPECT_TRUE(HaRiga("No media to perform"));
        }
        EXPECT_FALSE(CoverVisibile());
        ProcessoGioco.hProcess = reinterpret_cast<void*>(1);
        CloseHandle(fine);
    }
}

TEST_F(AlertaInGioco, ACountdownRunsItsWholeSpanAndRedrawsOnlyAChangedCounter) {
    Sintassi(Alert(ConCountDown) + "<COUNTDOWN>\r\n#START_COUNTER#=6\r\n#END_COUNTER#=0\r\n#FLAGS#=2\r\n<END_COUNTDOWN>\r\n");
    MediaCorrente.Text = "<TEXT>Left: #counter#<END_TEXT>";
    MediaCorrente.Duration = 2;
    const uint32_t inizio = ClockTick();
    EXPECT_TRUE(Esegui());
    const int32_t durata = static_cast<int32_t>(ClockTick() - inizio);
    // The span of the counter, not the shorter duration.
    EXPECT_GE(durata, 6000);
    EXPECT_LE(durata, 6600);
    EXPECT_TRUE(HaRiga("Show countdown text: Left: 6"));
    EXPECT_TRUE(HaRiga("Show countdown text: Left: 3"));
    EXPECT_TRUE(HaRiga("Show countdown text: Left: 0"));
    EXPECT_EQ(MediaSeguiti, std::vector<int32_t>{22});
}

TEST_F(AlertaInGioco, TheInventoryKeepsTheTimeAndALoadRightAfterResumesIt) {
    Sintassi(Alert(TestoSemplice));
    MediaCorrente.Duration = 10;
    ListaMedia[0].Duration = 10;
    // The player opens the inventory 2 s in and loads a savegame from it.
    Copione = {{}, {}, {}, {}, {}, {true, 1}};
    AlPasso = [&](size_t n) {
        if (n == 4) {
            ImpostaBit(ModificheAvvio, TempoInventarioInCorso);
            TickInizioInventario = ClockTick();
        }
    };
    EXPECT_FALSE(Esegui());
    TogliBit(ModificheAvvio, TempoInventarioInCorso);
    EXPECT_TRUE(HaBit(ListaMedia[0].Options, Suspended));
    const int32_t salvato = LeggiElapsedSospeso(0);
    EXPECT_GE(salvato, 2000);
    EXPECT_LE(salvato, 2200);

    // The level loaded a second ago on the alert's own CD: it resumes.
    struct Caso {
        const char* nome;
        int32_t dallaFine;
        int32_t cdAvvio;
        int32_t durataMin, durataMax;
    };
    const Caso casi[] = {
        {"resumed", 1000, TracciaCd, 10000 - salvato - 1000, 10000 - salvato - 1000 + 600},
        {"on another CD it starts afresh", 1000, 3, 10000, 10600},
        {"long after the loading it starts afresh", 5000, TracciaCd, 10000, 10600},
    };
    for (const Caso& c : casi) {
        SCOPED_TRACE(c.nome);
        ScriviElapsedSospeso(Codice, salvato);
        MediaCorrente = ListaMedia[0];
        TickFineCaricamento = ClockTick() - static_cast<uint32_t>(c.dallaFine);
        CdAvvioAlert = c.cdAvvio;
        Copione.clear();
        Passi = 0;
        AlPasso = nullptr;
        MediaSeguiti.clear();
        const uint32_t inizio = ClockTick();
        EXPECT_TRUE(Esegui());
        const int32_t durata = static_cast<int32_t>(ClockTick() - inizio);
        EXPECT_GE(durata, c.durataMin);
        EXPECT_LE(durata, c.durataMax);
        // Started afresh, the trigger is the author's again; resumed, it
        // keeps its time for a later load of the same savegame.
        EXPECT_EQ(LeggiElapsedSospeso(0), c.cdAvvio == TracciaCd && c.dallaFine < 3000 ? salvato : 0);
        EXPECT_EQ(MediaSeguiti, std::vector<int32_t>{22});
    }
}

// The player saves during the alert, which then runs to its end; loading
// that savegame right after gives the alert back the time it had then.
TEST_F(AlertaInGioco, AnAlertThatEndsKeepsTheTimeSavedForALaterLoad) {
    struct Caso {
        const char* nome;
        std::vector<Passo> copione;
        std::vector<int32_t> seguiti;
    };
    const Caso casi[] = {
        {"its time complete", {}, {22}},
        {"its CD sound ended", {{}, {}, {}, {}, {}, {}, {true, 3}}, {21}},
    };
    for (const Caso& c : casi) {
        SCOPED_TRACE(c.nome);
        Sintassi(Alert(TestoSemplice));
        MediaCorrente.Duration = 6;
        ListaMedia[0].Duration = 6;
        // The save screen, 1 s in, is the inventory for the alert.
        Copione = c.copione;
        Passi = 0;
        AlPasso = [&](size_t n) {
            if (n == 2) {
                ImpostaBit(ModificheAvvio, TempoInventarioInCorso);
                TickInizioInventario = ClockTick();
            }
            if (n == 3) TogliBit(ModificheAvvio, TempoInventarioInCorso);
        };
        MediaSeguiti.clear();
        EXPECT_TRUE(Esegui());
        EXPECT_EQ(MediaSeguiti, c.seguiti);
        EXPECT_TRUE(HaBit(ListaMedia[0].Options, Suspended));
        const int32_t salvato = LeggiElapsedSospeso(0);
        EXPECT_GE(salvato, 1000);
        EXPECT_LE(salvato, 1100);

        // The load: its level's track starts again a moment after it.
        MediaCorrente = ListaMedia[0];
        TickFineCaricamento = ClockTick() - 200;
        CdAvvioAlert = TracciaCd;
        Copione.clear();
        Passi = 0;
        AlPasso = nullptr;
        const uint32_t inizio = ClockTick();
        EXPECT_TRUE(Esegui());
        const int32_t durata = static_cast<int32_t>(ClockTick() - inizio);
        EXPECT_GE(durata, 6000 - salvato - 200);
        EXPECT_LE(durata, 6000 - salvato - 200 + 600);
        CancellaElapsedSospeso(Codice);
    }
}

TEST_F(AlertaInGioco, ASuspendedLifeBarResumesWithTheTimeItHadCounted) {
    Sintassi(Alert(ConLifeBar) +
             "<LIFE_BAR>\r\n#BAR-COLOR#=200\r\n#D-TIME#=4\r\n#FLAGS#=4096\r\n#PERC-BLINK#=0\r\n"
             "#PERC-REDUCTION#=0\r\n#IMAGE#=~\r\n<END_LIFE_BAR>\r\n");
    MediaCorrente.Duration = 0;
    ListaMedia[0].Options = Suspended;
    MediaCorrente.Options = Suspended;
    ScriviElapsedSospeso(Codice, 3000);
    MediaCorrente.Syntax = ListaMedia[0].Syntax;
    TickFineCaricamento = ClockTick();
    CdAvvioAlert = TracciaCd;
    const uint32_t inizio = ClockTick();
    EXPECT_TRUE(Esegui());
    const int32_t durata = static_cast<int32_t>(ClockTick() - inizio);
    // 3 of its 4 seconds were gone.
    EXPECT_GE(durata, 1000);
    EXPECT_LE(durata, 1600);
}

TEST_F(AlertaInGioco, AProgressiveTextShowsItsRowsOneAfterTheOtherWhileTheAlertLasts) {
    Sintassi(Alert(TestoProgressivo) + "<PROGR_TEXT>#FLAGS#=0\r\n#TIME#=1000\r\n#START_COUNT#=1\r\n<END_PROGR_TEXT>\r\n");
    MediaCorrente.Text = "<TEXT>ONE\r\nTWO\r\nTHREE<END_TEXT>";
    MediaCorrente.Duration = 4;
    std::vector<int32_t> blu;
    AlPasso = [&](size_t n) {
        if (n == 1) blu.push_back(Quanti(Colori(RettCover), Blu));
    };
    EXPECT_TRUE(Esegui());
    const std::vector<std::string> righe = Righe();
    std::vector<std::string> mostrate;
    for (const std::string& r : righe)
        if (r.rfind("Show progressive text: ", 0) == 0) mostrate.push_back(r);
    EXPECT_EQ(mostrate, (std::vector<std::string>{"Show progressive text: \"ONE\"", "Show progressive text: \"TWO\"",
                                                  "Show progressive text: \"THREE\""}));
    // The rows on the alert's own background.
    ASSERT_EQ(blu.size(), 1u);
    EXPECT_GT(blu[0], 50);
    EXPECT_EQ(MediaSeguiti, std::vector<int32_t>{22});
    EXPECT_FALSE(CoverVisibile());
}

TEST_F(AlertaInGioco, AProgressiveTextWithNothingToShowAbortsTheAlert) {
    Sintassi(Alert(TestoProgressivo));
    MediaCorrente.Text = "";
    EXPECT_FALSE(Esegui());
    EXPECT_TRUE(HaRiga("Error: no texts to show"));
    EXPECT_TRUE(HaRiga("Exit with value = False for: Abort on loading new game or title phase"));
    EXPECT_TRUE(MediaSeguiti.empty());
    EXPECT_EQ(Passi, 0u);
    EXPECT_FALSE(CoverVisibile());
}

// A faulty section runs on the values the block holds: its defaults and
// what was read before the fault.
TEST_F(AlertaInGioco, AFaultySectionRunsOnWhatWasRead) {
    struct Caso {
        const char* nome;
        std::string sintassi;
        const char* riga;
        int32_t durataMin, durataMax;
        std::vector<int32_t> seguiti;
        const char* mostrato;  // a countdown line, "" none
    };
    const std::string senzaSeguito = "<ALERT>\r\n#REFRESH#=80\r\n#FLAGS#=32\r\n#BACK_COLOR#=" +
                                     std::to_string(Blu) + "\r\n#STOP_PERFORM#=\r\n<END_ALERT>\r\n";
    const Caso casi[] = {
        {"a stop media left empty", senzaSeguito, "Syntax error in Alert Trigger: not numeric value for #stop_perform#",
         3000, 3600, {}, ""},
        {"a refresh of zero", "<ALERT>\r\n#REFRESH#=0\r\n<END_ALERT>\r\n",
         "Syntax error in Alert Trigger: refresh time must be greater than zero: 0", 3000, 3600, {}, ""},
        // Up from 5 to the default end, 10.
        {"a countdown without its end",
         Alert(ConCountDown) + "<COUNTDOWN>\r\n#START_COUNTER#=5\r\n<END_COUNTDOWN>\r\n",
         "Syntax error in CountDown trigger", 5000, 5600, {22}, "Show countdown text: 00:10"},
        // The default bar: 16 s from full to empty.
        {"a life bar without its colour", Alert(ConLifeBar) + "<LIFE_BAR>\r\n#D-TIME#=2\r\n<END_LIFE_BAR>\r\n",
         "ERROR in Life-Bar effect of Alert Media: missing #bar-color#", 16000, 16600, {22}, ""},
    };
    for (const Caso& c : casi) {
        SCOPED_TRACE(c.nome);
        Sintassi(c.sintassi);
        MediaCorrente.Text = "<TEXT>#COUNTER#<END_TEXT>";
        MediaCorrente.Duration = 3;
        Passi = 0;
        MediaSeguiti.clear();
        BufferLog.clear();
        const uint32_t inizio = ClockTick();
        EXPECT_TRUE(Esegui());
        const int32_t durata = static_cast<int32_t>(ClockTick() - inizio);
        EXPECT_GE(durata, c.durataMin);
        EXPECT_LE(durata, c.durataMax);
        EXPECT_TRUE(HaRiga(c.riga));
        EXPECT_TRUE(HaRiga("Exit with value = True for: Time is complete"));
        EXPECT_EQ(MediaSeguiti, c.seguiti);
        if (*c.mostrato) {
            EXPECT_TRUE(HaRiga(c.mostrato));
        }
        EXPECT_FALSE(CoverVisibile());
    }
}

TEST_F(AlertaInGioco, AGameInStandByRefusesTheAlert) {
    Sintassi(Alert(TestoSemplice));
    ImpostaBit(StatoSequenza, StandByAttivo);
    bool errore = true;
    EXPECT_FALSE(EseguiAlertMedia(errore));
    EXPECT_FALSE(errore);
    EXPECT_TRUE(HaRiga("ERROR: Tomb Raider is in stand-by. Alert Media cann't work with Tomb Raider in stand-by"));
    EXPECT_EQ(Passi, 0u);
    EXPECT_TRUE(MediaSeguiti.empty());
    StatoSequenza = 0;
}

// Full screen: the text straight on the screen's device context.
class AlertaSchermoIntero : public AlertaInGioco {
protected:
    void SetUp() override {
        AlertaInGioco::SetUp();
        HeaderMcf.HeaderOptions = 0;
    }
};

TEST_F(AlertaSchermoIntero, TheTextIsDrawnOnTheScreenAtItsRectangleAndNoGdiObjectIsLeft) {
    Sintassi(Alert(0));
    MediaCorrente.Duration = 1;
    std::vector<COLORREF> visti;
    AlPasso = [&](size_t n) {
        if (n == 3) visti = Colori(RettangoloDim{80, 60, 200, 60});
    };
    const uint32_t inizio = ClockTick();
    EXPECT_TRUE(Esegui());
    const int32_t durata = static_cast<int32_t>(ClockTick() - inizio);
    EXPECT_GE(durata, 1000);
    EXPECT_LE(durata, 1100);
    // 80 redraws a second: a 12 ms sleep each pass.
    EXPECT_GE(Passi, 80u);
    EXPECT_LE(Passi, 90u);
    ASSERT_FALSE(visti.empty());
    EXPECT_GT(Quanti(visti, Bianco), 20);
    EXPECT_GT(Quanti(visti, Blu), 20);
    EXPECT_EQ(MediaSeguiti, std::vector<int32_t>{22});

    AlPasso = nullptr;
    const int32_t prima = OggettiGdi();
    for (int i = 0; i < 50; ++i) Esegui();
    EXPECT_EQ(OggettiGdi(), prima);
}

TEST_F(AlertaSchermoIntero, ALifeBarIsRefusedAndACdTriggerIsMarkedShown) {
    struct Caso {
        const char* nome;
        int32_t triggerCd;
        int32_t opzioni;
        bool marcato;
    };
    const Caso casi[] = {
        {"on its CD", TracciaCd, 0, true},
        {"not by a CD", TriggerCdNessuno, 0, false},
        {"with the action key", TracciaCd, RequiresAction, false},
    };
    for (const Caso& c : casi) {
        SCOPED_TRACE(c.nome);
        Sintassi(Alert(ConLifeBar));
        ListaMedia[0].TriggerCd = c.triggerCd;
        ListaMedia[0].Options = c.opzioni;
        MediaSeguiti.clear();
        BufferLog.clear();
        EXPECT_FALSE(Esegui());
        EXPECT_TRUE(HaRiga("ERROR in Alert Media: Life-Bar effect is not available in Exclusive Video Mode: abort media"));
        EXPECT_EQ(HaBit(ListaMedia[0].Options, AlreadyShown), c.marcato);
        EXPECT_TRUE(MediaSeguiti.empty());
        EXPECT_EQ(Passi, 0u);
    }
}

TEST_F(AlertaSchermoIntero, ASuspendedAlertResumesOnlyRightAfterItsLoading) {
    Sintassi(Alert(0));
    MediaCorrente.Duration = 5;
    struct Caso {
        const char* nome;
        int32_t dallaFine;
        int32_t durataMax;
    };
    const Caso casi[] = {
        {"right after", 500, 5000 - 2000 - 500 + 100},
        {"long after", 4000, 5100},
    };
    for (const Caso& c : casi) {
        SCOPED_TRACE(c.nome);
        ScriviElapsedSospeso(Codice, 2000);
        MediaCorrente.Options = ListaMedia[0].Options;
        MediaCorrente.Syntax = ListaMedia[0].Syntax;
        TickFineCaricamento = ClockTick() - static_cast<uint32_t>(c.dallaFine);
        CdAvvioAlert = TracciaCd;
        const uint32_t inizio = ClockTick();
        EXPECT_TRUE(Esegui());
        EXPECT_LE(static_cast<int32_t>(ClockTick() - inizio), c.durataMax);
        EXPECT_GE(static_cast<int32_t>(ClockTick() - inizio), c.durataMax - 200);
        // Resumed, it keeps its time for a later load of the same savegame.
        EXPECT_EQ(LeggiElapsedSospeso(0), c.dallaFine < 3000 ? 2000 : 0);
        // A later showing, long after the loading, starts afresh.
        MediaCorrente.Options = ListaMedia[0].Options;
        MediaCorrente.Syntax = ListaMedia[0].Syntax;
        TickFineCaricamento = ClockTick() - 4000;
        const uint32_t dopo = ClockTick();
        EXPECT_TRUE(Esegui());
        EXPECT_GE(static_cast<int32_t>(ClockTick() - dopo), 5000);
        EXPECT_FALSE(HaBit(ListaMedia[0].Options, Suspended));
    }
}

}  // namespace

