// Which bitmap files the DIB drawing takes as they are, and where their
// parts lie; every other file goes to the picture loader.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/ImageFormats.h"
#include "tests/core/BitmapFiles.h"

namespace {

TEST(StrutturaBitmap, PartsInsideTheFileOrRefused) {
    // 2 x 2 pixels: 24-bit rows of 6 bytes padded to 8; 8-bit rows of 2
    // padded to 4, with a table of two colours.
    const std::string righe24(16, '\x7F'), righe8(8, '\x01');
    const std::string due = mano::I32(0x000000FF) + mano::I32(0x0000FF00);
    const std::string maschere = mano::I32(0xF800) + mano::I32(0x07E0) + mano::I32(0x001F);
    struct Caso {
        const char* nome;
        std::string file;
        bool ok;
        size_t info, pixel, lunghezza;
        int32_t altezza;
    };
    const std::vector<Caso> casi = {
        {"24 bits, rows bottom first", mano::Bmp(2, 2, 24, 0, "", righe24), true, 40, 54, 16, 2},
        {"rows top first", mano::Bmp(2, -2, 24, 0, "", righe24), true, 40, 54, 16, -2},
        {"8 bits with two colours", mano::Bmp(2, 2, 8, 0, due, righe8, -1, 2), true, 48, 62, 8, 2},
        {"8 bits, table of 256 by default", mano::Bmp(2, 2, 8, 0, std::string(1024, '\0'), righe8), true, 1064,
         1078, 8, 2},
        {"16 bits with bit fields", mano::Bmp(2, 2, 16, 3, maschere, righe8), true, 52, 66, 8, 2},
        {"pixels past a gap", mano::Bmp(2, 2, 24, 0, "", righe24, 100), true, 40, 100, 16, 2},
        {"pixels cut short", mano::Bmp(2, 2, 24, 0, "", righe24.substr(0, 15)), false, 0, 0, 0, 0},
        {"pixels inside the header", mano::Bmp(2, 2, 24, 0, "", righe24, 40), false, 0, 0, 0, 0},
        {"a table of more colours than 8 bits have", mano::Bmp(2, 2, 8, 0, due, righe8, -1, 257), false, 0, 0, 0, 0},
        {"run-length compressed", mano::Bmp(2, 2, 8, 1, due, righe8, -1, 2), false, 0, 0, 0, 0},
        {"3 bits a pixel", mano::Bmp(2, 2, 3, 0, "", righe8), false, 0, 0, 0, 0},
        {"width 0", mano::Bmp(0, 2, 24, 0, "", righe24), false, 0, 0, 0, 0},
        {"height 0", mano::Bmp(2, 0, 24, 0, "", righe24), false, 0, 0, 0, 0},
        {"an absurd height", mano::Bmp(2, 0x40000000, 24, 0, "", righe24), false, 0, 0, 0, 0},
        {"no bitmap", "GIF89a" + std::string(100, '\0'), false, 0, 0, 0, 0},
        {"a header and nothing more", mano::Bmp(2, 2, 24, 0, "", "").substr(0, 30), false, 0, 0, 0, 0},
    };
    for (const Caso& c : casi) {
        StrutturaBmp b;
        EXPECT_EQ(StrutturaBmpDisegnabile(c.file, b), c.ok) << c.nome;
        if (!c.ok) continue;
        EXPECT_EQ(b.InizioInfo, 14u) << c.nome;
        EXPECT_EQ(b.LunghezzaInfo, c.info) << c.nome;
        EXPECT_EQ(b.InizioPixel, c.pixel) << c.nome;
        EXPECT_EQ(b.LunghezzaPixel, c.lunghezza) << c.nome;
        EXPECT_EQ(b.Larghezza, 2) << c.nome;
        EXPECT_EQ(b.Altezza, c.altezza) << c.nome;
    }
    // The info header, or the pixels, far past the end.
    for (const size_t campo : {size_t{14}, size_t{10}}) {
        std::string lontano = mano::Bmp(2, 2, 24, 0, "", righe24);
        lontano.replace(campo, 4, mano::I32(0x7FFFFFFF));
        StrutturaBmp b;
        EXPECT_FALSE(StrutturaBmpDisegnabile(lontano, b)) << campo;
    }
}

}  // namespace
