// The media window: its size and colours, its performance in the first tick
// of its timer, its unload, Escape, the countdown duty of its second timer,
// and the GDI objects a long run of media leaves behind.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

#include "core/MediaConfig.h"
#include "runservices/DisplayModes.h"
#include "tests/media/KeyPresses.h"
#include "tests/media/MediaWindowFixture.h"
#include "tests/media/SoundFiles.h"
#include "tests/support/GdiObjects.h"

namespace {

void Escape(bool giu) {
    tasti::Tasto(VK_ESCAPE, giu);
    Sleep(30);
}

// 8 kHz, 8-bit mono: 8 bytes a millisecond.
std::string Wav(uint32_t millisecondi) {
    auto u32 = [](uint32_t x) {
        return std::string{static_cast<char>(x), static_cast<char>(x >> 8), static_cast<char>(x >> 16),
                           static_cast<char>(x >> 24)};
    };
    const uint32_t n = millisecondi * 8;
    return "RIFF" + u32(36 + n) + "WAVEfmt " + u32(16) + std::string("\x01\x00\x01\x00", 4) + u32(8000) +
           u32(8000) + std::string("\x01\x00\x08\x00", 4) + "data" + u32(n) + std::string(n, '\x80');
}

class FinestraMedia : public ProvaFinestraMedia {
protected:
    void TearDown() override {
        Escape(false);
        ProvaFinestraMedia::TearDown();
    }
};

TEST_F(FinestraMedia, CoversTheScreenByTheRunsMode) {
    const int32_t tpp = TwipsPerPixel();
    struct Caso {
        const char* nome;
        bool anteprima;
        bool condiviso;
        int32_t larghezza, altezza;
    };
    // The desktop at start was 1000 x 700; the screen now is 800 x 600.
    for (const Caso& c : {Caso{"preview", true, false, 800, 600}, Caso{"windowed run", false, true, 800, 600},
                          Caso{"full-screen run", false, false, 1000, 700}}) {
        FuoriGioco = c.anteprima;
        HeaderMcf.HeaderOptions = c.condiviso ? ParolaOpzioni(OpzioneHeader::SharedMode) : 0;
        SchermoX = 800;
        SchermoY = 600;
        RiferimentoX = 1000 * tpp;
        RiferimentoY = 700 * tpp;
        Dialog_Titoli f;
        CaricaSenzaEseguire(f);
        EXPECT_EQ(f.LarghezzaFinestra, c.larghezza) << c.nome;
        EXPECT_EQ(f.AltezzaFinestra, c.altezza) << c.nome;
        RECT r{};
        GetWindowRect(f.hWnd(), &r);
        EXPECT_EQ(r.left, 0);
        EXPECT_EQ(r.top, 0);
        EXPECT_EQ(r.right, c.larghezza) << c.nome;
        EXPECT_EQ(r.bottom, c.altezza) << c.nome;
        EXPECT_EQ(GetWindowLongA(f.hWnd(), GWL_STYLE) & WS_CAPTION, 0) << "no border or caption";
        EXPECT_EQ(f.Picture1.Larghezza(), c.larghezza);
        EXPECT_EQ(f.Picture1.Altezza(), c.altezza);
        f.Unload();
    }
    FuoriGioco = true;
}

TEST_F(FinestraMedia, PicturesAndCapturesGetABlackBackground) {
    const COLORREF sfondo = RGB(10, 20, 30), testo = RGB(200, 100, 50);
    struct Caso {
        int32_t flags;
        COLORREF atteso;
    };
    for (const Caso& c : {Caso{BackgroundImage, RGB(0, 0, 0)}, Caso{ScreenCapture, RGB(0, 0, 0)},
                          Caso{BackgroundImage | ScreenCapture | FixedText, RGB(0, 0, 0)}, Caso{FixedText, sfondo},
                          Caso{0, sfondo}}) {
        MediaCorrente.TypeFlags = c.flags;
        MediaCorrente.BackColor = static_cast<int32_t>(sfondo);
        MediaCorrente.Formato.Color = static_cast<int32_t>(testo);
        Dialog_Titoli f;
        CaricaSenzaEseguire(f);
        EXPECT_EQ(f.Picture1.BackColor, c.atteso) << std::hex << c.flags;
        EXPECT_EQ(Pixel(f, 5, 5), c.atteso) << std::hex << c.flags;
        EXPECT_EQ(f.Picture1.ForeColor, testo);
        f.Unload();
    }
}

TEST_F(FinestraMedia, ClosingFromItsMenuIsRefusedFromTheTaskManagerAllowed) {
    Dialog_Titoli f;
    CaricaSenzaEseguire(f);
    EXPECT_FALSE(f.Unload(UnloadDaMenu));
    EXPECT_TRUE(f.Loaded());
    EXPECT_TRUE(HaRiga("Required unload for dialog_Titoli"));
    EXPECT_FALSE(HaRiga("Required to close program from task manager"));
    EXPECT_TRUE(f.Unload(UnloadDaTaskManager));
    EXPECT_FALSE(f.Loaded());
    EXPECT_TRUE(HaRiga("Required to close program from task manager"));
}

// The media window shown by the test's thread; another thread posts to it
// as the system does.
HWND AttendiFinestraMedia() {
    const DWORD limite = GetTickCount() + 20000;
    while (GetTickCount() < limite) {
        HWND h = FindWindowA("LudovaneTitoli", nullptr);
        if (h && IsWindowVisible(h)) return h;
        Sleep(5);
    }
    return nullptr;
}

TEST_F(FinestraMedia, ACloseFromTheTaskManagerEndsTheMediaOneFromItsMenuIsRefused) {
    const std::string immagine = Bitmap("sfondo.bmp", 8, 6, RGB(0, 0, 200));
    struct Caso {
        const char* nome;
        int32_t flags;
        int32_t durata;
        int32_t effetto;
        std::string sintassi;
    };
    // Each would run for minutes: a held text, a slowly typed one, a
    // countdown whose timer the unload must stop, a graph menu waiting for
    // its choice.
    const std::vector<Caso> casi = {
        {"held text", FixedText | BackgroundImage, 600, 0, ""},
        {"typed text", FixedText | BackgroundImage, 600, 1, ""},
        {"countdown", static_cast<int32_t>(BitCountDown) | BackgroundImage, 0, 0,
         "<COUNTDOWN>#START_COUNTER#=0\r\n#END_COUNTER#=600\r\n#FLAGS#=2\r\n<END_COUNTDOWN>"},
        {"graph menu", static_cast<int32_t>(BitGraphMenu) | BackgroundImage, 0, 0,
         "<GRAPH_MENU>#FLAGS#=9\r\n#PEN_COLOR#=255\r\n#PEN_SIZE#=3\r\n#BLINK_DELAY#=100\r\n#TOT_MENU#=1\r\n"
         "#COLUMNS#=1\r\n#S_MENU#=0\r\n<MENU1>#BOUND#=0:0:500:500\r\n#MEDIA_CODE#=3\r\n<END_MENU1><END_GRAPH_MENU>"},
    };
    ClockUseManual(false);
    for (const Caso& c : casi) {
        AzzeraLog();
        MediaCorrente = MediaTrigger{};
        MediaCorrente.TypeFlags = c.flags;
        MediaCorrente.MediaFile = immagine;
        MediaCorrente.Options = EscapeBreaks;
        MediaCorrente.Duration = c.durata;
        MediaCorrente.Syntax = c.sintassi;
        MediaCorrente.Text = "<TEXT>A long text typed one letter a second #COUNTER#<END_TEXT>";
        MediaCorrente.Formato.Effect = c.effetto;
        MediaCorrente.Formato.DelayMicros = 1000;
        MediaCorrente.Formato.BoundRect = Rettangolo{100, 100, 900, 900};
        std::atomic<bool> rifiutata{false}, finita{false};
        std::thread sistema([&] {
            HWND h = AttendiFinestraMedia();
            if (!h) return;
            PostMessageA(h, WM_SYSCOMMAND, SC_CLOSE, 0);
            Sleep(500);
            rifiutata = IsWindow(h) != FALSE;
            PostMessageA(h, WM_CLOSE, 0, 0);
            // Old behaviour: the media would go on; Escape ends the test.
            const DWORD limite = GetTickCount() + 15000;
            while (!finita && GetTickCount() < limite) Sleep(10);
            if (!finita) Escape(true);
        });
        Dialog_Titoli f;
        f.ImpostaValori();
        const DWORD inizio = GetTickCount();
        f.MostraModale();
        const DWORD durata = GetTickCount() - inizio;
        finita = true;
        sistema.join();
        Escape(false);
        EXPECT_TRUE(rifiutata) << c.nome << ": the control menu's close is refused";
        EXPECT_TRUE(HaRiga("Required to close program from task manager")) << c.nome;
        EXPECT_FALSE(f.AbortEscape) << c.nome;
        EXPECT_LT(durata, 12000u) << c.nome;
        EXPECT_FALSE(f.Loaded());
        EXPECT_EQ(FinestraMediaTitoli, -1);
    }
    ClockUseManual(true, 1000);
}

TEST_F(FinestraMedia, TheFirstTickRunsAtOnceOverAPicturePaintedBeforeTheWindowShows) {
    const COLORREF colore = RGB(0, 120, 240);
    const std::string immagine = Bitmap("sfondo.bmp", 64, 48, colore);
    MediaCorrente.TypeFlags = FixedText | BackgroundImage;
    MediaCorrente.MediaFile = immagine;
    MediaCorrente.Text = "<TEXT>Text<END_TEXT>";
    MediaCorrente.Duration = 1;
    MediaCorrente.Formato.BoundRect = Rettangolo{100, 100, 200, 200};
    Dialog_Titoli f;
    f.ImpostaValori();
    // No tick of the system's timer comes in time.
    f.Timer1.SetInterval(600000);
    ASSERT_TRUE(f.Load());
    EXPECT_EQ(Pixel(f, f.LarghezzaFinestra / 2, f.AltezzaFinestra - 2), colore) << "painted by the load";
    // Read once: the performance needs the file no more.
    ASSERT_TRUE(DeleteFileA(immagine.c_str()));
    f.Show();
    const DWORD limite = GetTickCount() + 10000;
    while (f.Loaded() && GetTickCount() < limite) {
        DoEvents();
        Sleep(5);
    }
    EXPECT_FALSE(f.Loaded()) << "performed without a tick of the timer";
    if (f.Loaded()) f.Unload();
    EXPECT_TRUE(HaRiga("Start performing media"));
    EXPECT_FALSE(HaRigaCheInizia("ERROR loading image"));
    EXPECT_EQ(Pixel(f, f.LarghezzaFinestra / 2, f.AltezzaFinestra - 2), colore);
    EXPECT_FALSE(f.ErroreMedia);
}

TEST_F(FinestraMedia, TheTextFontTakesTheCharacterSetOfTheTextsLanguage) {
    struct Caso {
        const char* lingua;
        std::string testo;
        BYTE charset;
    };
    const std::string prima = LinguaForzata;
    const std::vector<Caso> casi = {
        {"russian", "<RUSSIAN>\xD0\x94\xD0\xB0<END_RUSSIAN><ENGLISH>Yes<END_ENGLISH>", RUSSIAN_CHARSET},
        {"greek", "<GREEK>\xCE\x9D\xCE\xB1\xCE\xB9<END_GREEK>", GREEK_CHARSET},
        {"russian", "<ENGLISH>Yes<END_ENGLISH>", ANSI_CHARSET},
        {"russian", "<TEXT>Yes<END_TEXT>", DEFAULT_CHARSET},
    };
    for (const Caso& c : casi) {
        LinguaForzata = c.lingua;
        MediaCorrente.TypeFlags = FixedText;
        MediaCorrente.Text = c.testo;
        MediaCorrente.Duration = 1;
        Dialog_Titoli f;
        CaricaSenzaEseguire(f);
        f.EseguiMediaDialogo();
        LOGFONTW dati{};
        ASSERT_NE(GetObjectW(GetCurrentObject(f.Picture1.hDC(), OBJ_FONT), sizeof dati, &dati), 0);
        EXPECT_EQ(dati.lfCharSet, c.charset) << c.lingua << ": " << c.testo;
        f.Unload();
    }
    LinguaForzata = prima;
}

TEST_F(FinestraMedia, UnloadReleasesTheSavedBackgroundAndDeletesTemporaryFilesOutsidePreview) {
    for (const bool anteprima : {false, true}) {
        FuoriGioco = anteprima;
        Dialog_Titoli f;
        CaricaSenzaEseguire(f);
        const std::string a = store / "a.tmp", b = store / "b.tmp";
        ASSERT_TRUE(ScriviFileProva(a, "a"));
        ASSERT_TRUE(ScriviFileProva(b, "b"));
        f.FileTemporanei = {a, b};
        f.CreaMemoryDC();
        ASSERT_NE(f.MemoriaDC, nullptr);
        const HDC memoria = f.MemoriaDC;
        EXPECT_TRUE(f.Unload());
        EXPECT_EQ(f.MemoriaDC, nullptr);
        EXPECT_EQ(GetObjectType(memoria), 0u) << "the memory DC is deleted";
        EXPECT_EQ(EsisteFileProva(a), anteprima);
        EXPECT_EQ(EsisteFileProva(b), anteprima);
    }
}

TEST_F(FinestraMedia, ThePerformanceRunsInTheFirstTickAndTheWindowUnloads) {
    struct Caso {
        const char* nome;
        int32_t flags;
        bool esito;
        bool errore;
    };
    // Kinds that end at once: none at all, and a comunicator with nothing
    // to say.
    for (const Caso& c : {Caso{"no kind", 0, true, false}, Caso{"comunicator", BitComunicator, true, false}}) {
        AzzeraLog();
        MediaCorrente.TypeFlags = c.flags;
        Dialog_Titoli f;
        f.ImpostaValori();
        EXPECT_TRUE(f.ErroreMedia) << "not performed yet";
        f.MostraModale();
        EXPECT_FALSE(f.Loaded()) << c.nome;
        EXPECT_EQ(FinestraMediaTitoli, -1);
        EXPECT_EQ(f.ErroreMedia, c.errore) << c.nome;
        EXPECT_EQ(f.EsitoMedia, c.esito) << c.nome;
        EXPECT_EQ(f.ValoreMenu, -1);
        EXPECT_FALSE(f.AbortEscape);
        std::vector<std::string> righe = RigheLog();
        const std::vector<std::string> attese = {"Start performing media", "End performing media",
                                                 "Remove keyboard messages", "Removed messages",
                                                 "Required unload for dialog_Titoli"};
        auto da = righe.begin();
        for (const std::string& attesa : attese) {
            da = std::find(da, righe.end(), attesa);
            EXPECT_NE(da, righe.end()) << c.nome << ": " << attesa;
        }
    }
}

TEST_F(FinestraMedia, TheBackgroundSoundPlaysFadesAndStopsWithTheMedia) {
    const std::string lungo = store / "lungo.wav", breve = store / "breve.wav";
    ASSERT_TRUE(ScriviFileProva(lungo, Wav(60000)));
    ASSERT_TRUE(ScriviFileProva(breve, Wav(1000)));
    struct Caso {
        const char* nome;
        std::string file;
        int32_t opzioni;
        int32_t fadeTime;
        bool escape;
        int32_t statoFinale;
        uint32_t minimo, massimo;  // ms the performance takes on the clock
    };
    const int32_t P = MediaPlayer::InPausa, F = MediaPlayer::Fermo;
    const std::vector<Caso> casi = {
        {"no fade: stopped at the end", lungo, 0, 5, false, F, 0, 500},
        {"fade over 5 s: left paused", lungo, FadeOutSound, 5, false, P, 5000, 5600},
        {"sound shorter than the fade", breve, FadeOutSound, 5, false, F, 900, 1700},
        {"fade time 0: one step", lungo, FadeOutSound, 0, false, P, 0, 500},
        {"Escape skips the fade", lungo, FadeOutSound | EscapeBreaks, 5, true, F, 0, 500},
    };
    for (const Caso& c : casi) {
        AzzeraLog();
        MediaCorrente.TypeFlags = BackgroundSound;
        MediaCorrente.SoundFile = c.file;
        MediaCorrente.Options = c.opzioni;
        MediaCorrente.FadeTime = c.fadeTime;
        Dialog_Titoli f;
        CaricaSenzaEseguire(f);
        f.MediaPlayer1.SetVolume(-500);
        f.AbortEscape = c.escape;
        const uint32_t inizio = ClockTick();
        f.EseguiMediaDialogo();
        const uint32_t durata = ClockTick() - inizio;
        EXPECT_TRUE(HaRiga("Sound file: " + c.file)) << c.nome;
        EXPECT_EQ(f.FileSuonoTemp, "") << "a file of its own is no temporary copy";
        EXPECT_EQ(f.MediaPlayer1.PlayCount(), 1);
        EXPECT_EQ(f.MediaPlayer1.PlayState(), c.statoFinale) << c.nome;
        EXPECT_EQ(f.MediaPlayer1.Volume(), -500) << c.nome << ": the volume before the fade";
        EXPECT_GE(durata, c.minimo) << c.nome;
        EXPECT_LE(durata, c.massimo) << c.nome;
        EXPECT_EQ(HaRiga("Perform fade out for background sound"), !c.escape && HaBit(c.opzioni, FadeOutSound))
            << c.nome;
        f.Unload();
    }
    // A looping sound is still there when the media ends, and stopped then.
    MediaCorrente.Options = LoopSound;
    MediaCorrente.SoundFile = breve;
    Dialog_Titoli f;
    CaricaSenzaEseguire(f);
    f.SuonaFileAudio(breve);
    EXPECT_EQ(f.MediaPlayer1.PlayCount(), 0);
    ClockAdvance(10000);
    EXPECT_EQ(f.MediaPlayer1.PlayState(), MediaPlayer::InRiproduzione);
    f.Unload();
}

TEST_F(FinestraMedia, Mp3AndCompressedWaveBackgroundSoundsPlay) {
    struct Caso {
        const char* file;
        std::string contenuto;
    };
    for (const Caso& c : {Caso{"sottofondo.mp3", suoni::Mp3(80)}, Caso{"sottofondo.wav", suoni::ImaAdpcm(32)}}) {
        const std::string percorso = store / c.file;
        ASSERT_TRUE(ScriviFileProva(percorso, c.contenuto));
        MediaCorrente.TypeFlags = BackgroundSound;
        MediaCorrente.SoundFile = percorso;
        Dialog_Titoli f;
        CaricaSenzaEseguire(f);
        f.SuonaFileAudio(percorso);
        EXPECT_EQ(f.MediaPlayer1.PlayState(), MediaPlayer::InRiproduzione) << c.file;
        EXPECT_GT(f.MediaPlayer1.Durata(), 1900u) << c.file;
        f.Unload();
    }
}

TEST_F(FinestraMedia, EscapeEndsTheMediaOnlyWhenTheMediaAllowsIt) {
    struct Caso {
        int32_t opzioni;
        bool premuto;
        bool fine;
    };
    for (const Caso& c : {Caso{EscapeBreaks, true, true}, Caso{EscapeBreaks, false, false}, Caso{0, true, false}}) {
        MediaCorrente.Options = c.opzioni;
        Dialog_Titoli f;
        f.ImpostaValori();
        f.TestoMostrato = true;
        f.PromptAttivo = true;
        Escape(c.premuto);
        bool fine = !c.fine;
        EXPECT_EQ(f.ControllaTastoEscape(fine), c.fine) << c.opzioni << c.premuto;
        EXPECT_EQ(fine, c.fine);
        EXPECT_EQ(f.AbortEscape, c.fine);
        EXPECT_EQ(f.TestoMostrato, !c.fine);
        EXPECT_EQ(f.PromptAttivo, !c.fine);
        Escape(false);
    }
}

TEST_F(FinestraMedia, TheCountdownRunsOneValueASecondAndStopsExactlyAtItsEnd) {
    struct Caso {
        const char* nome;
        int32_t inizio, fine;
        // ms since the start at each tick, the value shown then
        std::vector<std::pair<uint32_t, double>> tick;
    };
    const std::vector<Caso> casi = {
        {"10 to 0",
         10,
         0,
         {{1000, 9}, {2000, 8}, {3000, 7}, {4000, 6}, {5000, 5}, {6000, 4}, {7000, 3}, {8000, 2}, {9000, 1},
          {10000, 0}}},
        {"0 to 10", 0, 10, {{1000, 1}, {2000, 2}, {9000, 9}, {10000, 10}}},
        {"a late tick stops at the end", 10, 0, {{9000, 1}, {12500, 0}}},
        {"up with a late tick", 1, 10, {{4000, 5}, {30000, 10}}},
        {"start equal to end", 5, 5, {{1000, 5}}},
        {"ticks a little early or late", 10, 0, {{990, 9.01}, {2010, 7.99}}},
    };
    for (const Caso& c : casi) {
        Dialog_Titoli f;
        f.ImpostaValori();
        ContatoreIniziale = c.inizio;
        ContatoreFinale = c.fine;
        FlagCountDown = 0x2;
        f.TestoDinamico = "T-#counter#";
        f.InizioCountDown = ClockTick();
        f.UltimoContatore = c.inizio;
        f.CountDownInCorso = true;
        f.Timer_Dinamico.SetInterval(1000);
        f.Timer_Dinamico.SetEnabled(true);
        uint32_t ora = 0;
        for (size_t i = 0; i < c.tick.size(); ++i) {
            ASSERT_TRUE(f.Timer_Dinamico.Enabled()) << c.nome << " before the tick at " << c.tick[i].first;
            ClockAdvance(c.tick[i].first - ora);
            ora = c.tick[i].first;
            f.Timer_Dinamico_Timer();
            EXPECT_NEAR(f.UltimoContatore, c.tick[i].second, 1e-9) << c.nome << " at " << ora;
        }
        EXPECT_EQ(f.UltimoContatore == c.fine, !f.Timer_Dinamico.Enabled()) << c.nome;
    }
}

TEST_F(FinestraMedia, TwoHundredMediaInARowLeaveTheGdiObjectsWhereTheyWere) {
    const std::string immagine = Bitmap("sfondo.bmp", 64, 48, RGB(0, 128, 255));
    Bitmap("tr_capture_screen.bmp", 32, 24, RGB(255, 0, 0));
    ConservaCatture = true;
    const std::string suono = store / "suono.wav";
    ASSERT_TRUE(ScriviFileProva(suono, Wav(3000)));
    LogAbilitato = false;
    struct Media {
        int32_t flags;
        int32_t opzioni;
    };
    // A text over a picture with its sound, a text over the captured screen,
    // a scrolling text and a text that blinks over a coloured surface.
    const std::vector<Media> elenco = {
        {FixedText | BackgroundImage | BackgroundSound, FadeOutSound},
        {FixedText | ScreenCapture, 0},
        {ScrollText | BackgroundImage, 0},
        {FixedText, 0},
    };
    auto esegui = [&](size_t i) {
        const Media& m = elenco[i % elenco.size()];
        MediaCorrente = MediaTrigger{};
        MediaCorrente.TypeFlags = m.flags;
        MediaCorrente.Options = m.opzioni;
        MediaCorrente.MediaFile = immagine;
        MediaCorrente.SoundFile = suono;
        MediaCorrente.Text = "<TEXT>\r\nLine one\r\nLine two\r\n<END_TEXT>";
        MediaCorrente.Duration = 1;
        MediaCorrente.Formato.Color = static_cast<int32_t>(RGB(255, 255, 255));
        MediaCorrente.Formato.BoundRect = Rettangolo{100, 100, 900, 900};
        MediaCorrente.Formato.Effect = i % 4 == 3 ? 2 : 0;
        MediaCorrente.Formato.ScrollStep = 20;
        Dialog_Titoli f;
        f.ImpostaValori();
        f.MostraModale();
        // What the performers themselves draw on, for the kinds that may not
        // use all of it.
        Dialog_Titoli d;
        CaricaSenzaEseguire(d);
        bool ok = false;
        d.CaricaImmagineMedia(0, ok);
        d.CreaMemoryDC();
        d.BoundRect = Rettangolo{10, 10, 200, 100};
        d.ApplicaBoundRectSalvato();
        d.ImpostaClipRoundRect(Rettangolo{10, 10, 200, 100});
        d.ScriviTestoRect("text");
        d.TestoDinamico = "blink";
        FormatoTestoCorrente.Effect = 2;
        d.Timer_Dinamico_Timer();
        d.Timer_Dinamico_Timer();
        d.AnnullaClipRegion();
        d.RipristinaSfondo(true);
        d.Unload();
    };
    // The first media makes what the system keeps for good (stock objects,
    // the cached device contexts, the fonts).
    for (size_t i = 0; i < elenco.size(); ++i) esegui(i);
    const int32_t prima = OggettiGdi();
    for (size_t i = 0; i < 200; ++i) esegui(i);
    EXPECT_EQ(OggettiGdi(), prima);
}

}  // namespace
