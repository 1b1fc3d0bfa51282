// The comunicator: its syntax, the dialogue of two speakers over a layout,
// the portraits zoomed in with their corner colour left out, voices played
// once, missing files and Escape.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "core/MediaLog.h"
#include "media/ComunicatorMedia.h"
#include "media/MediaText.h"
#include "media/TextLayout.h"
#include "platform/Clock.h"
#include "tests/media/KeyPresses.h"
#include "tests/media/MediaWindowFixture.h"
#include "tests/media/SoundFiles.h"

namespace {

constexpr COLORREF Sfondo = RGB(0, 0, 200);
constexpr COLORREF Rosso = RGB(220, 0, 0);
constexpr COLORREF Giallo = RGB(230, 230, 0);
constexpr COLORREF Magenta = RGB(255, 0, 255);
constexpr COLORREF Verde = RGB(0, 200, 0);
constexpr COLORREF Bianco = RGB(255, 255, 255);

void Escape(bool giu) {
    tasti::Tasto(VK_ESCAPE, giu);
    Sleep(30);
}

struct Sezione {
    int32_t index;
    int32_t flags;
    int32_t wait;
    std::string testo;
    std::string extra;  // more tags of the section
};

std::string Sintassi(int32_t flags, const std::vector<Sezione>& sezioni, const std::string& persona1,
                     const std::string& persona2, const std::string& extra = "") {
    std::string s = "#FLAGS#=" + std::to_string(flags) + "\r\n" + extra + "#TOT_PERSONS#=2\r\n#TOT_SECTIONS#=" +
                    std::to_string(sezioni.size()) + "\r\n";
    for (size_t i = 0; i < sezioni.size(); ++i) {
        const Sezione& z = sezioni[i];
        const std::string n = std::to_string(i + 1);
        s += "<SECTION" + n + ">\r\n#INDEX#=" + std::to_string(z.index) + "\r\n#FLAGS#=" + std::to_string(z.flags) +
             "\r\n#WAIT#=" + std::to_string(z.wait) + "\r\n" + z.extra + "<TEXT>" + z.testo +
             "<END_TEXT>\r\n<END_SECTION" + n + ">\r\n";
    }
    s += "<PERSON1>\r\n" + persona1 + "<END_PERSON1>\r\n<PERSON2>\r\n" + persona2 + "<END_PERSON2>\r\n";
    return "<COMUNICATOR>\r\n" + s + "<END_COMUNICATOR>";
}

class Comunicator : public ProvaFinestraMedia {
protected:
    void SetUp() override {
        ProvaFinestraMedia::SetUp();
        // Layout A: the 8th character of the background's name.
        layout = Bitmap("comunicA.bmp", 64, 48, Sfondo);
        uno = Bitmap("uno.bmp", 16, 16, Rosso);
        due = Bitmap("due.bmp", 16, 16, Giallo);
        flip = Cornice("flip.bmp", Magenta, Verde);
        voce = store / "voce.wav";
        ASSERT_TRUE(ScriviFileProva(voce, suoni::ImaAdpcm(32)));
        MediaCorrente.TypeFlags = static_cast<int32_t>(BitComunicator) | BackgroundImage;
        MediaCorrente.MediaFile = layout;
        MediaCorrente.Formato.Color = static_cast<int32_t>(Bianco);
        MediaCorrente.Formato.CharRow = 40;
    }
    void TearDown() override {
        Escape(false);
        ComunicatorParams = ParametriComunicator{};
        ProvaFinestraMedia::TearDown();
    }

    // A picture of 20 x 20 whose border of 5 pixels has the corner's colour.
    std::string Cornice(const std::string& nome, COLORREF bordo, COLORREF centro) {
        std::string pixel;
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 20; ++x) {
                const COLORREF c = x >= 5 && x < 15 && y >= 5 && y < 15 ? centro : bordo;
                pixel += static_cast<char>(GetBValue(c));
                pixel += static_cast<char>(GetGValue(c));
                pixel += static_cast<char>(GetRValue(c));
            }
        const std::string percorso = store / nome;
        EXPECT_TRUE(ScriviFileProva(percorso, ComponiBmp24(20, 20, pixel)));
        return percorso;
    }

    // A place of the layout in the window's pixels.
    Rettangolo Posto(int32_t posto, int32_t secondo = 0) const {
        return ScalaMillesimi(RettangoloPredefinito(layout, posto, secondo), SchermoX, SchermoY);
    }
    // The point at the given hundredths of a place.
    static POINT Punto(const Rettangolo& r, int px, int py) {
        return POINT{r.Left + (r.Right - r.Left) * px / 100, r.Top + (r.Bottom - r.Top) * py / 100};
    }
    static COLORREF PixelA(Dialog_Titoli& f, const Rettangolo& r, int px, int py) {
        const POINT p = Punto(r, px, py);
        return Pixel(f, p.x, p.y);
    }
    // The pixels of a place, every other one, that differ from <colore>.
    static int32_t Diversi(Dialog_Titoli& f, const Rettangolo& r, COLORREF colore) {
        int32_t n = 0;
        for (int y = r.Top + 2; y < r.Bottom - 2; y += 2)
            for (int x = r.Left + 2; x < r.Right - 2; x += 2)
                if (Pixel(f, x, y) != colore) ++n;
        return n;
    }
    static int32_t Righe(const std::string& testo) {
        const std::vector<std::string> righe = RigheLog();
        return static_cast<int32_t>(std::count(righe.begin(), righe.end(), testo));
    }

    std::string layout, uno, due, flip, voce;
};

TEST_F(Comunicator, SyntaxErrorsAreRefusedWithTheirLine) {
    struct Caso {
        std::string sintassi;
        std::string errore;
    };
    const std::string persone = "#TOT_PERSONS#=2\r\n";
    const std::string sezioni = "#TOT_SECTIONS#=1\r\n";
    const std::string sezione = "<SECTION1>#INDEX#=0\r\n#FLAGS#=0\r\n#WAIT#=1\r\n<TEXT>Hi<END_TEXT><END_SECTION1>";
    const std::vector<Caso> casi = {
        {"#FLAGS#=x\r\n" + persone + sezioni, "SYNTAX ERROR in comunicator: not numeric value for flags"},
        {"#FLAGS#=2\r\n" + persone + sezioni,
         "SYNTAX ERROR in comunicator: missing name image for tuner effect #T-IMAGE#"},
        {"#FLAGS#=2\r\n#T-IMAGE#=a.b\r\n" + persone + sezioni,
         "SYNTAX ERROR in comunicator: missing name image for tuner effect #T-IMAGE#"},
        {"#FLAGS#=0\r\n#TOT_PERSONS#=two\r\n" + sezioni,
         "SYNTAX ERROR in comunicator: not numeric value for #tot_persons#"},
        {"#FLAGS#=0\r\n#TOT_PERSONS#=3\r\n" + sezioni, "SYNTAX ERROR in comunicator: #TOT_PERSONS#=3 outside 0 to 2"},
        {"#FLAGS#=0\r\n#TOT_PERSONS#=-1\r\n" + sezioni, "SYNTAX ERROR in comunicator: #TOT_PERSONS#=-1 outside 0 to 2"},
        {"#FLAGS#=0\r\n" + persone, "SYNTAX ERROR in comunicator: not numeric value for Tot_Sections"},
        {"#FLAGS#=0\r\n" + persone + "#TOT_SECTIONS#=-5\r\n",
         "SYNTAX ERROR in comunicator: #TOT_SECTIONS#=-5 outside 0 to 1000"},
        {"#FLAGS#=0\r\n" + persone + "#TOT_SECTIONS#=2000000000\r\n",
         "SYNTAX ERROR in comunicator: #TOT_SECTIONS#=2000000000 outside 0 to 1000"},
        {"#FLAGS#=0\r\n" + persone + "#TOT_SECTIONS#=2\r\n" + sezione,
         "SYNTAX ERROR in Comunicator section: not numeric value for Index"},
        {"#FLAGS#=0\r\n" + persone + sezioni + "<SECTION1>#INDEX#=2\r\n#FLAGS#=0\r\n#WAIT#=1\r\n<END_SECTION1>",
         "SYNTAX ERROR in Comunicator section: #INDEX#=2 names no person (0 or 1)"},
        {"#FLAGS#=0\r\n" + persone + sezioni + "<SECTION1>#INDEX#=-1\r\n#FLAGS#=0\r\n#WAIT#=1\r\n<END_SECTION1>",
         "SYNTAX ERROR in Comunicator section: #INDEX#=-1 names no person (0 or 1)"},
        {"#FLAGS#=0\r\n" + persone + sezioni + "<SECTION1>#INDEX#=1\r\n#FLAGS#=z\r\n#WAIT#=1\r\n<END_SECTION1>",
         "SYNTAX ERROR in Comunicator section: not numeric value for Flags"},
        {"#FLAGS#=0\r\n" + persone + sezioni + "<SECTION1>#INDEX#=1\r\n#FLAGS#=0\r\n#WAIT#=\r\n<END_SECTION1>",
         "SYNTAX ERROR in Comunicator section: not numeric value for Wait"},
    };
    for (const Caso& c : casi) {
        AzzeraLog();
        EXPECT_FALSE(SintassiComunicator(c.sintassi)) << c.errore;
        EXPECT_TRUE(HaRiga(c.errore)) << c.errore;
        EXPECT_EQ(UltimoErrore, c.errore);
        EXPECT_LE(ComunicatorParams.Sections.size(), 1u) << c.errore;
    }
    // Nothing to read is no error.
    EXPECT_TRUE(SintassiComunicator(""));
    EXPECT_TRUE(ComunicatorParams.Sections.empty());
}

TEST_F(Comunicator, ReadsPersonsSectionsAndTheDefaultsOfAnUnreadPerson) {
    FormatoTestoCorrente = MediaCorrente.Formato;
    const std::string sintassi =
        "#FLAGS#=&H12\r\n#T-IMAGE#=noise.bmp\r\n#TOT_PERSONS#=1\r\n#TOT_SECTIONS#=2\r\n"
        "<SECTION1>\r\n#INDEX#=1\r\n#FLAGS#=1\r\n#WAIT#=2.6\r\n#IMAGE#=face.bmp\r\n"
        "<TEXT><ENGLISH>Hello\r\n#VOICE#=hello.wav\r\n<END_ENGLISH><END_TEXT><END_SECTION1>\r\n"
        "<SECTION2>\r\n#INDEX#=0\r\n#FLAGS#=0\r\n#WAIT#=0\r\n#IMAGE#=ignored.bmp\r\n<TEXT>Bye<END_TEXT>"
        "<END_SECTION2>\r\n"
        "<PERSON1>\r\n#NAME#=Ann\r\n#IMAGE#=~\r\n<FORMATTING>#COLOR#=FF\r\n#CHAR_ROW#=33\r\n<END_FORMATTING>"
        "<END_PERSON1>\r\n";
    ASSERT_TRUE(SintassiComunicator(sintassi));
    const ParametriComunicator& c = ComunicatorParams;
    EXPECT_EQ(c.Flags, 0x12);
    EXPECT_EQ(c.TImage, "noise.bmp");
    EXPECT_EQ(c.TotPersons, 1);
    EXPECT_EQ(c.TotSections, 2);
    ASSERT_EQ(c.Sections.size(), 2u);
    EXPECT_EQ(c.Sections[0].Index, 1);
    EXPECT_EQ(c.Sections[0].Flags, 1);
    EXPECT_EQ(c.Sections[0].Wait, 3);
    EXPECT_EQ(c.Sections[0].Image, "face.bmp");
    EXPECT_EQ(c.Sections[1].Image, "") << "no flip image without the section's bit 0x1";
    EXPECT_EQ(c.Sections[1].Text, "<TEXT>Bye<END_TEXT>");
    std::string fileVoce;
    EXPECT_EQ(LeggiTagVoice(TestoMedia(c.Sections[0].Text), fileVoce), "Hello\r\n");
    EXPECT_EQ(fileVoce, "hello.wav");
    EXPECT_EQ(LeggiTagVoice("No voice", fileVoce), "No voice");
    EXPECT_EQ(fileVoce, "");

    EXPECT_EQ(c.Persons[0].Name, "Ann");
    EXPECT_EQ(c.Persons[0].Image, "") << "~ is empty";
    EXPECT_EQ(c.Persons[0].Formato.Color, 0xFF);
    EXPECT_EQ(c.Persons[0].Formato.CharRow, 33);
    EXPECT_EQ(FormatoTestoCorrente.Color, MediaCorrente.Formato.Color) << "the working format is given back";
    // The second person was not read.
    EXPECT_EQ(c.Persons[1].Formato.Color, static_cast<int32_t>(Bianco));
    EXPECT_EQ(c.Persons[1].Formato.CharRow, 80);
    EXPECT_EQ(c.Persons[1].Formato.Effect, 1);
    EXPECT_EQ(c.Persons[1].Formato.DelayMicros, 30);
    EXPECT_EQ(c.Persons[1].Formato.Flags, 1);
}

TEST_F(Comunicator, ThePictureZoomsIntoItsPlaceLeavingItsCornerColourOut) {
    struct Caso {
        const char* nome;
        bool riempi;
        COLORREF bordo;  // where the picture has its corner colour
    };
    for (const Caso& c : {Caso{"over what is there", false, Sfondo}, Caso{"over its corner colour", true, Magenta}}) {
        Dialog_Titoli f;
        CaricaSenzaEseguire(f);
        const RECT tutto{0, 0, f.LarghezzaFinestra, f.AltezzaFinestra};
        Riempi(f.Picture1.hDC(), tutto, Sfondo);
        const Rettangolo millesimi{200, 200, 600, 700};
        const uint32_t inizio = ClockTick();
        f.DisegnaImmagineTrasparente(flip, millesimi, false, c.riempi);
        EXPECT_GE(ClockTick() - inizio, 10u * 50) << c.nome << ": a step every 50 ms";
        const Rettangolo r = ScalaMillesimi(millesimi, SchermoX, SchermoY);
        EXPECT_EQ(PixelA(f, r, 50, 50), Verde) << c.nome;
        EXPECT_EQ(PixelA(f, r, 10, 10), c.bordo) << c.nome;
        EXPECT_EQ(PixelA(f, r, 90, 85), c.bordo) << c.nome;
        // Nothing outside the place.
        EXPECT_EQ(Pixel(f, r.Left - 3, r.Top - 3), Sfondo) << c.nome;
        EXPECT_EQ(Pixel(f, r.Right + 3, r.Bottom + 3), Sfondo) << c.nome;
        // A place the layout lacks draws nothing.
        Riempi(f.Picture1.hDC(), tutto, Sfondo);
        f.DisegnaImmagineTrasparente(flip, Rettangolo{-1, -1, -1, -1}, false, c.riempi);
        EXPECT_EQ(Pixel(f, 0, 0), Sfondo);
        EXPECT_EQ(PixelA(f, r, 50, 50), Sfondo);
        f.Unload();
    }
}

TEST_F(Comunicator, TwoSpeakersTheirNamesAndAVoicePlayedOnceAppearWhereTheSyntaxSays) {
    const std::vector<Sezione> sezioni = {
        {0, 0, 1, "Hello, Bob\r\n#VOICE#=" + voce + "\r\n", ""},
        // The flip picture zooms into the speaker's place over his portrait.
        {1, 0x3, 1, "Hello, Ann", "#IMAGE#=" + flip + "\r\n"},
    };
    MediaCorrente.Syntax = Sintassi(0x10, sezioni, "#NAME#=Ann\r\n#IMAGE#=" + uno + "\r\n",
                                    "#NAME#=Bob\r\n#IMAGE#=" + due + "\r\n");
    // The voice plays once even in a media whose sound loops.
    MediaCorrente.Options = LoopSound;
    Dialog_Titoli f;
    CaricaSenzaEseguire(f);
    const uint32_t inizio = ClockTick();
    f.EseguiMediaDialogo();
    const uint32_t durata = ClockTick() - inizio;
    EXPECT_TRUE(f.EsitoMedia);
    EXPECT_FALSE(f.ErroreMedia);
    EXPECT_FALSE(f.AbortEscape);
    EXPECT_EQ(Righe("Text to show:"), 2);
    EXPECT_EQ(Righe("Wait end voice sound"), 1);
    EXPECT_EQ(f.MediaPlayer1.FileName(), voce);
    EXPECT_EQ(f.MediaPlayer1.PlayCount(), 1);
    EXPECT_EQ(f.MediaPlayer1.PlayState(), MediaPlayer::Fermo);
    EXPECT_GE(durata, f.MediaPlayer1.Durata() + 1000) << "the voice, then the wait of its section";
    EXPECT_LT(durata, f.MediaPlayer1.Durata() + 30000) << "the voice is not waited for again and again";

    // Ann's portrait in place 1; Bob's in place 3 under the flip picture,
    // whose border colour lets it show.
    EXPECT_EQ(PixelA(f, Posto(1), 50, 50), Rosso);
    EXPECT_EQ(PixelA(f, Posto(3), 50, 50), Verde);
    EXPECT_EQ(PixelA(f, Posto(3), 8, 8), Giallo);
    EXPECT_EQ(PixelA(f, Posto(3), 92, 92), Giallo);
    // The names in their lines, the balloons erased after their sections.
    EXPECT_GT(Diversi(f, Posto(6), Sfondo), 0);
    EXPECT_GT(Diversi(f, Posto(7), Sfondo), 0);
    EXPECT_EQ(Diversi(f, Posto(2), Sfondo), 0);
    EXPECT_EQ(Diversi(f, Posto(4), Sfondo), 0);
    // Between the places, the layout's own background.
    EXPECT_EQ(Pixel(f, f.LarghezzaFinestra / 2, 5), Sfondo);
    f.Unload();
}

TEST_F(Comunicator, EscapeEndsTheDialogueOrOnlyItsSection) {
    struct Caso {
        const char* nome;
        int32_t flags;
        int32_t opzioni;
        int32_t mostrati;
        bool abort;
    };
    // The first section waits for a key: Escape held from the start.
    const std::vector<Caso> casi = {
        {"Escape ends the dialogue", 0, EscapeBreaks, 1, true},
        {"with 0x20 only the section", 0x20, EscapeBreaks, 2, false},
        {"a media Escape may not break goes on", 0, 0, 2, false},
    };
    for (const Caso& c : casi) {
        AzzeraLog();
        const std::vector<Sezione> sezioni = {{0, 0, 0, "First words", ""}, {1, 0, 1, "Second words", ""}};
        MediaCorrente.Syntax = Sintassi(c.flags, sezioni, "#NAME#=Ann\r\n#IMAGE#=" + uno + "\r\n",
                                        "#NAME#=Bob\r\n#IMAGE#=" + due + "\r\n");
        MediaCorrente.Options = c.opzioni;
        Dialog_Titoli f;
        CaricaSenzaEseguire(f);
        Escape(true);
        f.EseguiMediaDialogo();
        Escape(false);
        EXPECT_EQ(Righe("Text to show:"), c.mostrati) << c.nome;
        EXPECT_EQ(f.AbortEscape, c.abort) << c.nome;
        EXPECT_TRUE(f.EsitoMedia) << c.nome;
        EXPECT_FALSE(f.ErroreMedia) << c.nome;
        // A dialogue ended by Escape leaves its balloon as it was.
        EXPECT_EQ(Diversi(f, Posto(2), Sfondo) > 0, c.abort) << c.nome;
        f.Unload();
    }
}

// Escape that the media does not let break ends only a section that waits
// for it; a voice and a timed wait run to their ends.
TEST_F(Comunicator, AnEscapeTheMediaDoesNotAllowCutsNoVoice) {
    const std::vector<Sezione> sezioni = {{0, 0, 1, "Hello, Bob\r\n#VOICE#=" + voce + "\r\n", ""},
                                          {1, 0, 1, "Hello, Ann", ""}};
    MediaCorrente.Syntax = Sintassi(0, sezioni, "#NAME#=Ann\r\n#IMAGE#=" + uno + "\r\n",
                                    "#NAME#=Bob\r\n#IMAGE#=" + due + "\r\n");
    MediaCorrente.Options = 0;
    // On the program's clock, the dialogue with Escape held lasts as long
    // as without it.
    uint32_t durate[2] = {};
    for (const bool escape : {false, true}) {
        SCOPED_TRACE(escape);
        AzzeraLog();
        Dialog_Titoli f;
        CaricaSenzaEseguire(f);
        // The performer alone.
        FormatoTestoCorrente = MediaCorrente.Formato;
        Escape(escape);
        const uint32_t inizio = ClockTick();
        f.MostraComunicator();
        durate[escape] = ClockTick() - inizio;
        Escape(false);
        EXPECT_EQ(Righe("Text to show:"), 2);
        EXPECT_FALSE(f.AbortEscape);
        EXPECT_GE(f.MediaPlayer1.Durata(), 1000u);
        EXPECT_GE(durate[escape], f.MediaPlayer1.Durata() + 2000) << "the voice, then the waits of both sections";
        f.Unload();
    }
    EXPECT_NEAR(durate[1], durate[0], 100);
}

TEST_F(Comunicator, AMissingVoiceOrPictureFailsTheMediaAMissingFlipPictureIsOnlyLogged) {
    struct Caso {
        const char* nome;
        std::string persona2;
        std::string extra;       // of the comunicator
        std::string voceSezione;
        std::string flipSezione;
        std::string riga;
        bool errore;
        int32_t mostrati;
    };
    const std::string nessuno = store / "nessuno.bmp", nessuna = store / "nessuna.wav";
    const std::string bob = "#NAME#=Bob\r\n#IMAGE#=" + due + "\r\n";
    const std::vector<Caso> casi = {
        {"portrait", "#NAME#=Bob\r\n#IMAGE#=" + nessuno + "\r\n", "", "", "",
         "ERROR in comunicator media: missing image for person 2  " + nessuno, true, 0},
        {"tuner", bob, "#T-IMAGE#=" + nessuno + "\r\n", "", "", "ERROR in comunicator: ", true, 0},
        {"voice", bob, "", "\r\n#VOICE#=" + nessuna + "\r\n", "",
         "ERROR in comunicator media: missing voice file: " + nessuna, true, 1},
        {"flip picture", bob, "", "", "#IMAGE#=" + nessuno + "\r\n",
         "ERROR in comunicator media: missing flip-image: " + nessuno, false, 2},
    };
    for (const Caso& c : casi) {
        AzzeraLog();
        const int32_t flags = c.extra.empty() ? 0 : 0x2;
        const int32_t flagsSezione = c.flipSezione.empty() ? 0 : 1;
        const std::vector<Sezione> sezioni = {{0, flagsSezione, 1, "Words" + c.voceSezione, c.flipSezione},
                                              {1, 0, 1, "More words", ""}};
        MediaCorrente.Syntax = Sintassi(flags, sezioni, "#NAME#=Ann\r\n#IMAGE#=" + uno + "\r\n", c.persona2, c.extra);
        Dialog_Titoli f;
        CaricaSenzaEseguire(f);
        f.EseguiMediaDialogo();
        EXPECT_TRUE(HaRigaCheInizia(c.riga)) << c.nome;
        EXPECT_EQ(f.ErroreMedia, c.errore) << c.nome;
        EXPECT_EQ(f.EsitoMedia, !c.errore) << c.nome;
        EXPECT_EQ(Righe("Text to show:"), c.mostrati) << c.nome;
        f.Unload();
    }
}

TEST_F(Comunicator, TheEndOfTheGameEndsTheWaitsOfTheDialogue) {
    struct Caso {
        const char* nome;
        std::string voce;
        int32_t wait;
    };
    // Neither Escape nor the end of the voice comes: the game has ended.
    const std::vector<Caso> casi = {{"a section waiting for Escape", "", 0},
                                    {"a voice", "\r\n#VOICE#=" + voce + "\r\n", 60}};
    for (const Caso& c : casi) {
        AzzeraLog();
        FuoriGioco = false;
        ProcessoGioco.hProcess = nullptr;
        const std::vector<Sezione> sezioni = {{0, 0, c.wait, "Words" + c.voce, ""}, {1, 0, 1, "More words", ""}};
        MediaCorrente.Syntax = Sintassi(0, sezioni, "#IMAGE#=" + uno + "\r\n", "#IMAGE#=" + due + "\r\n");
        MediaCorrente.Options = EscapeBreaks;
        Dialog_Titoli f;
        CaricaSenzaEseguire(f);
        // The performer alone: the window's own steps around it would change
        // the test runner's priority in a run.
        FormatoTestoCorrente = MediaCorrente.Formato;
        f.ErroreMedia = false;
        const uint32_t inizio = ClockTick();
        f.MostraComunicator();
        const uint32_t durata = ClockTick() - inizio;
        EXPECT_EQ(Righe("Text to show:"), 1) << c.nome;
        EXPECT_LT(durata, 1500u) << c.nome;
        EXPECT_FALSE(f.AbortEscape) << c.nome;
        EXPECT_FALSE(f.ErroreMedia) << c.nome;
        f.Unload();
    }
    FuoriGioco = true;
}

}  // namespace
