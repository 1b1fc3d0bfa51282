// Where the frames of an MP3 file lie: after an ID3v2 tag, before an ID3v1
// tag, past bytes that only look like a frame's start.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/Mp3Frames.h"

namespace {

// <n> frames of the header's stream, <lunghezza> bytes each.
std::string Frames(const std::string& intestazione, uint32_t lunghezza, int n) {
    std::string s;
    for (int i = 0; i < n; ++i) s += intestazione + std::string(lunghezza - 4, '\0');
    return s;
}

const std::string Mpeg1 = std::string("\xFF\xFB\x90\xC4", 4);  // 128 kbit/s, 44.1 kHz, mono: 417 bytes
const std::string Mpeg2 = std::string("\xFF\xF3\x80\x04", 4);  // 64 kbit/s, 22.05 kHz, stereo: 208 bytes

TEST(FrameMp3, FoundAfterTagsAndFalseStarts) {
    const std::string id3v2 = std::string("ID3\x03\x00\x00\x00\x00\x00\x0A", 10) + std::string(10, 'x');
    const std::string id3v1 = "TAG" + std::string(125, ' ');
    struct Caso {
        const char* nome;
        std::string file;
        bool trovato;
        size_t inizio, fine;
        int32_t versione;
        uint32_t frequenza;
        uint16_t canali;
        uint32_t kbps, lunghezza;
    };
    const std::string frames = Frames(Mpeg1, 417, 3);
    // A frame's start whose next frame is not there.
    const std::string falso = std::string("\xFF\xFB\x90\xC4", 4) + std::string(20, '\x01');
    const std::vector<Caso> casi = {
        {"bare frames", frames, true, 0, 1251, 1, 44100, 1, 128, 417},
        {"between tags", id3v2 + frames + id3v1, true, 20, 20 + 1251, 1, 44100, 1, 128, 417},
        {"past a false start", falso + frames, true, 24, 24 + 1251, 1, 44100, 1, 128, 417},
        {"MPEG-2", Frames(Mpeg2, 208, 4), true, 0, 832, 2, 22050, 2, 64, 208},
        {"one frame, the whole file", Frames(Mpeg1, 417, 1), true, 0, 417, 1, 44100, 1, 128, 417},
        {"one frame cut short", Frames(Mpeg1, 417, 1).substr(0, 400), false, 0, 0, 0, 0, 0, 0, 0},
        {"a tag longer than the file", std::string("ID3\x03\x00\x00\x00\x00\x7F\x7F", 10) + frames, false, 0, 0, 0, 0, 0, 0, 0},
        {"a tag size not seven bits a byte", std::string("ID3\x03\x00\x00\x00\x00\x80\x00", 10) + frames, false, 0, 0, 0, 0, 0, 0, 0},
        {"layer I", Frames(std::string("\xFF\xFF\x90\xC4", 4), 417, 3), false, 0, 0, 0, 0, 0, 0, 0},
        {"free bit rate", Frames(std::string("\xFF\xFB\x00\xC4", 4), 417, 3), false, 0, 0, 0, 0, 0, 0, 0},
        {"reserved frequency", Frames(std::string("\xFF\xFB\x9C\xC4", 4), 417, 3), false, 0, 0, 0, 0, 0, 0, 0},
        {"no frame", std::string(5000, '\xFF'), false, 0, 0, 0, 0, 0, 0, 0},
        {"empty", "", false, 0, 0, 0, 0, 0, 0, 0},
    };
    for (const Caso& c : casi) {
        FrameMp3 f;
        const auto* dati = reinterpret_cast<const uint8_t*>(c.file.data());
        EXPECT_EQ(CercaFrameMp3(dati, c.file.size(), f), c.trovato) << c.nome;
        if (!c.trovato) continue;
        EXPECT_EQ(f.Inizio, c.inizio) << c.nome;
        EXPECT_EQ(f.Fine, c.fine) << c.nome;
        EXPECT_EQ(f.Versione, c.versione) << c.nome;
        EXPECT_EQ(f.Frequenza, c.frequenza) << c.nome;
        EXPECT_EQ(f.Canali, c.canali) << c.nome;
        EXPECT_EQ(f.Kbps, c.kbps) << c.nome;
        EXPECT_EQ(f.LunghezzaFrame, c.lunghezza) << c.nome;
    }
}

}  // namespace
