// VideoCodec.bin and the codec names of a Windows Media header, as bytes:
// files written and read back, built by hand from the layout, and damaged.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/SharedState.h"
#include "media/VideoCodecs.h"
#include "platform/Clock.h"
#include "tests/core/HandBytes.h"
#include "tests/core/LogLines.h"
#include "tests/media/CodecTable.h"
#include "tests/support/TestFolders.h"

namespace {

using mano::I32;
using mano::RecordCodec;

class VideoCodecBin : public TabellaCodec {
protected:
    VideoCodecBin() : TabellaCodec("vcb") {}
};

TEST_F(VideoCodecBin, TheTableIsWrittenAsTheLayoutAndReadBack) {
    ElencoVideoCodec = {{NomeFilmatoFisso("intro.wmv"), CodecPresente}, {NomeFilmatoFisso("End.AVI"), CodecDaVerificare}};
    ASSERT_TRUE(SalvaVideoCodecBin());
    const std::string mano = I32(2) + RecordCodec("intro.wmv", 1) + RecordCodec("End.AVI", 3);
    EXPECT_EQ(LeggiFileProva(Bin()), mano);

    // A grown table replaces the file, the previous one kept as backup.
    ElencoVideoCodec.push_back({NomeFilmatoFisso("bonus.mpg"), CodecDisabilitato});
    ASSERT_TRUE(SalvaVideoCodecBin());
    EXPECT_EQ(LeggiFileProva(cartella / "backup_VideoCodec.bin"), mano);
    EXPECT_FALSE(EsisteFileProva(cartella / "_tem_VideoCodec.bin"));

    ElencoVideoCodec.clear();
    ASSERT_TRUE(CaricaVideoCodecBin());
    ASSERT_EQ(ElencoVideoCodec.size(), 3u);
    EXPECT_EQ(ElencoVideoCodec[1].NomeFilmato, NomeFilmatoFisso("End.AVI"));
    EXPECT_EQ(ElencoVideoCodec[2].StatoCodec, CodecDisabilitato);
    EXPECT_EQ(Righe(), std::vector<std::string>{"Loaded Info Video Codec file: 3 records"});
    EXPECT_EQ(NumErroriLog, 0);
}

TEST_F(VideoCodecBin, AFileBuiltByHandIsRead) {
    // An 80-character name fills its field; bytes after the records are left.
    const std::string lungo(80, 'm');
    ASSERT_TRUE(ScriviFileProva(Bin(), I32(2) + RecordCodec("a.wmv", 2) + RecordCodec(lungo, 1) + "tail"));
    ASSERT_TRUE(CaricaVideoCodecBin());
    ASSERT_EQ(ElencoVideoCodec.size(), 2u);
    EXPECT_EQ(ElencoVideoCodec[0].NomeFilmato, NomeFilmatoFisso("a.wmv"));
    EXPECT_EQ(ElencoVideoCodec[0].StatoCodec, 2);
    EXPECT_EQ(ElencoVideoCodec[1].NomeFilmato, lungo);
    EXPECT_EQ(ElencoVideoCodec[1].StatoCodec, 1);
    EXPECT_EQ(NomeFilmatoFisso(lungo + "xyz"), lungo);
}

TEST_F(VideoCodecBin, AMissingFileIsAFirstExecution) {
    ElencoVideoCodec = {{NomeFilmatoFisso("stale.wmv"), 1}};
    EXPECT_TRUE(CaricaVideoCodecBin());
    EXPECT_TRUE(ElencoVideoCodec.empty());
    EXPECT_EQ(Righe(), std::vector<std::string>{"Missing info video codec file: first execution"});
}

TEST_F(VideoCodecBin, DamagedFilesAreTakenAsEmptyWithAnErrorLine) {
    const std::string uno = RecordCodec("a.wmv", 1);
    struct Caso {
        const char* nome;
        std::string dati;
        std::string motivo;
    } casi[] = {
        {"empty", "", "the file has 0 bytes, no record count"},
        {"short count", std::string(3, '\0'), "the file has 3 bytes, no record count"},
        {"negative count", I32(-1) + uno, "its record count is -1"},
        {"absurd count", I32(0x7FFFFFFF) + uno, "its record count is 2147483647 but it holds 1 whole records"},
        {"truncated record", I32(2) + uno + uno.substr(0, 50), "its record count is 2 but it holds 1 whole records"},
        {"state cut off", I32(1) + uno.substr(0, 82), "its record count is 1 but it holds 0 whole records"},
    };
    for (const Caso& c : casi) {
        SCOPED_TRACE(c.nome);
        SetUp();
        ElencoVideoCodec = {{NomeFilmatoFisso("stale.wmv"), 1}};
        ASSERT_TRUE(ScriviFileProva(Bin(), c.dati));
        EXPECT_FALSE(CaricaVideoCodecBin());
        EXPECT_TRUE(ElencoVideoCodec.empty());
        UnErrore("Damaged info video codec file: " + Bin() + " (" + c.motivo + "); no movie is taken as verified");

        std::vector<VideoCodecRecord> elenco{{"x", 1}};
        std::string motivo;
        EXPECT_FALSE(LeggiVideoCodecBin(c.dati, elenco, motivo));
        EXPECT_TRUE(elenco.empty());
        EXPECT_EQ(motivo, c.motivo);
    }
    // A count of 0 is a sound, empty table.
    SetUp();
    ASSERT_TRUE(ScriviFileProva(Bin(), I32(0)));
    EXPECT_TRUE(CaricaVideoCodecBin());
    EXPECT_EQ(Righe(), std::vector<std::string>{"Loaded Info Video Codec file: 0 records"});
}

// UTF-16 little-endian, as the header stores its texts.
std::string Wide(const std::string& testo) {
    std::string s;
    for (char c : testo) s += std::string{c, '\0'};
    return s;
}

// A header object: 16 bytes of identifier, the 64-bit size (its low half
// read), then <corpo>; <coda> bytes of data follow it.
std::string Asf(const std::string& corpo, size_t coda = 8) {
    const std::string guid(16, '\x30');
    const auto dimensione = static_cast<int64_t>(guid.size() + 8 + corpo.size());
    return guid + I32(dimensione) + I32(0) + corpo + std::string(coda, '\0');
}

class FormatoWindowsMedia : public ConRigheLog {
protected:
    std::string Wmv() const { return cartella / "movie.wmv"; }
    CartellaProva cartella{"wmf"};
};

TEST_F(FormatoWindowsMedia, TheCodecGenerationComesFromTheHeaderNames) {
    struct Caso {
        const char* nome;
        std::string corpo;
        bool riconosciuto;
        std::string video, audio;
    } casi[] = {
        {"V7 both", Wide("Windows Media Video V7") + Wide("Windows Media Audio V7"), true, "WMV7", "WMA7"},
        {"V8 both", Wide("Windows Media Audio V8") + "xx" + Wide("Windows Media Video V8"), true, "WMV8", "WMA8"},
        {"both video names", Wide("Windows Media Video V8") + Wide("Windows Media Video V7") + Wide("Windows Media Audio V7"),
         true, "WMV8", "WMA7"},
        {"video only takes its audio", Wide("Windows Media Video V8"), true, "WMV8", "WMA8"},
        {"letter case", Wide("WINDOWS MEDIA VIDEO v7"), true, "WMV7", "WMA7"},
        {"audio only", Wide("Windows Media Audio V8"), false, "", "WMA8"},
        {"single-byte names", "Windows Media Video V8 Windows Media Audio V8", false, "", ""},
        {"no names", Wide("Something else"), false, "", ""},
    };
    for (const Caso& c : casi) {
        SCOPED_TRACE(c.nome);
        SetUp();
        ASSERT_TRUE(ScriviFileProva(Wmv(), Asf(c.corpo)));
        std::string video = "old", audio = "old";
        EXPECT_EQ(LeggiFormatoWindowsMedia(Wmv(), video, audio), c.riconosciuto);
        EXPECT_EQ(video, c.video);
        EXPECT_EQ(audio, c.audio);
        NessunErrore();
    }
}

TEST_F(FormatoWindowsMedia, DamagedHeadersAreRefusedWithAReason) {
    const std::string v8 = Wide("Windows Media Video V8");
    const std::string buono = Asf(v8);
    // The name lies past the header's declared end: it is not read.
    std::string corto = buono;
    corto[16] = 30;
    auto conLunghezza = [&](uint32_t n) { return buono.substr(0, 16) + I32(n) + buono.substr(20); };
    struct Caso {
        const char* nome;
        std::string dati;
        std::string riga;
    } casi[] = {
        {"19 bytes", buono.substr(0, 19), "Damaged Windows Media header in " + Wmv() + ": the file has 19 bytes, no header length"},
        {"empty", "", "Damaged Windows Media header in " + Wmv() + ": the file has 0 bytes, no header length"},
        {"length 0", conLunghezza(0), "Damaged Windows Media header in " + Wmv() + ": its header length is 0"},
        {"length of the file", conLunghezza(static_cast<uint32_t>(buono.size())),
         "Damaged Windows Media header in " + Wmv() + ": its header length " + std::to_string(buono.size()) +
             " reaches past the file's " + std::to_string(buono.size()) + " bytes"},
        {"length with the top bit", conLunghezza(0x80000010u),
         "Damaged Windows Media header in " + Wmv() + ": its header length 2147483664 reaches past the file's " +
             std::to_string(buono.size()) + " bytes"},
        {"name past the header", corto, ""},
        // A damaged length in a large movie: the file is not read whole.
        {"length over any header", conLunghezza(MassimaIntestazioneWindowsMedia + 1) +
                                       std::string(MassimaIntestazioneWindowsMedia, '\0'),
         "Damaged Windows Media header in " + Wmv() + ": its header length " +
             std::to_string(MassimaIntestazioneWindowsMedia + 1) + " is over the " +
             std::to_string(MassimaIntestazioneWindowsMedia) + " bytes a header may have"},
    };
    for (const Caso& c : casi) {
        SCOPED_TRACE(c.nome);
        SetUp();
        ASSERT_TRUE(ScriviFileProva(Wmv(), c.dati));
        std::string video, audio;
        EXPECT_FALSE(LeggiFormatoWindowsMedia(Wmv(), video, audio));
        EXPECT_EQ(video, "");
        EXPECT_EQ(audio, "");
        if (c.riga.empty())
            NessunErrore();
        else
            UnErrore(c.riga);
    }
    SetUp();
    std::string video, audio;
    EXPECT_FALSE(LeggiFormatoWindowsMedia(cartella / "missing.wmv", video, audio));
    UnErrore("Not found movie file: " + cartella / "missing.wmv");
}

}  // namespace

namespace {

TEST(VersioneCodec, TheMajorNumberOfEveryFormOfVersionText) {
    const struct {
        const char* versione;
        int32_t principale;
    } casi[] = {
        {"7.0.0.1850", 7}, {"6.4.0.3", 6},  {"6, 4, 9, 1125", 6}, {"10,0,0,3646", 10}, {"7", 7},
        {" 8.1", 8},       {"", 0},         {"beta", 0},          {".5", 0},           {"99999999999.1", INT32_MAX},
    };
    for (const auto& c : casi) EXPECT_EQ(NumeroPrincipaleVersione(c.versione), c.principale) << c.versione;
}

TEST(VersioneCodec, TheSecondNumberIsReadLikeTheFirst) {
    const struct {
        const char* versione;
        int32_t secondo;
    } casi[] = {
        {"6.4.9.1125", 4}, {"6, 4, 9, 1125", 4}, {"6,12", 12}, {"7", 0}, {"7.", 0}, {"6.x.1", 0}, {"6,,4", 0},
    };
    for (const auto& c : casi) EXPECT_EQ(ParteVersione(c.versione, 1), c.secondo) << c.versione;
    EXPECT_EQ(ParteVersione("6.4.9.1125", 3), 1125);
    EXPECT_EQ(ParteVersione("6.4.9.1125", 4), 0);
}

}  // namespace
