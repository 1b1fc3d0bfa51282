// The inventory watch on a window of the test standing for the game's, at
// the top-left of the screen, whose top row the test paints.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "core/ImageFormats.h"
#include "core/MediaConfig.h"
#include "core/SystemUtils.h"
#include "gamerun/InventoryWatch.h"
#include "savegames/SavegameFile.h"
#include "tests/gamerun/GameScript.h"

namespace {

using namespace giocoprova;
using enum LoggerFase;
constexpr uint8_t N = NessunValore;

constexpr int Larghezza = 40, Altezza = 20;
constexpr COLORREF Grigio = RGB(128, 128, 128), Nero = RGB(0, 0, 0), Rosso = RGB(200, 40, 40);
constexpr UINT Ridipingi = WM_APP, Esegui = WM_APP + 1;

// What the window shows: its top row, one pixel of that row, the rest.
struct Pittura {
    COLORREF Riga = Grigio;
    int PuntoX = -1;
    COLORREF Punto = Nero;
    COLORREF Resto = Rosso;
    RECT Giallo{0, 0, 0, 0};  // an item name
};
Pittura pittura;
std::function<void()> allaPompa;
bool azionePremuta = false;
std::vector<WPARAM> tastiRicevuti;

void Riempi(HDC dc, int x, int y, int w, int h, COLORREF colore) {
    HBRUSH b = CreateSolidBrush(colore);
    RECT r{x, y, x + w, y + h};
    FillRect(dc, &r, b);
    DeleteObject(b);
}

LRESULT CALLBACK ProceduraGioco(HWND h, UINT m, WPARAM wp, LPARAM lp) {
    switch (m) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(h, &ps);
        Riempi(dc, 0, 0, Larghezza, Altezza, pittura.Resto);
        Riempi(dc, 0, 0, Larghezza, 1, pittura.Riga);
        if (pittura.PuntoX >= 0) SetPixel(dc, pittura.PuntoX, 0, pittura.Punto);
        const RECT& g = pittura.Giallo;
        Riempi(dc, g.left, g.top, g.right - g.left, g.bottom - g.top, RGB(230, 190, 0));
        EndPaint(h, &ps);
        return 0;
    }
    case WM_ERASEBKGND:
        return 1;
    case WM_KEYDOWN:
    case WM_KEYUP:
        tastiRicevuti.push_back(wp);
        return 0;
    case Ridipingi:
        pittura = Pittura{static_cast<COLORREF>(wp)};
        RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        GdiFlush();
        return 0;
    case Esegui:
        if (allaPompa) allaPompa();
        return 0;
    default:
        return DefWindowProcA(h, m, wp, lp);
    }
}

class Inventario : public ProvaGioco {
protected:
    void SetUp() override {
        ProvaGioco::SetUp();
        allaPompa = nullptr;
        azionePremuta = false;
        tastiRicevuti.clear();
        WNDCLASSA wc{};
        wc.lpfnWndProc = ProceduraGioco;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "ProvaInventario";
        RegisterClassA(&wc);
        finestra = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, "ProvaInventario", "Tomb Raider",
                                   WS_POPUP | WS_VISIBLE, 0, 0, Larghezza, Altezza, nullptr, nullptr, wc.hInstance,
                                   nullptr);
        ASSERT_TRUE(finestra);
        FinestraGioco = finestra;
        Dipingi(Pittura{});
        TastiAzioneGioco = [](int16_t& tasto, int16_t& predefinito) {
            tasto = 0x1D;
            predefinito = 0x39;
            return true;
        };
        ControlloGiocoPremuto = [](int16_t, int16_t) -> int16_t { return azionePremuta ? -1 : 0; };
    }
    void TearDown() override {
        DestroyWindow(finestra);
        DoEvents();
        FinestraGioco = nullptr;
        allaPompa = nullptr;
        TastiAzioneGioco = nullptr;
        ControlloGiocoPremuto = nullptr;
        for (int n = 0; n < 3; ++n) DeleteFileA(PercorsoSavegame(n).c_str());
        ProvaGioco::TearDown();
    }

    void Dipingi(const Pittura& p) {
        // What an earlier watch left in the queue goes first.
        DoEvents();
        allaPompa = nullptr;
        pittura = p;
        SetWindowPos(finestra, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        RedrawWindow(finestra, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        GdiFlush();
        DoEvents();
    }
    // At the end of the watch's first cycle, when it pumps events, the row
    // turns to this colour and then the action runs.
    void AllaFineDelPrimoCiclo(COLORREF riga, std::function<void()> azione = nullptr) {
        PostMessageA(finestra, Ridipingi, riga, 0);
        allaPompa = std::move(azione);
        PostMessageA(finestra, Esegui, 0, 0);
    }
    static void Savegame(int32_t slot, int32_t numero) {
        std::string dati(DimensioneSavegame, '\0');
        for (int i = 0; i < 4; ++i) dati[OffsetNumeroSavegame + i] = static_cast<char>((numero >> (8 * i)) & 0xFF);
        ASSERT_TRUE(ScriviFileProva(PercorsoSavegame(slot), dati));
    }

    HWND finestra = nullptr;
};

TEST_F(Inventario, AGreyTopRowIsTheInventory) {
    struct Caso {
        const char* nome;
        Pittura pittura;
        bool accettaNero;
        bool atteso;
        bool tuttoNero;
    };
    const Caso casi[] = {
        {"mid-grey row", {Grigio}, false, true, false},
        {"light grey row", {RGB(230, 230, 230), -1, Nero, Grigio}, false, true, false},
        {"one coloured pixel", {Grigio, 17, Rosso}, false, false, false},
        {"an almost grey pixel", {Grigio, 3, RGB(128, 128, 129)}, false, false, false},
        {"a coloured pixel where the row ends", {Grigio, Larghezza - 2, Rosso}, false, false, false},
        {"the last column is not looked at", {Grigio, Larghezza - 1, Rosso}, false, true, false},
        {"all black", {Nero, -1, Nero, Grigio}, false, false, true},
        {"all black, accepted", {Nero}, true, true, true},
        {"black with one grey pixel", {Nero, 5, Grigio}, false, true, false},
        {"a coloured row over a grey picture", {Rosso, -1, Nero, Grigio}, true, false, false},
    };
    for (const Caso& c : casi) {
        SCOPED_TRACE(c.nome);
        AzzeraLog();
        Dipingi(c.pittura);
        bool tuttoNero = !c.tuttoNero;
        EXPECT_EQ(IsInventoryMode(c.accettaNero, tuttoNero, false), c.atteso);
        EXPECT_EQ(tuttoNero, c.tuttoNero);
        EXPECT_EQ(HaRiga("Inventory phase"), c.atteso);
        EXPECT_EQ(HaRiga("All black"), c.tuttoNero && !c.atteso);
    }
}

TEST_F(Inventario, WithTheLoggerItsInventoryPhaseAloneDecides) {
    ConLogger();
    bool tuttoNero = true;
    Registra({Record({}, N, 1, EventoNullo)});
    EXPECT_FALSE(IsInventoryMode(true, tuttoNero, false));
    EXPECT_FALSE(tuttoNero);

    Dipingi(Pittura{Rosso});
    Registra({Record(Inventory, N, 1, StartInventory)});
    EXPECT_TRUE(IsInventoryMode(false, tuttoNero, false));
    EXPECT_TRUE(HaRiga("Inventory phase"));
    // Asked for, the screen still tells.
    EXPECT_FALSE(IsInventoryMode(false, tuttoNero, true));
}

TEST_F(Inventario, TheWatchHoldsWhileTheInventoryIsOpen) {
    struct Caso {
        const char* nome;
        std::function<void()> prepara;
        int32_t ms;
    };
    const Caso casi[] = {
        {"a coloured row: not open", [this] { Dipingi(Pittura{Rosso}); }, 0},
        {"an all-black first look: not open", [this] { Dipingi(Pittura{Nero}); }, 0},
        {"three all-black cycles close it", [this] { AllaFineDelPrimoCiclo(Nero); }, 200},
        {"a level loads on a black screen",
         [this] {
             CaricaLivello(1);
             AllaFineDelPrimoCiclo(Nero);
         },
         50},
        {"the game ends", [this] { AllaFineDelPrimoCiclo(Grigio, [this] { FineGioco(); }); }, 50},
    };
    for (const Caso& c : casi) {
        SCOPED_TRACE(c.nome);
        AzzeraLog();
        Dipingi(Pittura{});
        c.prepara();
        const uint32_t inizio = ClockTick();
        EXPECT_EQ(StopInventoryMode(), c.ms);
        EXPECT_EQ(ClockTick() - inizio, static_cast<uint32_t>(c.ms));
    }
    EXPECT_EQ(LivelloCorrente, 1);
}

TEST_F(Inventario, TheActionKeyCapturesTheItemUnlessALevelLoads) {
    struct Caso {
        const char* nome;
        std::vector<MediaTrigger> media;
        bool alert;
        bool caricamento;
        bool azione;   // the key is looked at
        bool cattura;  // the item is captured
        int32_t caricati = -1;  // the records loaded; -1 all, the others a spare one
    };
    const MediaTrigger action = Trigger(1, TriggerCdNessuno, 0, QualsiasiLivello, BitAction);
    const Caso casi[] = {
        {"an action media", {action}, false, false, true, true},
        {"a level loads", {action}, false, true, true, false},
        {"an action media of this level", {Trigger(1, TriggerCdNessuno, 0, 2, BitAction)}, false, false, true, true},
        {"only another level's", {Trigger(1, TriggerCdNessuno, 0, 1, BitAction)}, false, false, false, false},
        {"only a disabled one", {Trigger(1, TriggerCdNessuno, Disabled, -1, BitAction)}, false, false, false, false},
        {"an alert runs", {action}, true, false, false, false},
        {"no action media", {Trigger(1, TriggerCdNessuno)}, false, false, false, false},
        {"only in the spare record", {Trigger(1, TriggerCdNessuno), action}, false, false, false, false, 1},
    };
    azionePremuta = true;
    for (const Caso& c : casi) {
        SCOPED_TRACE(c.nome);
        AzzeraLog();
        ListaMedia = c.media;
        HeaderMcf.TriggerCount = c.caricati < 0 ? static_cast<int32_t>(c.media.size()) : c.caricati;
        LivelloCorrente = 2;
        ModificheAvvio = c.alert ? AlertInCorso : 0;
        for (HANDLE h : tenuti) CloseHandle(h);
        tenuti.clear();
        if (c.caricamento) CaricaLivello(1);
        Dipingi(Pittura{});
        AllaFineDelPrimoCiclo(Nero);
        StopInventoryMode();
        EXPECT_TRUE(HaRiga("Inventory phase"));
        EXPECT_EQ(HaRiga("Detected Action command"), c.azione);
        EXPECT_EQ(HaRiga("Ignore: is action command for load game"), c.caricamento);
        EXPECT_EQ(HaRiga("Failed capture: no yellow pixel"), c.cattura);
        // The key that leaves for a load ends the watch in its first cycle.
        EXPECT_EQ(ContaRighe("Inventory phase"), c.caricamento ? 1 : 5);
    }
}

TEST_F(Inventario, TheItemNameOfTheWindowedGamePerformsTheFirstMatchingActionMedia) {
    // The item name of a 40 x 20 picture lies in 13,5 - 27,7: 8 x 2 yellow
    // pixels there, and in a reference bitmap at 3,4.
    const std::string riferimento = CartellaTrle + "\\nome.bmp";
    const std::string giallo("\x00\xBE\xE6", 3);
    std::string bgr(20 * 10 * 3, '\0');
    for (int y = 4; y < 6; ++y)
        for (int x = 3; x < 11; ++x) bgr.replace(static_cast<size_t>((y * 20 + x) * 3), 3, giallo);
    ASSERT_TRUE(ScriviFileProva(riferimento, ComponiBmp24(20, 10, bgr)));
    const std::string sezione = "<ACTION>\r\n#FLAGS#=0\r\n#MEDIA_CODE#=77\r\n#TOLLERANCE#=0\r\n#M_POINTS#=0\r\n"
                                "#IMAGE#=" + riferimento + "\r\n#BOUND#=3:4:10:5\r\n<END_ACTION>\r\n";
    ListaMedia = {Trigger(1, TriggerCdNessuno, 0, QualsiasiLivello, BitAction),
                  Trigger(2, TriggerCdNessuno, 0, QualsiasiLivello, BitAction)};
    for (MediaTrigger& m : ListaMedia) m.Syntax = sezione;
    HeaderMcf.TriggerCount = 2;
    HeaderMcf.HeaderOptions = ParolaOpzioni(OpzioneHeader::SharedMode);
    azionePremuta = true;
    Dipingi(Pittura{Grigio, -1, Nero, Rosso, {15, 5, 23, 7}});
    AllaFineDelPrimoCiclo(Nero);
    StopInventoryMode();
    EXPECT_TRUE(HaRiga("Bound yellow text: 2,0 - 9,1"));
    EXPECT_TRUE(HaRiga("Captured pattern image"));
    // The second media with the same image is not compared.
    EXPECT_EQ(ContaRighe("Verify for matching"), 1);
    EXPECT_TRUE(HaRiga("Comparison for Media Action code = 1"));
    EXPECT_TRUE(HaRiga("Images match: start media code = 77"));
    // The name gone, the key still down: nothing to capture.
    EXPECT_TRUE(HaRiga("Failed capture: no yellow pixel"));
    DeleteFileA(riferimento.c_str());
}

TEST_F(Inventario, AnAlertsInventoryTimeCountsOnlyWhenTheGameWasSaved) {
    for (bool salva : {false, true}) {
        SCOPED_TRACE(salva ? "saved" : "not saved");
        AzzeraLog();
        Savegame(1, 3);
        ModificheAvvio = AlertInCorso;
        DialogCover().Show();
        Dipingi(Pittura{});
        bool coperto = true;
        AllaFineDelPrimoCiclo(Nero, [&] {
            coperto = CoverVisibile();
            // Saving takes the player a while; the cache reads the folder at
            // most once a second.
            if (salva) {
                Savegame(2, 4);
                ClockAdvance(1000);
            }
        });
        const uint32_t inizio = ClockTick();
        StopInventoryMode();
        EXPECT_FALSE(coperto);
        EXPECT_TRUE(CoverVisibile());
        EXPECT_EQ(TickInizioInventario, inizio);
        EXPECT_TRUE(HaRiga("Set start time inventory"));
        EXPECT_TRUE(HaRiga("Current last savegame: " + PercorsoSavegame(1)));
        EXPECT_TRUE(HaRiga("Exit from inventory with last savegame: " + PercorsoSavegame(salva ? 2 : 1)));
        EXPECT_EQ(HaRiga("User has saved the game: sign inventory time for suspend mode"), salva);
        EXPECT_EQ(HaRiga("No saving game operation: ignore inventory time for suspend mode"), !salva);
        EXPECT_EQ(HaBit(ModificheAvvio, TempoInventarioInCorso), salva);
        DeleteFileA(PercorsoSavegame(2).c_str());
    }
}

TEST_F(Inventario, WithoutSavegamesTheInventoryTimeIsStillTimed) {
    ModificheAvvio = AlertInCorso;
    AllaFineDelPrimoCiclo(Nero);
    StopInventoryMode();
    EXPECT_TRUE(HaRiga("No savegame in trle folder"));
    EXPECT_TRUE(HaRiga("No saving game operation: ignore inventory time for suspend mode"));
    EXPECT_FALSE(HaBit(ModificheAvvio, TempoInventarioInCorso));
}

TEST_F(Inventario, TheProgressTestGivesTheTimeSpentInTheInventory) {
    ConLogger();
    Registra({Record(Inventory, N, 1, StartInventory)});
    const auto chiudi = [this] { Registra({Record({}, N, 1, EndInventory)}); };
    bool interrompi = true;
    // The game has the focus: a key sent to it (an Escape would close its inventory) arrives here.
    SetForegroundWindow(finestra);
    SetFocus(finestra);
    DoEvents();
    tastiRicevuti.clear();
    AllaFineDelPrimoCiclo(Grigio, chiudi);
    EXPECT_EQ(AnalisiGameProgress(interrompi, -1, false), 50);
    EXPECT_FALSE(interrompi);
    DoEvents();
    EXPECT_TRUE(tastiRicevuti.empty());

    // A level that turns the watch off is not watched at all.
    Registra({Record(Inventory, N, 1, StartInventory)});
    HeaderMcf.HeaderOptions = ParolaOpzioni(OpzioneHeader::NoInventoryWatch);
    AzzeraLog();
    EXPECT_EQ(AnalisiGameProgress(interrompi, -1, false), 0);
    EXPECT_FALSE(HaRiga("Inventory phase"));
}

}  // namespace
