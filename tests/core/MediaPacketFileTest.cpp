// The media packet header on disk.
#include <gtest/gtest.h>

#include "core/MediaPacketHeader.h"
#include "tests/core/HandBytes.h"
#include "tests/core/LogLines.h"
#include "tests/support/TestFolders.h"

namespace {

class PacketFile : public ConRigheLog {
protected:
    std::string Mpf() const { return cartella / "media.mpf"; }
    CartellaProva cartella{"mpf"};
};

TEST_F(PacketFile, MissingAndDamagedPacketsAreReported) {
    MediaPacketHeader h;
    EXPECT_FALSE(CaricaHeaderPacchetto(Mpf(), h));
    UnErrore("Not found media packet file: " + Mpf());

    SetUp();
    ASSERT_TRUE(ScriviFileProva(Mpf(), mano::I32(5) + std::string(2, '\0') + mano::I32(0) + std::string(100, 'x')));
    EXPECT_FALSE(CaricaHeaderPacchetto(Mpf(), h));
    UnErrore("Error loading media packet header: " + Mpf());
}

TEST_F(PacketFile, HeaderIsWrittenOverTheStartAndReadBackPastLargeContent) {
    MediaPacketHeader h;
    h.Count = 1;
    h.FileNames = {"a.bmp", ""};
    h.FileSizes = {300000, 0};
    h.FileDates = {45000.0, 0};
    h.AddedDates = {45001.0, 0};
    // The packed content follows; saving the header again keeps it.
    std::string contenuto(300000, 'c');
    ASSERT_TRUE(SalvaHeaderPacchetto(Mpf(), h));
    ASSERT_TRUE(ScriviFileProva(Mpf(), LeggiFileProva(Mpf()) + contenuto));
    h.FileDates[0] = 46000.0;
    ASSERT_TRUE(SalvaHeaderPacchetto(Mpf(), h));
    EXPECT_EQ(h.DataStart, 4 + 2 + 4 + 4 + 10 + 4 + 8 + 8);
    EXPECT_EQ(LeggiFileProva(Mpf()).substr(static_cast<size_t>(h.DataStart)), contenuto);
    MediaPacketHeader letto;
    ASSERT_TRUE(CaricaHeaderPacchetto(Mpf(), letto));
    NessunErrore();
    EXPECT_EQ(letto.FileDates[0], 46000.0);
    EXPECT_EQ(letto.DataStart, h.DataStart);
}

// A count with no entries behind it cannot be composed: nothing is created,
// and an existing packet keeps its bytes.
TEST_F(PacketFile, HeaderThatCannotBeComposedLeavesTheFile) {
    MediaPacketHeader h;
    h.Count = 2;
    h.FileNames = {"a.bmp"};
    h.FileSizes = {1};
    h.FileDates = {0};
    h.AddedDates = {0};
    EXPECT_FALSE(SalvaHeaderPacchetto(Mpf(), h));
    UnErrore("Error saving media packet header: " + Mpf());
    EXPECT_FALSE(EsisteFileProva(Mpf()));

    SetUp();
    const std::string vecchio = mano::I32(0) + std::string(2, '\0') + mano::I32(0);
    ASSERT_TRUE(ScriviFileProva(Mpf(), vecchio));
    EXPECT_FALSE(SalvaHeaderPacchetto(Mpf(), h));
    UnErrore("Error saving media packet header: " + Mpf());
    EXPECT_EQ(LeggiFileProva(Mpf()), vecchio);
}

TEST_F(PacketFile, UnwritablePacketIsReported) {
    MediaPacketHeader h;
    const std::string percorso = cartella / "missing\\media.mpf";
    EXPECT_FALSE(SalvaHeaderPacchetto(percorso, h));
    UnErrore("Error creating media packet file: " + percorso);
}

}  // namespace
