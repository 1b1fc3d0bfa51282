// The codec check of the level's movies: the table of VideoCodec.bin read
// and grown, the questions answered by the dialog watcher, and the movies
// disabled for this run given back before the configuration is saved.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "core/FileUtils.h"
#include "core/MediaTrigger.h"
#include "core/SharedState.h"
#include "media/MovieChecks.h"
#include "media/VideoCodecs.h"
#include "platform/Clock.h"
#include "tests/core/HandBytes.h"
#include "tests/core/LogLines.h"
#include "tests/media/CodecTable.h"
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

    // The configuration saved at the end keeps the author's bits only.
    RipristinaMovieDisabilitati();
    EXPECT_EQ(ListaMedia[2].Options, HasCodec);
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
        RipristinaMovieDisabilitati();
        EXPECT_EQ(ListaMedia[0].Options, 0);
    }
}

}  // namespace
