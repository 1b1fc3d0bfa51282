// Uninstall pieces: Extract.txt, the restore of a backup folder, the
// removal script, desktop shortcuts and the media list.
#include <gtest/gtest.h>

#include <windows.h>

#include "core/FileUtils.h"
#include "core/MediaConfig.h"
#include "core/MediaLog.h"
#include "core/MediaTrigger.h"
#include "core/SystemUtils.h"
#include "core/TextUtils.h"
#include "runservices/RunState.h"
#include "gamerun/Uninstall.h"
#include "tests/support/TestFolders.h"

namespace {

class Disinstalla : public testing::Test {
protected:
    void SetUp() override {
        ProcessoGioco.hProcess = reinterpret_cast<void*>(1);
        trle_ = CartellaTrle;
        CartellaTrle = trle.Percorso();
        LogAbilitato = true;
        BufferLog.clear();
        NumErroriLog = 0;
    }
    void TearDown() override {
        CartellaTrle = trle_;
        ProcessoGioco.hProcess = nullptr;
        LogAbilitato = false;
        BufferLog.clear();
    }
    bool NelLog(const std::string& testo) const { return BufferLog.find(testo) != std::string::npos; }
    CartellaProva trle{"trle"};
    std::string trle_;
};

TEST_F(Disinstalla, ExtractTxtTagsInAnyOrder) {
    ASSERT_TRUE(LeggiExtractTxt("#FILE2#=C:\\b.txt\r\n#TOT_FILES#=3\r\n#FILE1#=C:\\a.txt\r\n#FILE4#=C:\\d.txt\r\n"));
    EXPECT_EQ(NumFileInstallati, 3);
    EXPECT_EQ(FileInstallati, (std::vector<std::string>{"C:\\a.txt", "C:\\b.txt", ""}));
    EXPECT_TRUE(NelLog("WARNING: missing #FILE3#= field in extract.txt file"));
    // A total past the #FILE tags is cut to their number.
    BufferLog.clear();
    ASSERT_TRUE(LeggiExtractTxt("#TOT_FILES#=40\r\n#FILE1#=C:\\a.txt\r\n#file2#=C:\\b.txt\r\n"));
    EXPECT_EQ(NumFileInstallati, 2);
    EXPECT_EQ(FileInstallati, (std::vector<std::string>{"C:\\a.txt", "C:\\b.txt"}));
    EXPECT_TRUE(NelLog("WARNING: #TOT_FILES# is 40 but extract.txt has 2 #FILE fields"));
    ASSERT_TRUE(LeggiExtractTxt("#TOT_FILES#=20\r\nno tags here\r\n"));
    EXPECT_EQ(NumFileInstallati, 0);
    EXPECT_TRUE(FileInstallati.empty());
    for (const char* cattivo : {"", "#TOT_FILES#=abc\r\n", "#TOT_FILES#=-1\r\n", "#TOT_FILES#=2000000000\r\n"}) {
        BufferLog.clear();
        EXPECT_FALSE(LeggiExtractTxt(cattivo)) << cattivo;
        EXPECT_TRUE(NelLog("ERROR: missing #Tot_files# numeric field in extract.txt file")) << cattivo;
    }
}

TEST_F(Disinstalla, RestoreDeletesInstalledFilesAndPutsBackupsWhereTheyCameFrom) {
    CartellaProva fuori;
    ScriviFileProva(fuori / "victim.txt", "outside");
    CreaCartella(trle / "data");
    CreaCartella(trle / "MEDIA_BACKUP");
    ScriviFileProva(trle / "data\\level.tr4", "new level");
    ScriviFileProva(trle / "intro.bmp", "new image");
    ScriviFileProva(trle / "MEDIA_BACKUP\\LEVEL.TR4", "old level");
    ScriviFileProva(trle / "MEDIA_BACKUP\\other.txt", "old other");
    ScriviFileProva(trle / "MEDIA_BACKUP\\extract.txt", "x");
    ScriviFileProva(trle / "MEDIA_BACKUP\\Thumbs.db", "x");
    ScriviFileProva(trle / "MEDIA_BACKUP\\victim.txt", "backup");
    const std::string extract = "#TOT_FILES#=4\r\n#FILE1#=" + trle / "data\\level.tr4" + "\r\n#FILE2#=" +
                                trle / "intro.bmp" + "\r\n#FILE3#=" + fuori / "victim.txt" + "\r\n#FILE4#=" +
                                trle / "..\\victim.txt" + "\r\n";
    ScriviFileProva(trle / "Extract.txt", extract);
    PercorsiSaltati.clear();
    ASSERT_TRUE(RipristinaBackup(trle / "Extract.txt", trle / "MEDIA_BACKUP"));
    EXPECT_EQ(LeggiFileProva(trle / "data\\level.tr4"), "old level");
    EXPECT_FALSE(EsisteFileProva(trle / "intro.bmp"));
    EXPECT_EQ(LeggiFileProva(trle / "other.txt"), "old other");
    EXPECT_FALSE(EsisteFileProva(trle / "Thumbs.db"));
    EXPECT_EQ(LeggiFileProva(trle / "Extract.txt"), extract);
    EXPECT_EQ(LeggiFileProva(fuori / "victim.txt"), "outside");
    EXPECT_FALSE(EsisteCartella(trle / "MEDIA_BACKUP"));
    EXPECT_TRUE(NelLog("Restore file from backup folder to: " + trle / "data\\level.tr4"));
    // Skipped with an ordinary line, once though met twice, and no box.
    EXPECT_TRUE(NelLog("WARNING: skipped path outside the game folder: " + fuori / "victim.txt"));
    EXPECT_EQ(PercorsiSaltati, std::vector<std::string>{fuori / "victim.txt"});
    EXPECT_EQ(NumErroriLog, 0);

    BufferLog.clear();
    EXPECT_FALSE(RipristinaBackup(trle / "Extract.txt", trle / "MEDIA_BACKUP"));
    EXPECT_TRUE(NelLog("ERROR: missing backup folder: " + trle / "MEDIA_BACKUP"));
}

TEST_F(Disinstalla, RemoveLevelBatIsExact) {
    CreaRemoveLevelBat();
    EXPECT_EQ(LeggiFileProva(trle / "Remove_Level.bat"),
              "@echo off\r\n"
              "echo Removing level files in progress\r\n"
              "start /w Ludovane.exe /V /U\r\n"
              "del Ludovane.exe\r\n"
              "echo Level has been removed. All previous original files have been restored\r\n"
              "echo Now you can close this window\r\n"
              "exit\r\n");
    EXPECT_TRUE(NelLog("Create remove_level.bat file in:" + trle / "Remove_Level.bat"));
}

TEST_F(Disinstalla, DesktopShortcutsToTheProgramGoUnlessLarge) {
    const std::string desktop = CartellaSpeciale(16);
    ASSERT_FALSE(desktop.empty());
    CreaCartella(desktop);
    const std::string exe = trle / "Ludovane.exe";
    const std::string senzaDisco = exe.substr(2);
    const std::string piccolo = desktop + "\\lvtest_small.lnk";
    const std::string largo = desktop + "\\lvtest_wide.lnk";
    const std::string grande = desktop + "\\lvtest_large.lnk";
    const std::string altro = desktop + "\\lvtest_other.lnk";
    ScriviFileProva(piccolo, "L\0\0\0" + senzaDisco + std::string("\0", 1));
    ScriviFileProva(largo, "L" + ConvertiInWide(senzaDisco));
    ScriviFileProva(grande, std::string(4000, 'x') + senzaDisco + std::string(1000, 'y'));
    ScriviFileProva(altro, "C:\\other\\Ludovane.exe");
    RimuoviLinkDesktop(exe);
    EXPECT_FALSE(EsisteFileProva(piccolo));
    EXPECT_FALSE(EsisteFileProva(largo));
    EXPECT_TRUE(EsisteFileProva(grande));
    EXPECT_TRUE(EsisteFileProva(altro));
    EXPECT_TRUE(NelLog("Found and removed old desktop link: lvtest_small"));
    DeleteFileA(grande.c_str());
    DeleteFileA(altro.c_str());
}

TEST_F(Disinstalla, MediaListRowsAndText) {
    ASSERT_EQ(TipoMediaDaFlags(0x8000000), TipoAlert);
    MediaTrigger m;
    m.TypeFlags = 0x8000000;
    m.TriggerCd = 5;
    m.MediaCode = 12;
    m.MediaFile = "intro.bmp";
    MediaTrigger n = m;
    n.TriggerCd = 999;
    n.MediaCode = 7;
    n.Options = Disabled;
    n.MediaFile.clear();
    n.SoundFile = "beep.wav";
    ListaMedia = {m, n};
    HeaderMcf.TriggerCount = 2;
    EXPECT_EQ(RigaListaMedia(0), "Alert                  005  12   Enabled   \"intro.bmp\"  ");
    EXPECT_EQ(RigaListaMedia(1), "Alert                  999   7   Disabled  \"beep.wav\"  ");
    ListaMedia[0].TriggerCd = -5;
    EXPECT_EQ(RigaListaMedia(0), "Alert                  -005  12   Enabled   \"intro.bmp\"  ");
    ListaMedia[0].TriggerCd = 5;
    const std::string trattini(65, '-');
    EXPECT_EQ(TestoListaMedia("media.mcf"),
              "Content list of Media Configuration File: media.mcf\r\n\r\n"
              "Media-Type             CD   Code Status    Media-Files\r\n" +
                  trattini + "\r\n" + RigaListaMedia(0) + "\r\n" + RigaListaMedia(1) + "\r\n" + trattini);
    // The list is an ANSI file: what the code page holds is kept, the rest
    // shows as "?".
    ListaMedia[0].MediaFile = "Città.bmp";
    ListaMedia[0].SoundFile = "世界.wav";
    EXPECT_EQ(RigaListaMedia(0), "Alert                  005  12   Enabled   \"Citt\xE0.bmp\"  \"??.wav\"  ");
    ListaMedia.clear();
    HeaderMcf.TriggerCount = 0;
}

}  // namespace
