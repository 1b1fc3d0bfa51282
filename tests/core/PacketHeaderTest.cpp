// The packet header's bytes and the dates it stores, without files.
#include <gtest/gtest.h>

#include <cstring>

#include "core/PacketHeader.h"
#include "tests/core/HandBytes.h"

namespace {

std::string D64(double v) {
    std::string s(8, '\0');
    std::memcpy(s.data(), &v, 8);
    return s;
}

TEST(PacketHeader, HandBytesReadAndWrittenBack) {
    const std::string byte = mano::I32(2) + std::string("\xFF\xFF", 2) + mano::Stringa("C:\\lv\\V_FOLDER") +
                             mano::Stringa("intro.bmp") + mano::I32(100) + D64(45000.25) + D64(45001.5) +
                             mano::Stringa("012.wav") + mano::I32(0) + D64(1) + D64(2);
    MediaPacketHeader h;
    ASSERT_EQ(LeggiHeaderPacchetto(byte + "contents", h), EsitoHeader::Valido);
    EXPECT_EQ(h.Count, 2);
    EXPECT_EQ(h.IsVirtual, -1);
    EXPECT_EQ(h.Folder, "C:\\lv\\V_FOLDER");
    EXPECT_EQ(h.FileNames[1], "012.wav");
    EXPECT_EQ(h.FileSizes[0], 100);
    EXPECT_EQ(h.FileDates[0], 45000.25);
    EXPECT_EQ(h.AddedDates[1], 2.0);
    EXPECT_EQ(h.FileNames.size(), 3u);  // one free slot
    EXPECT_EQ(h.DataStart, static_cast<int32_t>(byte.size()));
    std::string scritto;
    ASSERT_TRUE(ComponiHeaderPacchetto(h, scritto));
    EXPECT_EQ(scritto, byte);
    EXPECT_EQ(TotaleDimensioni(h), 100);
}

TEST(PacketHeader, ShortAndImpossibleBytesAreToldApart) {
    const std::string uno = mano::I32(1) + std::string("\0\0", 2) + mano::I32(0) + mano::Stringa("a.txt") +
                            mano::I32(1) + D64(0) + D64(0);
    MediaPacketHeader h;
    for (size_t n = 0; n < uno.size(); ++n)
        EXPECT_EQ(LeggiHeaderPacchetto(uno.substr(0, n), h), EsitoHeader::Troncato) << n;
    EXPECT_EQ(LeggiHeaderPacchetto(uno, h), EsitoHeader::Valido);
    const std::string vuoto = std::string("\0\0", 2) + mano::I32(0);
    for (const std::string& cattivo :
         {mano::I32(-1) + vuoto, mano::I32(0) + std::string("\0\0", 2) + mano::I32(-2),
          mano::I32(0) + std::string("\0\0", 2) + mano::I32(3) + "abc",
          mano::I32(1) + vuoto + mano::Stringa("..") + mano::I32(1) + D64(0) + D64(0),
          mano::I32(1) + vuoto + mano::Stringa("a\\b") + mano::I32(1) + D64(0) + D64(0),
          mano::I32(1) + vuoto + mano::Stringa("a.txt") + mano::I32(-1) + D64(0) + D64(0)})
        EXPECT_EQ(LeggiHeaderPacchetto(cattivo, h), EsitoHeader::NonValido);
}

TEST(PacketHeader, BareFileNames) {
    for (const char* buono : {"a.txt", "012.wav", "load.bmp", "..a", "a..b"}) EXPECT_TRUE(IsNomeFileSemplice(buono)) << buono;
    for (const char* cattivo : {"", ".", "..", "...", "a\\b", "a/b", "C:x", "\\x", "a\tb", "  "})
        EXPECT_FALSE(IsNomeFileSemplice(cattivo)) << cattivo;
}

TEST(PacketHeader, OleDates) {
    const struct {
        DataOraOle d;
        double ole;
    } casi[] = {{{1899, 12, 30, 0, 0, 0}, 0.0},
                {{1900, 1, 1, 6, 0, 0}, 2.25},
                {{2023, 3, 15, 12, 0, 0}, 45000.5},
                {{2000, 2, 29, 23, 59, 59}, 36585 + 86399.0 / 86400}};
    for (const auto& c : casi) {
        EXPECT_NEAR(DataOle(c.d), c.ole, 1e-9);
        const DataOraOle d = DaDataOle(c.ole);
        EXPECT_EQ(d.Anno, c.d.Anno);
        EXPECT_EQ(d.Mese, c.d.Mese);
        EXPECT_EQ(d.Giorno, c.d.Giorno);
        EXPECT_EQ(d.Ora, c.d.Ora);
        EXPECT_EQ(d.Minuto, c.d.Minuto);
        EXPECT_EQ(d.Secondo, c.d.Secondo);
    }
    EXPECT_EQ(TestoDataOle(45000.5), "15/03/2023 12:00:00");
}

}  // namespace
