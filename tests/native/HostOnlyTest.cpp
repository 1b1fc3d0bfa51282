// What only the native build can check in-process: the message box of a
// refused version, recorded by the host side instead of shown, and files
// whose names Windows would not even create.
#include <gtest/gtest.h>

#include "core/MediaConfig.h"
#include "core/MediaPacket.h"
#include "tests/core/HandBytes.h"
#include "tests/core/LogLines.h"
#include "tests/native/HostPlatform.h"
#include "tests/support/TestFolders.h"

namespace {

class VersioneRifiutata : public ConRigheLog, public testing::WithParamInterface<const char*> {};

TEST_P(VersioneRifiutata, ShowsTheBoxAndKeepsTheHeader) {
    HeaderMcf = MediaConfigHeader{};
    HeaderMcf.HeaderText = "kept";
    HeaderMcf.TriggerCount = 4;
    BoxMostrati.clear();
    std::string file = mano::FileCompleto();
    file.replace(0, 6, GetParam());
    EXPECT_FALSE(CaricaMediaMcfDaByte("C:\\trle\\media.mcf", file));
    ASSERT_EQ(BoxMostrati.size(), 1u);
    const std::string versione = std::string(1, GetParam()[3]) + "." + std::string(1, GetParam()[5]);
    EXPECT_EQ(BoxMostrati[0].testo,
              "Media file: C:\\trle\\media.mcf requires a highest version of Media Module (Ludovane.exe)\r\n"
              "Current version of Media Module (Ludovane.exe) is 1.5 while this media file has been created with "
              "Pellamor ver. " + versione + "\r\nI cann't load this media file");
    EXPECT_EQ(BoxMostrati[0].stile, 0x10u);
    EXPECT_EQ(BoxMostrati[0].titolo, "Vorn Media Module");
    NessunErrore();
    EXPECT_EQ(HeaderMcf.HeaderText, "kept");
    EXPECT_EQ(HeaderMcf.TriggerCount, 4);
    HeaderMcf = MediaConfigHeader{};
}

INSTANTIATE_TEST_SUITE_P(TooNew, VersioneRifiutata, testing::Values("VER1.6", "VER2.0", "ver9.9", "VER1x7"));

// A file named as Windows forbids, offered to a packet: refused before
// anything is copied or written, whether added or taken by an update.
TEST_F(ConRigheLog, RefusedNamesNeverEnterAPacket) {
    CartellaProva c;
    ScriviFileProva(c / "a.txt", "alpha");
    for (bool virtuale : {false, true}) {
        SCOPED_TRACE(virtuale ? "virtual" : "absolute");
        MediaPacketHeader h;
        const std::string mpf = c / "media.mpf";
        ASSERT_TRUE(GestionePacchettoMedia(mpf, virtuale ? CreaPacchettoVirtuale : CreaPacchetto, "", "", h, false));
        ASSERT_TRUE(GestionePacchettoMedia(mpf, AggiungiFile, c / "a.txt", "", h, false));
        for (const char* nome : {"CON", "nul.txt", "Com3.wav", "lpt9", "a<b.txt", "a>b", "say\"hi\"", "a|b.bmp",
                                 "why?.wav", "all*.wav", "tab\tname.txt", "bell\a"}) {
            SCOPED_TRACE(nome);
            const std::string file = c / nome;
            ASSERT_TRUE(ScriviFileProva(file, "bad"));
            const std::string prima = LeggiFileProva(mpf);
            BufferLog.clear();
            NumErroriLog = 0;
            EXPECT_FALSE(GestionePacchettoMedia(mpf, AggiungiFile, file, "", h, false));
            UnErrore("ERROR adding file: " + file);
            BufferLog.clear();
            NumErroriLog = 0;
            EXPECT_FALSE(GestionePacchettoMedia(mpf, AggiornaFile, file, "a.txt", h, true));
            UnErrore("ERROR updating file: " + file);
            EXPECT_EQ(LeggiFileProva(mpf), prima);
            EXPECT_FALSE(EsisteFileProva(c / ("V_FOLDER\\" + std::string(nome))));
            EXPECT_FALSE(EsisteFileProva(c / "_tem_pack.mpf"));
        }
        GestionePacchettoMedia(mpf, CancellaPacchetto, "", "", h, false);
    }
}

}  // namespace
