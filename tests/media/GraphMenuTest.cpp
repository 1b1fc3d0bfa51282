// The graph menu: its "GRAPH_MENU" section and its faults, the moves over
// the grid, the cursor's pixels, and whole menus driven by keys sent to the
// media window, their choice performed by the dispatcher.
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <cmath>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "core/LevelVariables.h"
#include "core/MediaConfig.h"
#include "core/MediaLog.h"
#include "core/MediaTrigger.h"
#include "gamerun/MediaDispatcher.h"
#include "media/GraphMenu.h"
#include "core/SystemUtils.h"
#include "runservices/GameControls.h"
#include "runservices/Sounds.h"
#include "runservices/TombSettings.h"
#include "tests/core/LogLines.h"
#include "tests/media/KeyPresses.h"
#include "tests/media/MediaWindowFixture.h"

namespace {

class SintassiGrafica : public ConRigheLog {
protected:
    void TearDown() override {
        SintassiGraphMenu("");
        ConRigheLog::TearDown();
    }
};

// Three items on a grid of two columns.
const std::string Voci =
    "<MENU1>#BOUND#=0:0:500:500\r\n#HOTKEY#=a\r\n#MEDIA_CODE#=7\r\n<END_MENU1>"
    "<MENU2>#BOUND#=500:0:1000:500\r\n#HOTKEY#=~\r\n#MEDIA_CODE#=-1\r\n<END_MENU2>"
    "<MENU3>#BOUND#=0:500:500:1000\r\n#MEDIA_CODE#=-2\r\n<END_MENU3>";

std::string Testata(const std::string& totale, const std::string& colonne, const std::string& selezione) {
    return "#FLAGS#=10\r\n#PEN_COLOR#=255\r\n#PEN_SIZE#=2\r\n#BLINK_DELAY#=300\r\n#TOT_MENU#=" + totale +
           "\r\n#COLUMNS#=" + colonne + "\r\n#S_MENU#=" + selezione + "\r\n";
}

TEST_F(SintassiGrafica, SectionFaultsAndBounds) {
    struct Caso {
        const char* nome;
        std::string sezione;
        bool esito;
        const char* errore;  // nullptr: none
        int32_t totale, colonne, selezione;
        std::vector<int32_t> codici;  // of the items, the spare one left out
    };
    const std::vector<Caso> casi = {
        {"empty: the defaults", "", true, nullptr, 0, 1, 0, {}},
        {"three items", Testata("3", "2", "1") + Voci, true, nullptr, 3, 2, 1, {7, -1, -2}},
        {"tags in any case and order", "#s_menu#=2\r\n#Tot_Menu#=3\r\n#columns#=3\r\n#flags#=1\r\n"
                                       "#pen_color#=&HFF\r\n#pen_size#=1\r\n#blink_delay#=10\r\n" + Voci,
         true, nullptr, 3, 3, 2, {7, -1, -2}},
        // "#COLUMNS#=0" would divide by zero.
        {"no columns count as one", Testata("3", "0", "0") + Voci, true, nullptr, 3, 1, 0, {7, -1, -2}},
        {"negative columns count as one", Testata("3", "-4", "0") + Voci, true, nullptr, 3, 1, 0, {7, -1, -2}},
        {"selection past the items", Testata("3", "2", "9") + Voci, true, nullptr, 3, 2, 2, {7, -1, -2}},
        {"selection before the items", Testata("3", "2", "-3") + Voci, true, nullptr, 3, 2, 0, {7, -1, -2}},
        {"missing flags", "#PEN_COLOR#=1\r\n", false, "ERROR in Graph-Menu: missing #flags# value", 0, 1, 0, {}},
        {"pen colour not a number", "#FLAGS#=1\r\n#PEN_COLOR#=white\r\n", false,
         "ERROR in Graph-Menu: missing #Pen_Color# value", 0, 1, 0, {}},
        {"missing pen size", "#FLAGS#=1\r\n#PEN_COLOR#=1\r\n", false, "ERROR in Graph-Menu: missing #Pen_Size# value",
         0, 1, 0, {}},
        {"missing blink delay", "#FLAGS#=1\r\n#PEN_COLOR#=1\r\n#PEN_SIZE#=1\r\n", false,
         "ERROR in Graph-Menu: missing #Blink_Delay# value", 0, 1, 0, {}},
        {"missing count", Testata("", "2", "0") + Voci, false, "ERROR in Graph-Menu: missing #Tot_Menu# value", 0,
         1, 0, {}},
        {"negative count", Testata("-1", "2", "0") + Voci, false, "ERROR in Graph-Menu: missing #Tot_Menu# value",
         0, 1, 0, {}},
        {"absurd count", Testata("1001", "2", "0") + Voci, false, "ERROR in Graph-Menu: missing #Tot_Menu# value", 0,
         1, 0, {}},
        {"count past 32 bits", Testata("99999999999", "2", "0") + Voci, false,
         "ERROR in Graph-Menu: missing #Tot_Menu# value", 0, 1, 0, {}},
        {"missing columns", Testata("3", "x", "0") + Voci, false, "ERROR in Graph-Menu: missing #Columns# value", 3,
         1, 0, {-2, -2, -2}},
        {"missing selection", Testata("3", "2", "") + Voci, false, "ERROR in Graph-Menu: missing #S_Menu# value", 3,
         2, 0, {-2, -2, -2}},
        // Items after a faulty one choose nothing, rather than media code 0.
        {"more items than sections", Testata("4", "2", "3") + Voci, false,
         "ERROR in Graph-Menu: missing #Bound# values for MENU4", 4, 2, 3, {7, -1, -2, -2}},
        {"three numbers of a bound", Testata("2", "2", "0") + "<MENU1>#BOUND#=0:0:500\r\n#MEDIA_CODE#=7\r\n<END_MENU1>",
         false, "ERROR in Graph-Menu: missing #Bound# values for MENU1", 2, 2, 0, {-2, -2}},
        {"a bound that is no number", Testata("1", "1", "0") + "<MENU1>#BOUND#=0:0:5x:5\r\n#MEDIA_CODE#=7\r\n<END_MENU1>",
         false, "ERROR in Graph-Menu: missing #Bound# values for MENU1", 1, 1, 0, {-2}},
        {"missing media code", Testata("2", "2", "0") + "<MENU1>#BOUND#=0:0:5:5\r\n<END_MENU1>", false,
         "ERROR in Graph-Menu: missing #Media_Code# value for MENU1", 2, 2, 0, {-2, -2}},
    };
    for (const Caso& c : casi) {
        SCOPED_TRACE(c.nome);
        ParametriGraphMenu.Columns = 0;
        BufferLog.clear();
        NumErroriLog = 0;
        EXPECT_EQ(SintassiGraphMenu(c.sezione), c.esito);
        const GraphMenuParams& p = ParametriGraphMenu;
        EXPECT_EQ(p.TotMenu, c.totale);
        EXPECT_EQ(p.Columns, c.colonne);
        EXPECT_EQ(p.SMenu, c.selezione);
        ASSERT_EQ(p.Items.size(), static_cast<size_t>(c.totale) + 1) << "one spare item";
        for (size_t i = 0; i < c.codici.size(); ++i) EXPECT_EQ(p.Items[i].MediaCode, c.codici[i]) << "item " << i;
        EXPECT_EQ(p.Items.back().MediaCode, MediaCodeNonScegliere) << "the spare item chooses nothing";
        if (c.errore)
            UnErrore(c.errore);
        else
            NessunErrore();
    }
    // What the full section gives each item.
    ASSERT_TRUE(SintassiGraphMenu(Testata("3", "2", "1") + Voci));
    const GraphMenuParams& p = ParametriGraphMenu;
    EXPECT_EQ(p.Flags, 10);
    EXPECT_EQ(p.PenColor, 255);
    EXPECT_EQ(p.PenSize, 2);
    EXPECT_EQ(p.BlinkDelay, 300);
    EXPECT_EQ(p.Items[1].Bound.Left, 500);
    EXPECT_EQ(p.Items[2].Bound.Bottom, 1000);
    EXPECT_EQ(p.Items[0].HotKey, "a");
    EXPECT_EQ(p.Items[1].HotKey, "") << "\"~\" is no hot key";
    EXPECT_EQ(p.Items[2].HotKey, "");
    // The defaults of an empty section.
    ASSERT_TRUE(SintassiGraphMenu(""));
    EXPECT_EQ(p.Flags, 34);
    EXPECT_EQ(p.PenColor, 0xFFFFFF);
    EXPECT_EQ(p.PenSize, 3);
    EXPECT_EQ(p.BlinkDelay, 500);
}

TEST(MosseGraphMenu, MovesStayOnTheGridWithoutWrapping) {
    struct Caso {
        int32_t voce, dx, dy, colonne, totale, attesa;
    };
    const Caso casi[] = {
        // Six items in three columns.
        {2, 1, 0, 3, 6, 2},
        {2, 0, 1, 3, 6, 5},
        {3, 0, -1, 3, 6, 0},
        {3, -1, 0, 3, 6, 3},
        {0, 0, -1, 3, 6, 0},
        {4, 1, 1, 3, 6, 4},
        {1, 1, 1, 3, 6, 5},
        // Five: item 5 does not exist.
        {2, 0, 1, 3, 5, 2},
        {1, 0, 1, 3, 5, 4},
        // One column: down and up only.
        {0, 0, 1, 1, 3, 1},
        {2, 0, 1, 1, 3, 2},
        {1, 1, 0, 1, 3, 1},
        // A grid of no columns moves as one column.
        {0, 0, 1, 0, 3, 1},
        {0, 0, 1, -2, 3, 1},
        // No items.
        {0, 1, 1, 3, 0, 0},
    };
    for (const Caso& c : casi)
        EXPECT_EQ(VoceDopoMossa(c.voce, c.dx, c.dy, c.colonne, c.totale), c.attesa)
            << c.voce << " by " << c.dx << "," << c.dy << " on " << c.colonne << " columns of " << c.totale;
}

using tasti::Tasto;
using tasti::TastoControllo;

bool Attendi(const std::function<bool()>& condizione, DWORD limite = 20000) {
    const DWORD fine = GetTickCount() + limite;
    while (GetTickCount() < fine) {
        if (condizione()) return true;
        Sleep(2);
    }
    return condizione();
}

class MenuGrafico : public ProvaFinestraMedia {
protected:
    void SetUp() override {
        ProvaFinestraMedia::SetUp();
        ImpostazioniTombCorrenti = ImpostazioniTomb{};
        // As the run's settings connect them: the Action control by its keys.
        ControlloGiocoPremuto = TastoGiocoPremuto;
        TastiAzioneGioco = [](int16_t& tasto, int16_t& predefinito) {
            tasto = ImpostazioniTombCorrenti.Tasti[static_cast<int>(TastoGioco::Action)];
            predefinito = ImpostazioniTombCorrenti.TastiDefault[static_cast<int>(TastoGioco::Action)];
            return true;
        };
    }
    void TearDown() override {
        for (WORD vk : tasti_) Tasto(vk, false);
        SintassiGraphMenu("");
        ListaMedia.clear();
        ControlloGiocoPremuto = nullptr;
        TastiAzioneGioco = nullptr;
        ProvaFinestraMedia::TearDown();
    }

    // The cursor on <voce> of a window loaded but not performing, over a
    // picture of one colour.
    void CursoreSu(Dialog_Titoli& f, int32_t voce) {
        f.VoceSelezionata = voce;
        f.DisegnaCursoreGraphMenu();
    }

    // Keys the test presses, let go in any case at the end.
    void Premi(WORD vk) {
        tasti_.push_back(vk);
        Tasto(vk, true);
    }
    static void Rilascia(WORD vk) { Tasto(vk, false); }

private:
    std::vector<WORD> tasti_;
};

TEST_F(MenuGrafico, TheCursorIsDrawnOnTheSelectedAreaOnlyAndTheLastOneErased) {
    // A 1000 x 1000 reference over the screen: item 1 is the right half of
    // the top, its pixels from the screen's size.
    const COLORREF sfondo = RGB(0, 0, 200), penna = RGB(255, 255, 0);
    const std::string immagine = Bitmap("menu.bmp", 8, 8, sfondo);
    MediaCorrente.TypeFlags = static_cast<int32_t>(BitGraphMenu) | BackgroundImage;
    MediaCorrente.MediaFile = immagine;
    struct Caso {
        const char* nome;
        int32_t flags;
        int32_t dimensione;
    };
    for (const Caso& c : {Caso{"rectangle", 0x8, 3}, Caso{"ellipse", 0x10, 3}, Caso{"inverted area", 0x20, 1},
                          Caso{"no cursor flag", 0x2, 1}}) {
        SCOPED_TRACE(c.nome);
        ASSERT_TRUE(SintassiGraphMenu("#FLAGS#=" + std::to_string(c.flags) + "\r\n#PEN_COLOR#=" +
                                      std::to_string(static_cast<int32_t>(penna)) + "\r\n#PEN_SIZE#=" +
                                      std::to_string(c.dimensione) +
                                      "\r\n#BLINK_DELAY#=0\r\n#TOT_MENU#=2\r\n#COLUMNS#=2\r\n#S_MENU#=0\r\n"
                                      "<MENU1>#BOUND#=100:100:400:400\r\n#MEDIA_CODE#=1\r\n<END_MENU1>"
                                      "<MENU2>#BOUND#=500:100:900:500\r\n#MEDIA_CODE#=2\r\n<END_MENU2>"));
        Dialog_Titoli f;
        CaricaSenzaEseguire(f);
        bool ok = false;
        f.CaricaImmagineMedia(0, ok);
        ASSERT_TRUE(ok);
        f.CreaMemoryDC();
        const int32_t W = SchermoX, H = SchermoY;
        auto px = [&](int32_t millesimiX) {
            return static_cast<int>(std::nearbyint(static_cast<double>(W) * millesimiX / 1000.0));
        };
        auto py = [&](int32_t millesimiY) {
            return static_cast<int>(std::nearbyint(static_cast<double>(H) * millesimiY / 1000.0));
        };
        CursoreSu(f, 1);
        const int sinistra = px(500), destra = px(900) - 1, alto = py(100), basso = py(500) - 1;
        const int mezzoX = (sinistra + destra) / 2, mezzoY = (alto + basso) / 2;
        const COLORREF invertito = RGB(255, 255, 55);
        switch (c.flags) {
        case 0x8:
            EXPECT_EQ(Pixel(f, sinistra, mezzoY), penna);
            EXPECT_EQ(Pixel(f, destra, mezzoY), penna);
            EXPECT_EQ(Pixel(f, mezzoX, alto), penna);
            EXPECT_EQ(Pixel(f, mezzoX, basso), penna);
            EXPECT_EQ(Pixel(f, sinistra + 1, alto + 1), penna) << "three pixels wide";
            EXPECT_EQ(Pixel(f, sinistra + 5, alto + 5), sfondo) << "hollow";
            EXPECT_EQ(Pixel(f, sinistra - 3, mezzoY), sfondo);
            break;
        case 0x10:
            EXPECT_EQ(Pixel(f, mezzoX, alto + 1), penna);
            EXPECT_EQ(Pixel(f, sinistra + 1, mezzoY), penna);
            EXPECT_EQ(Pixel(f, sinistra + 1, alto + 1), sfondo) << "the corner stays outside";
            EXPECT_EQ(Pixel(f, mezzoX, mezzoY), sfondo);
            break;
        case 0x20:
            EXPECT_EQ(Pixel(f, sinistra, alto), invertito);
            EXPECT_EQ(Pixel(f, mezzoX, mezzoY), invertito);
            EXPECT_EQ(Pixel(f, destra, basso), invertito);
            EXPECT_EQ(Pixel(f, destra + 1, mezzoY), sfondo);
            EXPECT_EQ(Pixel(f, mezzoX, basso + 1), sfondo);
            break;
        default:
            EXPECT_EQ(Pixel(f, sinistra, mezzoY), sfondo);
            EXPECT_EQ(Pixel(f, mezzoX, mezzoY), sfondo);
            break;
        }
        EXPECT_EQ(Pixel(f, px(100), py(250)), sfondo) << "the other item is untouched";
        // Moved to the first item: the second one is the picture again.
        CursoreSu(f, 0);
        for (const POINT p : {POINT{sinistra, mezzoY}, POINT{mezzoX, alto + 1}, POINT{mezzoX, mezzoY}})
            EXPECT_EQ(Pixel(f, p.x, p.y), sfondo) << p.x << "," << p.y;
        if (c.flags == 0x8) {
            EXPECT_EQ(Pixel(f, px(100), py(250)), penna);
        }
        if (c.flags == 0x20) {
            EXPECT_EQ(Pixel(f, px(250), py(250)), invertito);
        }
        f.Unload();
    }
}

// The menu's screen: six pictures in two rows of three over a picture of
// one colour, a rectangle cursor of another.
constexpr COLORREF SfondoMenu = RGB(0, 0, 200), PennaMenu = RGB(255, 255, 0);

Rettangolo BoundVoce(int32_t voce) {
    const int32_t x = voce % 3 * 333, y = voce / 3 * 500;
    return Rettangolo{x + 50, y + 50, x + 283, y + 450};
}

// The item whose cursor the screen shows, -1 for none.
int32_t VoceSulloSchermo() {
    HDC schermo = GetDC(nullptr);
    int32_t trovata = -1;
    for (int32_t voce = 0; voce < 6 && trovata < 0; ++voce) {
        const Rettangolo b = BoundVoce(voce);
        const int x = static_cast<int>(std::nearbyint(SchermoX * b.Left / 1000.0));
        const int y = static_cast<int>(std::nearbyint(SchermoY * (b.Top + b.Bottom) / 2000.0));
        if (GetPixel(schermo, x, y) == PennaMenu) trovata = voce;
    }
    ReleaseDC(nullptr, schermo);
    return trovata;
}

// The menu of the media window on screen listens to the player's keys:
// the cursor is drawn a moment before that.
bool MenuInAscolto() {
    HWND h = FindWindowA("LudovaneTitoli", nullptr);
    if (!h || !IsWindowVisible(h)) return false;
    auto* f = dynamic_cast<Dialog_Titoli*>(reinterpret_cast<Form*>(GetWindowLongPtrA(h, GWLP_USERDATA)));
    return f && f->MenuGraficoAttivo && !f->MenuGraficoFinito;
}

struct Scenario {
    const char* nome;
    int32_t flags;
    int32_t selezione;
    // The player's part, in a second thread while the menu runs; False when
    // the screen did not show what it waited for.
    std::function<bool(const std::function<void(WORD)>& premi, const std::function<void(WORD)>& rilascia)> giocatore;
    bool risultato;
    bool escape;
    int32_t codice;  // of the media performed, -1 for none
    std::string variabile;
    bool azionePremutaAllInizio = false;
};

// Holds the key until the screen shows the cursor on <voce>.
bool Muovi(const std::function<void(WORD)>& premi, const std::function<void(WORD)>& rilascia, WORD vk,
           int32_t voce) {
    premi(vk);
    const bool visto = Attendi([voce] { return VoceSulloSchermo() == voce; });
    rilascia(vk);
    return visto;
}

TEST_F(MenuGrafico, AMenuDrivenByTheKeysPerformsTheChosenMedia) {
    const WORD su = TastoControllo(TastoGioco::Up), giu = TastoControllo(TastoGioco::Down),
               sinistra = TastoControllo(TastoGioco::Left), destra = TastoControllo(TastoGioco::Right),
               azione = TastoControllo(TastoGioco::Action);
    ASSERT_NE(su, 0);
    ASSERT_NE(azione, 0);
    using FnTasto = std::function<void(WORD)>;
    const std::vector<Scenario> scenari = {
        {"the arrows to the edges, then Enter", 0x8, 0,
         [&](const FnTasto& p, const FnTasto& r) {
             return Muovi(p, r, giu, 3) && Muovi(p, r, destra, 5) && Muovi(p, r, su, 2) && (p(VK_RETURN), r(VK_RETURN), true);
         },
         true, false, 12, ""},
        {"a short tap of a direction moves once", 0x8, 0,
         [&](const FnTasto& p, const FnTasto& r) {
             p(destra);
             r(destra);
             return Attendi([] { return VoceSulloSchermo() == 1; }) && (p(VK_RETURN), r(VK_RETURN), true);
         },
         true, false, 11, ""},
        {"held Action at the start waits for its release; Action chooses", 0x88, 3,
         [&](const FnTasto& p, const FnTasto& r) {
             // Long enough for a menu that did not wait to choose item 3; a
             // slower machine only makes the check weaker.
             Sleep(300);
             r(azione);
             return Muovi(p, r, su, 0) && (p(azione), true);
         },
         true, false, 10, "1", true},
        {"a hot key that chooses, its letter stored", 0xC8, 0,
         [&](const FnTasto& p, const FnTasto& r) { return p('Z'), r('Z'), true; }, true, false, 11, "z"},
        {"a digit hot key", 0x48, 5, [&](const FnTasto& p, const FnTasto& r) { return p('3'), r('3'), true; }, true, false, 13, ""},
        {"a hot key that only moves", 0x8, 0,
         [&](const FnTasto& p, const FnTasto& r) {
             p('Z');
             return Attendi([] { return VoceSulloSchermo() == 1; }) && (r('Z'), p(VK_RETURN), r(VK_RETURN), true);
         },
         true, false, 11, ""},
        {"an item that cannot be chosen keeps the menu", 0x8, 4,
         [&](const FnTasto& p, const FnTasto& r) {
             p(VK_RETURN);
             r(VK_RETURN);
             return Muovi(p, r, sinistra, 3) && (p(VK_RETURN), r(VK_RETURN), true);
         },
         true, false, 13, ""},
        {"the exit item", 0x8, 5, [&](const FnTasto& p, const FnTasto& r) { return p(VK_RETURN), r(VK_RETURN), true; }, false, true, -1,
         ""},
        {"Escape", 0x8, 1, [&](const FnTasto& p, const FnTasto& r) { return p(VK_ESCAPE), r(VK_ESCAPE), true; }, false, true, -1, ""},
    };
    const int32_t codici[6] = {10, 11, 12, 13, -2, -1};
    const char* hotKey[6] = {"~", "z", "", "3", "", ""};
    const std::string immagine = Bitmap("menu.bmp", 8, 8, SfondoMenu);
    ClockUseManual(false);
    for (const Scenario& s : scenari) {
        SCOPED_TRACE(s.nome);
        std::string sezione = "#FLAGS#=" + std::to_string(s.flags) + "\r\n#PEN_COLOR#=" +
                              std::to_string(static_cast<int32_t>(PennaMenu)) +
                              "\r\n#PEN_SIZE#=3\r\n#BLINK_DELAY#=500\r\n#TOT_MENU#=6\r\n#COLUMNS#=3\r\n#S_MENU#=" +
                              std::to_string(s.selezione) + "\r\n";
        for (int32_t i = 0; i < 6; ++i) {
            const Rettangolo b = BoundVoce(i);
            sezione += "<MENU" + std::to_string(i + 1) + ">#BOUND#=" + std::to_string(b.Left) + ":" +
                       std::to_string(b.Top) + ":" + std::to_string(b.Right) + ":" + std::to_string(b.Bottom) +
                       "\r\n#HOTKEY#=" + hotKey[i] + "\r\n#MEDIA_CODE#=" + std::to_string(codici[i]) + "\r\n<END_MENU" +
                       std::to_string(i + 1) + ">";
        }
        MediaTrigger menu{};
        menu.MediaCode = 1;
        menu.TypeFlags = static_cast<int32_t>(BitGraphMenu) | BackgroundImage;
        menu.MediaFile = immagine;
        menu.Options = EscapeBreaks;
        menu.Syntax = "<GRAPH_MENU>" + sezione + "<END_GRAPH_MENU>";
        menu.Level = -1;
        ListaMedia = {menu};
        for (int32_t codice : {10, 11, 12, 13}) {
            MediaTrigger azione{};
            azione.MediaCode = codice;
            azione.TypeFlags = BitAction;
            azione.Level = -1;
            ListaMedia.push_back(azione);
        }
        HeaderMcf.TriggerCount = static_cast<int32_t>(ListaMedia.size());
        MediaCorrente = menu;
        std::string nomeVariabile;
        const std::string fileVariabile = NomeFileVariabile(IdUltimoInput, nomeVariabile);
        DeleteFileA(fileVariabile.c_str());
        AzzeraLog();
        if (s.azionePremutaAllInizio) Premi(azione);
        std::atomic<bool> finito{false}, visto{false};
        std::thread giocatore([&] {
            // Held from the start, Action keeps the menu from listening.
            if (!Attendi([&] {
                    return finito ||
                           (VoceSulloSchermo() == s.selezione && (s.azionePremutaAllInizio || MenuInAscolto()));
                }))
                return;
            if (finito) return;
            visto = s.giocatore([this](WORD vk) { Premi(vk); }, [](WORD vk) { Rilascia(vk); });
            // A menu still waiting after that has missed a key: Escape ends it.
            if (!Attendi([&] { return finito.load(); }, 15000)) {
                Tasto(VK_ESCAPE, true);
                Tasto(VK_ESCAPE, false);
            }
        });
        bool breakEscape = false, errore = false;
        const bool risultato = ShowMedia(breakEscape, errore);
        finito = true;
        giocatore.join();
        for (WORD vk : {su, giu, sinistra, destra, azione, static_cast<WORD>('Z'), static_cast<WORD>('3'),
                        static_cast<WORD>(VK_RETURN), static_cast<WORD>(VK_ESCAPE)})
            Rilascia(vk);
        EXPECT_TRUE(visto) << "the screen showed each move";
        EXPECT_EQ(risultato, s.risultato);
        EXPECT_EQ(breakEscape, s.escape);
        if (s.codice >= 0) {
            EXPECT_TRUE(HaRiga("Perform menu media selected by user"));
            EXPECT_TRUE(HaRiga("Perform media with code = " + std::to_string(s.codice)));
            EXPECT_TRUE(HaRiga("Perform Action media: nothing to do"));
        } else {
            EXPECT_TRUE(HaRiga("Abort media"));
            EXPECT_FALSE(HaRigaCheInizia("Perform media with code = "));
        }
        EXPECT_EQ(HaRiga("Wait end Action key"), true);
        if (s.variabile.empty()) {
            EXPECT_FALSE(EsisteFileProva(fileVariabile)) << "no choice stored";
        } else {
            bool erroreVariabile = false;
            EXPECT_EQ(LeggiVariabile(IdUltimoInput, erroreVariabile, false, true), s.variabile);
        }
    }
    ClockUseManual(true, 1000);
}

// The refusals of an item that cannot be chosen, by the test clock: the
// sound of each, heard on the thread of the menu.
std::vector<uint32_t> Rifiuti;
std::atomic<int> NumeroRifiuti{0};
void RegistraTono(int32_t frequenza, int32_t) {
    if (frequenza != 600) return;  // sound effect 3
    Rifiuti.push_back(ClockTick());
    ++NumeroRifiuti;
}

// Held on that item, Action (polled every 10 ms) and Enter (the keyboard's
// repeats) refuse again only at the pace of a held direction.
TEST_F(MenuGrafico, HeldActionOrEnterOnAnItemThatCannotBeChosenRepeatsAtTheHeldKeysPace) {
    const auto passi = [](const std::vector<uint32_t>& tick) {
        std::vector<uint32_t> p;
        for (size_t i = 1; i < tick.size(); ++i) p.push_back(tick[i] - tick[i - 1]);
        return p;
    };
    const std::string sezione = "#FLAGS#=10\r\n#PEN_COLOR#=255\r\n#PEN_SIZE#=3\r\n#BLINK_DELAY#=0\r\n#TOT_MENU#=2\r\n"
                                "#COLUMNS#=2\r\n#S_MENU#=0\r\n<MENU1>#BOUND#=0:0:500:500\r\n#MEDIA_CODE#=-2\r\n"
                                "<END_MENU1><MENU2>#BOUND#=500:0:1000:500\r\n#MEDIA_CODE#=10\r\n<END_MENU2>";
    void (*tono)(int32_t, int32_t) = EmettiTono;
    EmettiTono = RegistraTono;

    // Enter held: its first press refuses at once, its repeats every 30 ms
    // only each 100 ms or more.
    ASSERT_TRUE(SintassiGraphMenu(sezione));
    {
        Dialog_Titoli f;
        CaricaSenzaEseguire(f);
        f.MenuGraficoAttivo = true;
        f.VoceSelezionata = 0;
        Rifiuti.clear();
        f.TastoGraphMenu(VK_RETURN, false);
        EXPECT_EQ(Rifiuti.size(), 1u) << "a new press refuses at once";
        for (int i = 0; i < 33; ++i) {
            ClockAdvance(30);
            f.TastoGraphMenu(VK_RETURN, true);
        }
        EXPECT_GE(Rifiuti.size(), 5u);
        for (uint32_t passo : passi(Rifiuti)) EXPECT_GE(passo, 100u);
        EXPECT_FALSE(f.MenuGraficoFinito);
        f.MenuGraficoAttivo = false;
        f.Unload();
    }

    // Action held while the menu runs, until Escape ends it.
    MediaTrigger menu{};
    menu.MediaCode = 1;
    menu.TypeFlags = static_cast<int32_t>(BitGraphMenu) | BackgroundImage;
    menu.MediaFile = Bitmap("menu.bmp", 8, 8, SfondoMenu);
    menu.Options = EscapeBreaks;
    menu.Level = -1;
    menu.Syntax = "<GRAPH_MENU>" + sezione + "<END_GRAPH_MENU>";
    ListaMedia = {menu};
    HeaderMcf.TriggerCount = 1;
    MediaCorrente = menu;
    const WORD azione = TastoControllo(TastoGioco::Action);
    ASSERT_NE(azione, 0);
    Rifiuti.clear();
    NumeroRifiuti = 0;
    std::atomic<bool> finito{false};
    std::thread giocatore([&] {
        if (Attendi([&] { return finito || MenuInAscolto(); }) && !finito) {
            Premi(azione);
            Attendi([&] { return finito || NumeroRifiuti >= 6; });
            Rilascia(azione);
        }
        // The menu ends in any case.
        while (!finito) {
            Tasto(VK_ESCAPE, true);
            Tasto(VK_ESCAPE, false);
            Attendi([&] { return finito.load(); }, 2000);
        }
    });
    bool breakEscape = false, errore = false;
    EXPECT_FALSE(ShowMedia(breakEscape, errore));
    finito = true;
    giocatore.join();
    EmettiTono = tono;
    EXPECT_TRUE(breakEscape);
    EXPECT_GE(Rifiuti.size(), 6u);
    for (uint32_t passo : passi(Rifiuti)) EXPECT_GE(passo, 100u);
    EXPECT_FALSE(HaRigaCheInizia("Perform media with code = "));
}

TEST_F(MenuGrafico, TheEndOfTheGameEndsTheMenuWithoutAChoice) {
    // Out of preview, a game that has ended: the menu gives up at once, as
    // the dispatcher then does, with no media performed.
    FuoriGioco = false;
    HeaderMcf.HeaderOptions = ParolaOpzioni(OpzioneHeader::SharedMode);
    ProcessoGioco.hProcess = CreateEventA(nullptr, TRUE, TRUE, nullptr);
    MediaTrigger menu{};
    menu.MediaCode = 1;
    menu.TypeFlags = static_cast<int32_t>(BitGraphMenu) | BackgroundImage;
    menu.MediaFile = Bitmap("menu.bmp", 8, 8, SfondoMenu);
    menu.Level = -1;
    menu.Syntax = "<GRAPH_MENU>#FLAGS#=8\r\n#PEN_COLOR#=255\r\n#PEN_SIZE#=3\r\n#BLINK_DELAY#=0\r\n#TOT_MENU#=1\r\n"
                  "#COLUMNS#=1\r\n#S_MENU#=0\r\n<MENU1>#BOUND#=0:0:500:500\r\n#MEDIA_CODE#=10\r\n<END_MENU1>"
                  "<END_GRAPH_MENU>";
    MediaTrigger azione{};
    azione.MediaCode = 10;
    azione.TypeFlags = BitAction;
    azione.Level = -1;
    ListaMedia = {menu, azione};
    HeaderMcf.TriggerCount = 2;
    MediaCorrente = menu;
    menu.Options = EscapeBreaks;
    ListaMedia[0].Options = EscapeBreaks;
    MediaCorrente = menu;
    AzzeraLog();
    // A menu that missed the end would wait for ever: Escape ends the test.
    std::atomic<bool> finito{false}, escape{false};
    std::thread guardia([&] {
        if (Attendi([&] { return finito.load(); }, 20000)) return;
        escape = true;
        Tasto(VK_ESCAPE, true);
        Tasto(VK_ESCAPE, false);
    });
    bool breakEscape = false, errore = false;
    EXPECT_FALSE(ShowMedia(breakEscape, errore));
    finito = true;
    guardia.join();
    EXPECT_FALSE(escape) << "ended by the game's end, not by Escape";
    EXPECT_TRUE(breakEscape);
    EXPECT_TRUE(HaRiga("Wait end Action key")) << "the menu was waiting for the player";
    EXPECT_TRUE(HaRiga("Abort media"));
    EXPECT_FALSE(HaRiga("Perform media with code = 10"));
    CloseHandle(ProcessoGioco.hProcess);
    ProcessoGioco.hProcess = reinterpret_cast<void*>(1);
    HeaderMcf.HeaderOptions = 0;
    FuoriGioco = true;
}

}  // namespace
