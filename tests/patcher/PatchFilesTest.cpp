// What only Windows shows of the patcher on files: the time of a file left
// alone, and a program in use that cannot be replaced.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "tests/patcher/PatchFixture.h"
#include "tests/support/SyntheticExe.h"

namespace {

class PatchSuFile : public ProvaPatch {
protected:
    static FILETIME Scritto(const std::string& percorso) {
        WIN32_FILE_ATTRIBUTE_DATA a{};
        GetFileAttributesExA(percorso.c_str(), GetFileExInfoStandard, &a);
        return a.ftLastWriteTime;
    }
};

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
