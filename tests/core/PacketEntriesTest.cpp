// The packet header's bytes and the dates it stores, without files.
#include <gtest/gtest.h>

#include <cstring>

#include "core/PacketEntries.h"
#include "tests/core/HandBytes.h"

namespace {

std::string D64(double v) {
    std::string s(8, '\0');
    std::memcpy(s.data(), &v, 8);
    return s;
}

TEST(PacketEntries, EntriesAreCheckedAgainstTheFile) {
    const std::string vuoto = std::string("\0\0", 2) + mano::I32(0);
    auto voce = [](const std::string& nome, int64_t dim) {
        return mano::Stringa(nome) + mano::I32(dim) + D64(0) + D64(0);
    };
    const struct {
        std::string byte;
        bool valido;
    } casi[] = {
        {mano::I32(2) + vuoto + voce("a.txt", 3) + voce("b.txt", 0) + "abc", true},
        {mano::I32(1) + vuoto + voce("a.txt", 4) + "abc", false},
        {mano::I32(1) + vuoto + voce("a.txt", -1) + "abc", false},
        {mano::I32(1) + vuoto + voce("..\\a.txt", 3) + "abc", false},
        {mano::I32(1) + vuoto + voce("C:a.txt", 3) + "abc", false},
        {mano::I32(1) + std::string("\xFF\xFF", 2) + mano::I32(0) + voce("a.txt", 1000), true},
    };
    for (const auto& c : casi) {
        LettoreByte lettore(c.byte);
        MediaPacketHeader h;
        ASSERT_TRUE(LeggiHeaderPacchetto(lettore, h));
        EXPECT_EQ(ControllaVociPacchetto(h, static_cast<int64_t>(c.byte.size())), c.valido);
    }
}

TEST(PacketEntries, BareFileNames) {
    const struct {
        std::string nome;
        bool valido;
    } casi[] = {
        {"a.txt", true}, {"012.wav", true}, {"load.bmp", true}, {"..a", true}, {"a..b", true},
        {"", false}, {".", false}, {"..", false}, {"...", false}, {"  ", false},
        {"a\\b", false}, {"a/b", false}, {"C:x", false}, {"\\x", false},
        // Characters the file system refuses, control characters included.
        {"a<b.txt", false}, {"a>b.txt", false}, {"say\"hi\".txt", false}, {"a|b.txt", false},
        {"what?.txt", false}, {"*.wav", false}, {"a\tb", false}, {"a\x1F.txt", false},
        {std::string("a\0b", 3), false}, {"bell\a.wav", false},
        // Device names, in any case, with or without extension.
        {"CON", false}, {"con", false}, {"Prn.txt", false}, {"aux.wav", false}, {"NUL", false},
        {"nul.tar.gz", false}, {"COM1", false}, {"com9.bmp", false}, {"LPT1", false}, {"lPt9.dat", false},
        {"CON .txt", false}, {"con.", false},
        // Names that only start or end like one.
        {"CONSOLE.txt", true}, {"icon.bmp", true}, {"nul_.wav", true}, {"COM", true},
        {"COM10", true}, {"LPT", true}, {"lpt10.txt", true}, {"AUXILIARY", true}, {"my.con", true},
        {"prn2.bmp", true},
    };
    for (const auto& c : casi) EXPECT_EQ(IsNomeFileSemplice(c.nome), c.valido) << c.nome;
}

TEST(PacketEntries, OleDates) {
    const struct {
        DataOra d;
        double ole;
    } casi[] = {{{1899, 12, 30, 0, 0, 0}, 0.0},
                {{1900, 1, 1, 6, 0, 0}, 2.25},
                {{2023, 3, 15, 12, 0, 0}, 45000.5},
                {{2000, 2, 29, 23, 59, 59}, 36585 + 86399.0 / 86400}};
    for (const auto& c : casi) {
        EXPECT_NEAR(DataOle(c.d), c.ole, 1e-9);
        const DataOra d = DaDataOle(c.ole);
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
