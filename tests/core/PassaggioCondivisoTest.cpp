// The answers that one pass of the tick shares, and what ends them.
#include <gtest/gtest.h>

#include "core/PassaggioCondiviso.h"
#include "core/SharedState.h"
#include "platform/Clock.h"

namespace {

class Condivisione : public testing::Test {
protected:
    void SetUp() override { ClockUseManual(true, 1000); }
    void TearDown() override {
        LivelloAnnidamento = 0;
        ClockUseManual(false);
    }
};

TEST_F(Condivisione, AnAnswerServesItsPassUntilAWaitAMediaOrTime) {
    EXPECT_FALSE(CondivisioneAttiva());
    TimbroCondiviso timbro = TimbraCondiviso();
    EXPECT_FALSE(CondivisoValido(timbro)) << "outside a pass";
    {
        PassaggioCondiviso passaggio;
        EXPECT_FALSE(CondivisoValido(timbro)) << "read before the pass";
        timbro = TimbraCondiviso();
        EXPECT_TRUE(CondivisoValido(timbro));
        // A yield lets no time pass.
        ClockSleep(0);
        EXPECT_TRUE(CondivisoValido(timbro));
        // The shortest wait there is.
        ClockSleep(1);
        EXPECT_FALSE(CondivisoValido(timbro));
        // Time that passes without a wait, as while events are pumped.
        timbro = TimbraCondiviso();
        ClockAdvance(49);
        EXPECT_TRUE(CondivisoValido(timbro));
        ClockAdvance(1);
        EXPECT_FALSE(CondivisoValido(timbro));
        timbro = TimbraCondiviso();
        LivelloAnnidamento = 1;
        EXPECT_FALSE(CondivisioneAttiva()) << "a media performed reads for itself";
        EXPECT_FALSE(CondivisoValido(timbro));
        LivelloAnnidamento = 0;
        EXPECT_TRUE(CondivisoValido(timbro));
        DimenticaCondivisi();
        EXPECT_FALSE(CondivisoValido(timbro));
        timbro = TimbraCondiviso();
    }
    EXPECT_FALSE(CondivisoValido(timbro)) << "after the pass";
    PassaggioCondiviso prossimo;
    EXPECT_FALSE(CondivisoValido(timbro)) << "in the next pass";
}

}  // namespace
