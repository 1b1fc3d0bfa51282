// RIFF WAVE images checked on bytes.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "eventlogger/LoggerLog.h"
#include "eventlogger/WavFile.h"
#include "tests/support/TestFolders.h"

namespace {

std::vector<uint8_t> Byte(const std::string& s) { return std::vector<uint8_t>(s.begin(), s.end()); }
std::string U32(uint32_t v) { return std::string(reinterpret_cast<const char*>(&v), 4); }
std::string Fmt(uint32_t dimensione = 16) {
    // PCM, mono, 11025 Hz, 8 bit
    std::string corpo = std::string("\x01\x00\x01\x00", 4) + U32(11025) + U32(11025) + std::string("\x01\x00\x08\x00", 4);
    corpo.resize(dimensione, '\0');
    return "fmt " + U32(dimensione) + corpo;
}
std::string Riff(const std::string& chunks, int32_t correzione = 0) {
    return "RIFF" + U32(static_cast<uint32_t>(4 + chunks.size() + correzione)) + "WAVE" + chunks;
}

TEST(WavFile, OurWriterAndAHandBuiltFileParseAlike) {
    const std::vector<uint8_t> campioni = {1, 2, 3};
    const std::vector<uint8_t> nostro = CreaWav(1, 11025, 8, campioni);
    const std::vector<uint8_t> mano = Byte(Riff(Fmt() + "data" + U32(3) + std::string("\x01\x02\x03\x00", 4)));
    EXPECT_EQ(nostro, mano);
    FormatoWav f;
    const uint8_t* dati = nullptr;
    uint32_t n = 0;
    ASSERT_TRUE(ParseWaveChunks(mano.data(), mano.size(), f, dati, n));
    EXPECT_EQ(f.FormatTag, 1);
    EXPECT_EQ(f.Channels, 1);
    EXPECT_EQ(f.SamplesPerSec, 11025u);
    EXPECT_EQ(f.BitsPerSample, 8);
    EXPECT_EQ(n, 3u);
    EXPECT_EQ(dati, mano.data() + 44);
}

TEST(WavFile, ChunksInAnyOrderWithPaddingAndUnknownOnes) {
    const std::string s = Riff("LIST" + U32(3) + std::string("abc\0", 4) + "data" + U32(2) + "zz" + Fmt(14));
    const std::vector<uint8_t> b = Byte(s);
    FormatoWav f;
    const uint8_t* dati = nullptr;
    uint32_t n = 0;
    ASSERT_TRUE(ParseWaveChunks(b.data(), b.size(), f, dati, n));
    EXPECT_EQ(n, 2u);
    EXPECT_EQ(std::memcmp(dati, "zz", 2), 0);
    EXPECT_EQ(f.BitsPerSample, 0) << "a 14-byte format has no bit depth";
}

TEST(WavFile, DamagedImagesFailWithoutReadingPastTheirEnd) {
    const std::string buono = Riff(Fmt() + "data" + U32(4) + "abcd");
    struct Caso {
        const char* nome;
        std::string byte;
    };
    const Caso casi[] = {
        {"empty", ""},
        {"short", "RIFF"},
        {"not riff", "RIFX" + buono.substr(4)},
        {"not wave", buono.substr(0, 8) + "WAVX" + buono.substr(12)},
        {"no data", Riff(Fmt())},
        {"no format", Riff("data" + U32(4) + "abcd")},
        {"short format", Riff(Fmt(12) + "data" + U32(4) + "abcd")},
        {"data past the end", Riff(Fmt() + "data" + U32(400) + "abcd")},
        {"huge chunk", Riff(Fmt() + "data" + U32(0xFFFFFFF8u) + "abcd")},
        {"cut in the format", buono.substr(0, 30)},
        {"cut in the samples", buono.substr(0, buono.size() - 1)},
        {"a chunk past the end after the samples", Riff(Fmt() + "data" + U32(4) + "abcd" + "LIST" + U32(9))},
        {"a short format after the samples", Riff("data" + U32(4) + "abcd" + Fmt(12))},
    };
    for (const Caso& c : casi) {
        // A copy of exactly the bytes, so that a read past them is a read past the allocation.
        std::vector<uint8_t> b = Byte(c.byte);
        FormatoWav f;
        const uint8_t* dati = reinterpret_cast<const uint8_t*>(1);
        uint32_t n = 7;
        EXPECT_FALSE(ParseWaveChunks(b.data(), b.size(), f, dati, n)) << c.nome;
        EXPECT_EQ(dati, nullptr) << c.nome;
        EXPECT_EQ(n, 0u) << c.nome;
    }
    // A RIFF size larger than the file: only what is there is walked.
    const std::vector<uint8_t> lungo = Byte(Riff(Fmt() + "data" + U32(4) + "abcd", 1000));
    FormatoWav f;
    const uint8_t* dati = nullptr;
    uint32_t n = 0;
    EXPECT_TRUE(ParseWaveChunks(lungo.data(), lungo.size(), f, dati, n));
}

TEST(WavFile, AFileIsReadWholeOrItsLineIsLogged) {
    CartellaProva cartella("wav");
    InitLoggerLog(cartella.Percorso());
    const std::vector<uint8_t> buono = CreaWav(1, 8000, 8, {1, 2, 3});
    ScriviFileProva(cartella / "ok.wav", std::string(buono.begin(), buono.end()));
    ScriviFileProva(cartella / "bad.wav", std::string(buono.begin(), buono.begin() + 30));
    std::vector<uint8_t> immagine;
    FormatoWav f;
    const uint8_t* dati = nullptr;
    uint32_t n = 0;
    ASSERT_TRUE(LoadWavFile(cartella / "ok.wav", immagine, f, dati, n));
    EXPECT_EQ(immagine, buono);
    EXPECT_EQ(dati, immagine.data() + 44);
    EXPECT_EQ(n, 3u);
    EXPECT_EQ(f.SamplesPerSec, 8000u);
    EXPECT_FALSE(LoadWavFile(cartella / "bad.wav", immagine, f, dati, n));
    EXPECT_EQ(dati, nullptr);
    EXPECT_FALSE(LoadWavFile(cartella / "missing.wav", immagine, f, dati, n));
    FlushLogBuffer();
    const std::string log = LeggiFileProva(cartella / "tomb4_log.txt");
    EXPECT_NE(log.find("LOGGER: ERROR parsing chunks of wav sound file: " + (cartella / "bad.wav") + "\r\n"),
              std::string::npos);
    EXPECT_NE(log.find("LOGGER: ERROR opening wav sound file: " + (cartella / "missing.wav") + "\r\n"),
              std::string::npos);
    EXPECT_EQ(log.find("ok.wav"), std::string::npos);
    FreeLoggerLog();
}

}  // namespace
