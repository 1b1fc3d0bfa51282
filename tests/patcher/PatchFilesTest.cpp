// What only Windows shows of the patcher on files: the time of a file left
// alone, and a program in use that cannot be replaced.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/FileUtils.h"
#include "core/MediaConfig.h"
#include "core/MediaLog.h"
#include "core/SharedState.h"
#include "gamerun/RunState.h"
#include "patcher/GamePatcher.h"
#include "patcher/PatchFiles.h"
#include "patcher/PatchSets.h"
#include "platform/Clock.h"
#include "tests/support/LogText.h"
#include "tests/support/SyntheticExe.h"
#include "tests/support/TestFolders.h"

namespace {

std::vector<std::string> Avvisi;
void RegistraAvviso(const std::string& testo) { Avvisi.push_back(testo); }

class PatchSuFile : public testing::Test {
protected:
    void SetUp() override {
        ClockUseManual(true, 1000);
        AzzeraStatoRun();
        // A game process: error lines raise no box.
        ProcessoGioco.hProcess = reinterpret_cast<void*>(1);
        CartellaTrle = trle.Percorso();
        PercorsoStore = trle / "store";
        CreateDirectoryA(PercorsoStore.c_str(), nullptr);
        LogAbilitato = true;
        InitMediaLog();
        Avvisi.clear();
        AvvisoPatch = RegistraAvviso;
        PatchUtente.clear();
        NumPatchUtente = 0;
    }
    void TearDown() override {
        AvvisoPatch = precedente;
        ProcessoGioco.hProcess = nullptr;
        LogAbilitato = false;
        BufferLog.clear();
        ClockUseManual(false);
    }
    static FILETIME Scritto(const std::string& percorso) {
        WIN32_FILE_ATTRIBUTE_DATA a{};
        GetFileAttributesExA(percorso.c_str(), GetFileExInfoStandard, &a);
        return a.ftLastWriteTime;
    }
    std::string Gioco() const { return trle / "tomb4.exe"; }
    std::string Store(const std::string& nome) const { return PercorsoStore + "\\" + nome; }

    CartellaProva trle{"patch"};
    void (*precedente)(const std::string&) = AvvisoPatch;
};

// One record of 4 bytes at 0x1000 of the synthetic game.
FilePatch Semplice(int32_t flag = 0) {
    FilePatch p;
    p.FlagPatch = flag;
    p.Record = {RecordPatch{0x1000, 4, std::string(4, '\0'), "new!"}};
    p.NumRecord = 1;
    return p;
}

TEST_F(PatchSuFile, AppliedAgainNothingIsWrittenNotEvenTheTime) {
    ASSERT_TRUE(ScriviFileProva(Gioco(), EseguibileSintetico({})));
    ASSERT_TRUE(ScriviFileProva(Store("One.ptc"), ScriviFilePatch(Semplice())));
    std::string firma;
    EXPECT_EQ(ApplicaPatch(Store("One.ptc"), Gioco(), false, firma), Applicata);
    const FILETIME prima = Scritto(Gioco());
    Sleep(20);
    EXPECT_EQ(ApplicaPatch(Store("One.ptc"), Gioco(), false, firma), GiaApplicata);
    const FILETIME dopo = Scritto(Gioco());
    EXPECT_EQ(CompareFileTime(&prima, &dopo), 0);
}

TEST_F(PatchSuFile, ARunningProgramIsLeftWholeWhenItCannotBeReplaced) {
    const std::string originale = EseguibileSintetico({});
    ASSERT_TRUE(ScriviFileProva(Gioco(), originale));
    ASSERT_TRUE(ScriviFileProva(Store("One.ptc"), ScriviFilePatch(Semplice())));
    // Held as a running program holds its file: read, no delete.
    HANDLE h = CreateFileA(Gioco().c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    std::string firma;
    EXPECT_EQ(ApplicaPatch(Store("One.ptc"), Gioco(), false, firma), NonRiconosciuta);
    EXPECT_EQ(ApplicaFastPatchUE(Gioco(), false), NonRiconosciuta);
    CloseHandle(h);
    EXPECT_EQ(LeggiFileProva(Gioco()), originale);
    EXPECT_FALSE(EsisteFileProva(trle / "_tem_tomb4.exe"));
}

// The next run finds every set in place and rewrites nothing.
TEST_F(PatchSuFile, ASecondRunRewritesNothing) {
    ASSERT_TRUE(ScriviFileProva(Gioco(), EseguibileSintetico({})));
    OpzioniGioco = 0;
    PatchTomb4("");
    const FILETIME prima = Scritto(Gioco());
    Sleep(20);
    PatchTomb4("");
    const FILETIME dopo = Scritto(Gioco());
    EXPECT_EQ(CompareFileTime(&prima, &dopo), 0);
}

}  // namespace
