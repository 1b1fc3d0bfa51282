// The fixture writer's description, checked against bytes made by hand.
#include <gtest/gtest.h>

#include "core/MediaConfig.h"
#include "tests/core/HandBytes.h"
#include "tests/core/LogLines.h"
#include "tools/mcfwriter/McfDescription.h"

namespace {

const char* const Descrizione =
    "# the hand-made file, described\r\n"
    "Version=VER1.5\r\n"
    "Reserved=01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F F0\r\n"
    "HeaderOptions=0xA000D03B\r\n"
    "VideoMode=3\r\n"
    "ScriptDatChecksum=123456\r\n"
    "ReservedLong=-7\r\n"
    "HeaderText=Level by hand\r\n"
    "File=intro.bmp\r\n"
    "File=music.wav\r\n"
    "FileRefs=2\r\n"
    "[Trigger]\n"
    "TypeFlags=0x180\nOptions=0x1002000\nMediaFile=intro.bmp\nSoundFile=music.wav\n"
    "Color=0xFFFFFF\nAlign=2\nCharRow=3\nBoundRect=50:100:950:900\nEffect=2\nScrollStep=4\nScrollDelay=30\n"
    "DelayMicros=1000\nFlags=0x40\nFont=12\nText=<ENGLISH>Hello\\r\\n<END_ENGLISH>\n"
    "Syntax=<TEXT>#FLAGS#=64\\r\\n<END_TEXT>\nTriggerCd=12\nSoundCd=13\nAntiTriggerCd=14\nRepeat=1\n"
    "BackColor=0x102030\nFadeTime=3\nEndWait=4\nDelaySeconds=5\nDuration=10\nMediaCode=101\n"
    "[Trigger]\n"
    "TypeFlags=0x8000000\nOptions=0x20001\nSoundFile=beep.wav\nBoundRect=0:0:1000:1000\n"
    "Text=Alert!\nSyntax=<ALERT>#CODE#=7\\r\\n<END_ALERT>\nMediaCode=202\nLevel=3\n";

class Descrizione_ : public ConRigheLog {
protected:
    void TearDown() override {
        HeaderMcf = MediaConfigHeader{};
        ListaMedia.assign(1, MediaTrigger{});
        ConRigheLog::TearDown();
    }
};

TEST_F(Descrizione_, DescribedFileIsTheHandMadeOne) {
    std::string errore;
    ASSERT_TRUE(LeggiDescrizioneMcf(Descrizione, errore)) << errore;
    EXPECT_EQ(ListaMedia.size(), 3u);
    std::string dati;
    ASSERT_TRUE(ComponiMediaConfig("media.mcf", dati));
    EXPECT_EQ(dati, mano::FileCompleto());
}

TEST_F(Descrizione_, DescriptionOfALoadedFileWritesItAgain) {
    ASSERT_TRUE(CaricaMediaMcfDaByte("C:\\x\\media.mcf", mano::FileCompleto()));
    const std::string descritto = DescriviMcf();
    std::string errore;
    ASSERT_TRUE(LeggiDescrizioneMcf(descritto, errore)) << errore;
    std::string dati;
    ASSERT_TRUE(ComponiMediaConfig("media.mcf", dati));
    EXPECT_EQ(dati, mano::FileCompleto());
}

TEST_F(Descrizione_, CdTriggeredRecordsComeFirst) {
    std::string errore;
    ASSERT_TRUE(LeggiDescrizioneMcf("[Trigger]\nMediaCode=1\n[Trigger]\nMediaCode=2\nTriggerCd=7\n"
                                    "[Trigger]\nMediaCode=3\n[Trigger]\nMediaCode=4\nTriggerCd=3\n",
                                    errore));
    ASSERT_EQ(HeaderMcf.TriggerCount, 4);
    const int32_t attesi[] = {2, 4, 1, 3};
    for (int i = 0; i < 4; ++i) EXPECT_EQ(ListaMedia[i].MediaCode, attesi[i]);
}

TEST_F(Descrizione_, NewRecordDefaultsAndBadLines) {
    std::string errore;
    ASSERT_TRUE(LeggiDescrizioneMcf("[Trigger]\nMediaCode=4\n", errore));
    EXPECT_EQ(ListaMedia[0].TriggerCd, 999);
    EXPECT_EQ(ListaMedia[0].Level, -1);
    EXPECT_EQ(HeaderMcf.Version, "VER1.5");
    for (const char* male : {"Nonsense=1", "[Trigger]\nTypeFlags=abc", "[Trigger]\nBoundRect=1:2:3",
                             "FileRefs=2", "Version", "[Trigger]\nVersion=VER1.5"}) {
        EXPECT_FALSE(LeggiDescrizioneMcf(male, errore)) << male;
        EXPECT_NE(errore.find("line "), std::string::npos);
    }
    EXPECT_EQ(HeaderMcf.TriggerCount, 1);
}

}  // namespace
