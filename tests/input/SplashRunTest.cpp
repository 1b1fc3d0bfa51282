// Splash screens performed in the cover window over a windowed game, outside
// a configured run: the input box fed by keys the player types into the
// cover, an animation drawn over the splash's picture on the test clock, the
// operations refused or failing before the frame loop, and what the splash
// gives back on every road out.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/ImageFormats.h"
#include "core/ImageLoading.h"
#include "core/LevelVariables.h"
#include "core/MediaSyntax.h"
#include "core/MediaConfig.h"
#include "core/MediaTrigger.h"
#include "core/ModuleInit.h"
#include "core/SharedState.h"
#include "gamerun/InputPrompt.h"
#include "gamerun/MediaDispatcher.h"
#include "input/GameOperation.h"
#include "input/SplashRun.h"
#include "platform/Clock.h"
#include "runservices/Desktop.h"
#include "runservices/InputBox.h"
#include "runservices/RunHooks.h"
#include "runservices/RunState.h"
#include "runservices/Sounds.h"
#include "savegames/SavegameBackup.h"
#include "savegames/SavegameCache.h"
#include "savegames/SavegameValues.h"
#include "core/FileUtils.h"
#include "tests/core/LogLines.h"
#include "tests/input/KeyLayer.h"
#include "tests/media/KeyPresses.h"
#include "tests/support/TestFolders.h"

namespace {

constexpr int32_t Lato = 1000;
constexpr COLORREF Grigio = RGB(90, 90, 90);
constexpr COLORREF Rosso = RGB(200, 0, 0);

std::string Sezione(const std::string& nome, const std::string& contenuto) {
    return "<" + nome + ">\r\n" + contenuto + "<END_" + nome + ">\r\n";
}

std::string Splash(int32_t modo, int32_t flags, const std::string& altri = "") {
    return Sezione("SPLASH", "#FLAGS#=" + std::to_string(flags) + "\r\n#MODE#=" + std::to_string(modo) +
                                 "\r\n#CD_SOUND#=-1\r\n#END_TEXT_TIME#=1\r\n#MEDIA#=-1\r\n#TIME_OUT#=-1\r\n" + altri);
}

// A sprite of one picture, moved in five steps, with a tone at each step.
std::string Sprite(const std::string& inizio, const std::string& fine) {
    return "#FLAGS#=32769\r\n#FRAMES#=5\r\n#SOUND_FRAMES#=1\r\n#IMAGE#=red.bmp\r\n#BACK_IMAGE#=~\r\n"
           "#CYCLE_SECONDS#=1\r\n#ANIMATION_SECONDS#=1\r\n#DELAY_SPRITE_FRAMES#=-1\r\n#SPRITE_FRAMES#=1\r\n"
           "#RECT_START#=" +
           inizio + "\r\n#RECT_END#=" + fine + "\r\n#RECT_TARGET#=0:0:1000:1000\r\n#TOT_CLIPS#=0\r\n";
}

std::string Bmp(COLORREF colore, int32_t lato) {
    std::string bgr;
    for (int32_t i = 0; i < lato * lato; ++i) {
        bgr += static_cast<char>(GetBValue(colore));
        bgr += static_cast<char>(GetGValue(colore));
        bgr += static_cast<char>(GetRValue(colore));
    }
    return ComponiBmp24(lato, lato, bgr);
}

std::vector<std::string> catture;

bool CatturaDiProva(std::string& percorso) {
    percorso = "capture_" + std::to_string(catture.size()) + ".bmp";
    catture.push_back(percorso);
    return true;
}

class SplashCover : public ConRigheLogTenute {
protected:
    void SetUp() override {
        ConRigheLogTenute::SetUp();
        salvati_ = {SchermoX, SchermoY, SchermoOrigX, SchermoOrigY};
        SchermoX = SchermoY = SchermoOrigX = SchermoOrigY = Lato;
        trle_ = CartellaTrle;
        store_ = PercorsoStore;
        mcf_ = HeaderMcf.CartellaMcf;
        opzioni_ = HeaderMcf.HeaderOptions;
        CartellaTrle = PercorsoStore = HeaderMcf.CartellaMcf = cartella_.Percorso();
        HeaderMcf.HeaderOptions = ParolaOpzioni(OpzioneHeader::SharedMode);
        fuori_ = FuoriGioco;
        FuoriGioco = true;
        ganci_ = Ganci;
        Ganci.SostituisciPrompt = SostituisciPrompt;
        Ganci.CatturaSchermoGioco = CatturaDiProva;
        catture.clear();
        MediaCorrente = MediaTrigger{};
        MediaCorrente.TypeFlags = BitSplash;
        ModificheAvvio = 0;
        StatoSequenza = 0;
        RequisitiSequenza = 0;
        FinestraSplash = -1;
        OperazioneGioco = OperazioneGiocoCorrente{};
        // A guardian's hook, which the splash holds off while it runs.
        ImpostaBit(StatoGioco, HookTastieraAttivo);
    }
    void TearDown() override {
        DialogCover().Hide();
        MediaCorrente = MediaTrigger{};
        OperazioneGioco = OperazioneGiocoCorrente{};
        Ganci = ganci_;
        FuoriGioco = fuori_;
        HeaderMcf.HeaderOptions = opzioni_;
        HeaderMcf.CartellaMcf = mcf_;
        PercorsoStore = store_;
        CartellaTrle = trle_;
        SchermoX = salvati_[0];
        SchermoY = salvati_[1];
        SchermoOrigX = salvati_[2];
        SchermoOrigY = salvati_[3];
        ModificheAvvio = 0;
        StatoSequenza = 0;
        TogliBit(StatoGioco, HookTastieraAttivo | HookSospeso);
        ConRigheLogTenute::TearDown();
    }
    // What a splash must give back, however it ended.
    static void NullaRestaAcceso() {
        EXPECT_FALSE(HaBit(ModificheAvvio, SplashAttivo));
        EXPECT_FALSE(HaBit(ModificheAvvio, InputBoxAttivo));
        EXPECT_FALSE(HaBit(ModificheAvvio, SwapTaskBloccato));
        EXPECT_FALSE(HaBit(StatoGioco, HookSospeso));
        EXPECT_EQ(FinestraSplash, -1);
        EXPECT_EQ(StatoAnimazioneSplash.AnimazioneSplash, nullptr);
        EXPECT_EQ(SuperficieSplash, nullptr);
    }

    CartellaProva cartella_;
    std::vector<int32_t> salvati_;
    std::string trle_, store_, mcf_;
    int32_t opzioni_ = 0;
    bool fuori_ = false;
    GanciRun ganci_{};
};

// The keys of the current case, typed once the input box waits for them.
std::vector<WORD> tastiDaInviare;
bool tastiInviati = false;

void CALLBACK InviaTasti(HWND, UINT, UINT_PTR, DWORD) {
    if (tastiInviati || !HaBit(ModificheAvvio, InputBoxAttivo)) return;
    tastiInviati = true;
    for (WORD vk : tastiDaInviare) {
        tasti::Tasto(vk, true);
        tasti::Tasto(vk, false);
    }
}

class InputBoxSplash : public SplashCover {
protected:
    void SetUp() override {
        SplashCover::SetUp();
        // Typing takes real time: the splash's waits run on the real clock.
        ClockUseManual(false);
        DialogCover().Load();
    }
};

TEST_F(InputBoxSplash, KeysTypedIntoTheCoverFillThePromptUntilTheInputEnds) {
    struct Caso {
        const char* nome;
        int32_t flags;
        std::string altri;
        std::vector<WORD> tasti;
        bool risultato;
        std::string digitato;
        std::string variabile;
        size_t catture;
    };
    const std::string posto = "#TOT_ANIMATIONS#=0\r\n#BOUND_WINDOW#=100:100:900:500\r\n";
    const Caso casi[] = {
        // Letters arrive as their keys, upper case; the expected text matches without regard to case.
        {"typed and confirmed", 0x1000, posto + "#LAST_INPUT#=ab1\r\n", {'A', 'B', '1', VK_RETURN}, true, "AB1",
         "AB1", 1},
        {"other than expected", 0x1000, posto + "#LAST_INPUT#=Lara\r\n", {'Z', VK_RETURN}, true, "Z", "Z", 0},
        {"longest text", 0, posto + "#MAX_CHARS#=2\r\n", {'A', 'B', 'C', VK_RETURN}, true, "AB", "AB", 0},
        {"single key", 0x80, posto, {'Y'}, true, "Y", "Y", 0},
        {"escape", 0x1000, posto, {'X', VK_ESCAPE}, false, "", "before", 0},
    };
    for (const Caso& c : casi) {
        SCOPED_TRACE(c.nome);
        MediaCorrente.Options = EscapeBreaks;
        // Frames go on after the input for the rest of the second.
        MediaCorrente.Duration = 1;
        MediaCorrente.Text = "Name: #PROMPT#";
        MediaCorrente.Syntax = Splash(64, c.flags, c.altri);
        // Outside a run the variable is a file of the store folder.
        SalvaVariabile(IdUltimoInput, "before");
        catture.clear();
        tastiDaInviare = c.tasti;
        tastiInviati = false;
        const UINT_PTR timer = SetTimer(nullptr, 0, 20, InviaTasti);
        bool escape = true, errore = true;
        const bool risultato = EseguiSplashScreen(escape, errore);
        KillTimer(nullptr, timer);
        EXPECT_TRUE(tastiInviati);
        EXPECT_EQ(risultato, c.risultato);
        EXPECT_FALSE(errore);
        EXPECT_FALSE(escape);
        EXPECT_EQ(InputSplash, c.digitato);
        bool letturaFallita = false;
        EXPECT_EQ(LeggiVariabile(IdUltimoInput, letturaFallita, false, true), c.variabile);
        EXPECT_EQ(catture.size(), c.catture);
        EXPECT_TRUE(OperazioneGioco.Completata);
        EXPECT_EQ(std::string(c.risultato ? "" : "User chooses Escape: exit with false").empty(),
                  !HaRiga("User chooses Escape: exit with false"));
        // The input pass ran once: the complete input is not taken again in later frames.
        int32_t complete = 0;
        for (const std::string& r : Righe()) complete += r == "Input text is complete";
        EXPECT_EQ(complete, 1);
        NullaRestaAcceso();
        BufferLog.clear();
    }
}

// Ticks of a timer's calls once the input is complete, while the splash runs.
std::vector<uint32_t> dopoInput;

void CALLBACK ContaDopoInput(HWND, UINT, UINT_PTR, DWORD) {
    if (InputSplashConcluso && HaBit(ModificheAvvio, SplashAttivo)) dopoInput.push_back(GetTickCount());
}

// The splash goes on after the input for the rest of its time, its window
// messages handled all the while.
TEST_F(InputBoxSplash, MessagesAreHandledForTheRestOfTheSplashAfterTheInput) {
    MediaCorrente.Duration = 2;
    MediaCorrente.Text = "Name: #PROMPT#";
    MediaCorrente.Syntax = Splash(64, 0, "#TOT_ANIMATIONS#=0\r\n#BOUND_WINDOW#=100:100:900:500\r\n");
    tastiDaInviare = {'A', VK_RETURN};
    tastiInviati = false;
    dopoInput.clear();
    const UINT_PTR tasti = SetTimer(nullptr, 0, 20, InviaTasti);
    const UINT_PTR conta = SetTimer(nullptr, 0, 20, ContaDopoInput);
    bool escape = true, errore = true;
    const bool risultato = EseguiSplashScreen(escape, errore);
    KillTimer(nullptr, conta);
    KillTimer(nullptr, tasti);
    EXPECT_TRUE(tastiInviati);
    EXPECT_TRUE(risultato);
    EXPECT_FALSE(errore);
    EXPECT_EQ(InputSplash, "A");
    EXPECT_TRUE(HaRiga("Time durate for splash screen is complete"));
    ASSERT_GE(dopoInput.size(), 5u);
    EXPECT_GE(dopoInput.back() - dopoInput.front(), 500u);
    NullaRestaAcceso();
}

// The tones of the sprites' steps, with what the cover showed at each.
struct Campione {
    COLORREF inizio, fine, sfondo;
};
std::vector<Campione> campioni;

COLORREF PuntoCover(int32_t x, int32_t y) { return SuperficieSplash ? GetPixel(SuperficieSplash, x, y) : CLR_INVALID; }

TEST_F(SplashCover, TheAnimationMovesItsSpriteOverThePictureOnTheTestClock) {
    ASSERT_TRUE(ScriviFileProva(cartella_ / "red.bmp", Bmp(Rosso, 10)));
    ASSERT_TRUE(ScriviFileProva(cartella_ / "back.bmp", Bmp(Grigio, 20)));
    MediaCorrente.TypeFlags = int32_t{BitSplash} | BackgroundImage;
    MediaCorrente.MediaFile = "back.bmp";
    MediaCorrente.Duration = 0;
    // A second sprite, far from the first, shows where the first one ended.
    MediaCorrente.Syntax =
        Splash(8, 0x2000 | 0x10, "#TOT_ANIMATIONS#=2\r\n" + Sezione("ANIMATION1", Sprite("0:0:100:100", "800:0:900:100")) +
                                    Sezione("ANIMATION2", Sprite("0:800:100:900", "800:800:900:900")));
    campioni.clear();
    void (*tono)(int32_t, int32_t) = EmettiTono;
    EmettiTono = [](int32_t, int32_t) {
        campioni.push_back({PuntoCover(50, 50), PuntoCover(850, 50), PuntoCover(500, 500)});
    };
    bool escape = true, errore = true;
    const bool risultato = EseguiSplashScreen(escape, errore);
    EmettiTono = tono;
    EXPECT_TRUE(risultato);
    EXPECT_FALSE(errore);
    ASSERT_GE(campioni.size(), 10u);
    // Each step's tone comes between the erasing of the last place and the
    // drawing of the next: while the first sprite moves, its end is bare.
    EXPECT_TRUE(std::all_of(campioni.begin(), campioni.begin() + 5,
                            [](const Campione& c) { return c.inizio == Grigio && c.fine == Grigio; }));
    // While the second sprite moves, the first rests at its end, its start
    // put back to the picture.
    EXPECT_EQ(campioni.back().fine, Rosso);
    EXPECT_EQ(campioni.back().inizio, Grigio);
    for (const Campione& c : campioni) EXPECT_EQ(c.sfondo, Grigio);
    EXPECT_TRUE(HaRiga("Performed all animations"));
    NullaRestaAcceso();
}

TEST_F(SplashCover, OperationsThatCannotStartEndTheSplashBeforeItsLoop) {
    struct Caso {
        const char* nome;
        int32_t modo;
        bool condiviso;
        bool anteprima;
        const char* errore;
        const char* resto = "#TOT_ANIMATIONS#=0\r\n";
    };
    const Caso casi[] = {
        {"unknown operation", 3, true, true, "ERROR: unknown operation to perform in current splash screen"},
        {"save over a full-screen game", 1, false, false,
         "ERROR: Splash screen cann't perform special operation in exclusive video mode"},
        {"titles without a savegame", 16, true, true, "ERROR: not found savegame:  in savegame cache"},
        {"missing cd track", 4, true, true, "ERROR: missing cd sound file = "},
    };
    for (const Caso& c : casi) {
        SCOPED_TRACE(c.nome);
        HeaderMcf.HeaderOptions = c.condiviso ? ParolaOpzioni(OpzioneHeader::SharedMode) : 0;
        FuoriGioco = c.anteprima;
        CacheSavegame = SavegameCache{};
        // A failed splash that goes back to the titles closes the game.
        ProcessoGioco.hProcess = reinterpret_cast<void*>(1);
        TogliBit(StatoGioco, AbortSuErrore);
        MediaCorrente.Syntax = Splash(c.modo, 0x2000, c.resto);
        BufferLog.clear();
        NumErroriLog = 0;
        bool escape = true, errore = false;
        EXPECT_FALSE(EseguiSplashScreen(escape, errore));
        EXPECT_TRUE(errore);
        EXPECT_FALSE(escape);
        EXPECT_EQ(UltimoErrore.rfind(c.errore, 0), 0u) << UltimoErrore;
        EXPECT_FALSE(HaRiga("Show immediatly cover without wait loading image") && c.modo == 1);
        NullaRestaAcceso();
    }
}

// A tag the author left out, as one the splash does not use, has its error
// line; the splash runs on the defaults and what was read before it.
TEST_F(SplashCover, ASectionThatLacksATagRunsOnWhatWasRead) {
    struct Caso {
        const char* nome;
        std::string sintassi;
        const char* riga;
        std::vector<std::string> mostrate;
    };
    const Caso casi[] = {
        {"no media in a splash that waits",
         Sezione("SPLASH", "#FLAGS#=8192\r\n#MODE#=8\r\n#CD_SOUND#=-1\r\n#END_TEXT_TIME#=1\r\n"),
         "ERROR in Splash Screen Media: missing #MEDIA# value", {}},
        {"no start count in a text that does not count",
         Splash(8, 0x2000 | 0x2, "#TOT_ANIMATIONS#=0\r\n") +
             Sezione("PROGR_TEXT", "#FLAGS#=0\r\n#TIME#=300\r\n"),
         "ERROR: not numeric value for #Start_Count# field of Progressive Text chunk",
         {"Show progressive text: \"ONE\"", "Show progressive text: \"TWO\""}},
    };
    for (const Caso& c : casi) {
        SCOPED_TRACE(c.nome);
        MediaCorrente.Duration = 1;
        MediaCorrente.Text = "<TEXT>ONE\r\nTWO<END_TEXT>";
        MediaCorrente.Formato.CharRow = 39;
        MediaCorrente.Formato.BoundRect = Rettangolo{0, 0, 500, 100};
        MediaCorrente.Syntax = c.sintassi;
        BufferLog.clear();
        NumErroriLog = 0;
        const uint32_t inizio = ClockTick();
        bool escape = true, errore = true;
        EXPECT_TRUE(EseguiSplashScreen(escape, errore));
        EXPECT_FALSE(errore);
        EXPECT_FALSE(escape);
        EXPECT_GE(ClockTick() - inizio, 1000u);
        EXPECT_TRUE(HaRiga(c.riga));
        for (const std::string& riga : c.mostrate) EXPECT_TRUE(HaRiga(riga)) << riga;
        EXPECT_TRUE(HaRiga("Time durate for splash screen is complete"));
        NullaRestaAcceso();
    }
}

TEST_F(SplashCover, OnlyAFailedSplashThatMustAbortTheGameWarnsOfIt) {
    struct Caso {
        const char* nome;
        int32_t modo;
        int32_t requisiti;
        bool avviso;
    };
    const Caso casi[] = {
        {"successful splash in an aborting sequence", 8, RichiedeAbortSuErrore, false},
        {"failed splash in an aborting sequence", 3, RichiedeAbortSuErrore, true},
        {"failed splash", 3, 0, false},
    };
    for (const Caso& c : casi) {
        SCOPED_TRACE(c.nome);
        RequisitiSequenza = c.requisiti;
        StatoGioco &= ~AbortSuErrore;
        ProcessoGioco.hProcess = reinterpret_cast<void*>(1);
        MediaCorrente.Syntax = Splash(c.modo, 0x2000, "#TOT_ANIMATIONS#=0\r\n");
        BufferLog.clear();
        bool escape = false, errore = false;
        EseguiSplashScreen(escape, errore);
        EXPECT_EQ(HaBit(StatoGioco, AbortSuErrore), c.avviso);
        NullaRestaAcceso();
    }
    RequisitiSequenza = 0;
    StatoGioco &= ~AbortSuErrore;
}

std::vector<uint32_t> istantiToni;

TEST_F(SplashCover, FramesQuickerThanTheLoopAreDrawnWhenTheyAreDue) {
    ASSERT_TRUE(ScriviFileProva(cartella_ / "red.bmp", Bmp(Rosso, 10)));
    MediaCorrente.Duration = 0;
    // 25 steps in a second, a tone with each.
    const std::string sprite =
        "#FLAGS#=32769\r\n#FRAMES#=25\r\n#SOUND_FRAMES#=1\r\n#IMAGE#=red.bmp\r\n#BACK_IMAGE#=~\r\n"
        "#CYCLE_SECONDS#=1\r\n#ANIMATION_SECONDS#=1\r\n#DELAY_SPRITE_FRAMES#=-1\r\n#SPRITE_FRAMES#=1\r\n"
        "#RECT_START#=0:0:100:100\r\n#RECT_END#=960:0:1000:100\r\n#RECT_TARGET#=0:0:1000:1000\r\n#TOT_CLIPS#=0\r\n";
    MediaCorrente.Syntax = Splash(8, 0x2000 | 0x10, "#TOT_ANIMATIONS#=1\r\n" + Sezione("ANIMATION1", sprite));
    istantiToni.clear();
    void (*tono)(int32_t, int32_t) = EmettiTono;
    EmettiTono = [](int32_t, int32_t) { istantiToni.push_back(ClockTick()); };
    bool escape = true, errore = true;
    const bool risultato = EseguiSplashScreen(escape, errore);
    EmettiTono = tono;
    EXPECT_TRUE(risultato);
    ASSERT_GE(istantiToni.size(), 25u);
    for (size_t i = 1; i < istantiToni.size(); ++i) EXPECT_EQ(istantiToni[i] - istantiToni[i - 1], 40u) << i;
    NullaRestaAcceso();
}

std::vector<uint32_t> toniPasso;

// An animation whose step or picture interval is 0 or less is due at every
// pass: the passes keep their 100 ms pace instead of drawing without rest.
TEST_F(SplashCover, IntervalsOfZeroKeepTheLoopsPace) {
    ASSERT_TRUE(ScriviFileProva(cartella_ / "red.bmp", Bmp(Rosso, 20)));
    struct Caso {
        const char* nome;
        const char* secondi;
        const char* formula;
        const char* ritardo;
        const char* immagini;
    };
    const Caso casi[] = {
        {"a cycle of 0 seconds", "0", "~", "-1", "1"},
        {"a formula giving 0 seconds", "1", "2-2", "-1", "1"},
        {"pictures every 0 ms", "1", "~", "0", "2"},
    };
    for (const Caso& c : casi) {
        SCOPED_TRACE(c.nome);
        // A looping sprite of 5 steps for 1 s, a tone with each drawing.
        const std::string sprite = std::string("#FLAGS#=33025\r\n#FRAMES#=5\r\n#SOUND_FRAMES#=1\r\n") +
                                   "#IMAGE#=red.bmp\r\n#BACK_IMAGE#=~\r\n#CYCLE_SECONDS#=" + c.secondi +
                                   "\r\n#ANIMATION_SECONDS#=1\r\n#DELAY_SPRITE_FRAMES#=" + c.ritardo +
                                   "\r\n#SPRITE_FRAMES#=" + c.immagini +
                                   "\r\n#RECT_START#=0:0:100:100\r\n#RECT_END#=500:0:600:100\r\n"
                                   "#RECT_TARGET#=0:0:1000:1000\r\n#TOT_CLIPS#=0\r\n#NEW_SECONDS#=" +
                                   c.formula + "\r\n";
        MediaCorrente.Duration = 0;
        MediaCorrente.Syntax = Splash(8, 0x2000 | 0x10, "#TOT_ANIMATIONS#=1\r\n" + Sezione("ANIMATION1", sprite));
        toniPasso.clear();
        void (*tono)(int32_t, int32_t) = EmettiTono;
        EmettiTono = [](int32_t, int32_t) {
            toniPasso.push_back(ClockTick());
            // A loop that never waits would hold the test clock for ever.
            if (toniPasso.size() > 200) ClockAdvance(1000);
        };
        bool escape = true, errore = true;
        const bool risultato = EseguiSplashScreen(escape, errore);
        EmettiTono = tono;
        EXPECT_TRUE(risultato);
        EXPECT_FALSE(errore);
        ASSERT_GE(toniPasso.size(), 10u);
        EXPECT_LE(toniPasso.size(), 12u);
        for (size_t i = 1; i < toniPasso.size(); ++i) EXPECT_GE(toniPasso[i] - toniPasso[i - 1], 100u) << i;
        NullaRestaAcceso();
    }
}

TEST_F(SplashCover, ASplashOverAFullScreenGameGivesBackWhatItHeld) {
    HeaderMcf.HeaderOptions = 0;
    FuoriGioco = false;
    MediaCorrente.Duration = 1;
    MediaCorrente.Syntax = Splash(8, 0x2000, "#TOT_ANIMATIONS#=0\r\n");
    bool escape = true, errore = true;
    EXPECT_TRUE(EseguiSplashScreen(escape, errore));
    EXPECT_FALSE(errore);
    EXPECT_TRUE(HaRiga("Time durate for splash screen is complete"));
    NullaRestaAcceso();
}

// A splash that performs a media inside it (operation 32) at its start,
// after a save by an earlier media, or once its own save is seen, while its
// animation runs. The save and load keys are caught.
class SplashConMedia : public SplashCover {
protected:
    void SetUp() override {
        SplashCover::SetUp();
        tastiprova::PreparaTasti();
        lista_ = ListaMedia;
        conteggio_ = HeaderMcf.TriggerCount;
        // The splash is itself one of a list.
        LivelloAnnidamento = 1;
    }
    void TearDown() override {
        tastiprova::Ripristina();
        ListaMedia = lista_;
        HeaderMcf.TriggerCount = conteggio_;
        LivelloAnnidamento = 0;
        SplashCover::TearDown();
    }
    std::vector<MediaTrigger> lista_;
    int32_t conteggio_ = 0;
};

constexpr COLORREF Verde = RGB(0, 160, 0);
constexpr COLORREF Blu = RGB(0, 0, 255);
constexpr int32_t CodiceInterno = 9;

// What the splash's cover showed at each step of its sprite once the inner
// media had ended.
struct Vista {
    bool visibile;
    COLORREF sfondo, fuoriClip, inizio;
    bool regione;
};
std::vector<Vista> viste;
bool internoFinito = false;

bool InternoVero(int32_t codice, bool& errore) {
    const bool esito = EseguiMediaCode(codice, errore);
    internoFinito = true;
    return esito;
}

TEST_F(SplashConMedia, TheSplashGetsItsCoverBackWhenTheMediaInsideItEnds) {
    ASSERT_TRUE(ScriviFileProva(cartella_ / "red.bmp", Bmp(Rosso, 10)));
    // A sprite that leaves its trace, drawn only left of 300, looping for
    // 6 s (the save alone takes 2) with a tone at each step.
    const std::string traccia =
        "#FLAGS#=33089\r\n#FRAMES#=5\r\n#SOUND_FRAMES#=1\r\n#IMAGE#=red.bmp\r\n#BACK_IMAGE#=~\r\n"
        "#CYCLE_SECONDS#=1\r\n#ANIMATION_SECONDS#=6\r\n#DELAY_SPRITE_FRAMES#=-1\r\n#SPRITE_FRAMES#=1\r\n"
        "#RECT_START#=0:0:100:100\r\n#RECT_END#=500:0:600:100\r\n#RECT_TARGET#=0:0:1000:1000\r\n"
        "#TOT_CLIPS#=1\r\n#CLIP1#=0:0:300:1000\r\n";
    // The inner splash: blue, with a clipped sprite of its own and no tone.
    const std::string interno =
        "#FLAGS#=1\r\n#FRAMES#=2\r\n#IMAGE#=red.bmp\r\n#BACK_IMAGE#=~\r\n"
        "#CYCLE_SECONDS#=1\r\n#ANIMATION_SECONDS#=1\r\n#DELAY_SPRITE_FRAMES#=-1\r\n#SPRITE_FRAMES#=1\r\n"
        "#RECT_START#=400:400:500:500\r\n#RECT_END#=400:400:500:500\r\n#RECT_TARGET#=0:0:1000:1000\r\n"
        "#TOT_CLIPS#=1\r\n#CLIP1#=400:400:450:450\r\n";
    MediaTrigger dentro;
    dentro.TypeFlags = int32_t{BitSplash} | 0x20;
    dentro.BackColor = static_cast<int32_t>(Blu);
    dentro.MediaCode = CodiceInterno;
    dentro.TriggerCd = TriggerCdNessuno;
    dentro.Syntax = Splash(8, 0x2000 | 0x10, "#TOT_ANIMATIONS#=1\r\n" + Sezione("ANIMATION1", interno));
    MediaTrigger fuori;
    fuori.TypeFlags = int32_t{BitSplash} | 0x20;
    fuori.BackColor = static_cast<int32_t>(Verde);
    fuori.MediaCode = 8;
    fuori.TriggerCd = TriggerCdNessuno;
    std::string sezione = Splash(32, 0x2000 | 0x10, "#TOT_ANIMATIONS#=1\r\n" + Sezione("ANIMATION1", traccia));
    sezione.replace(sezione.find("#MEDIA#=-1"), 10, "#MEDIA#=" + std::to_string(CodiceInterno));
    fuori.Syntax = sezione;
    ListaMedia = {fuori, dentro};
    HeaderMcf.TriggerCount = 2;
    Ganci.EseguiMediaCode = InternoVero;
    struct Caso {
        const char* nome;
        int32_t sequenza;
    };
    const Caso casi[] = {{"at the start", PartitaSalvata}, {"after its own save", 0}};
    for (const Caso& c : casi) {
        SCOPED_TRACE(c.nome);
        StatoSequenza = c.sequenza;
        MediaCorrente = fuori;
        viste.clear();
        internoFinito = false;
        void (*tono)(int32_t, int32_t) = EmettiTono;
        EmettiTono = [](int32_t, int32_t) {
            if (!internoFinito) return;
            auto punto = [](int32_t x, int32_t y) {
                return SuperficieSplash ? GetPixel(SuperficieSplash, x, y) : CLR_INVALID;
            };
            const HRGN regione = StatoAnimazioneSplash.ClipRegion;
            viste.push_back({CoverVisibile(), punto(800, 800), punto(450, 50), punto(50, 50),
                             regione && GetObjectType(regione) == OBJ_REGION});
        };
        bool escape = true, errore = true;
        const bool risultato = EseguiSplashScreen(escape, errore);
        EmettiTono = tono;
        EXPECT_TRUE(risultato);
        EXPECT_FALSE(errore);
        EXPECT_TRUE(internoFinito);
        EXPECT_TRUE(HaRiga("Media has been performed: Initialize for load game operation"));
        ASSERT_GE(viste.size(), 5u);
        for (const Vista& v : viste) {
            EXPECT_TRUE(v.visibile);
            EXPECT_EQ(v.sfondo, Verde);
            EXPECT_EQ(v.fuoriClip, Verde);
            EXPECT_TRUE(v.regione);
        }
        // The sprite drawn again at its start after the inner media.
        EXPECT_EQ(viste.back().inizio, Rosso);
        NullaRestaAcceso();
    }
}

// The inner media's error flag becomes the splash's; its failure ends the
// splash.
bool rispostaInterna = true, erroreInterno = false;
bool InternoFinto(int32_t, bool& errore) {
    errore = erroreInterno;
    return rispostaInterna;
}

TEST_F(SplashConMedia, TheMediaInsideTheSplashGivesItItsErrorFlag) {
    struct Caso {
        const char* nome;
        int32_t sequenza;
        bool risposta, errore;
        bool risultato, erroreSplash;
    };
    const Caso casi[] = {
        {"at the start, with an error", PartitaSalvata, true, true, false, true},
        {"at the start, failed", PartitaSalvata, false, false, false, false},
        {"after its save, with an error", 0, true, true, true, true},
        {"after its save, failed", 0, false, false, false, true},
        {"after its save", 0, true, false, true, false},
    };
    Ganci.EseguiMediaCode = InternoFinto;
    for (const Caso& c : casi) {
        SCOPED_TRACE(c.nome);
        StatoSequenza = c.sequenza;
        rispostaInterna = c.risposta;
        erroreInterno = c.errore;
        MediaCorrente.Syntax = Splash(32, 0x2000, "#TOT_ANIMATIONS#=0\r\n");
        bool escape = true, errore = !c.erroreSplash;
        EXPECT_EQ(EseguiSplashScreen(escape, errore), c.risultato);
        EXPECT_EQ(errore, c.erroreSplash);
        EXPECT_FALSE(escape);
        NullaRestaAcceso();
    }
}

TEST_F(SplashCover, GoingBackToTheTitlesKeepsThePlayersNewestSavegameToPutBack) {
    // In a run: outside one no backup is made.
    FuoriGioco = false;
    std::string dati(DimensioneSavegame, '\0');
    dati[OffsetNumeroSavegame] = 5;
    dati[OffsetLivelloSavegame] = 3;
    ASSERT_TRUE(ScriviFileProva(PercorsoSavegame(0), dati));
    CacheSavegame = SavegameCache{};
    AggiornaCacheSavegame(0);
    ASSERT_EQ(CacheSavegame.Count, 1);
    // Without the backup flag.
    MediaCorrente.Syntax = Splash(16, 0, "#TOT_ANIMATIONS#=0\r\n");
    SintassiSplash(EstraiSezione(MediaCorrente.Syntax, "SPLASH"));
    bool errore = false;
    EXPECT_TRUE(AvviaOperazioneSplash(errore));
    EXPECT_FALSE(errore);
    EXPECT_TRUE(HaBit(StatoSequenza, RipristinaBackupSavegame));
    const std::string disco = LeggiFileProva(PercorsoSavegame(0));
    const std::string copia = LeggiFileProva(CartellaOldSavegames() + "\\savegame.0");
    ASSERT_EQ(disco.size(), dati.size());
    // The slot leads to the titles; its copy still to the level.
    EXPECT_EQ(disco[OffsetLivelloSavegame], 0);
    EXPECT_EQ(copia, dati);
    EXPECT_TRUE(HaRiga("Modify last savegame " + PercorsoSavegame(0) + " to go to title"));
    CacheSavegame = SavegameCache{};
    SavegameCacheBackup = SavegameCache{};
    StatoSequenza = 0;
}

LRESULT CALLBACK ProceduraGioco(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m == WM_ERASEBKGND) {
        RECT r;
        GetClientRect(h, &r);
        FillRect(reinterpret_cast<HDC>(w), &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        return 1;
    }
    return DefWindowProcA(h, m, w, l);
}

// The input box's cover gets the whole screen back at the end: hidden where
// it stood first, so that its picture is never carried to the screen's
// corner over the game.
TEST_F(InputBoxSplash, TheEndLeavesThePictureNowhereButWhereItWas) {
    constexpr COLORREF Blu = RGB(0, 0, 255);
    WNDCLASSA wc{};
    wc.lpfnWndProc = ProceduraGioco;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "SplashGiocoProva";
    RegisterClassA(&wc);
    HWND gioco = CreateWindowExA(0, "SplashGiocoProva", "Tomb Raider", WS_POPUP | WS_VISIBLE, 0, 0, 800, 600, nullptr,
                                 nullptr, wc.hInstance, nullptr);
    ASSERT_NE(gioco, nullptr);
    UpdateWindow(gioco);
    FinestraGioco = gioco;
    MostraCoverTopMost();
    MediaCorrente.TypeFlags = int32_t{BitSplash} | 0x20;
    MediaCorrente.BackColor = static_cast<int32_t>(Blu);
    MediaCorrente.Duration = 0;
    MediaCorrente.Text = "Name: #PROMPT#";
    MediaCorrente.Syntax = Splash(64, 0, "#TOT_ANIMATIONS#=0\r\n#BOUND_WINDOW#=200:200:700:500\r\n");
    tastiDaInviare = {'A', VK_RETURN};
    tastiInviati = false;
    RettangoloDim cover{};
    const UINT_PTR tasti = SetTimer(nullptr, 0, 20, InviaTasti);
    bool escape = true, errore = true;
    const bool risultato = EseguiSplashScreen(escape, errore);
    KillTimer(nullptr, tasti);
    // Read before anything repaints what the cover uncovered.
    CopiaSchermo copia;
    const bool letto = LeggiSchermo(copia, 0, 0, 800, 600);
    std::vector<COLORREF> visti;
    if (letto) {
        for (int32_t y = 0; y < 600; ++y)
            for (int32_t x = 0; x < 800; ++x) visti.push_back(PixelCopia(copia, x, y));
        LiberaDibMemoria(copia.dib);
    }
    FinestraGioco = nullptr;
    DestroyWindow(gioco);
    EXPECT_TRUE(risultato);
    ASSERT_TRUE(letto);
    // The place of the box on a screen of 1000 x 1000 pixels.
    cover = RettangoloDim{200, 200, 501, 301};
    int32_t dentro = 0, fuori = 0;
    for (int32_t y = 0; y < 600; ++y)
        for (int32_t x = 0; x < 800; ++x) {
            if (visti[static_cast<size_t>(y) * 800 + x] != Blu) continue;
            const bool nelPosto = x >= cover.X && x < cover.X + cover.Larghezza && y >= cover.Y &&
                                  y < cover.Y + cover.Altezza;
            ++(nelPosto ? dentro : fuori);
        }
    EXPECT_EQ(fuori, 0);
    EXPECT_FALSE(CoverVisibile());
    EXPECT_EQ(RettCover, (RettangoloDim{0, 0, SchermoX, SchermoY}));
    NullaRestaAcceso();
}

}  // namespace
