// The expression language of media codes, with the precedence levels rely on.
#include <gtest/gtest.h>

#include "core/Formula.h"
#include "tests/core/LogLines.h"

namespace {

class Formula : public ConRigheLog {};

struct CasoFormula {
    const char* espressione;
    int32_t risultato;
};

TEST_F(Formula, ValidExpressionsKeepTheirOrderOfOperators) {
    const CasoFormula casi[] = {
        {"3 * (2 + 4)", 18},  {"ABS(2-5)", 3},        {"ABS(1)+ABS(0-2)", 3}, {"-(3)", -3},
        {"10/4", 2},          {"14/4", 4},            {"7/2", 4},             {"5/2", 2},
        {"2*-3", -6},         {"2-(0-3)", 5},         {"8/2*2", 2},           {"2+3*4-1", 13},
        {"2-5+1", -2},        {"42", 42},             {"-7", -7},             {"((1+2)*(3+4))", 21},
        {"abs(0-9)*2", 18},   {"", 0},                {"1 2", 12}, {"*3", 0},            {"2147483647", 2147483647},
        {"-2147483647-1", -2147483647 - 1},           {"5*-3-2", -17},        {"ABS(ABS(0-4)-9)", 5},
    };
    for (const auto& c : casi) {
        bool errore = true;
        EXPECT_EQ(CalcolaEspressione(c.espressione, errore), c.risultato) << c.espressione;
        EXPECT_FALSE(errore) << c.espressione;
    }
    NessunErrore();
}

TEST_F(Formula, MalformedExpressionsGiveZeroAndTheSyntaxErrorLine) {
    for (const char* e : {"5/0", "5--3", "(1+2", "2147483647+1", "99999999999", "65536*65536", "1+", "3+-2"}) {
        BufferLog.clear();
        NumErroriLog = 0;
        bool errore = false;
        EXPECT_EQ(CalcolaEspressione(e, errore), 0) << e;
        EXPECT_TRUE(errore) << e;
        EXPECT_EQ(Righe(), std::vector<std::string>{std::string("ERROR: Syntax error in expression: ") + e}) << e;
    }
}

TEST_F(Formula, StepsOnTheirOwn) {
    std::string testo = "1+(2*(3+4))-5";
    std::string gruppo;
    ASSERT_TRUE(EstraiParentesi(testo, gruppo));
    EXPECT_EQ(gruppo, "3+4");
    EXPECT_EQ(testo, "1+(2*~)-5");
    testo = "7";
    ASSERT_TRUE(EstraiParentesi(testo, gruppo));
    EXPECT_EQ(gruppo, "7");
    EXPECT_EQ(testo, "~");
    testo = "(1";
    EXPECT_FALSE(EstraiParentesi(testo, gruppo));

    gruppo = "-3+12*4";
    char op = 0;
    EXPECT_EQ(EstraiOperazione(gruppo, op), "12*4");
    EXPECT_EQ(op, '*');
    EXPECT_EQ(gruppo, "-3+!");
    gruppo = "-3+1";
    EXPECT_EQ(EstraiOperazione(gruppo, op), "-3+1");
    EXPECT_EQ(gruppo, "!");

    std::string s = "1+-2-+3--4";
    NormalizzaSegni(s);
    EXPECT_EQ(s, "1-2-3+4");
    s = "ABS-5+abs7*ABS(1)";
    ApplicaAbs(s);
    EXPECT_EQ(s, "5+7*ABS(1)");
}

}  // namespace
