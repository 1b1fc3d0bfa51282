// Level variables in their files and during a run, and the formula that
// names them.
#include <gtest/gtest.h>

#include "core/LevelVariables.h"
#include "tests/core/LogLines.h"
#include "tests/support/TestFolders.h"

namespace {

class Variabili : public ConRigheLog {
protected:
    void SetUp() override {
        ConRigheLog::SetUp();
        store_ = PercorsoStore;
        PercorsoStore = cartella.Percorso();
        TogliBit(ModificheAvvio, FaseSpecialMedia);
        VarA = VarB = VarC = VarD = VarLastInput = "";
    }
    void TearDown() override {
        PercorsoStore = store_;
        TogliBit(ModificheAvvio, FaseSpecialMedia);
        ConRigheLog::TearDown();
    }
    CartellaProva cartella;
    std::string store_;
};

TEST_F(Variabili, FilesAndNamesByTheTable) {
    const struct {
        int32_t id;
        const char *nome, *file;
    } casi[] = {{763, "Variable D", "Var_D.txt"},
                {764, "Variable C", "Var_C.txt"},
                {765, "Variable B", "Var_B.txt"},
                {766, "Variable A", "Var_A.txt"},
                {767, "Variable Last Input", "LastInput.txt"}};
    for (const auto& c : casi) {
        std::string nome;
        EXPECT_EQ(NomeFileVariabile(c.id, nome), cartella / c.file);
        EXPECT_EQ(nome, c.nome);
    }
    NessunErrore();
    bool errore = false;
    EXPECT_EQ(LeggiVariabile(762, errore, false, false), "");
    EXPECT_TRUE(errore);
    EXPECT_EQ(Righe(), std::vector<std::string>{"ERROR: unknown Variable type: 0x2FA"});
}

TEST_F(Variabili, SavedValueReadsBackWithoutItsLineEndRunAfterRun) {
    SalvaVariabile(IdVariabileA, "21");
    EXPECT_EQ(LeggiFileProva(cartella / "Var_A.txt"), "21\r\n");
    bool errore = true;
    for (int run = 0; run < 3; ++run) {
        const std::string v = LeggiVariabile(IdVariabileA, errore, true, false);
        EXPECT_EQ(v, "21");
        EXPECT_FALSE(errore);
        SalvaVariabile(IdVariabileA, v);
    }
    EXPECT_EQ(LeggiFileProva(cartella / "Var_A.txt"), "21\r\n");
    EXPECT_EQ(CalcolaFormula("av*2", errore), 42);
    EXPECT_FALSE(errore);
    NessunErrore();
}

TEST_F(Variabili, MissingAndNotNumericValues) {
    bool errore = false;
    EXPECT_EQ(LeggiVariabile(IdVariabileB, errore, false, true), "");
    EXPECT_FALSE(errore);
    NessunErrore();
    EXPECT_EQ(LeggiVariabile(IdVariabileB, errore, false, false), "");
    EXPECT_TRUE(errore);
    EXPECT_EQ(Righe(), std::vector<std::string>{"ERROR: missing value for Variable B. Missing file: " +
                                                cartella / "Var_B.txt"});
    BufferLog.clear();
    ScriviFileProva(cartella / "Var_C.txt", "abc\r\n");
    EXPECT_EQ(LeggiVariabile(IdVariabileC, errore, true, false), "");
    EXPECT_TRUE(errore);
    EXPECT_EQ(Righe(), std::vector<std::string>{"ERROR: not numeric value for Variable C"});
    BufferLog.clear();
    EXPECT_EQ(CalcolaFormula("1+CV", errore), 0);
    EXPECT_TRUE(errore);
}

TEST_F(Variabili, DuringARunTheGlobalsServeAndNoFileChanges) {
    ImpostaBit(ModificheAvvio, FaseSpecialMedia);
    LogAbilitato = true;
    VarA = "21";
    bool errore = true;
    EXPECT_EQ(CalcolaFormula("AV*2", errore), 42);
    EXPECT_FALSE(errore);
    SalvaVariabile(IdUltimoInput, "5");
    EXPECT_EQ(VarLastInput, "5");
    EXPECT_FALSE(EsisteFileProva(cartella / "LastInput.txt"));
    VarB = "3";
    VarC = "-2";
    VarD = "10";
    EXPECT_EQ(CalcolaFormula("# * bv + cV - (DV/5)", errore), 11);
    const std::vector<std::string> righe = Righe();
    ASSERT_GE(righe.size(), 3u);
    EXPECT_EQ(righe[0], "Compute formule: AV*2");
    EXPECT_EQ(righe[1], "Variable A was: \"21\"");
    EXPECT_EQ(righe[2], "Result=42");
    EXPECT_EQ(righe[3], "Saved value for Variable Last Input = \"5\"");
    LogAbilitato = false;
}

TEST_F(Variabili, FailedSaveIsAnErrorLine) {
    PercorsoStore = cartella / "missing";
    SalvaVariabile(IdVariabileD, "1");
    EXPECT_EQ(Righe(), std::vector<std::string>{"ERROR: saving value for Variable D in file: " +
                                                cartella / "missing\\Var_D.txt"});
}

}  // namespace
