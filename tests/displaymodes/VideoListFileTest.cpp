// VideoList.bin read from bytes laid out by hand and from our writer.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "displaymodes/VideoListFile.h"

namespace {

std::string I32(uint32_t v) {
    return {char(v & 0xFF), char((v >> 8) & 0xFF), char((v >> 16) & 0xFF), char((v >> 24) & 0xFF)};
}

// Two devices of driver 0: software with one mode, hardware with two.
std::string DueListe() {
    return I32(2) +                                                   //
           I32(0) + I32(0) + I32(0) + I32(1) + I32(640) + I32(480) + I32(16) +  //
           I32(0) + I32(1) + I32(1) + I32(2) + I32(800) + I32(600) + I32(32) + I32(1024) + I32(768) + I32(16);
}

TEST(VideoListFile, ReadsTheLayout) {
    std::vector<VideoList> liste;
    std::string errore;
    ASSERT_TRUE(LeggiVideoListFile(DueListe(), liste, errore)) << errore;
    ASSERT_EQ(liste.size(), 2u);
    EXPECT_EQ(liste[0].DD, 0);
    EXPECT_EQ(liste[0].D3D, 0);
    EXPECT_EQ(liste[0].Hardware, 0);
    ASSERT_EQ(liste[0].Modi.size(), 1u);
    EXPECT_EQ(liste[0].Modi[0].Width, 640);
    EXPECT_EQ(liste[0].Modi[0].Height, 480);
    EXPECT_EQ(liste[0].Modi[0].Bits, 16);
    EXPECT_EQ(liste[1].D3D, 1);
    EXPECT_EQ(liste[1].Hardware, 1);
    ASSERT_EQ(liste[1].Modi.size(), 2u);
    EXPECT_EQ(liste[1].Modi[1].Width, 1024);
    EXPECT_EQ(liste[1].Modi[1].Bits, 16);
    EXPECT_EQ(ScriviVideoListFile(liste), DueListe());
    EXPECT_TRUE(VideoListUsabile(liste));
}

TEST(VideoListFile, ListsWithoutModesAreNotUsable) {
    std::vector<VideoList> liste;
    std::string errore;
    ASSERT_TRUE(LeggiVideoListFile(I32(0), liste, errore));
    EXPECT_TRUE(liste.empty());
    EXPECT_FALSE(VideoListUsabile(liste));
    ASSERT_TRUE(LeggiVideoListFile(I32(1) + I32(0) + I32(0) + I32(1) + I32(0), liste, errore));
    ASSERT_EQ(liste.size(), 1u);
    EXPECT_FALSE(VideoListUsabile(liste));
}

TEST(VideoListFile, DamagedFilesAreRefused) {
    const std::string buono = DueListe();
    struct Caso {
        const char* nome;
        std::string dati;
    };
    const std::vector<Caso> casi = {
        {"empty", ""},
        {"short count", "\x01\x00"},
        {"count beyond the file", I32(0x7FFFFFFF) + buono.substr(4)},
        {"negative count", I32(0xFFFFFFFF)},
        {"list head cut", buono.substr(0, 4 + 10)},
        {"modes cut", buono.substr(0, buono.size() - 1)},
        {"mode count beyond the file", I32(1) + I32(0) + I32(0) + I32(1) + I32(0x15555556) + I32(640)},
        {"negative mode count", I32(1) + I32(0) + I32(0) + I32(1) + I32(0x80000000)},
    };
    for (const Caso& c : casi) {
        std::vector<VideoList> liste;
        std::string errore;
        EXPECT_FALSE(LeggiVideoListFile(c.dati, liste, errore)) << c.nome;
        EXPECT_FALSE(errore.empty()) << c.nome;
    }
}

TEST(VideoListFile, RenderDepthFlags) {
    const std::pair<int, uint32_t> casi[] = {{1, 0x4000}, {2, 0x2000}, {4, 0x1000}, {8, 0x800}, {16, 0x400},
                                             {24, 0x200}, {32, 0x100}, {15, 0},     {0, 0},      {64, 0}};
    for (const auto& [bits, flag] : casi) EXPECT_EQ(FlagProfonditaRender(bits), flag) << bits;
}

}  // namespace
