// Action media on the screen: a window of the test stands for the game in a
// window and shows an item name in yellow where the game writes it; the
// strip is captured and compared with reference bitmaps written by our
// writer and by hand.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "core/ImageFormats.h"
#include "core/MediaConfig.h"
#include "core/MediaLog.h"
#include "core/MediaTrigger.h"
#include "core/SharedState.h"
#include "media/ActionMedia.h"
#include "platform/Forms.h"
#include "runservices/RunHooks.h"
#include "runservices/RunState.h"
#include "runservices/Sounds.h"
#include "tests/core/LogLines.h"
#include "tests/support/TestFolders.h"

namespace {

constexpr int X = 50, Y = 60, Larghezza = 320, Altezza = 240;
// The item-name strip of a 320 x 240 game picture, in its client area.
constexpr int StrisciaX = 101, StrisciaY = 62;
constexpr COLORREF Giallo = RGB(230, 190, 0);

// Rectangles (left, top, width, height) of a drawn text.
using Forma = std::vector<RECT>;
// A box with a bar inside: its text box is 0,0 - 29,9.
const Forma Scatola = {{0, 0, 30, 3}, {0, 3, 3, 7}, {27, 3, 3, 7}, {10, 5, 10, 5}};
// Another word of the same size.
const Forma Pettine = {{0, 7, 30, 3}, {0, 0, 3, 7}, {14, 0, 3, 7}};
// A text one pixel high.
const Forma Riga = {{0, 0, 30, 1}};

std::vector<std::pair<POINT, Forma>> Disegnate;

LRESULT CALLBACK ProceduraGioco(HWND h, UINT m, WPARAM wp, LPARAM lp) {
    if (m == WM_ERASEBKGND) return 1;
    if (m != WM_PAINT) return DefWindowProcA(h, m, wp, lp);
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(h, &ps);
    RECT tutto{0, 0, Larghezza, Altezza};
    FillRect(dc, &tutto, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    HBRUSH giallo = CreateSolidBrush(Giallo);
    for (const auto& [dove, forma] : Disegnate)
        for (const RECT& r : forma) {
            RECT q{dove.x + r.left, dove.y + r.top, dove.x + r.left + r.right, dove.y + r.top + r.bottom};
            FillRect(dc, &q, giallo);
        }
    DeleteObject(giallo);
    EndPaint(h, &ps);
    return 0;
}

// Rows of blue, green, red bytes, top first, of a black picture with the
// forms drawn in yellow, each scaled by the factor.
std::string PixelBgr(int w, int h, const std::vector<std::pair<POINT, Forma>>& forme, int scala = 1) {
    std::string bgr(static_cast<size_t>(w * h * 3), '\0');
    for (const auto& [dove, forma] : forme)
        for (const RECT& r : forma)
            for (int y = (dove.y + r.top) * scala; y < (dove.y + r.top + r.bottom) * scala; ++y)
                for (int x = (dove.x + r.left) * scala; x < (dove.x + r.left + r.right) * scala; ++x) {
                    if (x >= w || y >= h) continue;
                    const size_t i = static_cast<size_t>((y * w + x) * 3);
                    bgr[i] = static_cast<char>(GetBValue(Giallo));
                    bgr[i + 1] = static_cast<char>(GetGValue(Giallo));
                    bgr[i + 2] = static_cast<char>(GetRValue(Giallo));
                }
    return bgr;
}

std::vector<int32_t> Eseguiti;
std::vector<std::pair<int32_t, int32_t>> Toni;

class AzioneSchermo : public ConRigheLogTenute {
protected:
    void SetUp() override {
        ConRigheLogTenute::SetUp();
        header_ = HeaderMcf;
        lista_ = ListaMedia;
        finestraGioco_ = FinestraGioco;
        esegui_ = Ganci.EseguiMediaCode;
        tono_ = EmettiTono;
        Eseguiti.clear();
        Toni.clear();
        Disegnate.clear();
        Ganci.EseguiMediaCode = [](int32_t codice, bool&) {
            Eseguiti.push_back(codice);
            return true;
        };
        EmettiTono = [](int32_t f, int32_t d) { Toni.emplace_back(f, d); };
        HeaderMcf.HeaderOptions = static_cast<int32_t>(OpzioneHeader::SharedMode);
        HeaderMcf.VideoMode = 0;
        WNDCLASSA wc{};
        wc.lpfnWndProc = ProceduraGioco;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "ProvaAzione";
        RegisterClassA(&wc);
        finestra_ = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, "ProvaAzione", "Tomb Raider",
                                    WS_POPUP | WS_VISIBLE, X, Y, Larghezza, Altezza, nullptr, nullptr, wc.hInstance,
                                    nullptr);
        ASSERT_TRUE(finestra_);
        FinestraGioco = finestra_;
    }
    void TearDown() override {
        DestroyWindow(finestra_);
        DoEvents();
        HeaderMcf = header_;
        ListaMedia = lista_;
        FinestraGioco = finestraGioco_;
        Ganci.EseguiMediaCode = esegui_;
        EmettiTono = tono_;
        ConRigheLogTenute::TearDown();
    }

    // The forms at these places of the item-name strip, on the screen.
    void Mostra(std::vector<std::pair<POINT, Forma>> forme) {
        for (auto& f : forme) f.first = {f.first.x + StrisciaX, f.first.y + StrisciaY};
        Disegnate = std::move(forme);
        SetWindowPos(finestra_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        RedrawWindow(finestra_, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        GdiFlush();
        DoEvents();
    }
    ImmagineAzione Cattura(std::vector<std::pair<POINT, Forma>> forme) {
        Mostra(std::move(forme));
        ImmagineAzione immagine;
        EXPECT_TRUE(CatturaRettangolo(immagine));
        return immagine;
    }
    // A reference bitmap of our writer: the form at (3, 4) of a 40 x 16
    // picture, or scaled.
    std::string Riferimento(const std::string& nome, const Forma& forma, int scala = 1) {
        const int w = 40 * scala, h = 16 * scala;
        const std::string percorso = cartella_ / nome;
        EXPECT_TRUE(ScriviFileProva(percorso, ComponiBmp24(w, h, PixelBgr(w, h, {{{3, 4}, forma}}, scala))));
        return percorso;
    }
    // The action media at the index given, with its section.
    void Media(size_t indice, int32_t codice, const std::string& sezione) {
        if (ListaMedia.size() <= indice) ListaMedia.resize(indice + 1);
        MediaTrigger& m = ListaMedia[indice];
        m = MediaTrigger{};
        m.TypeFlags = BitAction;
        m.Level = QualsiasiLivello;
        m.MediaCode = 100 + codice;
        m.Syntax = "<ACTION>\r\n" + sezione + "<END_ACTION>\r\n";
        HeaderMcf.TriggerCount = static_cast<int32_t>(ListaMedia.size());
    }
    static std::string Sezione(int32_t flags, int32_t codice, int32_t tolleranza, const std::string& immagine,
                               const std::string& bound, const std::string& altro = "") {
        return "#FLAGS#=" + std::to_string(flags) + "\r\n#MEDIA_CODE#=" + std::to_string(codice) +
               "\r\n#TOLLERANCE#=" + std::to_string(tolleranza) + "\r\n#M_POINTS#=0\r\n" + altro +
               "#IMAGE#=" + immagine + "\r\n#BOUND#=" + bound + "\r\n";
    }
    bool HaRiga(const std::string& testo) const {
        for (const std::string& r : Righe())
            if (r == testo) return true;
        return false;
    }

    HWND finestra_ = nullptr;
    CartellaProva cartella_;
    MediaConfigHeader header_;
    std::vector<MediaTrigger> lista_;
    void* finestraGioco_ = nullptr;
    bool (*esegui_)(int32_t, bool&) = nullptr;
    void (*tono_)(int32_t, int32_t) = nullptr;
};

TEST_F(AzioneSchermo, TheItemNameOnTheScreenIsRecognisedAndAnotherWordIsNot) {
    const ImmagineAzione immagine = Cattura({{{20, 6}, Scatola}});
    EXPECT_EQ(immagine.Immagine.Larghezza, 116);
    EXPECT_EQ(immagine.Immagine.Altezza, 20);
    EXPECT_EQ(TestoBordi(immagine.Bordi), "20,6 - 49,15");
    EXPECT_TRUE(HaRiga("Rect capture: 151,122 - 267,142")) << BufferLog;
    EXPECT_TRUE(HaRiga("Bound yellow text: 20,6 - 49,15")) << BufferLog;

    Media(0, 1, Sezione(1, 7, 10, Riferimento("pettine.bmp", Pettine), "3:4:32:13"));
    Media(1, 2, Sezione(1, 8, 10, Riferimento("scatola.bmp", Scatola), "3:4:32:13"));
    EXPECT_FALSE(ConfrontaActionMedia(0, immagine));
    EXPECT_TRUE(Eseguiti.empty());
    EXPECT_TRUE(HaRiga("Matching error higher than tollerance: no matching"));
    EXPECT_TRUE(Toni.empty());

    BufferLog.clear();
    EXPECT_TRUE(ConfrontaActionMedia(1, immagine));
    EXPECT_EQ(Eseguiti, std::vector<int32_t>{8});
    EXPECT_EQ(Toni, (std::vector<std::pair<int32_t, int32_t>>{{200, 200}}));
    EXPECT_TRUE(HaRiga("Comparison for Media Action code = 102"));
    EXPECT_TRUE(HaRiga("Matching percentage = 100.00 %"));
    EXPECT_TRUE(HaRiga("Images match: start media code = 8"));
    EXPECT_EQ(NumErroriLog, 0);
}

TEST_F(AzioneSchermo, NoYellowOnTheStripFailsTheCapture) {
    // Yellow outside the strip does not count.
    Mostra({{{-40, 0}, Scatola}, {{0, 40}, Scatola}});
    ImmagineAzione immagine;
    EXPECT_FALSE(CatturaRettangolo(immagine));
    EXPECT_TRUE(HaRiga("Bound yellow text: -1,-1 - -1,-1"));
    EXPECT_EQ(NumErroriLog, 0);
}

TEST_F(AzioneSchermo, ABoxWithoutHeightIsNoMatchNotADivision) {
    const std::string scatola = Riferimento("scatola.bmp", Scatola);
    const std::string riga = Riferimento("riga.bmp", Riga);
    const ImmagineAzione alta = Cattura({{{20, 6}, Scatola}});
    const ImmagineAzione bassa = Cattura({{{20, 6}, Riga}});
    EXPECT_EQ(TestoBordi(bassa.Bordi), "20,6 - 49,6");
    struct Caso {
        const char* nome;
        const ImmagineAzione* immagine;
        std::string sezione;
    };
    const Caso casi[] = {
        {"one row captured and referenced", &bassa, Sezione(0, 1, 100, riga, "3:4:32:4")},
        {"one row captured", &bassa, Sezione(0, 1, 100, scatola, "3:4:32:13")},
        {"a reference bound of one row", &alta, Sezione(0, 1, 100, scatola, "3:4:32:4")},
        // Taken in another mode, the bound is found again on the stretched
        // picture: none there.
        {"nothing found after stretching", &alta, Sezione(0, 1, 100, riga, "3:5:32:13", "#RESOLUTION#=3\r\n")},
    };
    for (const Caso& c : casi) {
        SCOPED_TRACE(c.nome);
        BufferLog.clear();
        Media(0, 1, c.sezione);
        EXPECT_FALSE(ConfrontaActionMedia(0, *c.immagine));
        EXPECT_TRUE(HaRiga("Bound without height: no matching")) << BufferLog;
        EXPECT_EQ(NumErroriLog, 0);
    }
    EXPECT_TRUE(Eseguiti.empty());
}

TEST_F(AzioneSchermo, RatioQuantityAndVideoModeOfTheReference) {
    const std::string scatola = Riferimento("scatola.bmp", Scatola);
    const std::string doppia = Riferimento("doppia.bmp", Scatola, 2);
    const std::string altraDoppia = Riferimento("altradoppia.bmp", Pettine, 2);
    // A quantity written left of the name.
    const Forma quantita = {{0, 0, 4, 10}};
    const ImmagineAzione sola = Cattura({{{20, 6}, Scatola}});
    const ImmagineAzione conNumero = Cattura({{{8, 6}, quantita}, {{20, 6}, Scatola}});
    EXPECT_EQ(TestoBordi(conNumero.Bordi), "8,6 - 49,15");
    struct Caso {
        const char* nome;
        const ImmagineAzione* immagine;
        std::string sezione;
        bool uguale;
        std::string riga;
    };
    const Caso casi[] = {
        // 29 / 9 = 3.22 against 23 / 9 = 2.56, 0.67 apart.
        {"ratio 0.67 apart", &sola, Sezione(0, 1, 100, scatola, "3:4:26:13"), false,
         "Too high ratio difference (greather than 0.5) : no matching"},
        {"ratio 0.44 apart", &sola, Sezione(0, 1, 100, scatola, "3:4:28:13"), true, "Absolute ratio difference: 0.444"},
        {"quantity kept", &conNumero, Sezione(0, 1, 10, scatola, "3:4:32:13"), false,
         "Too high ratio difference (greather than 0.5) : no matching"},
        {"quantity cut off", &conNumero, Sezione(2, 1, 0, scatola, "3:4:32:13"), true,
         "New bound captured image: 20,6 - 49,15"},
        // Stretched to the captured box the reference loses a column and a
        // row: the tolerance takes it.
        {"reference taken at twice the size", &sola, Sezione(0, 1, 15, doppia, "6:8:65:27", "#RESOLUTION#=3\r\n"),
         true, "New resized Action Bound of " + doppia + ": 2,2 - 30,10  Ratio=3.5"},
        {"another word taken at twice the size", &sola,
         Sezione(0, 1, 15, altraDoppia, "6:8:65:27", "#RESOLUTION#=3\r\n"), false,
         "Matching error higher than tollerance: no matching"},
        {"twice the size, quantity cut off by the ratio", &conNumero,
         Sezione(2, 1, 15, doppia, "6:8:65:27", "#RESOLUTION#=3\r\n"), true,
         "SizeYCaptured=9 X RatioAction=3.105263 = 28"},
    };
    for (const Caso& c : casi) {
        SCOPED_TRACE(c.nome);
        BufferLog.clear();
        Eseguiti.clear();
        Media(0, 1, c.sezione);
        EXPECT_EQ(ConfrontaActionMedia(0, *c.immagine), c.uguale) << BufferLog;
        EXPECT_EQ(Eseguiti.size(), c.uguale ? 1u : 0u);
        EXPECT_TRUE(HaRiga(c.riga)) << BufferLog;
        EXPECT_EQ(NumErroriLog, 0);
    }
}

TEST_F(AzioneSchermo, AReferenceWrittenByHandAndFaultyMedia) {
    // A 32-bit bitmap with its rows top first: the form at (1, 1) of 32 x 12.
    const int w = 32, h = 12;
    const std::string bgr = PixelBgr(w, h, {{{1, 1}, Scatola}});
    std::string file = "BM";
    auto u32 = [&file](uint32_t v) {
        for (int i = 0; i < 4; ++i) file += static_cast<char>((v >> (8 * i)) & 0xFF);
    };
    auto u16 = [&file](uint16_t v) {
        file += static_cast<char>(v & 0xFF);
        file += static_cast<char>(v >> 8);
    };
    u32(14 + 40 + w * h * 4);
    u32(0);
    u32(14 + 40);
    u32(40);
    u32(w);
    u32(static_cast<uint32_t>(-h));
    u16(1);
    u16(32);
    for (int i = 0; i < 6; ++i) u32(0);
    for (size_t i = 0; i < bgr.size(); i += 3) file += bgr.substr(i, 3) + '\0';
    const std::string aMano = cartella_ / "amano.bmp";
    ASSERT_TRUE(ScriviFileProva(aMano, file));
    ASSERT_TRUE(ScriviFileProva(cartella_ / "rotta.bmp", "BM not a picture"));

    const ImmagineAzione immagine = Cattura({{{20, 6}, Scatola}});
    Media(0, 1, Sezione(0, 9, 0, aMano, "1:1:30:10"));
    EXPECT_TRUE(ConfrontaActionMedia(0, immagine));
    EXPECT_EQ(Eseguiti, std::vector<int32_t>{9});

    struct Caso {
        const char* nome;
        int32_t indice;
        std::string sezione;
        const char* errore;
    };
    const Caso casi[] = {
        {"syntax", 0, "#FLAGS#=0\r\n", "ERROR in Action Media: missing #media_code# value"},
        {"no such file", 0, Sezione(0, 1, 10, cartella_ / "manca.bmp", "1:1:30:10"), "ERROR: Not found file: "},
        {"not a picture", 0, Sezione(0, 1, 10, cartella_ / "rotta.bmp", "1:1:30:10"),
         "ERROR in ConfrontaActionMedia() : cannot load image "},
        {"no such trigger", 5, "", "ERROR in ConfrontaActionMedia() : no media trigger 5"},
        {"no trigger before the first", -1, "", "ERROR in ConfrontaActionMedia() : no media trigger -1"},
    };
    for (const Caso& c : casi) {
        SCOPED_TRACE(c.nome);
        BufferLog.clear();
        NumErroriLog = 0;
        Media(0, 1, c.sezione);
        EXPECT_FALSE(ConfrontaActionMedia(c.indice, immagine));
        bool trovata = false;
        for (const std::string& r : Righe()) trovata = trovata || r.rfind(c.errore, 0) == 0;
        EXPECT_TRUE(trovata) << BufferLog;
        EXPECT_GE(NumErroriLog, 1);
    }
    EXPECT_EQ(Eseguiti, std::vector<int32_t>{9});
}

}  // namespace
