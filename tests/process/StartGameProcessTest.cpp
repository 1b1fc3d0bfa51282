// Ludovane.exe starting a run in a whole game folder: the game stand-in
// launched from the folder and followed to its end, and a game that cannot
// be launched.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/process/GameRunFolder.h"

namespace {

class StartGameProcesso : public CartellaRun {};

TEST_F(StartGameProcesso, TheGameIsLaunchedFromTheFolderAndTheRunEndsWithIt) {
    OpzioniCartellaGioco opzioni;
    opzioni.logger = false;
    opzioni.scriptGioco = "title Tomb Raider Sim\nwait 300\nexit 0\n";
    ASSERT_TRUE(Costruisci(opzioni));
    EXPECT_EQ(Run(), 0);

    const std::string gioco = LogGioco();
    EXPECT_NE(gioco.find("folder " + trle.Percorso() + "\n"), std::string::npos) << gioco;
    EXPECT_NE(gioco.find("exit 0\n"), std::string::npos) << gioco;
    const std::vector<std::string> righe = Righe();
    std::vector<std::string> inOrdine = {"InitGameConfig()", "Call InitMediaMcf()", "Start Tomb Raider program",
                                         "Enable timer", "Tomb Raider program is terminated", "EndGameConfig()"};
    size_t i = 0;
    for (const std::string& r : righe)
        if (i < inOrdine.size() && r == inOrdine[i]) ++i;
    EXPECT_EQ(i, inOrdine.size()) << (i < inOrdine.size() ? inOrdine[i] : "");
    EXPECT_FALSE(HaRiga("ERROR: launching tomb raider"));
}

TEST_F(StartGameProcesso, AGameThatCannotBeLaunchedAbandonsTheRun) {
    OpzioniCartellaGioco opzioni;
    opzioni.logger = false;
    ASSERT_TRUE(Costruisci(opzioni));
    ASSERT_TRUE(ScriviFileProva(trle / "tomb4.exe", "not a program"));
    Run();
    // A file that is no program has no version signature either: that box
    // comes first, and the run still tries the launch.
    ASSERT_GE(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].testo.rfind("ERROR trying to compute version of file: ", 0), 0u) << boxes[0].testo;
    EXPECT_EQ(boxes[1].testo, "ERROR: launching tomb raider");
    EXPECT_TRUE(HaRiga("Start Tomb Raider program"));
    EXPECT_TRUE(HaRiga("EndGameConfig()"));
    EXPECT_FALSE(HaRiga("Enable timer"));
    EXPECT_EQ(FotografiaRegistro(ChiaveGiocoRegistro), registroPrima);
    EXPECT_EQ(LeggiScrivania(), scrivaniaPrima);
}

}  // namespace
