// Old (version 1.4) media configurations converted on load, with their
// text, e-mail, image-sequence and media files on disk.
#include <gtest/gtest.h>

#include "core/FileUtils.h"
#include "core/MediaConfig.h"
#include "core/MediaSyntax.h"
#include "core/OldMediaConfig.h"
#include "tests/core/LogLines.h"
#include "tests/core/OldMcfBytes.h"
#include "tests/support/TestFolders.h"

namespace {

using namespace vecchio;

// Stand-ins for the services above the core, which show what they were given.
std::string GuardianProva() { return "#FLAGS#=1\r\n#CODE#=-1\r\n"; }
void EmailProva(const std::string& testo, std::string& corpo, std::string& sintassi) {
    corpo = "body of " + testo;
    sintassi = "#SENDTO#" + testo.substr(0, 4) + "#\r\n";
}
std::string SequenzaProva(int32_t flag, const std::vector<ImmagineConvertita>& immagini) {
    std::string s = "flag=" + std::to_string(flag);
    for (const ImmagineConvertita& i : immagini)
        s += "|" + i.Nome + ":" + std::to_string(i.Durata) + ":" + std::to_string(i.Flags) + ":" +
             std::to_string(i.Bound.Left) + "," + std::to_string(i.Bound.Top) + "," + std::to_string(i.Bound.Right) +
             "," + std::to_string(i.Bound.Bottom);
    return s;
}

// An image sequence file: count, option word, 256-character names and values.
std::string Sequenza(int16_t parola, const std::vector<std::pair<std::string, int32_t>>& immagini) {
    std::string s = Intestazione(static_cast<int32_t>(immagini.size())).substr(0, 4);
    s += static_cast<char>(parola & 0xFF);
    s += static_cast<char>((parola >> 8) & 0xFF);
    for (const auto& [nome, valore] : immagini) s += Campo(nome) + Intestazione(valore).substr(0, 4);
    return s;
}

class OldMcfFile : public ConRigheLog {
protected:
    void SetUp() override {
        ConRigheLog::SetUp();
        HeaderMcf = MediaConfigHeader{};
        HeaderMcf.TriggerCount = 1;
        ListaMedia.assign(2, MediaTrigger{});
        ListaMedia[0].MediaCode = 55;
        CartellaTrle = trle.Percorso();
        SintassiGuardianConvertita = GuardianProva;
        SintassiEmailConvertita = EmailProva;
        SequenzaImmaginiConvertita = SequenzaProva;
    }
    void TearDown() override {
        SintassiGuardianConvertita = nullptr;
        SintassiEmailConvertita = nullptr;
        SequenzaImmaginiConvertita = nullptr;
        CartellaTrle = trle_;
        HeaderMcf = MediaConfigHeader{};
        ListaMedia.assign(1, MediaTrigger{});
        ConRigheLog::TearDown();
    }
    std::string Mcf() const { return trle / "media.mcf"; }
    void File(const std::string& percorso, const std::string& contenuto = "x") {
        ASSERT_TRUE(ScriviFileProva(percorso, contenuto)) << percorso;
    }
    static void DefaultSicuri() {
        EXPECT_TRUE(IsVersione14());
        EXPECT_EQ(HeaderMcf.TriggerCount, 0);
        EXPECT_EQ(HeaderMcf.MediaFileCount, 0);
        EXPECT_EQ(HeaderMcf.VideoMode, 2);
        EXPECT_EQ(HeaderMcf.HeaderOptions, 0x1000);
        ASSERT_EQ(ListaMedia.size(), 1u);
        EXPECT_EQ(ListaMedia[0].MediaCode, 0);
    }

    CartellaProva trle{"o14"};
    CartellaProva altrove{"o14src"};
    const std::string trle_ = CartellaTrle;
};

TEST_F(OldMcfFile, HandLaidTriggersOfSeveralKindsAreConverted) {
    ASSERT_TRUE(CreaCartella(trle / "audio"));
    File(altrove / "intro.avi", "movie");
    File(altrove / "tool.exe", "program");
    File(altrove / "pic2.bmp", "picture two");
    for (const char* wav : {"005.wav", "006.wav"}) File(trle / wav);
    File(trle / "story.txt", "Caf\xE9 story");
    File(trle / "back.bmp", "picture");
    File(trle / "audio\\music.wav", "music");
    File(trle / "mail.txt", "mail text");
    File(trle / "seq.bin", Sequenza(-1, {{"BACK.BMP", 50}, {altrove / "pic2.bmp", 25}}));

    RecordAMano film;  // movie with a codec to download, anti-trigger
    film.Testo(Filmato, altrove / "intro.avi").I16(Escape, -1).I32(Ritardo, 3).I32(CdTrigger, 5);
    film.I32(Flag, 0x4 | 0x80000 | 0x2000 | 0x40000 | 0x20 | 0x100000).Testo(Testo, "xvid");
    film.Testo(Programma, "http://codec.example/xvid.exe").I32(MargineX, 5).I32(MargineY, 10);
    film.I32(AntiCd, 6).I32(Ripeti, 2).I32(EndWait, 4).I32(Colore, 0xFFFFFF).I32(BackColor, 0x102030);
    RecordAMano testo;  // scrolling text over a captured screen, game's music
    testo.I32(CdTrigger, 7).I32(Flag, 0x80 | 0x8 | 0x10 | 0x40 | 0x100 | 0x4000 | 0x8000);
    testo.Testo(Testo, "C:\\nowhere\\story.txt").Testo(Immagine, "back.bmp").Testo(Suono, "music.wav");
    testo.I16(Ciclico, -1).I32(Fade, 3).I32(ScrollStep, 2).I32(ScrollDelay, 40);
    RecordAMano posta;  // guardian, e-mail, hidden program, sound from the CD
    posta.I32(CdTrigger, 8).I32(AntiCd, 9).Testo(Testo, "mail.txt").Testo(Programma, altrove / "tool.exe");
    posta.Testo(Suono, "cdsound.wav").I32(SoundCd, 11);
    posta.I32(Flag, 0x1 | 0x2 | 0x200 | 0x800 | 0x400 | 0x100 | 0x1000 | 0x8000 | 0x2000 | 0x10000);
    RecordAMano sequenza;  // timed image sequence
    sequenza.I32(CdTrigger, 9).I32(Flag, 0x20000 | 0x10 | 0x8000).Testo(Immagine, "seq.bin").I32(Durata, 10);
    const std::string file =
        Intestazione(4) + film.Bytes() + testo.Bytes() + posta.Bytes() + sequenza.Bytes();
    File(Mcf(), file);

    ASSERT_TRUE(CaricaMediaMcf(Mcf()));
    NessunErrore();
    EXPECT_EQ(UltimoErrore, "");
    EXPECT_TRUE(IsVersione14());
    EXPECT_EQ(HeaderMcf.TriggerCount, 4);
    EXPECT_EQ(HeaderMcf.HeaderOptions, 0x5000);
    EXPECT_EQ(HeaderMcf.VideoMode, 0);
    ASSERT_EQ(ListaMedia.size(), 5u);
    for (int32_t i = 0; i < 4; ++i) {
        EXPECT_EQ(ListaMedia[i].MediaCode, i + 1);
        EXPECT_EQ(ListaMedia[i].Level, -1);
    }

    const MediaTrigger& m0 = ListaMedia[0];
    EXPECT_EQ(m0.TypeFlags, 0x24);
    EXPECT_EQ(m0.Options, AntiTrigger | WaitAfterMovie | HasCodec | EscapeBreaks);
    EXPECT_EQ(m0.MediaFile, "intro.avi");
    EXPECT_EQ(m0.SoundFile, "http://codec.example/xvid.exe");
    EXPECT_EQ(EstraiSezione(m0.Syntax, "CODEC"), "xvid");
    EXPECT_EQ(m0.Formato.Flags, 4);
    EXPECT_EQ(m0.Formato.BoundRect.Left, 50);
    EXPECT_EQ(m0.Formato.BoundRect.Bottom, 900);
    EXPECT_EQ(m0.TriggerCd, 5);
    EXPECT_EQ(m0.AntiTriggerCd, 6);
    EXPECT_EQ(m0.DelaySeconds, 3);
    EXPECT_EQ(m0.Repeat, 2);
    EXPECT_EQ(m0.EndWait, 4);
    EXPECT_EQ(m0.Formato.Color, 0xFFFFFF);
    EXPECT_EQ(m0.BackColor, 0x102030);

    const MediaTrigger& m1 = ListaMedia[1];
    EXPECT_EQ(m1.TypeFlags, ScrollText | ScreenCapture | BackgroundSound);
    EXPECT_EQ(m1.Options, FadeOutSound | OpzioneNoWavTrigger | LoopSound);
    EXPECT_EQ(m1.Text, "<TEXT>Caf\xC3\xA9 story<END_TEXT>");
    EXPECT_EQ(m1.MediaFile, "back.bmp");
    EXPECT_EQ(m1.SoundFile, "music.wav");
    EXPECT_EQ(m1.FadeTime, 3);
    EXPECT_EQ(m1.Formato.ScrollStep, 2);
    EXPECT_EQ(m1.Formato.ScrollDelay, 40);

    const MediaTrigger& m2 = ListaMedia[2];
    EXPECT_EQ(m2.TypeFlags, 0x1 | 0x2 | 0x200 | BackgroundSound);
    EXPECT_EQ(m2.Options, AntiTrigger | OpzioneNoWavAntiTrigger | HideProgram | WaitProgramEnd | SoundFromCd |
                              OpzioneNoWavTrigger);
    EXPECT_EQ(m2.MediaFile, "tool.exe");
    EXPECT_EQ(m2.SoundFile, "cdsound.wav");
    EXPECT_EQ(m2.SoundCd, 11);
    EXPECT_EQ(m2.Syntax.rfind(GuardianProva(), 0), 0u) << m2.Syntax;
    EXPECT_EQ(EstraiSezione(m2.Syntax, "SEND_EMAIL"), "#SENDTO#mail#\r\n");
    EXPECT_EQ(EstraiSezione(m2.Text, "TEXT"), "body of mail text");

    const MediaTrigger& m3 = ListaMedia[3];
    EXPECT_EQ(m3.TypeFlags, ImageSequence | FixedText);
    EXPECT_EQ(m3.MediaFile, "seq.bin");
    // Not scrolling: each value is a percentage of the duration, halves
    // rounded to the even number.
    EXPECT_EQ(EstraiSezione(m3.Syntax, "SEQ_IMAGE"),
              "flag=4|BACK.BMP:5:1:0,0,1000,1000|pic2.bmp:2:1:0,0,1000,1000");

    const std::vector<std::pair<std::string, int32_t>> attesi = {
        {"intro.avi", 1}, {"005.wav", 1}, {"006.wav", 1},  {"back.bmp", 2},
        {"music.wav", 1}, {"tool.exe", 1}, {"pic2.bmp", 1}, {"seq.bin", 1}};
    ASSERT_EQ(HeaderMcf.MediaFileCount, static_cast<int32_t>(attesi.size()));
    for (size_t i = 0; i < attesi.size(); ++i) {
        EXPECT_EQ(HeaderMcf.MediaFiles[i], attesi[i].first);
        EXPECT_EQ(HeaderMcf.MediaFileRefs[i], attesi[i].second) << attesi[i].first;
    }
    // Files from elsewhere are copied in; the game's own audio folder is
    // used where it is; the old file is left as it was.
    EXPECT_EQ(LeggiFileProva(trle / "intro.avi"), "movie");
    EXPECT_EQ(LeggiFileProva(trle / "tool.exe"), "program");
    EXPECT_EQ(LeggiFileProva(trle / "pic2.bmp"), "picture two");
    EXPECT_FALSE(EsisteFileProva(trle / "music.wav"));
    EXPECT_EQ(LeggiFileProva(Mcf()), file);
}

TEST_F(OldMcfFile, MissingFilesFailWithTheirLineAndNoHalfTable) {
    const std::string lungo = "C:\\" + std::string(249, 'y') + ".avi";
    File(trle / "seq.bin", Sequenza(0, {{"gone.bmp", 1}}));
    File(trle / "000.wav");
    struct Caso {
        int32_t flag;
        size_t campo;
        std::string percorso;
        std::string riga;
    };
    const std::vector<Caso> casi = {
        {0x4 | 0x8000, Filmato, "C:\\nowhere\\gone.avi", "Missing media file: C:\\nowhere\\gone.avi"},
        {0x4 | 0x8000, Filmato, lungo, "Missing media file: " + lungo},
        {0x80 | 0x8000, Testo, "lost.txt", "Text file: lost.txt not found."},
        {0x2 | 0x8000, Testo, "C:\\x\\lost.txt", "Email text file: lost.txt not found."},
        {0x20000 | 0x8000, Immagine, "none.seq", "Image sequence file not found: none.seq"},
        {0x20000 | 0x8000, Immagine, "seq.bin", "Image file gone.bmp not found!"},
        {0x100 | 0x8000, Suono, "gone.wav", "Missing media file: gone.wav"},
        {0x2000, Suono, "", "Missing media file: " + (trle / "042.wav")},
    };
    for (const Caso& c : casi) {
        SetUp();
        // The first record converts; the second fails the whole file.
        RecordAMano buono, cattivo;
        buono.I32(Flag, 0x8000);
        cattivo.I32(Flag, c.flag).I32(AntiCd, 42).Testo(c.campo, c.percorso);
        File(Mcf(), Intestazione(2) + buono.Bytes() + cattivo.Bytes());
        EXPECT_FALSE(CaricaMediaMcf(Mcf())) << c.riga;
        UnErrore(c.riga);
        DefaultSicuri();
    }
}

TEST_F(OldMcfFile, ConversionReadsTheFileItself) {
    File(Mcf(), Intestazione(0));
    ASSERT_TRUE(ConvertiMediaConfigVecchia(Mcf()));
    EXPECT_EQ(HeaderMcf.CartellaMcf, trle.Percorso());
    EXPECT_EQ(ListaMedia.size(), 1u);

    SetUp();
    File(Mcf(), Intestazione(0).substr(0, 10));
    EXPECT_FALSE(ConvertiMediaConfigVecchia(Mcf()));
    UnErrore("Error loading header of media configuration file: " + Mcf());
    // Nothing was read: what was loaded before stays whole.
    EXPECT_EQ(HeaderMcf.TriggerCount, 1);
    ASSERT_EQ(ListaMedia.size(), 2u);
    EXPECT_EQ(ListaMedia[0].MediaCode, 55);
}

// The name of a file in the configuration's folder is counted, not copied.
TEST_F(OldMcfFile, CollectedFilesInTheFolderStayWhereTheyAre) {
    File(trle / "a.bmp");
    HeaderMcf.CartellaMcf = trle.Percorso();
    HeaderMcf.MediaFileCount = 0;
    std::vector<std::string> lista;
    int32_t conteggio = 0;
    std::string p = "A.BMP";
    ASSERT_TRUE(RaccogliFileMedia(p, lista, conteggio));
    EXPECT_EQ(p, trle / "A.BMP");
    std::string q = trle / "a.bmp";
    ASSERT_TRUE(RaccogliFileMedia(q, lista, conteggio));
    EXPECT_EQ(conteggio, 1);
    EXPECT_EQ(HeaderMcf.MediaFileCount, 1);
    EXPECT_EQ(HeaderMcf.MediaFileRefs[0], 2);
    NessunErrore();
}

}  // namespace
