// The files a splash needs, located before it runs: from the level's media
// packet into the store folder, or where they already are; the copies made
// for the splash are listed once for deletion.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/FileUtils.h"
#include "core/MediaConfig.h"
#include "core/MediaPacket.h"
#include "core/MediaTrigger.h"
#include "core/SharedState.h"
#include "input/GameOperation.h"
#include "media/SplashScreen.h"
#include "tests/core/LogLines.h"
#include "tests/support/TestFolders.h"

namespace {

class FileSplash : public ConRigheLog {
protected:
    void SetUp() override {
        ConRigheLog::SetUp();
        trle_ = CartellaTrle;
        store_ = PercorsoStore;
        mcf_ = HeaderMcf.CartellaMcf;
        tipo_ = TipoProgramma;
        TipoProgramma = 4;
        CartellaTrle = c.Percorso();
        PercorsoStore = c / "store";
        HeaderMcf.CartellaMcf = c.Percorso();
        CreaCartella(PercorsoStore);
        CreaCartella(c / "src");
        MediaPacketHeader h;
        ASSERT_TRUE(GestionePacchettoMedia(c / "media.mpf", CreaPacchetto, "", "", h, false));
        for (const char* f : {"back.bmp", "sprite.bmp", "sound.wav"}) {
            ASSERT_TRUE(ScriviFileProva(c / (std::string("src\\") + f), f));
            ASSERT_TRUE(GestionePacchettoMedia(c / "media.mpf", AggiungiFile, c / (std::string("src\\") + f), "", h,
                                               false))
                << UltimoErrore;
        }
        // Already in the store folder, not in the packet: no copy of its own.
        ASSERT_TRUE(ScriviFileProva(c / "store\\land.bmp", "land"));
        MediaCorrente = MediaTrigger{};
        ParametriSplash = ParametriSplashMedia{};
    }
    void TearDown() override {
        MediaCorrente = MediaTrigger{};
        ParametriSplash = ParametriSplashMedia{};
        CartellaTrle = trle_;
        PercorsoStore = store_;
        HeaderMcf.CartellaMcf = mcf_;
        TipoProgramma = tipo_;
        ConRigheLog::TearDown();
    }

    // A splash over a background image with its sound, capturing the
    // keyboard; a sprite over a back image, a landscape, and a third
    // animation past the limit.
    void SplashCompleta() {
        MediaCorrente.TypeFlags = int32_t{BitSplash} | BackgroundImage | BackgroundSound;
        MediaCorrente.MediaFile = "back.bmp";
        MediaCorrente.SoundFile = "sound.wav";
        ParametriSplash.Flags = SplashCaptureKeyboard;
        ParametriSplash.Limite = 2;
        auto animazione = [](int32_t flags, const char* immagine, const char* sfondo) {
            DatiAnimazione a;
            a.Flags = flags;
            a.Image = immagine;
            a.BackImage = sfondo;
            return a;
        };
        ParametriSplash.Animazioni = {
            animazione(AnimazioneSprite | AnimazioneShowBackImage, "sprite.bmp", "BACK.BMP"),
            animazione(AnimazioneLandscape, "land.bmp", "not used.bmp"),
            animazione(AnimazioneSprite, "past the limit.bmp", ""),
            {},
        };
    }

    CartellaProva c;
    std::string trle_, store_, mcf_;
    int32_t tipo_ = 0;
};

TEST_F(FileSplash, EveryFileIsLocatedAndEachCopyListedOnce) {
    SplashCompleta();
    std::vector<std::string> lista = {"C:\\before.tmp"};
    int32_t conteggio = 1;
    ASSERT_TRUE(EstraiFileSplash(lista, conteggio)) << BufferLog;
    EXPECT_EQ(MediaCorrente.MediaFile, c / "store\\back.bmp");
    const std::vector<DatiAnimazione>& a = ParametriSplash.Animazioni;
    EXPECT_EQ(a[0].BackImage, c / "store\\BACK.BMP");
    EXPECT_EQ(a[0].Image, c / "store\\sprite.bmp");
    EXPECT_EQ(a[1].Image, c / "store\\land.bmp");
    EXPECT_EQ(a[1].BackImage, "not used.bmp");
    EXPECT_EQ(a[2].Image, "past the limit.bmp");
    EXPECT_EQ(conteggio, 4);
    EXPECT_EQ(lista, (std::vector<std::string>{"C:\\before.tmp", c / "store\\back.bmp", c / "store\\sound.wav",
                                               c / "store\\sprite.bmp"}));
    for (const char* f : {"back.bmp", "sound.wav", "sprite.bmp"})
        EXPECT_EQ(LeggiFileProva(c / (std::string("store\\") + f)), f);
}

TEST_F(FileSplash, WithoutTheirBitsTheImageAndSoundAreNotWanted) {
    SplashCompleta();
    MediaCorrente.TypeFlags = int32_t{BitSplash} | BackgroundSound;
    MediaCorrente.SoundFile = "missing.wav";
    ParametriSplash.Flags = 0;
    ParametriSplash.Limite = 0;
    std::vector<std::string> lista;
    int32_t conteggio = 0;
    EXPECT_TRUE(EstraiFileSplash(lista, conteggio));
    EXPECT_EQ(MediaCorrente.MediaFile, "");
    EXPECT_EQ(conteggio, 0);
    EXPECT_TRUE(lista.empty());
    EXPECT_EQ(ParametriSplash.Animazioni[0].Image, "sprite.bmp");
}

TEST_F(FileSplash, AFileThatCannotBeLocatedEndsWithFalse) {
    struct Caso {
        const char* nome;
        void (*guasta)();
    };
    const Caso casi[] = {
        {"background image", [] { MediaCorrente.MediaFile = "missing.bmp"; }},
        {"sound", [] { MediaCorrente.SoundFile = "missing.wav"; }},
        {"back image", [] { ParametriSplash.Animazioni[0].BackImage = "missing.bmp"; }},
        {"sprite", [] { ParametriSplash.Animazioni[0].Image = "missing.bmp"; }},
        {"landscape", [] { ParametriSplash.Animazioni[1].Image = "missing.bmp"; }},
    };
    for (const Caso& caso : casi) {
        SCOPED_TRACE(caso.nome);
        SplashCompleta();
        caso.guasta();
        std::vector<std::string> lista;
        int32_t conteggio = 0;
        BufferLog.clear();
        EXPECT_FALSE(EstraiFileSplash(lista, conteggio));
        EXPECT_NE(BufferLog.find("missing."), std::string::npos) << BufferLog;
    }
}

}  // namespace
