// Each kind of picture-and-text media performed in a real media window over
// the desktop, its pixels read back from the screen while it runs.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "core/ImageFormats.h"
#include "core/MediaTrigger.h"
#include "core/ModuleInit.h"
#include "core/SharedState.h"
#include "core/Utf8Text.h"
#include "media/MediaWindow.h"
#include "platform/Clock.h"
#include "tests/support/TestFolders.h"

namespace {

constexpr COLORREF Blu = RGB(0, 0, 160);
constexpr COLORREF Rosso = RGB(200, 0, 0);
constexpr COLORREF Verde = RGB(0, 150, 0);
constexpr COLORREF Bianco = RGB(255, 255, 255);
constexpr int32_t CarattereGrande = 19;  // 20 characters across the window

// The screen's pixels as COLORREF values, row after row.
struct Cattura {
    int32_t larghezza = 0, altezza = 0;
    std::vector<COLORREF> pixel;
    COLORREF At(int32_t x, int32_t y) const { return pixel[static_cast<size_t>(y) * larghezza + x]; }
    bool Vuota() const { return pixel.empty(); }
};

// A memory surface of 32-bit pixels, top row first, selected into its own
// device context; Leggi turns them into COLORREF values.
struct Superficie32 {
    HDC dc = nullptr;
    HBITMAP bmp = nullptr;
    HGDIOBJ vecchia = nullptr;
    const uint32_t* bits = nullptr;
    Superficie32(HDC compatibile, int32_t larghezza, int32_t altezza) {
        dc = CreateCompatibleDC(compatibile);
        BITMAPINFO bi{};
        bi.bmiHeader.biSize = sizeof bi.bmiHeader;
        bi.bmiHeader.biWidth = larghezza;
        bi.bmiHeader.biHeight = -altezza;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        void* p = nullptr;
        bmp = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &p, nullptr, 0);
        bits = static_cast<const uint32_t*>(p);
        vecchia = SelectObject(dc, bmp);
    }
    ~Superficie32() {
        SelectObject(dc, vecchia);
        DeleteObject(bmp);
        DeleteDC(dc);
    }
    Superficie32(const Superficie32&) = delete;
    Superficie32& operator=(const Superficie32&) = delete;
    void Leggi(Cattura& c) const {
        GdiFlush();
        c.pixel.resize(static_cast<size_t>(c.larghezza) * c.altezza);
        for (size_t i = 0; i < c.pixel.size(); ++i)
            c.pixel[i] = RGB((bits[i] >> 16) & 0xFF, (bits[i] >> 8) & 0xFF, bits[i] & 0xFF);
    }
};

Cattura CatturaSchermo() {
    Cattura c;
    c.larghezza = GetSystemMetrics(SM_CXSCREEN);
    c.altezza = GetSystemMetrics(SM_CYSCREEN);
    HDC schermo = GetDC(nullptr);
    {
        Superficie32 memoria(schermo, c.larghezza, c.altezza);
        BitBlt(memoria.dc, 0, 0, c.larghezza, c.altezza, schermo, 0, 0, SRCCOPY);
        memoria.Leggi(c);
    }
    ReleaseDC(nullptr, schermo);
    return c;
}

// Pixels of one colour inside and outside a rectangle (right and bottom
// excluded).
struct Conteggio {
    int64_t dentro = 0, fuori = 0;
};
Conteggio ContaColore(const Cattura& c, COLORREF colore, const RECT& r) {
    Conteggio n;
    for (int32_t y = 0; y < c.altezza; ++y)
        for (int32_t x = 0; x < c.larghezza; ++x)
            if (c.At(x, y) == colore) (x >= r.left && x < r.right && y >= r.top && y < r.bottom ? n.dentro : n.fuori)++;
    return n;
}

// The topmost row holding the colour, -1 when none does.
int32_t PrimaRiga(const Cattura& c, COLORREF colore) {
    for (int32_t y = 0; y < c.altezza; ++y)
        for (int32_t x = 0; x < c.larghezza; ++x)
            if (c.At(x, y) == colore) return y;
    return -1;
}

std::string PixelBgr(int32_t larghezza, int32_t altezza, COLORREF colore) {
    std::string riga;
    for (int32_t x = 0; x < larghezza; ++x) {
        riga += static_cast<char>(GetBValue(colore));
        riga += static_cast<char>(GetGValue(colore));
        riga += static_cast<char>(GetRValue(colore));
    }
    std::string tutto;
    for (int32_t y = 0; y < altezza; ++y) tutto += riga;
    return tutto;
}

// The window's own rectangle in pixels for a rectangle in thousandths.
RECT InPixel(const Rettangolo& m) {
    const int32_t w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    const auto scala = [](int32_t v, int32_t lato) { return static_cast<LONG>(std::nearbyint(v * lato / 1000.0)); };
    return RECT{scala(m.Left, w), scala(m.Top, h), scala(m.Right, w), scala(m.Bottom, h)};
}

// A rectangle grown on every side, so that rounding at its border does not
// count.
RECT Allargato(RECT r, int32_t margine) {
    return RECT{r.left - margine, r.top - margine, r.right + margine, r.bottom + margine};
}

class MediaKinds : public testing::Test {
protected:
    void SetUp() override {
        salvati_ = {NomiFont, SchermoX, SchermoY, FuoriGioco, MediaCorrente, FinestraMediaTitoli};
        NomiFont = {"Courier New", "Arial"};
        SchermoX = GetSystemMetrics(SM_CXSCREEN);
        SchermoY = GetSystemMetrics(SM_CYSCREEN);
        FuoriGioco = true;
        MediaCorrente = MediaTrigger{};
        MediaCorrente.TriggerCd = TriggerCdNessuno;
        MediaCorrente.Level = QualsiasiLivello;
        Formato().Color = static_cast<int32_t>(Bianco);
        Formato().CharRow = CarattereGrande;
        Formato().Font = 1;
    }
    void TearDown() override {
        NomiFont = salvati_.nomi;
        SchermoX = salvati_.x;
        SchermoY = salvati_.y;
        FuoriGioco = salvati_.fuori;
        MediaCorrente = salvati_.media;
        FinestraMediaTitoli = salvati_.finestra;
    }

    TextFormat& Formato() { return MediaCorrente.Formato; }

    std::string Immagine(const std::string& nome, COLORREF colore) {
        const std::string percorso = cartella_ / nome;
        EXPECT_TRUE(ScriviFileProva(percorso, ComponiBmp24(64, 48, PixelBgr(64, 48, colore))));
        return percorso;
    }

    // Performs MediaCorrente in its window; each capture is taken that many
    // ms after the window has appeared, and handed to <dopo> while the
    // window is still up.
    struct Esito {
        bool abort = true, errore = true;
        uint32_t durata = 0;
    };
    using DopoCattura = std::function<void(const Dialog_Titoli&, size_t, const Cattura&)>;
    Esito Esegui(const std::vector<uint32_t>& istanti, std::vector<Cattura>& catture, DopoCattura dopo = nullptr) {
        catture.assign(istanti.size(), Cattura{});
        std::atomic<bool> finito{false};
        std::atomic<const Dialog_Titoli*> aperta{nullptr};
        std::thread fotografo([&] {
            const DWORD limite = GetTickCount() + 10000;
            while (!finito && GetTickCount() < limite) {
                HWND finestra = FindWindowA("LudovaneTitoli", nullptr);
                if (finestra && IsWindowVisible(finestra)) break;
                Sleep(5);
            }
            const DWORD apparsa = GetTickCount();
            for (size_t i = 0; i < istanti.size() && !finito; ++i) {
                while (!finito && GetTickCount() - apparsa < istanti[i]) Sleep(5);
                if (finito) break;
                catture[i] = CatturaSchermo();
                if (dopo && !finito) dopo(*aperta.load(), i, catture[i]);
            }
        });
        Esito e;
        const DWORD inizio = GetTickCount();
        {
            Dialog_Titoli finestra;
            aperta = &finestra;
            finestra.ImpostaValori();
            finestra.MostraModale();
            e.abort = finestra.AbortEscape;
            e.errore = finestra.ErroreMedia;
            e.durata = GetTickCount() - inizio;
            finito = true;
            fotografo.join();
        }
        return e;
    }

    CartellaProva cartella_{"mk"};

private:
    struct {
        std::vector<std::string> nomi;
        int32_t x, y;
        bool fuori;
        MediaTrigger media;
        int32_t finestra;
    } salvati_;
};

TEST_F(MediaKinds, AFixedTextIsWrittenInsideItsRectangleOverThePictureAndHeld) {
    MediaCorrente.TypeFlags = FixedText | BackgroundImage;
    MediaCorrente.MediaFile = Immagine("blu.bmp", Blu);
    MediaCorrente.Text = "<TEXT>WWW MMM WWW MMM WWW MMM<END_TEXT>";
    MediaCorrente.Duration = 2;
    Formato().BoundRect = {100, 200, 600, 500};
    std::vector<Cattura> catture;
    const Esito e = Esegui({1000}, catture);
    EXPECT_FALSE(e.abort);
    EXPECT_FALSE(e.errore);
    // Held until its elapsed seconds, rounded, reach two: from 1.5 s on.
    EXPECT_GE(e.durata, 1450u);
    EXPECT_LT(e.durata, 5000u);
    ASSERT_FALSE(catture[0].Vuota());
    const RECT r = InPixel(Formato().BoundRect);
    const Conteggio testo = ContaColore(catture[0], Bianco, Allargato(r, 1));
    EXPECT_GT(testo.dentro, 200);
    EXPECT_EQ(testo.fuori, 0);
    // The picture is stretched over the whole window: outside the text
    // everything is its colour.
    const RECT fuori = Allargato(r, 2);
    const Conteggio sfondo = ContaColore(catture[0], Blu, fuori);
    EXPECT_EQ(sfondo.fuori, int64_t{catture[0].larghezza} * catture[0].altezza -
                                int64_t{fuori.right - fuori.left} * (fuori.bottom - fuori.top));
}

TEST_F(MediaKinds, AScrollingTextMovesUpInsideItsClip) {
    MediaCorrente.TypeFlags = ScrollText | BackgroundImage;
    MediaCorrente.MediaFile = Immagine("verde.bmp", Verde);
    MediaCorrente.Text = "<TEXT>MMMM WWWW\r\nWWWW MMMM\r\nMMMM WWWW<END_TEXT>";
    Formato().BoundRect = {200, 100, 800, 900};
    // Two pixels a step, a step every 10 ms: the whole run takes some 4 s.
    Formato().ScrollStep = GetSystemMetrics(SM_CYSCREEN) / 2;
    Formato().ScrollDelay = 10;
    std::vector<Cattura> catture;
    const Esito e = Esegui({1200, 1700}, catture);
    EXPECT_FALSE(e.errore);
    ASSERT_FALSE(catture[1].Vuota());
    const RECT clip = InPixel(Formato().BoundRect);
    int32_t righe[2];
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(i);
        const Conteggio testo = ContaColore(catture[i], Bianco, Allargato(clip, 1));
        EXPECT_GT(testo.dentro, 100);
        EXPECT_EQ(testo.fuori, 0);
        righe[i] = PrimaRiga(catture[i], Bianco);
    }
    // Half a second at 2 pixels each 10 ms: some 100 pixels higher.
    EXPECT_LT(righe[1], righe[0] - 30);
    EXPECT_GT(righe[1], righe[0] - 200);
}

TEST_F(MediaKinds, AScrollStepOfZeroStillScrollsOnePixelAStep) {
    MediaCorrente.TypeFlags = ScrollText;
    MediaCorrente.BackColor = static_cast<int32_t>(Blu);
    MediaCorrente.Text = "<TEXT>MMMM<END_TEXT>";
    Formato().BoundRect = {0, 900, 1000, 1000};
    Formato().ScrollStep = 0;
    Formato().ScrollDelay = 1;
    // Flag 0x4: the scroll stops once the text is all in view, then 2 s.
    Formato().Flags = 0x4;
    std::vector<Cattura> catture;
    const Esito e = Esegui({}, catture);
    EXPECT_FALSE(e.errore);
    EXPECT_GE(e.durata, 2000u);
    EXPECT_LT(e.durata, 8000u);
}

TEST_F(MediaKinds, AScrollPaceOfZeroStillRestsAtEveryStep) {
    MediaCorrente.TypeFlags = ScrollText;
    MediaCorrente.BackColor = static_cast<int32_t>(Blu);
    MediaCorrente.Text = "<TEXT>MMMM<END_TEXT>";
    Formato().BoundRect = {0, 900, 1000, 1000};
    Formato().ScrollStep = 0;
    Formato().ScrollDelay = 0;
    const int32_t passi = GetSystemMetrics(SM_CYSCREEN) / 10;
    const uint32_t prima = ClockAttese();
    std::vector<Cattura> catture;
    const Esito e = Esegui({}, catture);
    EXPECT_FALSE(e.errore);
    // One pixel a step through the whole clip: a rest at each of them.
    EXPECT_GE(ClockAttese() - prima, static_cast<uint32_t>(passi));
}

TEST_F(MediaKinds, AFormattedSequenceShowsEachPictureWithItsTextForItsTime) {
    MediaCorrente.TypeFlags = ImageSequence | FixedText;
    const std::string rosso = Immagine("rosso.bmp", Rosso), verde = Immagine("verde.bmp", Verde);
    MediaCorrente.Syntax =
        "<SEQ_IMAGE>\r\n#FLAGS#=4\r\n#TOT_IMAGES#=2\r\n"
        "<IMAGE1>\r\n#IMAGE#=" + rosso + "\r\n#DURATE#=2\r\n#BOUND#=0:0:1000:1000\r\n#I_FLAGS#=1\r\n<END_IMAGE1>\r\n"
        "<IMAGE2>\r\n#IMAGE#=" + verde + "\r\n#DURATE#=2\r\n#BOUND#=0:0:1000:1000\r\n#I_FLAGS#=1\r\n<END_IMAGE2>\r\n"
        "<END_SEQ_IMAGE>\r\n";
    MediaCorrente.Text =
        "<IMAGE_rosso.bmp><TEXT>WWW MMM<END_TEXT><END_IMAGE_rosso.bmp>"
        "<IMAGE_verde.bmp><TEXT>MMM WWW<END_TEXT><END_IMAGE_verde.bmp>";
    Formato().BoundRect = {100, 100, 900, 400};
    std::vector<Cattura> catture;
    const Esito e = Esegui({1000, 3200}, catture);
    EXPECT_FALSE(e.errore);
    EXPECT_GE(e.durata, 3800u);
    ASSERT_FALSE(catture[1].Vuota());
    const RECT r = InPixel(Formato().BoundRect);
    const COLORREF colori[] = {Rosso, Verde};
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(i);
        EXPECT_GT(ContaColore(catture[i], colori[i], r).fuori, 500000);
        EXPECT_EQ(ContaColore(catture[i], colori[1 - i], r).fuori, 0);
        const Conteggio testo = ContaColore(catture[i], Bianco, Allargato(r, 1));
        EXPECT_GT(testo.dentro, 100);
        EXPECT_EQ(testo.fuori, 0);
    }
}

TEST_F(MediaKinds, AScrollingSequenceChangesItsPictureAtItsShareOfTheScroll) {
    const std::string rosso = Immagine("rosso.bmp", Rosso), verde = Immagine("verde.bmp", Verde);
    // Half the scroll each; the scroll bit only sets the clip.
    for (const int32_t scorrimento : {0, static_cast<int32_t>(ScrollText)}) {
        SCOPED_TRACE(scorrimento);
        MediaCorrente.TypeFlags = ImageSequence | scorrimento;
        MediaCorrente.Duration = 20;
        MediaCorrente.Syntax =
            "<SEQ_IMAGE>\r\n#FLAGS#=0\r\n#TOT_IMAGES#=2\r\n"
            "<IMAGE1>\r\n#IMAGE#=" + rosso + "\r\n#DURATE#=50\r\n#BOUND#=0:0:1000:1000\r\n#I_FLAGS#=1\r\n<END_IMAGE1>\r\n"
            "<IMAGE2>\r\n#IMAGE#=" + verde + "\r\n#DURATE#=50\r\n#BOUND#=0:0:1000:1000\r\n#I_FLAGS#=1\r\n<END_IMAGE2>\r\n"
            "<END_SEQ_IMAGE>\r\n";
        MediaCorrente.Text = "<TEXT>MMMM\r\nWWWW<END_TEXT>";
        Formato().BoundRect = {200, 100, 800, 900};
        Formato().ScrollStep = GetSystemMetrics(SM_CYSCREEN) / 2;
        Formato().ScrollDelay = 10;
        // A look every 150 ms: red for the first half of the scroll, then green.
        std::vector<uint32_t> istanti;
        for (uint32_t t = 150; t < 12000; t += 150) istanti.push_back(t);
        std::vector<int32_t> colori;
        const auto guarda = [&](const Dialog_Titoli&, size_t, const Cattura& schermo) {
            const RECT angolo{0, 0, 50, 50};
            colori.push_back(ContaColore(schermo, Rosso, angolo).dentro == 50 * 50   ? 0
                             : ContaColore(schermo, Verde, angolo).dentro == 50 * 50 ? 1
                                                                                       : 2);
        };
        std::vector<Cattura> catture;
        const Esito e = Esegui(istanti, catture, guarda);
        EXPECT_FALSE(e.errore);
        // A look may catch the window as it goes, or, on a loaded machine,
        // the screen while the picture changes: a few such looks are no fault.
        const auto passaggi = std::count(colori.begin(), colori.end(), 2);
        EXPECT_LE(passaggi, 3);
        colori.erase(std::remove(colori.begin(), colori.end(), 2), colori.end());
        const auto rossi = std::count(colori.begin(), colori.end(), 0);
        const auto verdi = std::count(colori.begin(), colori.end(), 1);
        EXPECT_TRUE(std::is_sorted(colori.begin(), colori.end()));
        EXPECT_GT(rossi, 3);
        EXPECT_GT(verdi, 3);
        EXPECT_LT(std::abs(rossi - verdi), (rossi + verdi) / 3);
    }
}

TEST_F(MediaKinds, AScrollingSequenceLeavesNoTraceOfItsEarlierSteps) {
    const std::string rosso = Immagine("rosso.bmp", Rosso), verde = Immagine("verde.bmp", Verde);
    // Without the scroll bit no clip holds the text inside its rectangle; the
    // second picture is painted over the first in a corner, where the text
    // never goes.
    for (const int32_t scorrimento : {0, static_cast<int32_t>(ScrollText)}) {
        SCOPED_TRACE(scorrimento);
        MediaCorrente.TypeFlags = ImageSequence | scorrimento;
        MediaCorrente.Syntax =
            "<SEQ_IMAGE>\r\n#FLAGS#=0\r\n#TOT_IMAGES#=2\r\n"
            "<IMAGE1>\r\n#IMAGE#=" + rosso + "\r\n#DURATE#=30\r\n#BOUND#=0:0:1000:1000\r\n#I_FLAGS#=1\r\n<END_IMAGE1>\r\n"
            "<IMAGE2>\r\n#IMAGE#=" + verde + "\r\n#DURATE#=70\r\n#BOUND#=0:0:100:100\r\n#I_FLAGS#=8\r\n<END_IMAGE2>\r\n"
            "<END_SEQ_IMAGE>\r\n";
        MediaCorrente.Text = "<TEXT>MMMM\r\nWWWW<END_TEXT>";
        Formato().BoundRect = {200, 300, 800, 800};
        Formato().ScrollStep = GetSystemMetrics(SM_CYSCREEN) / 2;
        Formato().ScrollDelay = 10;
        // Two lines on screen: the rows holding text never span much more
        // than their height, which a trace of an earlier step would stretch.
        std::vector<uint32_t> istanti;
        for (uint32_t t = 150; t < 12000; t += 150) istanti.push_back(t);
        std::vector<int32_t> altezze;
        const auto guarda = [&](const Dialog_Titoli&, size_t, const Cattura& schermo) {
            int32_t prima = -1, ultima = -1;
            for (int32_t y = 0; y < schermo.altezza; ++y)
                for (int32_t x = 0; x < schermo.larghezza; ++x)
                    if (schermo.At(x, y) == Bianco) {
                        if (prima < 0) prima = y;
                        ultima = y;
                        break;
                    }
            if (prima >= 0) altezze.push_back(ultima - prima + 1);
        };
        std::vector<Cattura> catture;
        const Esito e = Esegui(istanti, catture, guarda);
        EXPECT_FALSE(e.errore);
        ASSERT_GT(altezze.size(), 8u);
        // The size in points of the formatted texts, on a 96-dpi screen.
        const double punti = std::nearbyint(GetSystemMetrics(SM_CXSCREEN) / (CarattereGrande + 1.0)) * 96 / 72;
        const auto riga = static_cast<int32_t>(std::lround(punti * 96 / 72));
        for (const int32_t a : altezze) EXPECT_LE(a, 2 * riga + 8) << "a trace of an earlier step";
    }
}

// The counter's text rendered apart, in the font, colour and format the
// window drew it with, over the same background.
Cattura Riferimento(const Cattura& schermo, HFONT font, const RECT& r, UINT formato, const std::string& testo) {
    Cattura c = schermo;
    Superficie32 superficie(nullptr, c.larghezza, c.altezza);
    HDC memoria = superficie.dc;
    HBRUSH pennello = CreateSolidBrush(Blu);
    RECT tutto{0, 0, c.larghezza, c.altezza};
    FillRect(memoria, &tutto, pennello);
    DeleteObject(pennello);
    HGDIOBJ fontPrima = SelectObject(memoria, font);
    SetBkMode(memoria, TRANSPARENT);
    SetTextColor(memoria, Bianco);
    RECT dove = r;
    const std::u16string t = Utf16DaUtf8(testo);
    DrawTextW(memoria, reinterpret_cast<LPCWSTR>(t.c_str()), static_cast<int>(t.size()), &dove, formato);
    superficie.Leggi(c);
    SelectObject(memoria, fontPrima);
    return c;
}

TEST_F(MediaKinds, ACountdownShowsItsStartAtOnceThenAValueASecondInItsFormat) {
    struct Caso {
        const char* flags;
        int32_t inizio, fine;
        // What the screen shows, in order: at once, then each value it counts to.
        std::vector<std::string> attesi;
        uint32_t durataMinima;
    };
    const Caso casi[] = {
        {"8", 75, 75, {"Left 01:15"}, 1300},
        {"4", 7, 7, {"Left 007"}, 1300},
        {"10", 7, 7, {"Left 07"}, 1300},
        {"2", 7, 7, {"Left 7"}, 1300},
        {"2", 3, 1, {"Left 3", "Left 2"}, 2300},
        {"2", 1, 2, {"Left 1", "Left 2"}, 1300},
    };
    for (const Caso& caso : casi) {
        SCOPED_TRACE(caso.attesi.back() + " from " + std::to_string(caso.inizio));
        MediaCorrente.TypeFlags = BitCountDown;
        MediaCorrente.BackColor = static_cast<int32_t>(Blu);
        MediaCorrente.Text = "<TEXT>Left #counter#<END_TEXT>";
        MediaCorrente.Syntax = "<COUNTDOWN>\r\n#START_COUNTER#=" + std::to_string(caso.inizio) +
                               "\r\n#END_COUNTER#=" + std::to_string(caso.fine) + "\r\n#FLAGS#=" + caso.flags +
                               "\r\n<END_COUNTDOWN>\r\n";
        Formato().BoundRect = {100, 100, 900, 500};
        Formato().Align = DT_CENTER;
        // Each capture is compared there and then with the next expected
        // text drawn apart in the font the window chose. The start must be
        // there at once; a later value is waited for, since a busy machine
        // may draw it some captures late.
        size_t visti = 0;
        bool inizioSubito = false;
        const auto confronta = [&](const Dialog_Titoli& finestra, size_t i, const Cattura& schermo) {
            if (visti == caso.attesi.size()) return;
            const HFONT font = static_cast<HFONT>(GetCurrentObject(finestra.Picture1.hDC(), OBJ_FONT));
            const RECT r{finestra.BoundRect.Left, finestra.BoundRect.Top, finestra.BoundRect.Right,
                         finestra.BoundRect.Bottom};
            const Cattura atteso = Riferimento(schermo, font, r, DT_CENTER | 0x850, caso.attesi[visti]);
            int64_t diversi = 0, bianchi = 0;
            for (int32_t y = 0; y < schermo.altezza; ++y)
                for (int32_t x = 0; x < schermo.larghezza; ++x) {
                    if (schermo.At(x, y) != atteso.At(x, y)) ++diversi;
                    if (schermo.At(x, y) == Bianco) ++bianchi;
                }
            if (diversi != 0 || bianchi <= 50) return;
            if (i == 0) inizioSubito = true;
            ++visti;
        };
        std::vector<uint32_t> istanti;
        for (uint32_t t = 400; t < caso.durataMinima + 2500; t += 200) istanti.push_back(t);
        std::vector<Cattura> catture;
        const Esito e = Esegui(istanti, catture, confronta);
        EXPECT_FALSE(e.errore);
        // One second a value, then 0.4 s more.
        EXPECT_GE(e.durata, caso.durataMinima);
        EXPECT_LT(e.durata, caso.durataMinima + 2500);
        EXPECT_TRUE(inizioSubito);
        EXPECT_EQ(visti, caso.attesi.size());
    }
}

}  // namespace
