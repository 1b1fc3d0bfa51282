// The fixture writer McfWriter.exe, and through it the loader's refusal of
// a configuration made by a newer version, with its message box.
#include <gtest/gtest.h>

#include "core/MediaConfig.h"
#include "tests/core/HandBytes.h"
#include "tests/support/TestFolders.h"
#include "tests/support/TestProcesses.h"

namespace {

class McfWriter : public testing::Test {
protected:
    void SetUp() override { ProcessoGioco.hProcess = reinterpret_cast<void*>(1); }
    void TearDown() override {
        ProcessoGioco.hProcess = nullptr;
        HeaderMcf = MediaConfigHeader{};
        ListaMedia.assign(1, MediaTrigger{});
    }
    int Esegui(const std::string& argomenti) {
        ProcessoProva p;
        EXPECT_TRUE(AvviaProva(p, CartellaProgrammi() + "\\McfWriter.exe", argomenti, trle.Percorso()));
        return p.Attendi(20000);
    }
    std::string Mcf() const { return trle / "media.mcf"; }
    CartellaProva trle{"trle"};
};

TEST_F(McfWriter, WritesTheDescribedConfiguration) {
    ASSERT_TRUE(ScriviFileProva(trle / "level.txt",
                                "HeaderOptions=0x1008\r\nFile=intro.bmp\r\n[Trigger]\r\nTypeFlags=0x80\r\n"
                                "MediaFile=intro.bmp\r\nText=<TEXT>Hi\\r\\nthere<END_TEXT>\r\nTriggerCd=5\r\n"
                                "MediaCode=1\r\n"));
    EXPECT_EQ(Esegui("level.txt media.mcf"), 0);
    ASSERT_TRUE(CaricaMediaMcf(Mcf()));
    EXPECT_EQ(HeaderMcf.HeaderOptions, 0x1008);
    EXPECT_EQ(HeaderMcf.MediaFileCount, 1);
    ASSERT_EQ(HeaderMcf.TriggerCount, 1);
    EXPECT_EQ(ListaMedia[0].Text, "<TEXT>Hi\r\nthere<END_TEXT>");
    EXPECT_EQ(ListaMedia[0].TriggerCd, 5);
    EXPECT_EQ(ListaMedia[0].Level, -1);

    ASSERT_TRUE(ScriviFileProva(trle / "bad.txt", "Bogus=1\r\n"));
    EXPECT_EQ(Esegui("bad.txt other.mcf"), 1);
    EXPECT_FALSE(EsisteFileProva(trle / "other.mcf"));
}

TEST_F(McfWriter, TooNewConfigurationIsRefusedWithItsBox) {
    std::string file = mano::FileCompleto();
    file.replace(0, 6, "VER1.6");
    ASSERT_TRUE(ScriviFileProva(Mcf(), file));
    Osservatore osservatore(trle.Percorso(), "OK", 1);
    EXPECT_EQ(Esegui("--dump media.mcf"), 1);
    const auto boxes = osservatore.Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].titolo, "Vorn Media Module");
    EXPECT_EQ(boxes[0].testo,
              "Media file: media.mcf requires a highest version of Media Module (Ludovane.exe)\r\n"
              "Current version of Media Module (Ludovane.exe) is 1.5 while this media file has been created "
              "with Pellamor ver. 1.6\r\nI cann't load this media file");
}

}  // namespace
