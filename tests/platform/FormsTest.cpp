#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/Clock.h"
#include "platform/Forms.h"
#include "tests/support/TestFolders.h"

namespace {

class Registrata : public Form {
public:
    explicit Registrata(std::vector<std::string>& eventi) : Form("TestForm", "test"), eventi_(eventi) {}
    int16_t rifiuta = 0;
    int16_t ultimoModo = -1;

protected:
    void Form_Load() override { eventi_.push_back("load"); }
    void Form_QueryUnload(int16_t& Cancel, int16_t UnloadMode) override {
        eventi_.push_back("query");
        ultimoModo = UnloadMode;
        Cancel = rifiuta;
    }
    void Form_Unload(int16_t&) override { eventi_.push_back("unload"); }

private:
    std::vector<std::string>& eventi_;
};

// Pumps messages for about <ms> of real time.
void Pompa(DWORD ms) {
    const DWORD inizio = GetTickCount();
    while (GetTickCount() - inizio < ms) {
        DoEvents();
        Sleep(5);
    }
}

TEST(Forms, LoadAndUnloadRunTheirEventsInOrder) {
    std::vector<std::string> eventi;
    Registrata f(eventi);
    ASSERT_TRUE(f.Load());
    EXPECT_TRUE(f.Loaded());
    EXPECT_EQ(FormsAperti().size(), 1u);
    EXPECT_TRUE(f.Unload());
    EXPECT_FALSE(f.Loaded());
    EXPECT_TRUE(FormsAperti().empty());
    EXPECT_EQ(eventi, (std::vector<std::string>{"load", "query", "unload"}));
    EXPECT_EQ(f.ultimoModo, UnloadDaCodice);
}

TEST(Forms, QueryUnloadCanRefuse) {
    std::vector<std::string> eventi;
    Registrata f(eventi);
    f.Load();
    f.rifiuta = 1;
    EXPECT_FALSE(f.Unload());
    EXPECT_TRUE(f.Loaded());
    f.rifiuta = 0;
    EXPECT_TRUE(f.Unload());
}

TEST(Forms, CloseFromOutsideOfAHiddenWindowIsTheTaskManager) {
    std::vector<std::string> eventi;
    Registrata f(eventi);
    f.Load();
    PostMessageA(f.hWnd(), WM_CLOSE, 0, 0);
    Pompa(100);
    EXPECT_FALSE(f.Loaded());
    EXPECT_EQ(f.ultimoModo, UnloadDaTaskManager);
}

TEST(Forms, TheCloseOfItsMenuIsTheMenusAndABareCloseComesFromOutside) {
    struct Caso {
        const char* nome;
        bool visibile;
        UINT messaggio;
        WPARAM parametro;
        int16_t modo;
    };
    // The task manager posts a bare WM_CLOSE; the control menu and Alt+F4
    // go through the system command first.
    for (const Caso& c : {Caso{"menu of a visible window", true, WM_SYSCOMMAND, SC_CLOSE, UnloadDaMenu},
                          Caso{"task manager, visible window", true, WM_CLOSE, 0, UnloadDaTaskManager},
                          Caso{"task manager, hidden window", false, WM_CLOSE, 0, UnloadDaTaskManager}}) {
        std::vector<std::string> eventi;
        Registrata f(eventi);
        f.rifiuta = 1;
        if (c.visibile)
            f.Show();
        else
            f.Load();
        PostMessageA(f.hWnd(), c.messaggio, c.parametro, 0);
        Pompa(100);
        EXPECT_EQ(f.ultimoModo, c.modo) << c.nome;
        // Refused, then a close from outside: the menu's is not remembered.
        f.ultimoModo = -1;
        PostMessageA(f.hWnd(), WM_CLOSE, 0, 0);
        Pompa(100);
        EXPECT_EQ(f.ultimoModo, UnloadDaTaskManager) << c.nome;
        f.rifiuta = 0;
        f.Unload();
    }
}

TEST(Forms, TheTimersOfAnUnloadedWindowCountAsStopped) {
    std::vector<std::string> eventi;
    Registrata f(eventi);
    int scatti = 0;
    Timer t(f, 20, true, [&] { ++scatti; });
    f.Load();
    EXPECT_TRUE(t.Enabled());
    // Closed from outside while a wait polls the timer.
    PostMessageA(f.hWnd(), WM_CLOSE, 0, 0);
    const DWORD inizio = GetTickCount();
    while (t.Enabled() && GetTickCount() - inizio < 5000) {
        DoEvents();
        Sleep(5);
    }
    EXPECT_FALSE(f.Loaded());
    EXPECT_FALSE(t.Enabled());
    const int fermo = scatti;
    Pompa(100);
    EXPECT_EQ(scatti, fermo);
}

TEST(Forms, WindowsAndPictureBoxesCarryAFont) {
    class ConBox : public Form {
    public:
        ConBox() : Form("TestFont", ""), Box(*this) {}
        PictureBox Box;
    } f;
    f.Load();
    f.Box.Move(0, 0, 20, 20);
    HFONT creato = CreateFontA(12, 0, 0, 0, FW_NORMAL, 0, 0, 0, RUSSIAN_CHARSET, 0, 0, 0, 0, "Arial");
    for (HWND h : {f.hWnd(), f.Box.hWnd()}) {
        ASSERT_NE(h, nullptr);
        EXPECT_NE(SendMessageA(h, WM_GETFONT, 0, 0), 0);
        SendMessageA(h, WM_SETFONT, reinterpret_cast<WPARAM>(creato), FALSE);
        EXPECT_EQ(SendMessageA(h, WM_GETFONT, 0, 0), reinterpret_cast<LRESULT>(creato));
    }
    f.Unload();
    DeleteObject(creato);
}

// Clicks on a label and a button reach the form by their ids.
TEST(Forms, LabelsAndButtonsReportTheirClicksToTheirForm) {
    class ConControlli : public Form {
    public:
        ConControlli() : Form("TestControls", "") {}
        std::vector<int> clic;
        HWND etichetta = nullptr, pulsante = nullptr;

    protected:
        void Form_Load() override {
            etichetta = AggiungiEtichetta(7, "a link", 0, 0, 100, 20);
            pulsante = AggiungiPulsante(8, "Cancel", 0, 30, 80, 24);
        }
        bool MessaggioFinestra(UINT msg, WPARAM wp, LPARAM, LRESULT& result) override {
            if (msg != WM_COMMAND) return false;
            clic.push_back(LOWORD(wp) * 10 + HIWORD(wp));
            result = 0;
            return true;
        }
    } f;
    f.Show();
    ASSERT_NE(f.etichetta, nullptr);
    ASSERT_NE(f.pulsante, nullptr);
    EXPECT_EQ(GetParent(f.etichetta), f.hWnd());
    EXPECT_EQ(GetDlgCtrlID(f.pulsante), 8);
    char testo[32] = {};
    GetWindowTextA(f.etichetta, testo, sizeof testo);
    EXPECT_STREQ(testo, "a link");
    EXPECT_EQ(SendMessageA(f.etichetta, WM_GETFONT, 0, 0), SendMessageA(f.hWnd(), WM_GETFONT, 0, 0));
    SendMessageA(f.etichetta, WM_LBUTTONDOWN, MK_LBUTTON, 0);
    SendMessageA(f.pulsante, BM_CLICK, 0, 0);
    Pompa(50);
    EXPECT_EQ(f.clic, (std::vector<int>{70 + STN_CLICKED, 80 + BN_CLICKED}));
    f.Unload();
    EXPECT_FALSE(IsWindow(f.pulsante));
}

TEST(Forms, TimersFireOnlyWhileEnabledWithAnInterval) {
    std::vector<std::string> eventi;
    Registrata f(eventi);
    int scatti = 0, maiScatti = 0, spento = 0;
    Timer t(f, 20, true, [&] { ++scatti; });
    Timer zero(f, 0, true, [&] { ++maiScatti; });
    Timer disattivo(f, 20, false, [&] { ++spento; });
    f.Load();
    Pompa(300);
    EXPECT_GT(scatti, 2);
    EXPECT_EQ(maiScatti, 0);
    EXPECT_EQ(spento, 0);
    t.SetEnabled(false);
    const int fermo = scatti;
    Pompa(100);
    EXPECT_EQ(scatti, fermo);
    f.Unload();
}

TEST(Forms, UnloadInsideTheLoadEventEndsTheWindow) {
    class SubitoChiusa : public Form {
    protected:
        void Form_Load() override { Unload(); }
    } f;
    EXPECT_TRUE(f.Load());
    EXPECT_FALSE(f.Loaded());
    EXPECT_EQ(EseguiApplicazione(), 0);  // no window left: returns at once
}

// A borderless window at a known place of the screen, with one picture box
// filling it.
class ConPicture : public Form {
public:
    ConPicture() : Form("TestPicture", ""), Picture(*this) { ImpostaStile(WS_POPUP); }
    PictureBox Picture;
};

COLORREF PixelSchermo(int x, int y) {
    HDC schermo = GetDC(nullptr);
    const COLORREF c = GetPixel(schermo, x, y);
    ReleaseDC(nullptr, schermo);
    return c;
}

void Riempi(HDC dc, RECT r, COLORREF colore) {
    HBRUSH b = CreateSolidBrush(colore);
    FillRect(dc, &r, b);
    DeleteObject(b);
}

TEST(Forms, PictureBoxKeepsWhatIsDrawnThroughRepaintsAndResizes) {
    const COLORREF blu = RGB(0, 0, 255), rosso = RGB(255, 0, 0), verde = RGB(0, 255, 0);
    ConPicture f;
    f.Picture.BackColor = blu;
    ASSERT_TRUE(f.Load());
    f.Move(40, 40, 200, 100);
    f.Picture.Move(0, 0, 200, 100);
    ASSERT_NE(f.Picture.hDC(), nullptr);
    Riempi(f.Picture.hDC(), {10, 10, 50, 50}, rosso);
    f.Show();
    SetWindowPos(f.hWnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    Pompa(100);
    EXPECT_EQ(PixelSchermo(60, 60), rosso);
    EXPECT_EQ(PixelSchermo(140, 90), blu);

    // Drawn now, on the screen after Refresh (Wine shows it once its
    // thread lets messages run).
    Riempi(f.Picture.hDC(), {100, 10, 150, 50}, verde);
    Pompa(50);
    EXPECT_EQ(PixelSchermo(160, 60), blu);
    f.Picture.Refresh();
    Pompa(50);
    EXPECT_EQ(PixelSchermo(160, 60), verde);

    // A repaint comes from the bitmap.
    InvalidateRect(f.Picture.hWnd(), nullptr, TRUE);
    Pompa(100);
    EXPECT_EQ(PixelSchermo(60, 60), rosso);
    EXPECT_EQ(PixelSchermo(160, 60), verde);

    // A larger box keeps the drawing and fills the new part.
    f.Move(40, 40, 300, 150);
    f.Picture.Move(0, 0, 300, 150);
    EXPECT_EQ(f.Picture.Larghezza(), 300);
    f.Picture.Refresh();
    Pompa(50);
    EXPECT_EQ(PixelSchermo(60, 60), rosso);
    EXPECT_EQ(PixelSchermo(300, 170), blu);
    EXPECT_EQ(GetPixel(f.Picture.hDC(), 280, 140), blu);

    // Text is drawn in ForeColor over what is there.
    f.Picture.ForeColor = RGB(255, 255, 0);
    RECT riga{200, 10, 300, 60};
    HGDIOBJ vecchio = SelectObject(f.Picture.hDC(), GetStockObject(SYSTEM_FONT));
    DrawTextA(f.Picture.hDC(), "MMMM", -1, &riga, DT_LEFT | DT_TOP | DT_NOPREFIX);
    SelectObject(f.Picture.hDC(), vecchio);
    int gialli = 0, blu_ = 0;
    for (int y = 10; y < 30; ++y)
        for (int x = 200; x < 260; ++x) {
            const COLORREF c = GetPixel(f.Picture.hDC(), x, y);
            gialli += c == RGB(255, 255, 0);
            blu_ += c == blu;
        }
    EXPECT_GT(gialli, 20);
    EXPECT_GT(blu_, 20) << "the text's background is not painted";

    f.Picture.Cls();
    EXPECT_EQ(GetPixel(f.Picture.hDC(), 20, 20), blu);
    f.Unload();
    EXPECT_EQ(f.Picture.hWnd(), nullptr);
}

// A window shown modally that, on its first tick, records what it saw and
// unloads itself, after showing an inner modal window when asked.
class Modale : public Form {
public:
    Modale(std::vector<std::string>& eventi, std::string nome, std::vector<Form*> osservate, Modale* dentro)
        : Form("TestModale", nome),
          interna(dentro),
          eventi_(eventi),
          nome_(std::move(nome)),
          osservate_(std::move(osservate)),
          tick_(*this, 10, true, [this] { Tick(); }) {}
    Modale* interna;

private:
    void Tick() {
        tick_.SetEnabled(false);
        std::string stato = nome_ + ":";
        for (Form* f : osservate_) stato += IsWindowEnabled(f->hWnd()) ? " on" : " off";
        eventi_.push_back(stato);
        if (interna) {
            interna->MostraModale();
            eventi_.push_back(nome_ + " again:" + (IsWindowEnabled(hWnd()) ? " on" : " off"));
        }
        Unload();
    }

    std::vector<std::string>& eventi_;
    std::string nome_;
    std::vector<Form*> osservate_;
    Timer tick_;
};

TEST(Forms, ModalShowingKeepsTheOtherWindowsFromInputUntilItUnloads) {
    std::vector<std::string> eventi;
    Registrata principale(eventi);
    Registrata nascosta(eventi);
    ASSERT_TRUE(principale.Load());
    ASSERT_TRUE(nascosta.Load());
    principale.Show();
    EnableWindow(nascosta.hWnd(), FALSE);

    Modale prima(eventi, "first", {&principale, &nascosta}, nullptr);
    Modale interna(eventi, "inner", {&principale, &prima}, nullptr);
    prima.interna = &interna;
    eventi.clear();
    prima.MostraModale();
    EXPECT_FALSE(prima.Loaded());
    EXPECT_FALSE(interna.Loaded());
    EXPECT_EQ(eventi, (std::vector<std::string>{"first: off off", "inner: off off", "first again: on"}));
    EXPECT_TRUE(IsWindowEnabled(principale.hWnd()));
    EXPECT_FALSE(IsWindowEnabled(nascosta.hWnd())) << "disabled before, disabled after";
    principale.Unload();
    nascosta.Unload();
}

TEST(Clock, ManualClockMakesWaitsInstant) {
    ClockUseManual(true, 100);
    ClockSleep(60000);
    EXPECT_EQ(ClockTick(), 60100u);
    ClockAdvance(5);
    EXPECT_EQ(ClockTick(), 60105u);
    ClockUseManual(false);
    const uint32_t prima = ClockTick();
    ClockSleep(100);
    EXPECT_GE(ClockTick() - prima, 50u);
}

TEST(Forms, InstanceNameIsTheSameForEverySpellingOfTheProgramPath) {
    CartellaProva dir{"ist"};
    const std::string cartella = dir / "Tomb Raider Level Editor";
    const std::string lungo = cartella + "\\Ludovane Level Launcher.exe";
    ASSERT_TRUE(CreateDirectoryA(cartella.c_str(), nullptr));
    ASSERT_TRUE(ScriviFileProva(lungo, "MZ"));
    char corto[MAX_PATH] = {};
    ASSERT_GT(GetShortPathNameA(lungo.c_str(), corto, MAX_PATH), 0u);
    ASSERT_EQ(std::string(corto).find("Launcher"), std::string::npos) << corto;
    std::string minuscolo = lungo;
    for (char& c : minuscolo) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));

    const std::string nome = NomeIstanza(lungo);
    for (const std::string& altro :
         {std::string(corto), minuscolo, cartella + "\\..\\Tomb Raider Level Editor\\Ludovane Level Launcher.exe"})
        EXPECT_EQ(NomeIstanza(altro), nome) << altro;
    EXPECT_NE(NomeIstanza(dir / "Ludovane.exe"), nome);
    EXPECT_LT(nome.size(), static_cast<size_t>(MAX_PATH));
    EXPECT_EQ(nome.find('\\'), std::string::npos) << "a backslash would name a namespace";
}

}  // namespace
