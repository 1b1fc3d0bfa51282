// The media packet header from and to bytes assembled by hand.
#include <gtest/gtest.h>

#include <cstring>

#include "core/MediaPacketHeader.h"
#include "tests/core/HandBytes.h"

namespace {

std::string I16(int16_t v) { return std::string{static_cast<char>(v & 0xFF), static_cast<char>((v >> 8) & 0xFF)}; }

std::string Double(double d) {
    uint64_t bit;
    std::memcpy(&bit, &d, 8);
    std::string s;
    for (int i = 0; i < 8; ++i) s += static_cast<char>(bit >> (8 * i));
    return s;
}

// Two entries in virtual format, then content bytes that are not header.
const std::string Pacchetto = mano::I32(2) + I16(-1) + mano::Stringa("C:\\trle\\V_FOLDER") +
                              mano::Stringa("intro.bmp") + mano::I32(1234) + Double(45000.5) + Double(45001.25) +
                              mano::Stringa("012.wav") + mano::I32(0) + Double(36526.0) + Double(-1.5) +
                              "CONTENT";

TEST(PacketHeader, ReadsEveryEntryAndWhereTheContentStarts) {
    LettoreByte f(Pacchetto);
    MediaPacketHeader h;
    ASSERT_TRUE(LeggiHeaderPacchetto(f, h));
    EXPECT_EQ(h.Count, 2);
    EXPECT_EQ(h.IsVirtual, -1);
    EXPECT_EQ(h.Folder, "C:\\trle\\V_FOLDER");
    ASSERT_EQ(h.FileNames.size(), 3u);
    EXPECT_EQ(h.FileNames[0], "intro.bmp");
    EXPECT_EQ(h.FileNames[1], "012.wav");
    EXPECT_EQ(h.FileSizes[0], 1234);
    EXPECT_EQ(h.FileDates[0], 45000.5);
    EXPECT_EQ(h.AddedDates[0], 45001.25);
    EXPECT_EQ(h.AddedDates[1], -1.5);
    EXPECT_EQ(h.FileNames[2], "");
    EXPECT_EQ(h.DataStart, static_cast<int32_t>(Pacchetto.size() - 7));
    std::string scritto;
    ASSERT_TRUE(ComponiHeaderPacchetto(h, scritto));
    EXPECT_EQ(scritto, Pacchetto.substr(0, Pacchetto.size() - 7));
}

TEST(PacketHeader, EmptyAbsolutePacketIsTenBytes) {
    MediaPacketHeader h;
    std::string scritto;
    ASSERT_TRUE(ComponiHeaderPacchetto(h, scritto));
    EXPECT_EQ(scritto, std::string(10, '\0'));
    LettoreByte f(scritto);
    ASSERT_TRUE(LeggiHeaderPacchetto(f, h));
    EXPECT_EQ(h.DataStart, 10);
    EXPECT_EQ(h.FileNames.size(), 1u);
}

TEST(PacketHeader, EveryTruncationAndAbsurdCountFails) {
    const std::string header = Pacchetto.substr(0, Pacchetto.size() - 7);
    for (size_t n = 0; n < header.size(); ++n) {
        const std::string corto = header.substr(0, n);
        LettoreByte f(corto);
        MediaPacketHeader h;
        EXPECT_FALSE(LeggiHeaderPacchetto(f, h)) << n;
    }
    for (int32_t conteggio : {-1, 3, 0x7FFFFFFF, INT32_MIN}) {
        std::string rotto = Pacchetto;
        rotto.replace(0, 4, mano::I32(conteggio));
        LettoreByte f(rotto);
        MediaPacketHeader h;
        EXPECT_FALSE(LeggiHeaderPacchetto(f, h)) << conteggio;
    }
}

TEST(PacketHeader, WriterRefusesACountWithoutEntries) {
    MediaPacketHeader h;
    h.Count = 1;
    std::string scritto = "untouched";
    EXPECT_FALSE(ComponiHeaderPacchetto(h, scritto));
    h.Count = -1;
    EXPECT_FALSE(ComponiHeaderPacchetto(h, scritto));
    EXPECT_EQ(scritto, "untouched");
}

}  // namespace
