#include <gtest/gtest.h>

#include "core/MediaLog.h"
#include "gamerun/RunState.h"
#include "platform/Clock.h"
#include "tests/support/TestFolders.h"

namespace {

class LogTest : public testing::Test {
protected:
    void SetUp() override {
        ClockUseManual(true, 50000);
        PercorsoStore = store.Percorso();
        // A running game keeps error lines from raising a box.
        ProcessoGioco.hProcess = reinterpret_cast<void*>(1);
        LogAbilitato = true;
        InitMediaLog();
    }
    void TearDown() override {
        ProcessoGioco.hProcess = nullptr;
        LogAbilitato = false;
        ClockUseManual(false);
    }
    std::string File() const { return LeggiFileProva(PercorsoFileLog); }

    CartellaProva store;
};

struct CasoStampa {
    int32_t ms;
    char separatore;
    const char* atteso;
};

class StampaTest : public testing::TestWithParam<CasoStampa> {};

TEST_P(StampaTest, FormatsElapsedSeconds) {
    const CasoStampa& c = GetParam();
    EXPECT_EQ(StampaTempoLog(c.ms, c.separatore), c.atteso);
}

INSTANTIATE_TEST_SUITE_P(Stamps, StampaTest,
                         testing::Values(CasoStampa{0, '.', " 0.000"}, CasoStampa{1234, '.', " 1.234"},
                                         CasoStampa{65432, '.', "65.432"}, CasoStampa{123456, '.', "123.456"},
                                         CasoStampa{5, ',', " 0,005"}, CasoStampa{99999, ',', "99,999"},
                                         CasoStampa{-1, '.', "-0.001"},
                                         CasoStampa{INT32_MIN, '.', "-2147483.648"}));

TEST_F(LogTest, LineCarriesStampSeparatorTabsAndText) {
    ClockAdvance(2500);
    CambiaTabulatoreLog(1);
    StampaLog("Start Tomb Raider program");
    EXPECT_EQ(File(), " 2.500:  \tStart Tomb Raider program\r\n");
}

TEST_F(LogTest, ContinuationLinesGetDotsAndTabs) {
    ClockAdvance(2500);
    CambiaTabulatoreLog(1);
    StampaLog("A\r\nB");
    EXPECT_EQ(File(), " 2.500:  \tA\r\n......:  \tB\r\n");
}

TEST_F(LogTest, TextEndingInLineBreakLeavesPrefixOnlyLine) {
    ClockAdvance(2000);
    StampaLog("A\r\n");
    EXPECT_EQ(File(), " 2.000:  A\r\n......:  \r\n");
}

TEST_F(LogTest, LoneCarriageReturnOrLineFeedIsKept) {
    ClockAdvance(2000);
    StampaLog("A\rB\nC");
    EXPECT_EQ(File(), " 2.000:  A\rB\nC\r\n");
}

TEST_F(LogTest, LongStampGivesAsManyDots) {
    ClockAdvance(123456);
    StampaLog("A\r\nB");
    EXPECT_EQ(File(), "123.456:  A\r\n.......:  B\r\n");
}

TEST_F(LogTest, NegativeIndentationIsRepairedAndReported) {
    ClockAdvance(2000);
    CambiaTabulatoreLog(-1);
    StampaLog("text");
    EXPECT_EQ(LivelloTab, 0);
    EXPECT_EQ(NumErroriLog, 1);
    EXPECT_EQ(File(), " 2.000:  text\r\n 2.000:  ERROR: in StampaLog() function tabultator was negative\r\n");
}

TEST_F(LogTest, OrdinaryLineWhileOffLeavesEverythingUntouched) {
    LogAbilitato = false;
    ClockAdvance(3000);
    StampaLog("ignored");
    EXPECT_TRUE(BufferLog.empty());
    EXPECT_EQ(NumErroriLog, 0);
    EXPECT_FALSE(ErroreLoggato);
    EXPECT_FALSE(EsisteFileProva(PercorsoFileLog));
}

TEST_F(LogTest, ErrorLineWhileOffIsCountedKeptAndWrittenOnlyWhenForced) {
    LogAbilitato = false;
    ClockAdvance(3000);
    StampaLog("ERROR x", true);
    EXPECT_EQ(NumErroriLog, 1);
    EXPECT_TRUE(ErroreLoggato);
    EXPECT_FALSE(EsisteFileProva(PercorsoFileLog));
    EXPECT_TRUE(ScriviBufferLog(true));
    EXPECT_EQ(File(), " 3.000:  ERROR x\r\n");
    EXPECT_TRUE(BufferLog.empty());
}

TEST_F(LogTest, LinesWaitForTwoSecondsSinceTheLastWrite) {
    ClockAdvance(100);
    StampaLog("one");
    ClockAdvance(100);
    StampaLog("two");
    EXPECT_FALSE(EsisteFileProva(PercorsoFileLog));
    ClockAdvance(1799);
    StampaLog("three");
    EXPECT_FALSE(EsisteFileProva(PercorsoFileLog));
    ClockAdvance(1);
    StampaLog("four");
    EXPECT_EQ(File(), " 0.100:  one\r\n 0.200:  two\r\n 1.999:  three\r\n 2.000:  four\r\n");
    ClockAdvance(10);
    StampaLog("five");
    EXPECT_EQ(BufferLog, " 2.010:  five\r\n");
    EXPECT_TRUE(ScriviBufferLog(true));
    EXPECT_EQ(File(), " 0.100:  one\r\n 0.200:  two\r\n 1.999:  three\r\n 2.000:  four\r\n 2.010:  five\r\n");
}

TEST_F(LogTest, ErrorLinesAreCounted) {
    StampaLog("a", true);
    StampaLog("b");
    StampaLog("c", true);
    EXPECT_EQ(NumErroriLog, 2);
    InitMediaLog();
    EXPECT_EQ(NumErroriLog, 0);
    EXPECT_FALSE(ErroreLoggato);
}

TEST_F(LogTest, UnwritableFileKeepsTheBufferForTheNextWrite) {
    const std::string buono = PercorsoFileLog;
    PercorsoFileLog = store / "missing\\media_log.txt";
    ClockAdvance(2000);
    StampaLog("kept");
    EXPECT_FALSE(ScriviBufferLog(true));
    EXPECT_EQ(BufferLog, " 2.000:  kept\r\n");
    PercorsoFileLog = buono;
    StampaLog("next");
    EXPECT_EQ(File(), " 2.000:  kept\r\n 2.000:  next\r\n");
}

TEST_F(LogTest, StartingTheLogDeletesThePreviousFile) {
    ASSERT_TRUE(ScriviFileProva(PercorsoFileLog, "old"));
    InitMediaLog();
    EXPECT_FALSE(EsisteFileProva(PercorsoFileLog));
    EXPECT_EQ(PercorsoFileLog, store / "media_log.txt");
}

TEST_F(LogTest, StartingTheLogRemembersWhatTheUserAskedFor) {
    LogAbilitato = false;
    InitMediaLog();
    EXPECT_FALSE(LogFileRichiesto);
    LogAbilitato = true;
    InitMediaLog();
    EXPECT_TRUE(LogFileRichiesto);
}

}  // namespace
