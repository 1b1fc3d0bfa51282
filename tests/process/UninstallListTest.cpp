// Ludovane.exe "/u" (uninstall the level) and "/l" (list the media
// triggers), started for real in a game folder of their own.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "tests/core/OldMcfBytes.h"
#include "tests/process/LudovaneFolder.h"

namespace {

class StradeUscita : public CartellaLudovane {
protected:
    static bool Cartella(const std::string& p) {
        const DWORD a = GetFileAttributesA(p.c_str());
        return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
    }
};

TEST_F(StradeUscita, UninstallRestoresBackupsAndRemovesTheLevel) {
    for (const char* d : {"data", "audio", "store", "MEDIA_BACKUP", "LEVEL_BACKUP", "old_savegames",
                          "Captured_Images"})
        ASSERT_TRUE(CreateDirectoryA((trle / d).c_str(), nullptr));
    ScriviFileProva(trle / "data\\level.tr4", "level of the media");
    ScriviFileProva(trle / "audio\\012.wav", "new track");
    ScriviFileProva(trle / "MEDIA_BACKUP\\level.tr4", "level before the media");
    ScriviFileProva(trle / "store\\Extract.txt", "#TOT_FILES#=2\r\n#FILE1#=" + trle / "data\\level.tr4" +
                                                     "\r\n#FILE2#=" + trle / "audio\\012.wav" + "\r\n");
    ScriviFileProva(trle / "data\\installed.tr4", "installed by Dravunel");
    ScriviFileProva(trle / "LEVEL_BACKUP\\installed.tr4", "original");
    ScriviFileProva(trle / "LEVEL_BACKUP\\Extract.txt",
                    "#TOT_FILES#=1\r\n#FILE1#=" + trle / "data\\installed.tr4" + "\r\n");
    ScriviFileProva(trle / "media.mcf", "x");
    ScriviFileProva(trle / "Install_Level.txt", "x");
    ScriviFileProva(trle / "savegame.0", "x");
    ScriviFileProva(trle / "old_savegames\\savegame.1", "x");
    ScriviFileProva(trle / "tomb4.exe", "patched game");
    ScriviFileProva(trle / "backup_tomb4.exe", "original game");

    EXPECT_TRUE(Esegui("/v /u", 0).empty());
    EXPECT_EQ(LeggiFileProva(trle / "data\\level.tr4"), "level before the media");
    EXPECT_FALSE(EsisteFileProva(trle / "audio\\012.wav"));
    EXPECT_EQ(LeggiFileProva(trle / "data\\installed.tr4"), "original");
    for (const char* via : {"media.mcf", "Install_Level.txt", "savegame.0", "backup_tomb4.exe"})
        EXPECT_FALSE(EsisteFileProva(trle / via)) << via;
    for (const char* via : {"store", "MEDIA_BACKUP", "LEVEL_BACKUP", "old_savegames", "Captured_Images"})
        EXPECT_FALSE(Cartella(trle / via)) << via;
    EXPECT_EQ(LeggiFileProva(trle / "tomb4.exe"), "original game");
    const std::string log = LeggiFileProva(trle / "Unsinstall_log.txt");
    EXPECT_NE(log.find("Restore backup created by Dravunel"), std::string::npos);
    EXPECT_NE(log.find("Found previous backup of tomb4.exe: restore original tomb4.exe"), std::string::npos);

    // Once more: nothing left to restore, and nothing fails.
    ScriviFileProva(trle / "savegame.2", "x");
    EXPECT_TRUE(Esegui("/u", 0).empty());
    EXPECT_FALSE(EsisteFileProva(trle / "savegame.2"));
    EXPECT_EQ(LeggiFileProva(trle / "data\\level.tr4"), "level before the media");
}

// An Extract.txt naming files elsewhere: they are left alone, and the user
// hears of them once, in one box with their number.
TEST_F(StradeUscita, UninstallSkipsPathsOutsideTheGameFolderWithOneBox) {
    CartellaProva fuori{"out"};
    for (const char* d : {"data", "store", "MEDIA_BACKUP"}) ASSERT_TRUE(CreateDirectoryA((trle / d).c_str(), nullptr));
    std::string extract = "#TOT_FILES#=4\r\n#FILE1#=" + trle / "data\\level.tr4" + "\r\n";
    const char* nomi[] = {"one.txt", "two.txt", "three.txt"};
    for (int i = 0; i < 3; ++i) {
        ScriviFileProva(fuori / nomi[i], "keep me");
        extract += "#FILE" + std::to_string(i + 2) + "#=" + fuori / nomi[i] + "\r\n";
    }
    ScriviFileProva(trle / "MEDIA_BACKUP\\one.txt", "backup");
    ScriviFileProva(trle / "data\\level.tr4", "level of the media");
    ScriviFileProva(trle / "store\\Extract.txt", extract);

    const auto boxes = Esegui("/v /u", 1);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].testo, "ERROR: uninstall skipped 3 path(s) outside the game folder");
    for (const char* n : nomi) EXPECT_EQ(LeggiFileProva(fuori / n), "keep me") << n;
    EXPECT_FALSE(EsisteFileProva(trle / "data\\level.tr4"));
    const std::string log = LeggiFileProva(trle / "Unsinstall_log.txt");
    for (const char* n : nomi)
        EXPECT_NE(log.find("WARNING: skipped path outside the game folder: " + fuori / n), std::string::npos) << n;
}

TEST_F(StradeUscita, UninstallOutsideAGameFolderStops) {
    ScriviFileProva(trle / "savegame.0", "x");
    const auto boxes = Esegui("/u", 1);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes[0].testo.find("Uninstall must be called when it is in TRLE folder"), std::string::npos);
    EXPECT_TRUE(EsisteFileProva(trle / "savegame.0"));
}

// Closes the viewer the shell opened on the list, if any.
void ChiudiVisore() {
    for (int i = 0; i < 30; ++i) {
        HWND w = FindWindowA("Notepad", nullptr);
        if (!w) {
            Sleep(100);
            continue;
        }
        char titolo[256] = {};
        GetWindowTextA(w, titolo, sizeof titolo);
        if (std::string(titolo).find("_temp_media_list") == std::string::npos) return;
        PostMessageA(w, WM_CLOSE, 0, 0);
        Sleep(200);
    }
}

// The list of media.mcf around the lines of its triggers.
std::string ListaMediaAttesa(const std::string& righe) {
    const std::string trattini(65, '-');
    return "Content list of Media Configuration File: media.mcf\r\n\r\n"
           "Media-Type             CD   Code Status    Media-Files\r\n" +
           trattini + "\r\n" + righe + trattini + "\r\n";
}

TEST_F(StradeUscita, MediaListIsWrittenAndOpened) {
    ScriviFileProva(trle / "level.txt",
                    "[Trigger]\r\nTypeFlags=0x8000000\r\nTriggerCd=5\r\nMediaCode=12\r\nMediaFile=intro.bmp\r\n"
                    "[Trigger]\r\nTypeFlags=0x8000000\r\nOptions=0x1000\r\nMediaCode=7\r\nSoundFile=beep.wav\r\n");
    ProcessoProva scrittore;
    ASSERT_TRUE(AvviaProva(scrittore, CartellaProgrammi() + "\\McfWriter.exe",
                           "\"" + trle / "level.txt" + "\" \"" + trle / "media.mcf" + "\"", trle.Percorso()));
    ASSERT_EQ(scrittore.Attendi(30000), 0);
    // Copies beside it, such as the backup a save leaves, are not listed.
    for (const char* copia : {"backup_media.mcf", "a.mcf", "old.mcf"}) ScriviFileProva(trle / copia, "not this one");
    EXPECT_TRUE(Esegui("/l", 0).empty());
    ChiudiVisore();
    EXPECT_EQ(LeggiFileProva(trle / "_temp_media_list.txt"),
              ListaMediaAttesa("Alert                  005  12   Enabled   \"intro.bmp\"  \r\n"
                               "Alert                  999   7   Disabled  \"beep.wav\"  \r\n"));
}

// A configuration of the old version 1.4 is converted to be listed: a movie
// from another folder is copied beside it, and the old file stays as it was.
TEST_F(StradeUscita, MediaListOfAnOldConfiguration) {
    CartellaProva fuori{"old"};
    ScriviFileProva(fuori / "clip.avi", "movie");
    ScriviFileProva(trle / "intro.bmp", "picture");
    ScriviFileProva(trle / "story.txt", "A story");
    using namespace vecchio;
    RecordAMano testo, film;
    testo.I32(CdTrigger, 5).I32(Flag, 0x10 | 0x80 | 0x8000).Testo(Immagine, "intro.bmp").Testo(Testo, "story.txt");
    film.I32(CdTrigger, 6).I32(Flag, 0x4 | 0x8000).Testo(Filmato, fuori / "clip.avi");
    const std::string mcf = Intestazione(2) + testo.Bytes() + film.Bytes();
    ScriviFileProva(trle / "media.mcf", mcf);

    EXPECT_TRUE(Esegui("/l", 0).empty());
    ChiudiVisore();
    EXPECT_EQ(LeggiFileProva(trle / "_temp_media_list.txt"),
              ListaMediaAttesa("Image_Fixed_Text       005   1   Enabled   \"intro.bmp\"  \r\n"
                               "Movie                  006   2   Enabled   \"clip.avi\"  \r\n"));
    EXPECT_EQ(LeggiFileProva(trle / "clip.avi"), "movie");
    EXPECT_EQ(LeggiFileProva(trle / "media.mcf"), mcf);
}

TEST_F(StradeUscita, MediaListWithoutAConfigurationShowsTheBox) {
    const auto boxes = Esegui("/l", 1);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].testo, "Not found any Media Configuration File (.mcf) in trle folder");
    EXPECT_FALSE(EsisteFileProva(trle / "_temp_media_list.txt"));
}

}  // namespace
