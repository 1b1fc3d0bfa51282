// What only the native build can check in-process: the message box of a
// refused version, recorded by the host side instead of shown.
#include <gtest/gtest.h>

#include "core/MediaConfig.h"
#include "tests/core/HandBytes.h"
#include "tests/core/LogLines.h"
#include "tests/native/HostPlatform.h"

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

}  // namespace
