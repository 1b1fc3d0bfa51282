#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runservices/RunState.h"
#include "gamerun/Startup.h"
#include "tests/runservices/HookSlots.h"

namespace {

struct CasoRiga {
    const char* riga;
    std::vector<std::string> argomenti;
};

class RigaComandoTest : public testing::TestWithParam<CasoRiga> {};

TEST_P(RigaComandoTest, SplitsAtSingleBlanksAfterTheProgramName) {
    EXPECT_EQ(ArgomentiRigaComando(GetParam().riga), GetParam().argomenti);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, RigaComandoTest,
    testing::Values(CasoRiga{"\"C:\\Tr le\\Ludovane.exe\" /v /u", {"/v", "/u"}},
                    CasoRiga{"C:\\trle\\Ludovane.exe /V", {"/V"}},
                    CasoRiga{"Ludovane.exe", {""}},
                    CasoRiga{"Ludovane.exe /s  /l", {"/s", "", "/l"}},
                    CasoRiga{"\"Ludovane.exe\"   /f=GERMAN", {"/f=GERMAN"}},
                    CasoRiga{"Ludovane.exe /v ", {"/v", ""}}));

// The start-up connects every hook of the layers below to its routine: from
// a table with none, none is left empty.
TEST(CollegaServizi, TheStartUpFillsEveryHook) {
    const GanciRun prima = Ganci;
    Ganci = GanciRun{};
    CollegaServiziRun();
    const std::vector<size_t> vuoti = GanciVuotiDi(Ganci);
    Ganci = prima;
    EXPECT_EQ(vuoti, std::vector<size_t>{}) << "entries by their place in GanciRun";
}

TEST(RunState, ANewRunStartsFromItsStartValues) {
    ModificheAvvio = GiocoConfigurato | CoverMostrata;
    StatoGioco = FlagLoggerInUso;
    LivelloCorrente = 5;
    CdCorrente = CdPrecedente = 7;
    ProcessoGioco.hProcess = reinterpret_cast<void*>(8);
    FuoriGioco = true;
    AzzeraStatoRun();
    EXPECT_EQ(ModificheAvvio, 0);
    EXPECT_EQ(StatoGioco, 0);
    EXPECT_EQ(LivelloCorrente, -2);
    EXPECT_EQ(LivelloPrecedente, 0);
    EXPECT_EQ(CdCorrente, -1);
    EXPECT_EQ(CdPrecedente, -1);
    EXPECT_EQ(CdTitoli, -1);
    EXPECT_EQ(IndiceEmailFinale, -1);
    EXPECT_EQ(FinestraSplash, -1);
    EXPECT_EQ(FinestraMediaTitoli, -1);
    EXPECT_EQ(ProcessoGioco.hProcess, nullptr);
    EXPECT_FALSE(FuoriGioco);
}

}  // namespace
