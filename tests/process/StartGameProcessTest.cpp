// Ludovane.exe starting a run in a game folder of its own: the game stand-in
// launched from the folder and followed to its end, and a game that cannot
// be launched.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/MediaConfig.h"
#include "core/MediaTrigger.h"
#include "tests/gamerun/ScriptDatWriter.h"
#include "tests/process/LudovaneFolder.h"

namespace {

class StartGameProcesso : public CartellaLudovane {
protected:
    void SetUp() override {
        CartellaLudovane::SetUp();
        ASSERT_TRUE(CreateDirectoryA((trle / "data").c_str(), nullptr));
        ASSERT_TRUE(ScriviFileProva(trle / "script.dat", scriptdat::Componi({{"DATA\\TITLE", "DATA\\JUNGLE"}})));
        ASSERT_TRUE(ScriviFileProva(trle / "data\\title.tr4", "t"));
        ASSERT_TRUE(ScriviFileProva(trle / "data\\jungle.tr4", "j"));
        ASSERT_TRUE(ScriviFileProva(trle / "english.dat", "e"));
        HeaderMcf = MediaConfigHeader{};
        ListaMedia.assign(1, MediaTrigger{});
        std::string mcf;
        ASSERT_TRUE(ComponiMediaConfig("media.mcf", mcf));
        ASSERT_TRUE(ScriviFileProva(trle / "media.mcf", mcf));
    }
    std::string LogGioco() const { return LeggiFileProva(trle / "gamesim_log.txt"); }
};

TEST_F(StartGameProcesso, TheGameIsLaunchedFromTheFolderAndTheRunEndsWithIt) {
    ASSERT_TRUE(CopyFileA((CartellaProgrammi() + "\\GameSim.exe").c_str(), (trle / "tomb4.exe").c_str(), FALSE));
    ASSERT_TRUE(ScriviFileProva(trle / "gamesim.txt", "title Tomb Raider Sim\nwait 300\nexit 0\n"));
    ProcessoProva p;
    ASSERT_TRUE(AvviaProva(p, Exe(), "", trle.Percorso()));
    EXPECT_EQ(p.Attendi(40000), 0);

    const std::string gioco = LogGioco();
    EXPECT_NE(gioco.find("folder " + trle.Percorso() + "\n"), std::string::npos) << gioco;
    EXPECT_NE(gioco.find("exit 0\n"), std::string::npos) << gioco;
    const std::vector<std::string> righe = Righe();
    std::vector<std::string> inOrdine = {"InitGameConfig()", "Level 0 = TITLE.tr4", "Level 1 = JUNGLE.tr4",
                                         "Call InitMediaMcf()", "Start Tomb Raider program", "Enable timer",
                                         "Tomb Raider program is terminated", "EndGameConfig()"};
    size_t i = 0;
    for (const std::string& r : righe)
        if (i < inOrdine.size() && r == inOrdine[i]) ++i;
    EXPECT_EQ(i, inOrdine.size()) << (i < inOrdine.size() ? inOrdine[i] : "");
    EXPECT_FALSE(HaRiga("ERROR: launching tomb raider"));
}

TEST_F(StartGameProcesso, AGameThatCannotBeLaunchedAbandonsTheRun) {
    ASSERT_TRUE(ScriviFileProva(trle / "tomb4.exe", "not a program"));
    const auto boxes = Esegui("", 1);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].testo, "ERROR: launching tomb raider");
    EXPECT_TRUE(HaRiga("Start Tomb Raider program"));
    EXPECT_TRUE(HaRiga("EndGameConfig()"));
    EXPECT_FALSE(HaRiga("Enable timer"));
}

}  // namespace
