// The codec check of the level's movies: the table of VideoCodec.bin read
// and grown, the questions answered by the dialog watcher, and the movies
// disabled for this run given back before the configuration is saved.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "core/FileUtils.h"
#include "core/MediaConfig.h"
#include "core/MediaPacket.h"
#include "core/MediaTrigger.h"
#include "core/SharedState.h"
#include "core/Utf8Text.h"
#include "media/MovieChecks.h"
#include "media/VideoCodecs.h"
#include "platform/Clock.h"
#include "tests/core/HandBytes.h"
#include "tests/core/LogLines.h"
#include "tests/media/CodecTable.h"
#include "tests/media/DownloadPages.h"
#include "tests/support/TestFolders.h"
#include "tests/support/TestProcesses.h"

namespace {

using mano::RecordCodec;

MediaTrigger Movie(const std::string& file, int32_t opzioni = 0) {
    MediaTrigger m;
    m.TypeFlags = BitMovie;
    m.Options = opzioni;
    m.MediaFile = file;
    return m;
}

class CodecFilmati : public TabellaCodec {
protected:
    CodecFilmati() : TabellaCodec("cfm") {}
    void SetUp() override {
        TabellaCodec::SetUp();
        StatoGioco = 0;
    }
    void TearDown() override {
        RipristinaMovieDisabilitati();
        ListaMedia = listaPrima_;
        StatoGioco = statoPrima_;
        TabellaCodec::TearDown();
    }

private:
    std::vector<MediaTrigger> listaPrima_ = ListaMedia;
    int32_t statoPrima_ = StatoGioco;
};

TEST_F(CodecFilmati, RecordedMoviesAreTakenFromTheTableWithoutAsking) {
    ASSERT_TRUE(ScriviFileProva(Bin(), mano::I32(2) + RecordCodec("a.wmv", 1) + RecordCodec("b.avi", 2)));
    MediaTrigger testo;
    testo.TypeFlags = BitEmail;
    ListaMedia = {Movie("C:\\x\\a.wmv"), testo, Movie("D:\\y\\B.AVI", HasCodec)};
    EXPECT_TRUE(VerificaCodecFilmati());
    EXPECT_EQ(Righe(), (std::vector<std::string>{"Loaded Info Video Codec file: 2 records", "Found movie: C:\\x\\a.wmv",
                                                 "Alread verified movie: a.wmv. Video codec is present",
                                                 "Found movie: D:\\y\\B.AVI",
                                                 "Video codec missing for Movie B.AVI. This movie will be disabled",
                                                 "Not necessary further controls for movies"}));
    EXPECT_EQ(ListaMedia[0].Options, 0);
    EXPECT_EQ(ListaMedia[2].Options, HasCodec | Disabled);

    // Disabled for good: the configuration saved at the end keeps it so.
    RipristinaMovieDisabilitati();
    EXPECT_EQ(ListaMedia[2].Options, HasCodec | Disabled);
}

TEST_F(CodecFilmati, AfterACodecInstallEveryNewMovieIsVerifiedOncePerName) {
    StatoGioco = CodecGiaRichiesto;
    ListaMedia = {Movie("C:\\one\\intro.wmv"), Movie("C:\\two\\INTRO.wmv"), Movie("end.mpg", Disabled)};
    EXPECT_TRUE(VerificaCodecFilmati());
    EXPECT_EQ(LeggiFileProva(Bin()), mano::I32(2) + RecordCodec("intro.wmv", 1) + RecordCodec("end.mpg", 1));
    EXPECT_EQ(NumErroriLog, 0);
    // An author's Disabled is not given back at the end: it was not ours.
    RipristinaMovieDisabilitati();
    EXPECT_EQ(ListaMedia[2].Options, Disabled);
}

// The movie window cannot verify yet, so the question comes.
TEST_F(CodecFilmati, AnUnverifiedMovieIsDisabledForTheRunOrForGood) {
    const struct {
        const char* risposta;
        int32_t stato;
    } casi[] = {{"No", CodecDaVerificare}, {"Yes", CodecDisabilitato}};
    for (const auto& c : casi) {
        SCOPED_TRACE(c.risposta);
        SetUp();
        CancellaFile(Bin());
        ListaMedia = {Movie("C:\\x\\level.wmv")};
        bool risultato = false;
        {
            Osservatore osservatore(cartella.Percorso(), c.risposta, 1, GetCurrentProcessId(), 20000);
            risultato = VerificaCodecFilmati();
            const std::vector<BoxRegistrato> boxes = osservatore.Boxes();
            ASSERT_EQ(boxes.size(), 1u);
            EXPECT_EQ(boxes[0].testo,
                      "Unluky, it's missing codec to play movie in this level.\r\nDo you want disable permanently movie: "
                      "level.wmv");
        }
        EXPECT_TRUE(risultato);
        EXPECT_EQ(LeggiFileProva(Bin()), mano::I32(1) + RecordCodec("level.wmv", c.stato));
        EXPECT_EQ(ListaMedia[0].Options, Disabled);
        // Only the run's own disabling is taken back before the save.
        RipristinaMovieDisabilitati();
        EXPECT_EQ(ListaMedia[0].Options, c.stato == CodecDisabilitato ? Disabled : 0);
    }
}

// The level brings its codec setup program, in its media packet or in a
// folder: it runs, the program waits for its end, then asks.
TEST_F(CodecFilmati, TheLevelsCodecSetupRunsBeforeTheQuestion) {
    // The packet lies beside the configuration, not in the game folder.
    const MediaConfigHeader headerPrima = HeaderMcf;
    const std::string trlePrima = CartellaTrle;
    CartellaProva pacchetto{"cfp"}, setup{"cfs"}, trle{"cft"};
    HeaderMcf.CartellaMcf = pacchetto.Percorso();
    CartellaTrle = trle.Percorso();
    ASSERT_TRUE(CopiaFile(CartellaProgrammi() + "\\TestChild.exe", setup / "codecsetup.exe"));
    MediaPacketHeader h;
    const std::string mpf = Utf8DaAnsi(pacchetto / "media.mpf");
    ASSERT_TRUE(GestionePacchettoMedia(mpf, CreaPacchetto, "", "", h, false)) << UltimoErrore;
    ASSERT_TRUE(GestionePacchettoMedia(mpf, AggiungiFile, Utf8DaAnsi(setup / "codecsetup.exe"), "", h, false));

    const std::string primo = "Now it's necessary to install video codec for Movie: level.wmvcodecsetup.exe\r\n"
                              "Click on [OK] button to start setup";
    const std::string domanda = "Video coded has been installed correctly?";
    const std::string disabilita =
        "Unluky, it's missing codec to play movie in this level.\r\nDo you want disable permanently movie: level.wmv";
    const struct {
        const char* nome;
        std::string setup;     // SoundFile
        std::string eseguito;  // the folder the setup ran in, "" none
        const char* risposte;
        std::vector<std::string> boxes;
        int32_t stato;
        int erroriLog;
    } casi[] = {
        {"from the packet, installed", "codecsetup.exe", cartella.Percorso(), "OK,YES", {primo, domanda},
         CodecPresente, 0},
        {"from a folder, not installed, asked again next time", setup / "codecsetup.exe", setup.Percorso(),
         "OK,NO,NO", {primo, domanda, disabilita}, CodecDaVerificare, 0},
        {"from a folder, not installed, disabled for good", setup / "codecsetup.exe", setup.Percorso(), "OK,NO,YES",
         {primo, domanda, disabilita}, CodecDisabilitato, 0},
        // Nothing to run: the packet and the folders lack it, and the player
        // is asked all the same.
        {"missing", "absent.exe", "", "OK,NO,NO",
         {"Now it's necessary to install video codec for Movie: level.wmvabsent.exe\r\n"
          "Click on [OK] button to start setup",
          domanda, disabilita},
         CodecDaVerificare, 2},
    };
    for (const auto& c : casi) {
        SCOPED_TRACE(c.nome);
        SetUp();
        CancellaFile(Bin());
        CancellaFile(cartella / "child_record.txt");
        CancellaFile(setup / "child_record.txt");
        MediaTrigger m = Movie("C:\\x\\level.wmv", HasCodec | CodecSetupFile);
        m.SoundFile = Utf8DaAnsi(c.setup);
        ListaMedia = {m};
        bool risultato = false;
        std::vector<BoxRegistrato> boxes;
        {
            Osservatore osservatore(cartella.Percorso(), c.risposte, static_cast<int>(c.boxes.size()),
                                    GetCurrentProcessId(), 30000);
            risultato = VerificaCodecFilmati();
            boxes = osservatore.Boxes();
        }
        EXPECT_TRUE(risultato);
        ASSERT_EQ(boxes.size(), c.boxes.size());
        for (size_t i = 0; i < boxes.size(); ++i) EXPECT_EQ(boxes[i].testo, c.boxes[i]) << i;
        // Waited for: the setup's record is there once the check is over.
        if (!c.eseguito.empty()) {
            EXPECT_TRUE(EsisteFileProva(c.eseguito + "\\child_record.txt"));
        }
        // The copy taken out of the packet goes; the author's own file stays.
        EXPECT_FALSE(EsisteFileProva(cartella / "codecsetup.exe"));
        EXPECT_TRUE(EsisteFileProva(setup / "codecsetup.exe"));
        EXPECT_EQ(LeggiFileProva(Bin()), mano::I32(1) + RecordCodec("level.wmv", c.stato));
        EXPECT_EQ(ListaMedia[0].Options & Disabled, c.stato == CodecPresente ? 0 : Disabled);
        EXPECT_EQ(NumErroriLog, c.erroriLog);
        if (c.erroriLog > 0) {
            EXPECT_EQ(Righe().back(), "ERROR: not found file: " + c.setup);
        }
        RipristinaMovieDisabilitati();
    }
    HeaderMcf = headerPrima;
    CartellaTrle = trlePrima;
}

// A codec the level names by its download page: the page is opened with the
// shell, the program leaves the player ten seconds, then asks.
TEST_F(CodecFilmati, ACodecOfADownloadPageIsAskedForAfterThePageOpened) {
    const std::string indirizzo = "http://www.codec-video.example/wmv9/download.html";
    const std::string primo = "Movie level.wmv requires to download and install video codec: \r\n"
                              "Windows Media Video 9 codec\r\n"
                              "Click on [OK] button to go to download page:\r\n" +
                              indirizzo;
    const std::string domanda = "Have you downloaded and installed requested video codec?";
    const std::string disabilita =
        "Unluky, it's missing codec to play movie in this level.\r\nDo you want disable permanently movie: level.wmv";
    const struct {
        const char* risposte;
        std::vector<std::string> boxes;
        int32_t stato;
    } casi[] = {
        {"OK,YES", {primo, domanda}, CodecPresente},
        {"OK,NO,YES", {primo, domanda, disabilita}, CodecDisabilitato},
        {"OK,NO,NO", {primo, domanda, disabilita}, CodecDaVerificare},
    };
    for (const auto& c : casi) {
        SCOPED_TRACE(c.risposte);
        SetUp();
        CancellaFile(Bin());
        MediaTrigger m = Movie("C:\\x\\level.wmv", HasCodec);
        m.SoundFile = indirizzo;
        m.Syntax = "<CODEC>Windows Media Video 9 codec<END_CODEC>";
        ListaMedia = {m};
        PagineAperte pagine(cartella.Percorso());
        ASSERT_TRUE(pagine.Pronta());
        bool risultato = false;
        std::vector<BoxRegistrato> boxes;
        const uint32_t inizio = ClockTick();
        {
            Osservatore osservatore(cartella.Percorso(), c.risposte, static_cast<int>(c.boxes.size()),
                                    GetCurrentProcessId(), 30000);
            risultato = VerificaCodecFilmati();
            boxes = osservatore.Boxes();
        }
        EXPECT_EQ(ClockTick() - inizio, 10000u);
        EXPECT_TRUE(risultato);
        ASSERT_EQ(boxes.size(), c.boxes.size());
        for (size_t i = 0; i < boxes.size(); ++i) EXPECT_EQ(boxes[i].testo, c.boxes[i]) << i;
        EXPECT_EQ(pagine.Indirizzi(1), std::vector<std::string>{indirizzo});
        EXPECT_EQ(LeggiFileProva(Bin()), mano::I32(1) + RecordCodec("level.wmv", c.stato));
        EXPECT_EQ(ListaMedia[0].Options, HasCodec | (c.stato == CodecPresente ? 0 : Disabled));
        EXPECT_EQ(NumErroriLog, 0);
        RipristinaMovieDisabilitati();
    }
}

}  // namespace
