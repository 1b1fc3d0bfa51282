// The golden media.mcf and media.mpf of tests/core/golden: written once with
// tools/mcfwriter and the packet header writer, then frozen. Every level's
// files depend on these bytes: they are never written again to make a test
// pass, and neither is the key.
#include <gtest/gtest.h>

#include "GoldenFiles.h"
#include "core/MediaConfig.h"
#include "core/MediaPacketHeader.h"
#include "tests/core/LogLines.h"

namespace {

const std::string Percorso = "C:\\golden\\media.mcf";

class FileDoro : public ConRigheLog {
protected:
    void TearDown() override {
        HeaderMcf = MediaConfigHeader{};
        ListaMedia.assign(1, MediaTrigger{});
        ConRigheLog::TearDown();
    }
};

TEST_F(FileDoro, StartWithTheBytesWrittenDownByHand) {
    const std::string mcf = GoldenMcf();
    ASSERT_EQ(mcf.size(), 588u);
    EXPECT_EQ(mcf.substr(0, 10), std::string("VER1.5\x02\x00\x00\x00", 10));
    // The header text: 20 bytes, then "G" and "o" (47 00 6F 00) combined
    // with the key bytes 6F AB F8 9D.
    EXPECT_EQ(mcf.substr(42, 8), std::string("\x14\x00\x00\x00\x28\xAB\x97\x9D", 8));
    const std::string mpf = GoldenMpf();
    ASSERT_EQ(mpf.size(), 147u);
    // Three entries, absolute, no folder; "intro.txt" begins 06 AB.
    EXPECT_EQ(mpf.substr(0, 16), std::string("\x03\x00\x00\x00\x00\x00\x00\x00\x00\x00\x12\x00\x00\x00\x06\xAB", 16));
    EXPECT_EQ(mpf.substr(130), "golden\r\nomegaRIFF");
}

TEST_F(FileDoro, ConfigurationDecodesToItsTextsAndIsWrittenAgainUnchanged) {
    ASSERT_TRUE(CaricaMediaMcfDaByte(Percorso, GoldenMcf()));
    NessunErrore();
    const MediaConfigHeader& h = HeaderMcf;
    EXPECT_EQ(h.Version, "VER1.5");
    EXPECT_EQ(h.HeaderOptions, 0x1000);
    EXPECT_EQ(h.VideoMode, 2);
    EXPECT_EQ(h.HeaderText, "Golden Ω ?");
    ASSERT_EQ(h.MediaFileCount, 2);
    EXPECT_EQ(h.MediaFiles[0], "世界.bmp");
    EXPECT_EQ(h.MediaFileRefs[0], 1);
    EXPECT_EQ(h.MediaFiles[1], "?.wav");
    EXPECT_EQ(h.MediaFileRefs[1], 2);
    ASSERT_EQ(h.TriggerCount, 2);
    const MediaTrigger& a = ListaMedia[0];
    EXPECT_EQ(a.TypeFlags, 0x180);
    EXPECT_EQ(a.MediaFile, "世界.bmp");
    EXPECT_EQ(a.SoundFile, "?.wav");
    EXPECT_EQ(a.Formato.BoundRect.Right, 1000);
    EXPECT_EQ(a.Text, "<ENGLISH>Ω ? 世界\r\n<END_ENGLISH>");
    // A lone surrogate (D800) is stored in the note.
    EXPECT_EQ(a.Syntax, "<TEXT>#FLAGS#=64\r\n<END_TEXT><NOTE>\xED\xA0\x80<END_NOTE>");
    EXPECT_EQ(a.TriggerCd, 12);
    EXPECT_EQ(a.MediaCode, 1);
    const MediaTrigger& b = ListaMedia[1];
    EXPECT_EQ(b.TypeFlags, 0x8000000);
    EXPECT_EQ(b.Text, "Alert!");
    EXPECT_EQ(b.Syntax, "<ALERT>#CODE#=7\r\n<END_ALERT>");
    EXPECT_EQ(b.TriggerCd, TriggerCdNessuno);
    EXPECT_EQ(b.MediaCode, 2);
    EXPECT_EQ(b.Level, QualsiasiLivello);
    std::string scritto;
    ASSERT_TRUE(ComponiMediaConfig(Percorso, scritto));
    EXPECT_EQ(scritto, GoldenMcf());
}

TEST_F(FileDoro, PacketDecodesToItsEntriesAndIsWrittenAgainUnchanged) {
    const std::string mpf = GoldenMpf();
    LettoreByte f(mpf);
    MediaPacketHeader h;
    ASSERT_TRUE(LeggiHeaderPacchetto(f, h));
    EXPECT_EQ(h.IsVirtual, 0);
    EXPECT_EQ(h.Folder, "");
    ASSERT_EQ(h.Count, 3);
    const char* const nomi[] = {"intro.txt", "Ωmega.txt", "世界.wav"};
    const int32_t dimensioni[] = {8, 5, 4};
    const double date[] = {45000.5, 45001.25, 45002.75};
    const double aggiunte[] = {45100.0, 45100.5, 45101.0};
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(h.FileNames[i], nomi[i]);
        EXPECT_EQ(h.FileSizes[i], dimensioni[i]);
        EXPECT_EQ(h.FileDates[i], date[i]);
        EXPECT_EQ(h.AddedDates[i], aggiunte[i]);
    }
    EXPECT_EQ(h.DataStart, 130);
    std::string scritto;
    ASSERT_TRUE(ComponiHeaderPacchetto(h, scritto));
    EXPECT_EQ(scritto + mpf.substr(130), mpf);
}

}  // namespace
