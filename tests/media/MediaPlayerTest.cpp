// The media player layer: its play state follows the sound's length on the
// program's clock where no audio device plays it, and a real device where
// one exists.
#include <gtest/gtest.h>

#include <windows.h>
#include <mmsystem.h>

#include <string>
#include <vector>

#include "platform/Clock.h"
#include "platform/MediaPlayer.h"
#include "tests/media/SoundFiles.h"
#include "tests/support/TestFolders.h"

namespace {

void Metti32(std::string& s, uint32_t x) {
    for (int i = 0; i < 4; ++i) s += static_cast<char>(x >> (8 * i));
}
void Metti16(std::string& s, uint16_t x) {
    s += static_cast<char>(x);
    s += static_cast<char>(x >> 8);
}

// A PCM wave file laid out by hand: 8 kHz, 8-bit mono, so 8 bytes a
// millisecond; a "LIST" chunk before the samples, as editors write.
std::string Wav(uint32_t millisecondi) {
    const std::string lista("INFOISFT\x04\x00\x00\x00test", 16);
    const uint32_t campioni = millisecondi * 8;
    std::string s = "RIFF";
    Metti32(s, 4 + (8 + 16) + (8 + static_cast<uint32_t>(lista.size())) + 8 + campioni);
    s += "WAVEfmt ";
    Metti32(s, 16);
    Metti16(s, 1);
    Metti16(s, 1);
    Metti32(s, 8000);
    Metti32(s, 8000);
    Metti16(s, 1);
    Metti16(s, 8);
    s += "LIST";
    Metti32(s, static_cast<uint32_t>(lista.size()));
    s += lista;
    s += "data";
    Metti32(s, campioni);
    s.append(campioni, static_cast<char>(0x80));
    return s;
}

// 16-bit stereo PCM at 8 kHz (32 bytes a millisecond) in the extensible
// header: valid bits, channel mask, then the PCM sub-format's GUID.
std::string Estensibile(uint32_t millisecondi) {
    std::string extra;
    Metti16(extra, 16);
    Metti32(extra, 3);
    extra += std::string("\x01\x00\x00\x00\x00\x00\x10\x00\x80\x00\x00\xAA\x00\x38\x9B\x71", 16);
    return suoni::WavCompresso(0xFFFE, 2, 8000, 32000, 4, 16, extra, millisecondi * 8,
                               std::string(millisecondi * 32, '\0'));
}

uint32_t NessunDispositivo() { return 0; }

class LettoreSenzaDispositivo : public testing::Test {
protected:
    void SetUp() override {
        dispositivi_ = NumeroDispositiviAudio;
        NumeroDispositiviAudio = NessunDispositivo;
        ClockUseManual(true, 5000);
    }
    void TearDown() override {
        ClockUseManual(false);
        NumeroDispositiviAudio = dispositivi_;
    }
    std::string File(const std::string& nome, const std::string& contenuto) {
        const std::string p = cartella / nome;
        EXPECT_TRUE(ScriviFileProva(p, contenuto));
        return p;
    }
    CartellaProva cartella{"mp"};

private:
    uint32_t (*dispositivi_)() = nullptr;
};

TEST_F(LettoreSenzaDispositivo, PlayStateFollowsTheLengthFromTheHeader) {
    struct Caso {
        const char* nome;
        int32_t volte;
        uint32_t pausaA;    // ms of playing before a pause, 0 none
        uint32_t pausaPer;  // ms paused
        // ms from the start, and the state then
        std::vector<std::pair<uint32_t, int32_t>> attese;
    };
    const int32_t P = MediaPlayer::InRiproduzione, F = MediaPlayer::Fermo, Z = MediaPlayer::InPausa;
    const std::vector<Caso> casi = {
        {"once", 1, 0, 0, {{0, P}, {999, P}, {1000, F}, {5000, F}}},
        {"twice", 2, 0, 0, {{1000, P}, {1999, P}, {2000, F}}},
        {"without end", 0, 0, 0, {{1000, P}, {100000, P}}},
        {"paused for 5 s at 400 ms", 1, 400, 5000, {{400, Z}, {5399, Z}, {5400, P}, {5999, P}, {6000, F}}},
    };
    const std::string wav = File("uno.wav", Wav(1000));
    for (const Caso& c : casi) {
        MediaPlayer mp;
        mp.SetPlayCount(c.volte);
        const uint32_t inizio = ClockTick();
        mp.SetFileName(wav);
        EXPECT_EQ(mp.Durata(), 1000u) << c.nome;
        uint32_t ora = 0;
        for (const auto& [quando, stato] : c.attese) {
            // The pause and the resume happen on their way.
            if (c.pausaA && ora < c.pausaA && quando >= c.pausaA) {
                ClockAdvance(c.pausaA - ora);
                ora = c.pausaA;
                mp.Pause();
            }
            if (c.pausaA && ora < c.pausaA + c.pausaPer && quando >= c.pausaA + c.pausaPer) {
                ClockAdvance(c.pausaA + c.pausaPer - ora);
                ora = c.pausaA + c.pausaPer;
                mp.Play();
            }
            ClockAdvance(quando - ora);
            ora = quando;
            EXPECT_EQ(mp.PlayState(), stato) << c.nome << " at " << quando;
        }
        EXPECT_EQ(ClockTick() - inizio, ora);
    }
}

TEST_F(LettoreSenzaDispositivo, StopAndPlayStartOverAndTheVolumeStaysInItsRange) {
    MediaPlayer mp;
    mp.SetFileName(File("uno.wav", Wav(1000)));
    ClockAdvance(800);
    mp.Stop();
    EXPECT_EQ(mp.PlayState(), MediaPlayer::Fermo);
    mp.Play();
    ClockAdvance(800);
    EXPECT_EQ(mp.PlayState(), MediaPlayer::InRiproduzione) << "a new play starts from the beginning";
    for (const auto& [dato, atteso] : std::vector<std::pair<int32_t, int32_t>>{{-1830, -1830}, {-20000, -10000}, {5, 0}}) {
        mp.SetVolume(dato);
        EXPECT_EQ(mp.Volume(), atteso);
    }
}

TEST_F(LettoreSenzaDispositivo, WhatIsNotAWaveSoundLeavesThePlayerSilentAndStopped) {
    const std::string buono = Wav(1000);
    std::string corto = buono;
    corto.resize(buono.size() - 100);  // the samples pass the file's end
    std::string senzaDati = buono.substr(0, 44);
    const std::vector<std::pair<std::string, std::string>> casi = {
        {"missing", ""},
        {"empty", "-"},
        {"mp3", "ID3\x03\x00\x00\x00\x00\x00\x00" + std::string(200, '\xFF')},
        {"cut short", corto},
        {"without samples", senzaDati},
        {"a compressed format no codec knows",
         suoni::WavCompresso(0x7777, 1, 8000, 4000, 256, 4, std::string(2, '\0'), 8000, std::string(4096, '\x11'))},
        {"an MP3 frame cut short", suoni::Mp3(1).substr(0, 300)},
    };
    for (const auto& [nome, contenuto] : casi) {
        std::string percorso = cartella / (nome + ".wav");
        if (contenuto == "-")
            ScriviFileProva(percorso, "");
        else if (!contenuto.empty())
            ScriviFileProva(percorso, contenuto);
        MediaPlayer mp;
        mp.SetFileName(percorso);
        EXPECT_EQ(mp.PlayState(), MediaPlayer::Fermo) << nome;
        EXPECT_EQ(mp.Durata(), 0u) << nome;
        mp.Play();
        EXPECT_EQ(mp.PlayState(), MediaPlayer::Fermo) << nome;
        EXPECT_EQ(mp.FileName(), percorso);
    }
}

TEST_F(LettoreSenzaDispositivo, CompressedWavesAndMp3sPlayDecodedByThePlatformsCodecs) {
    struct Caso {
        const char* nome;
        std::string contenuto;
        uint32_t minimo, massimo;  // ms of one play
        uint16_t canali;
        uint32_t frequenza;
    };
    // Each as many samples long as its blocks or frames hold; an MP3
    // decoder may hold back up to a frame at either end.
    const std::vector<Caso> casi = {
        {"IMA ADPCM", suoni::ImaAdpcm(16), 1009, 1011, 1, 8000},
        {"Microsoft ADPCM", suoni::MsAdpcm(16), 999, 1001, 1, 8000},
        {"MP3", suoni::Mp3(40), 1045 - 2 * 27, 1045 + 27, 1, 44100},
        {"PCM in the extensible format", Estensibile(1000), 1000, 1000, 2, 8000},
    };
    for (const Caso& c : casi) {
        MediaPlayer mp;
        mp.SetFileName(File("suono", c.contenuto));
        EXPECT_EQ(mp.PlayState(), MediaPlayer::InRiproduzione) << c.nome;
        EXPECT_GE(mp.Durata(), c.minimo) << c.nome;
        EXPECT_LE(mp.Durata(), c.massimo) << c.nome;
        const FormatoWav& f = mp.FormatoRiproduzione();
        EXPECT_EQ(f.FormatTag, 1) << c.nome << ": the device gets PCM";
        EXPECT_EQ(f.BitsPerSample, 16) << c.nome;
        EXPECT_EQ(f.Channels, c.canali) << c.nome;
        EXPECT_EQ(f.SamplesPerSec, c.frequenza) << c.nome;
        ClockAdvance(mp.Durata());
        EXPECT_EQ(mp.PlayState(), MediaPlayer::Fermo) << c.nome;
    }
}

// A standard MIDI file laid out by hand: one track at the standard's
// tempo (half a second a quarter note), <note> quarter notes one after the
// other.
std::string Midi(uint32_t note) {
    std::string traccia;
    for (uint32_t i = 0; i < note; ++i) {
        traccia += std::string("\x00\x90\x3C\x40", 4);
        traccia += std::string("\x60\x80\x3C\x40", 4);  // 96 ticks later
    }
    traccia += std::string("\x00\xFF\x2F\x00", 4);
    std::string s = "MThd";
    s += std::string("\x00\x00\x00\x06\x00\x00\x00\x01\x00\x60", 10);  // format 0, 1 track, 96 a quarter
    s += "MTrk";
    for (int i = 3; i >= 0; --i) s += static_cast<char>(traccia.size() >> (8 * i));
    return s + traccia;
}

TEST_F(LettoreSenzaDispositivo, OtherFormatsPlayThroughTheSystemsMultimediaDevices) {
    MediaPlayer mp;
    mp.SetPlayCount(2);
    mp.SetFileName(File("musica.mid", Midi(3)));
    EXPECT_EQ(mp.PlayState(), MediaPlayer::InRiproduzione);
    EXPECT_NEAR(mp.Durata(), 1500u, 50);
    ClockAdvance(2 * mp.Durata() - 1);
    EXPECT_EQ(mp.PlayState(), MediaPlayer::InRiproduzione);
    ClockAdvance(1);
    EXPECT_EQ(mp.PlayState(), MediaPlayer::Fermo);
    // What no device of the system opens stays silent.
    mp.SetFileName(File("rumore.xyz", std::string(4000, '\x5A')));
    EXPECT_EQ(mp.PlayState(), MediaPlayer::Fermo);
    EXPECT_EQ(mp.Durata(), 0u);
}

TEST(LettoreConDispositivo, PlaysUntilTheSoundEnds) {
    if (waveOutGetNumDevs() == 0) GTEST_SKIP() << "no audio device";
    CartellaProva cartella{"mpd"};
    const std::string p = cartella / "breve.wav";
    ASSERT_TRUE(ScriviFileProva(p, Wav(200)));
    MediaPlayer mp;
    mp.SetVolume(-10000);
    mp.SetFileName(p);
    // A device that refuses the sound falls back on the clock: either way
    // the sound plays for about its length.
    EXPECT_EQ(mp.PlayState(), MediaPlayer::InRiproduzione);
    const DWORD inizio = GetTickCount();
    while (mp.PlayState() == MediaPlayer::InRiproduzione && GetTickCount() - inizio < 5000) Sleep(10);
    EXPECT_EQ(mp.PlayState(), MediaPlayer::Fermo);
    EXPECT_GE(GetTickCount() - inizio, 150u);
    EXPECT_LT(GetTickCount() - inizio, 3000u);
}

}  // namespace
