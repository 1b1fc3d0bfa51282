// Whole runs with a user patch file in the store folder: the game runs from
// the patched executable, which the end of the run gives back byte for
// byte, also when the run before was killed while the patch was in.
#include <gtest/gtest.h>

#include <string>

#include "patcher/PatchFile.h"
#include "tests/process/GameRunFolder.h"

namespace {

class PatchRun : public CartellaRun {
protected:
    void SetUp() override {
        CartellaRun::SetUp();
        originale = LeggiFileProva(CartellaProgrammi() + "\\GameSim.exe");
        // The stand-in's DOS stub: bytes the loader never runs.
        const size_t dove = originale.find("DOS mode");
        ASSERT_NE(dove, std::string::npos);
        offset = static_cast<int32_t>(dove);
        opzioni.exePatchato = false;
        opzioni.logger = false;
        const std::string peek = "peek " + std::to_string(offset) + " 8\n";
        opzioni.scriptGioco = "boot 1024 768\n" + peek + "load title.tr4 100\nwait 300\nquit\n";
        ASSERT_TRUE(Costruisci(opzioni));
        FilePatch p;
        p.Record = {RecordPatch{offset, 8, "DOS mode", "XYZ-mode"}};
        p.NumRecord = 1;
        ASSERT_TRUE(ScriviFileProva(trle / "store\\Stub.ptc", ScriviFilePatch(p)));
    }
    // The stand-in saw its file patched while it ran.
    bool GiocoPatchato() const { return GiocoHaScritto("peek " + std::to_string(offset) + " 58595A2D6D6F6465"); }

    OpzioniCartellaGioco opzioni;
    std::string originale;
    int32_t offset = 0;
};

TEST_F(PatchRun, TheGameRunsPatchedAndTheExecutableIsGivenBackWhole) {
    EXPECT_EQ(Run(), 0);
    EXPECT_TRUE(GiocoPatchato()) << LogGioco();
    EXPECT_TRUE(HaRiga("Applied user patch: Stub.ptc")) << Log();
    EXPECT_TRUE(HaRiga("Remove user patch: Stub.ptc"));
    // The stand-in is no build of the game: the built-in sets leave it alone.
    EXPECT_TRUE(HaRiga("WARNING: Failed to patch loading game"));
    EXPECT_TRUE(LeggiFileProva(trle / "tomb4.exe") == originale) << "tomb4.exe differs after the run";
    EXPECT_FALSE(EsisteFileProva(trle / "_tem_tomb4.exe"));
    EXPECT_FALSE(EsisteFileProva(trle / "backup_tomb4.exe"));
}

TEST_F(PatchRun, ARunKilledWhilePatchedIsRepairedByTheNextRunsEnd) {
    const std::string script = LeggiFileProva(trle / "gamesim.txt");
    ASSERT_TRUE(ScriviFileProva(trle / "gamesim.txt", "boot 1024 768\npeek " + std::to_string(offset) +
                                                          " 8\nload title.tr4 100\nwait 60000\nquit\n"));
    {
        ProcessoProva p;
        ASSERT_TRUE(AvviaProva(p, Exe(), "/v", trle.Percorso()));
        Osservatore osservatore(trle.Percorso(), "OK", 20, p.pid, 60000);
        bool inGioco = false;
        for (DWORD inizio = GetTickCount(); !inGioco && GetTickCount() - inizio < 60000; Sleep(50))
            inGioco = GiocoHaScritto("loaded data\\title.tr4");
        ASSERT_TRUE(inGioco) << Log();
        p.Termina();
        osservatore.Interrompi();
    }
    if (HANDLE gioco = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, PidGioco())) {
        if (WaitForSingleObject(gioco, 10000) != WAIT_OBJECT_0) TerminateProcess(gioco, 99);
        CloseHandle(gioco);
    }
    EXPECT_TRUE(GiocoPatchato()) << LogGioco();
    EXPECT_EQ(LeggiFileProva(trle / "tomb4.exe").substr(static_cast<size_t>(offset), 8), "XYZ-mode");

    ASSERT_TRUE(ScriviFileProva(trle / "gamesim.txt", script));
    DeleteFileA((trle / "gamesim_log.txt").c_str());
    EXPECT_EQ(Run(), 0);
    EXPECT_TRUE(GiocoPatchato()) << LogGioco();
    EXPECT_TRUE(HaRiga("Tomb4 was already patched for user patch: Stub.ptc")) << Log();
    EXPECT_TRUE(HaRiga("Remove user patch: Stub.ptc"));
    EXPECT_TRUE(LeggiFileProva(trle / "tomb4.exe") == originale) << "tomb4.exe differs after the second run";
}

}  // namespace
