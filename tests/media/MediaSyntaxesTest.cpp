// The "SEQ_IMAGE", "COUNTDOWN" and "SEND_EMAIL" sections: reading, their
// error texts, writing back, the counter's formats and the random order of
// pictures; the texts of converted old image sequences, e-mails and guardians.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "core/MediaLog.h"
#include "core/MediaTrigger.h"
#include "input/Guardian.h"
#include "media/CountdownMedia.h"
#include "media/EmailMedia.h"
#include "media/ImageSequence.h"
#include "platform/Clock.h"
#include "tests/core/LogLines.h"

namespace {

class SintassiMedia : public ConRigheLog {
protected:
    void TearDown() override {
        LeggiSintassiCountDown("");
        LeggiSequenzaImmagini("#FLAGS#=0\r\n#TOT_IMAGES#=0\r\n");
        ListaImmagini.clear();
        NumImmagini = 0;
        LogAbilitato = false;
        ConRigheLog::TearDown();
    }
};

struct CasoCountDown {
    const char* sezione;
    bool esito;
    int32_t iniziale, finale, flag;
};

TEST_F(SintassiMedia, CountDownSectionAndItsSingleErrorText) {
    const CasoCountDown casi[] = {
        {"", true, 1, 10, 8},
        {"#START_COUNTER#=5\r\n#END_COUNTER#=0\r\n#FLAGS#=3\r\n", true, 5, 0, 3},
        // Flags are hexadecimal digits, in any order of the tags and any case.
        {"#flags#=10\r\n#End_Counter#=75\r\n#START_COUNTER#=0", true, 0, 75, 0x10},
        {"#START_COUNTER#=2.5\r\n#END_COUNTER#=-3\r\n#FLAGS#=1f\r\n", true, 2, -3, 0x1F},
        {"#START_COUNTER#=1\r\n#END_COUNTER#=1\r\n#FLAGS#=-1\r\n", true, 1, 1, -1},
        {"#START_COUNTER#=1\r\n#END_COUNTER#=1\r\n#FLAGS#=FFFFFFFF\r\n", true, 1, 1, -1},
        {"#START_COUNTER#=1\r\n#END_COUNTER#=1\r\n#FLAGS#=000000010\r\n", true, 1, 1, 0x10},
        // What was read before the fault keeps its new value.
        {"#START_COUNTER#=4\r\n#END_COUNTER#=9\r\n#FLAGS#=1G\r\n", false, 4, 9, 8},
        {"#START_COUNTER#=4\r\n#END_COUNTER#=9\r\n#FLAGS#=\r\n", false, 4, 9, 8},
        {"#START_COUNTER#=4\r\n#END_COUNTER#=9\r\n#FLAGS#=100000000\r\n", false, 4, 9, 8},
        {"#START_COUNTER#=4\r\n#END_COUNTER#=9\r\n", false, 4, 9, 8},
        {"#START_COUNTER#=4\r\n#END_COUNTER#=nine\r\n#FLAGS#=2", false, 4, 10, 8},
        {"#START_COUNTER#=\r\n#END_COUNTER#=9\r\n#FLAGS#=2", false, 1, 10, 8},
        {"#START_COUNTER#=99999999999\r\n#END_COUNTER#=9\r\n#FLAGS#=2", false, 1, 10, 8},
        {"\r\n", false, 1, 10, 8},
    };
    for (const CasoCountDown& c : casi) {
        SCOPED_TRACE(c.sezione);
        // Each reading starts from the defaults, whatever the previous one left.
        ContatoreIniziale = 77;
        ContatoreFinale = 77;
        FlagCountDown = 77;
        BufferLog.clear();
        NumErroriLog = 0;
        EXPECT_EQ(LeggiSintassiCountDown(c.sezione), c.esito);
        EXPECT_EQ(ContatoreIniziale, c.iniziale);
        EXPECT_EQ(ContatoreFinale, c.finale);
        EXPECT_EQ(FlagCountDown, c.flag);
        if (c.esito)
            NessunErrore();
        else
            UnErrore("Syntax error in CountDown trigger");
    }
}

TEST(Contatore, FormatsByFlagTheLastOneWins) {
    struct Caso {
        int32_t flag, valore;
        const char* testo;
    };
    const Caso casi[] = {
        {0x8, 75, "01:15"},   {0x8, 2, "00:02"},     {0x8, 0, "00:00"},    {0x8, 6000, "100:00"},
        {0x8, -75, "-01:-15"}, {0x2, 75, "75"},       {0x2, -3, "-3"},      {0x4, 7, "007"},
        {0x4, 1234, "1234"},  {0x4, -5, "-005"},     {0x10, 5, "05"},      {0x10, 123, "123"},
        {0x0, 5, ""},         {0x1, 5, ""},          {0x20, 5, ""},        {0xA, 75, "75"},
        {0xE, 75, "075"},     {0x1C, 5, "05"},       {0x9, 61, "01:01"},
    };
    const int32_t salvato = FlagCountDown;
    for (const Caso& c : casi) {
        FlagCountDown = c.flag;
        EXPECT_EQ(FormattaContatore(c.valore), c.testo) << "flags " << c.flag << " value " << c.valore;
    }
    FlagCountDown = salvato;
}

// A sequence section as an author writes it.
const char* const DuePicture =
    "#FLAGS#=6\r\n"
    "#TOT_IMAGES#=2\r\n"
    "<IMAGE1>\r\n#IMAGE#=C:\\pics\\first.bmp\r\n#DURATE#=25\r\n#BOUND#=0:0:1000:1000\r\n#I_FLAGS#=1\r\n<END_IMAGE1>\r\n"
    "<image2>\r\n#i_flags#=48\r\n#BOUND#= 100 : 200:300.5:400 \r\n#DURATE#=75\r\n"
    "#IMAGE#=\xC3\xA8t\xC3\xA9.bmp\r\n<END_IMAGE2>\r\n";

void ControllaImmagine(size_t i, const std::string& immagine, int32_t durate, int32_t iflags, Rettangolo bound) {
    SCOPED_TRACE("picture " + std::to_string(i));
    ASSERT_LT(i, ListaImmagini.size());
    const ImmagineSequenza& p = ListaImmagini[i];
    EXPECT_EQ(p.Image, immagine);
    EXPECT_EQ(p.Nome, immagine);
    EXPECT_EQ(p.Durate, durate);
    EXPECT_EQ(p.IFlags, iflags);
    EXPECT_EQ((std::vector<int32_t>{p.Bound.Left, p.Bound.Top, p.Bound.Right, p.Bound.Bottom}),
              (std::vector<int32_t>{bound.Left, bound.Top, bound.Right, bound.Bottom}));
}

TEST_F(SintassiMedia, SequenceIsReadIntoTheListWithItsSpareElement) {
    EXPECT_TRUE(LeggiSequenzaImmagini(DuePicture));
    NessunErrore();
    EXPECT_EQ(FlagSequenza, 6);
    EXPECT_EQ(NumImmagini, 2);
    ASSERT_EQ(ListaImmagini.size(), 3u);
    ControllaImmagine(0, "C:\\pics\\first.bmp", 25, 1, {0, 0, 1000, 1000});
    ControllaImmagine(1, "\xC3\xA8t\xC3\xA9.bmp", 75, 48, {100, 200, 300, 400});
    ControllaImmagine(2, "", 0, 0, {});
}

TEST_F(SintassiMedia, SequenceIsWrittenBackAndReadAgainUnchanged) {
    ASSERT_TRUE(LeggiSequenzaImmagini(DuePicture));
    const std::string scritta = ComponiSequenzaImmagini();
    EXPECT_EQ(scritta,
              "#FLAGS#=6\r\n#TOT_IMAGES#=2\r\n"
              "<IMAGE1>#IMAGE#=C:\\pics\\first.bmp\r\n#DURATE#=25\r\n#BOUND#=0:0:1000:1000\r\n#I_FLAGS#=1\r\n"
              "<END_IMAGE1>"
              "<IMAGE2>#IMAGE#=\xC3\xA8t\xC3\xA9.bmp\r\n#DURATE#=75\r\n#BOUND#=100:200:300:400\r\n#I_FLAGS#=48\r\n"
              "<END_IMAGE2>");
    ListaImmagini.clear();
    ASSERT_TRUE(LeggiSequenzaImmagini(scritta));
    EXPECT_EQ(ComponiSequenzaImmagini(), scritta);
    ControllaImmagine(1, "\xC3\xA8t\xC3\xA9.bmp", 75, 48, {100, 200, 300, 400});
    // An empty sequence is the two header lines.
    ASSERT_TRUE(LeggiSequenzaImmagini("#FLAGS#=0\r\n#TOT_IMAGES#=0"));
    EXPECT_EQ(ComponiSequenzaImmagini(), "#FLAGS#=0\r\n#TOT_IMAGES#=0\r\n");
    NessunErrore();
}

// A converted old sequence fills the shared list, so that it is also what
// the media window would read, and its text reads back to the same list.
TEST_F(SintassiMedia, ConvertedSequenceFillsTheListAndReadsBack) {
    const std::vector<ImmagineConvertita> immagini = {{"a.bmp", 5, 1, {0, 0, 1000, 1000}},
                                                      {"\xC3\xA8.bmp", 2, 1, {0, 0, 1000, 1000}}};
    const std::string testo = SequenzaImmaginiVecchia(4, immagini);
    EXPECT_EQ(FlagSequenza, 4);
    EXPECT_EQ(NumImmagini, 2);
    ASSERT_EQ(ListaImmagini.size(), 3u);
    ControllaImmagine(1, "\xC3\xA8.bmp", 2, 1, {0, 0, 1000, 1000});
    EXPECT_EQ(testo, ComponiSequenzaImmagini());
    ASSERT_TRUE(LeggiSequenzaImmagini(testo));
    ControllaImmagine(0, "a.bmp", 5, 1, {0, 0, 1000, 1000});
    ControllaImmagine(2, "", 0, 0, {});
    EXPECT_EQ(SequenzaImmaginiVecchia(0, {}), "#FLAGS#=0\r\n#TOT_IMAGES#=0\r\n");
    NessunErrore();
}

TEST_F(SintassiMedia, OldEmailTextsBecomeTheirParametersAndBody) {
    struct Caso {
        std::string testo, sintassi, corpo;
    };
    const std::vector<Caso> casi = {
        {"#SendTo#me@x.it#\r\n#SUBJECT#Hi#\r\n#TEXT#Dear\r\nfriend", "#SENDTO#me@x.it#\r\n#SUBJECT#Hi#\r\n",
         "Dear\r\nfriend"},
        {"#SENDTO##SUBJECT##MINDATE#31/12/2005##SENDSAVEGAME##TEXT#",
         "#SENDTO##\r\n#SUBJECT##\r\n#MINDATE#31/12/2005#\r\n#SENDSAVEGAME#\r\n", ""},
        // No closing "#": the value stays empty; no date digits count 0.
        {"#SENDTO#nobody", "#SENDTO##\r\n#SUBJECT##\r\n", ""},
        {"#MINDATE#x", "#SENDTO##\r\n#SUBJECT##\r\n#MINDATE#0/0/0#\r\n", ""},
        {"", "#SENDTO##\r\n#SUBJECT##\r\n", ""},
    };
    for (const Caso& c : casi) {
        std::string corpo = "stale", sintassi = "stale";
        SintassiEmailVecchia(c.testo, corpo, sintassi);
        EXPECT_EQ(sintassi, c.sintassi) << c.testo;
        EXPECT_EQ(corpo, c.corpo) << c.testo;
        EXPECT_EQ(TestoEmail, c.corpo);
    }
    LeggiSintassiEmail("#MINDATE#1/2/3#");
    EXPECT_TRUE(ParametriEmail.HasMinDate);
    EXPECT_EQ(ParametriEmail.MinDay, 1);
    EXPECT_EQ(ParametriEmail.MinMonth, 2);
    EXPECT_EQ(ParametriEmail.MinYear, 3);
    EXPECT_FALSE(ParametriEmail.SendSavegame);
}

TEST_F(SintassiMedia, ConvertedGuardianTakesFlagOneAndTheCurrentCode) {
    const int32_t flag = FlagGuardian, codice = CodiceGuardian;
    LeggiCodiceGuardian("#FLAGS#=24\r\n#CODE#=7\r\n");
    EXPECT_EQ(FlagGuardian, 24);
    EXPECT_EQ(CodiceGuardian, 7);
    EXPECT_EQ(SintassiGuardianVecchia(), "#FLAGS#=1\r\n#CODE#=7\r\n");
    EXPECT_EQ(FlagGuardian, 1);
    LeggiCodiceGuardian("");
    EXPECT_EQ(ComponiSintassiGuardian(), "#FLAGS#=1\r\n#CODE#=-1\r\n");
    FlagGuardian = flag;
    CodiceGuardian = codice;
}

struct CasoSequenza {
    const char* nome;
    std::string sezione;
    const char* errore;
    int32_t flag, lette;
};

std::string Picture(int n, const std::string& righe) {
    return "<IMAGE" + std::to_string(n) + ">" + righe + "<END_IMAGE" + std::to_string(n) + ">\r\n";
}

std::string UnaPicture(const std::string& righe) { return "#FLAGS#=0\r\n#TOT_IMAGES#=1\r\n" + Picture(1, righe); }

const std::string Buona = "#IMAGE#=a.bmp\r\n#DURATE#=5\r\n#BOUND#=1:2:3:4\r\n#I_FLAGS#=0\r\n";

TEST_F(SintassiMedia, SequenceErrorsKeepThePicturesReadBefore) {
    const CasoSequenza casi[] = {
        {"no flags", "#TOT_IMAGES#=1\r\n" + Picture(1, Buona),
         "Syntax error in text sequence data: missing #FLAGS# field", 0, 0},
        {"flags not a number", "#FLAGS#=x\r\n#TOT_IMAGES#=1\r\n" + Picture(1, Buona),
         "Syntax error in text sequence data: missing #FLAGS# field", 0, 0},
        {"no count", "#FLAGS#=2\r\n" + Picture(1, Buona),
         "Syntax error in text sequence data: missing #Tot_Images# field", 2, 0},
        {"negative count", "#FLAGS#=2\r\n#TOT_IMAGES#=-1\r\n",
         "Syntax error in text sequence data: missing #Tot_Images# field", 2, 0},
        {"missing picture", "#FLAGS#=2\r\n#TOT_IMAGES#=3\r\n" + Picture(1, Buona) + Picture(3, Buona),
         "ERROR in Image Sequence: missing value for #durate# field", 2, 1},
        {"huge count", "#FLAGS#=0\r\n#TOT_IMAGES#=2000000000\r\n" + Picture(1, Buona),
         "ERROR in Image Sequence: missing value for #durate# field", 0, 1},
        {"durate empty", UnaPicture("#IMAGE#=a\r\n#DURATE#=\r\n#BOUND#=1:2:3:4\r\n#I_FLAGS#=0"),
         "ERROR in Image Sequence: missing value for #durate# field", 0, 0},
        {"image flags", "#FLAGS#=0\r\n#TOT_IMAGES#=2\r\n" + Picture(1, Buona) +
                            Picture(2, "#IMAGE#=a\r\n#DURATE#=1\r\n#BOUND#=1:2:3:4\r\n#I_FLAGS#=z"),
         "ERROR in Image Sequence: missing value for #I_Flags# field", 0, 1},
        {"three parts", UnaPicture("#DURATE#=1\r\n#I_FLAGS#=0\r\n#BOUND#=1:2:3"),
         "ERROR in Image Sequence: wrong arguments for #BOUND# field", 0, 0},
        {"five parts", UnaPicture("#DURATE#=1\r\n#I_FLAGS#=0\r\n#BOUND#=1:2:3:4:5"),
         "ERROR in Image Sequence: wrong arguments for #BOUND# field", 0, 0},
        {"part not a number", UnaPicture("#DURATE#=1\r\n#I_FLAGS#=0\r\n#BOUND#=1:2::4"),
         "ERROR in Image Sequence: wrong arguments for #BOUND# field", 0, 0},
        {"no bound", UnaPicture("#DURATE#=1\r\n#I_FLAGS#=0\r\n"),
         "ERROR in Image Sequence: wrong arguments for #BOUND# field", 0, 0},
    };
    for (const CasoSequenza& c : casi) {
        SCOPED_TRACE(c.nome);
        // A list of an earlier media never survives a reading.
        ASSERT_TRUE(LeggiSequenzaImmagini(DuePicture));
        BufferLog.clear();
        NumErroriLog = 0;
        EXPECT_FALSE(LeggiSequenzaImmagini(c.sezione));
        UnErrore(c.errore);
        EXPECT_EQ(FlagSequenza, c.flag);
        EXPECT_EQ(NumImmagini, c.lette);
        ASSERT_EQ(ListaImmagini.size(), static_cast<size_t>(c.lette) + 1);
        if (c.lette > 0) ControllaImmagine(0, "a.bmp", 5, 0, {1, 2, 3, 4});
        ControllaImmagine(static_cast<size_t>(c.lette), "", 0, 0, {});
    }
}

TEST(OrdineCasuale, NoPictureTwiceInARowAndAllBeforeAnyAgain) {
    const int32_t salvato = NumImmagini;
    for (int32_t n : {2, 3, 5}) {
        NumImmagini = n;
        std::vector<int32_t> mostrati;
        int32_t conteggio = 0;
        std::vector<int32_t> ordine{0};
        for (int i = 0; i < 6 * n - 1; ++i) {
            int32_t prossimo = -1;
            IndiceImmagineCasuale(ordine.back(), mostrati, conteggio, prossimo);
            ASSERT_GE(prossimo, 0);
            ASSERT_LT(prossimo, n);
            EXPECT_NE(prossimo, ordine.back());
            EXPECT_EQ(conteggio, static_cast<int32_t>(mostrati.size()));
            ordine.push_back(prossimo);
        }
        // Every run of n pictures from the first holds each picture once.
        for (size_t blocco = 0; blocco < ordine.size(); blocco += static_cast<size_t>(n)) {
            const std::set<int32_t> visti(ordine.begin() + static_cast<std::ptrdiff_t>(blocco),
                                          ordine.begin() + static_cast<std::ptrdiff_t>(blocco) + n);
            EXPECT_EQ(visti.size(), static_cast<size_t>(n)) << "pictures " << n << " block at " << blocco;
        }
    }
    NumImmagini = salvato;
}

TEST(OrdineCasuale, FewPicturesOrAForeignListStillEnd) {
    const int32_t salvato = NumImmagini;
    for (int32_t n : {0, 1}) {
        NumImmagini = n;
        std::vector<int32_t> mostrati{0};
        int32_t conteggio = 1;
        int32_t prossimo = -1;
        IndiceImmagineCasuale(0, mostrati, conteggio, prossimo);
        EXPECT_EQ(prossimo, 0);
        EXPECT_EQ(mostrati, std::vector<int32_t>{0});
        EXPECT_EQ(conteggio, 1);
    }
    NumImmagini = 3;
    struct Caso {
        std::vector<int32_t> mostrati;
        int32_t conteggio;
    };
    const Caso casi[] = {{{1, 1}, 2}, {{0, 1, 2, 7}, 4}, {{7, 8, 9}, 3}, {{1, 2}, 9}, {{}, -3}, {{1, 2}, 1}};
    for (const Caso& c : casi) {
        std::vector<int32_t> mostrati = c.mostrati;
        int32_t conteggio = c.conteggio;
        int32_t prossimo = -1;
        IndiceImmagineCasuale(0, mostrati, conteggio, prossimo);
        EXPECT_GT(prossimo, 0);
        EXPECT_LT(prossimo, 3);
        EXPECT_EQ(conteggio, static_cast<int32_t>(mostrati.size()));
    }
    NumImmagini = salvato;
}

TEST_F(SintassiMedia, PictureSectionOfTheMediaText) {
    const MediaTrigger salvato = MediaCorrente;
    MediaCorrente.Text =
        "<image_First.bmp>\r\nHello\r\n<END_IMAGE_first.bmp><IMAGE_\xC3\xA8.bmp>\xC3\xA8!<END_IMAGE_\xC3\xA8.bmp>";
    EXPECT_EQ(CercaSezioneImmagine("C:\\pics\\first.bmp"), "\r\nHello\r\n");
    EXPECT_EQ(CercaSezioneImmagine("\xC3\xA8.bmp"), "\xC3\xA8!");
    NessunErrore();
    EXPECT_EQ(CercaSezioneImmagine("C:\\pics\\second.bmp"), "");
    NessunErrore();
    LogAbilitato = true;
    TickUltimaScritturaLog = ClockTick();
    EXPECT_EQ(CercaSezioneImmagine("C:\\pics\\second.bmp"), "");
    EXPECT_EQ(Righe(), std::vector<std::string>{"WARNING: not found image section for image: second.bmp"});
    EXPECT_EQ(NumErroriLog, 0);
    MediaCorrente = salvato;
}

}  // namespace
