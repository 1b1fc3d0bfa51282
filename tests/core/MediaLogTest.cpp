#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/MediaLog.h"
#include "core/SharedState.h"
#include "platform/Clock.h"
#include "tests/support/TestFolders.h"
#include "tests/support/TestProcesses.h"

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

// A routine first asked for while the log is off is said once the log is on,
// and then never again.
TEST_F(LogTest, ARoutineNotBuiltIsSaidOnceTheLogIsOn) {
    ClockAdvance(3000);
    LogAbilitato = false;
    StampaNonCostruito("RoutineDiProvaSpenta");
    EXPECT_TRUE(BufferLog.empty());
    LogAbilitato = true;
    StampaNonCostruito("RoutineDiProvaSpenta");
    StampaNonCostruito("RoutineDiProvaSpenta");
    EXPECT_TRUE(ScriviBufferLog(true));
    EXPECT_EQ(File(), " 3.000:  RoutineDiProvaSpenta: not performed yet\r\n");
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

TEST_F(LogTest, ErrorLinesCarriedIntoARestartedLogCountAgainWithoutABox) {
    StampaLog("a", true);
    StampaLog("b");
    StampaLog("c", true);
    EXPECT_EQ(RigheErroreLog, (std::vector<std::string>{"a", "c"}));
    const std::vector<std::string> prima = RigheErroreLog;
    InitMediaLog();
    EXPECT_TRUE(RigheErroreLog.empty());
    // No game runs: a line written as an ordinary error would raise a box.
    ProcessoGioco.hProcess = nullptr;
    ClockAdvance(5);
    RiportaRigheErrore(prima);
    ProcessoGioco.hProcess = reinterpret_cast<void*>(1);
    EXPECT_EQ(BufferLog, " 0.005:  a\r\n 0.005:  c\r\n");
    EXPECT_EQ(NumErroriLog, 2);
    EXPECT_TRUE(ErroreLoggato);
    // Carried again by a further restart.
    EXPECT_EQ(RigheErroreLog, prima);
}

TEST_F(LogTest, OnlyTheFirstErrorLinesAreKeptForARestart) {
    for (size_t i = 0; i < MassimoRigheErroreLog + 5; ++i) StampaLog("e" + std::to_string(i), true);
    ASSERT_EQ(RigheErroreLog.size(), MassimoRigheErroreLog);
    EXPECT_EQ(RigheErroreLog.back(), "e" + std::to_string(MassimoRigheErroreLog - 1));
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

// A file of memory behind the writer's seam: the first write takes only
// <primaParte> bytes (-1: it cannot be opened), later writes take all.
std::string Disco;
int64_t PrimaParte = 0;
int Scritture = 0;

int64_t AccodaInParte(const std::string&, const std::string& dati) {
    if (Scritture++ == 0) {
        if (PrimaParte < 0) return -1;
        const size_t n = std::min(dati.size(), static_cast<size_t>(PrimaParte));
        Disco.append(dati, 0, n);
        return static_cast<int64_t>(n);
    }
    Disco += dati;
    return static_cast<int64_t>(dati.size());
}

int64_t MaiScritto(const std::string&, const std::string&) { return -1; }

class LogSeamTest : public LogTest {
protected:
    void TearDown() override {
        AccodaFileLog = originale;
        AvvisoLogNonScrivibile = false;
        LogTest::TearDown();
    }
    int64_t (*const originale)(const std::string&, const std::string&) = AccodaFileLog;
};

TEST_F(LogSeamTest, APartialWriteNeverWritesALineTwice) {
    // Cut nowhere, inside the stamp, inside the text, before and after the
    // line's end; -1: the file could not be opened at all.
    for (int64_t parte : {-1, 0, 1, 9, 19, 20, 21}) {
        InitMediaLog();
        Disco.clear();
        PrimaParte = parte;
        Scritture = 0;
        AccodaFileLog = AccodaInParte;
        ClockAdvance(2000);
        StampaLog("first line");
        EXPECT_EQ(Disco.size(), static_cast<size_t>(std::max<int64_t>(parte, 0))) << parte;
        StampaLog("second");
        EXPECT_TRUE(ScriviBufferLog(true)) << parte;
        EXPECT_EQ(Disco, " 2.000:  first line\r\n 2.000:  second\r\n") << parte;
        ClockUseManual(true, 50000);
    }
}

TEST_F(LogSeamTest, WhileTheFileCannotBeWrittenTheBufferKeepsItsNewestLines) {
    AccodaFileLog = MaiScritto;
    AvvisoLogNonScrivibile = true;
    ClockAdvance(2000);
    StampaLog("first");
    EXPECT_EQ(BufferLog, " 2.000:  first\r\n");
    const std::string testo(500, 'x');
    for (int i = 0; i < 3000; ++i) {
        ClockAdvance(1);
        StampaLog(testo + std::to_string(i));
        ASSERT_LE(BufferLog.size(), MassimoBufferLog) << i;
    }
    EXPECT_GT(BufferLog.size(), MassimoBufferLog / 2);
    // Whole lines only: the first starts with its stamp.
    EXPECT_EQ(BufferLog.substr(6, 4), ":  x");
    EXPECT_EQ(BufferLog.substr(BufferLog.size() - 6), "2999\r\n");

    // Once the file can be written it gets them all at once.
    Disco.clear();
    PrimaParte = 0;
    Scritture = 1;
    AccodaFileLog = AccodaInParte;
    const std::string attesi = BufferLog;
    StampaLog("last");
    EXPECT_TRUE(BufferLog.empty());
    EXPECT_EQ(Disco, attesi + " 5.000:  last\r\n");
}

TEST_F(LogTest, AnUnwritableStoreFolderIsToldOnce) {
    ProcessoGioco.hProcess = nullptr;
    AvvisoLogNonScrivibile = false;
    PercorsoFileLog = store / "missing\\media_log.txt";
    Osservatore osservatore(store.Percorso(), "OK", 2, GetCurrentProcessId(), 5000);
    for (int i = 0; i < 3; ++i) {
        ClockAdvance(2000);
        StampaLog("line " + std::to_string(i));
    }
    EXPECT_FALSE(ScriviBufferLog(true));
    const std::vector<BoxRegistrato> boxes = osservatore.Boxes();
    ProcessoGioco.hProcess = reinterpret_cast<void*>(1);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].testo, "The log file cannot be written: " + PercorsoFileLog);
    EXPECT_TRUE(AvvisoLogNonScrivibile);
    AvvisoLogNonScrivibile = false;
    EXPECT_EQ(BufferLog, " 2.000:  line 0\r\n 4.000:  line 1\r\n 6.000:  line 2\r\n");
}

}  // namespace
