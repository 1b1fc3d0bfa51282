// The time an interrupted alert keeps in the "SUSPENDED" section of its
// trigger: reading it, writing it, and taking it away again so that the
// trigger's text is the author's once more.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "core/MediaConfig.h"
#include "core/MediaTrigger.h"
#include "media/AlertMedia.h"
#include "tests/core/LogLines.h"

namespace {

const std::string Alert = "<ALERT>\r\n#FLAGS#=1\r\n#DURATION#=30\r\n<END_ALERT>\r\n";

class AlertSospeso : public ConRigheLog {
protected:
    void SetUp() override {
        ConRigheLog::SetUp();
        HeaderMcf = MediaConfigHeader{};
        HeaderMcf.TriggerCount = 2;
        MediaTrigger altro;
        altro.MediaCode = 3;
        altro.Syntax = Alert;
        ListaMedia = {altro, Trigger(""), MediaTrigger{}};
        MediaCorrente = MediaTrigger{};
    }
    void TearDown() override {
        ListaMedia.clear();
        HeaderMcf = MediaConfigHeader{};
        MediaCorrente = MediaTrigger{};
        ConRigheLog::TearDown();
    }
    static MediaTrigger Trigger(const std::string& sintassi) {
        MediaTrigger m;
        m.TypeFlags = BitAlert;
        m.MediaCode = 12;
        m.TriggerCd = 4;
        m.Options = WhileCdSounds;
        m.Syntax = sintassi;
        return m;
    }
    static MediaTrigger& Dodici() { return ListaMedia[1]; }
    // Exactly one error line with this text since the last call.
    static void UnaRigaErrore(const std::string& testo) {
        EXPECT_EQ(NumErroriLog, 1);
        EXPECT_EQ(Righe(), std::vector<std::string>{testo});
        BufferLog.clear();
        NumErroriLog = 0;
    }
};

TEST_F(AlertSospeso, StoredTimeIsReadOnlyFromAWholeNonNegativeValueOfItsTag) {
    struct Caso {
        std::string sintassi;
        int32_t ms;
    };
    const Caso casi[] = {
        {"", 0},
        {Alert, 0},
        {Alert + "<SUSPENDED>#ELAPSED_TIME#=1234\r\n<END_SUSPENDED>", 1234},
        {"<suspended>\r\n#Elapsed_Time#=77\r\n<end_suspended>" + Alert, 77},
        // Rounded to the whole number, halves to the even neighbour.
        {"<SUSPENDED>#ELAPSED_TIME#=1234.5\r\n<END_SUSPENDED>", 1234},
        {"<SUSPENDED>#ELAPSED_TIME#=1235.5\r\n<END_SUSPENDED>", 1236},
        {"<SUSPENDED>#ELAPSED_TIME#=\r\n<END_SUSPENDED>", 0},
        {"<SUSPENDED>#ELAPSED_TIME#=12s\r\n<END_SUSPENDED>", 0},
        {"<SUSPENDED>#ELAPSED_TIME#=99999999999\r\n<END_SUSPENDED>", 0},
        {"<SUSPENDED>#ELAPSED_TIME#=-50\r\n<END_SUSPENDED>", 0},
        {"<SUSPENDED>#OTHER_TIME#=50\r\n<END_SUSPENDED>", 0},
        // The tag counts only inside the section.
        {"#ELAPSED_TIME#=50\r\n<SUSPENDED><END_SUSPENDED>", 0},
        // Without its closing mark the section runs to the end of the text.
        {Alert + "<SUSPENDED>#ELAPSED_TIME#=300\r\n", 300},
    };
    for (const Caso& c : casi) {
        Dodici().Syntax = c.sintassi;
        EXPECT_EQ(LeggiElapsedSospeso(1), c.ms) << c.sintassi;
    }
    NessunErrore();
    for (int32_t indice : {-1, 3, 1000}) {
        EXPECT_EQ(LeggiElapsedSospeso(indice), 0);
        UnaRigaErrore("ERROR: LeggiElapsedSospeso() media index out of list = " + std::to_string(indice));
    }
}

TEST_F(AlertSospeso, WritingReplacesTheSectionOrAppendsItExactly) {
    struct Caso {
        std::string prima;
        std::vector<int32_t> scritti;
        std::string dopo;
    };
    const std::string s1234 = "<SUSPENDED>#ELAPSED_TIME#=1234\r\n<END_SUSPENDED>";
    const Caso casi[] = {
        {"", {1234}, s1234},
        {Alert, {1234}, Alert + s1234},
        {Alert, {5, 1234}, Alert + s1234},
        {Alert, {1234, 88}, Alert + "<SUSPENDED>#ELAPSED_TIME#=88\r\n<END_SUSPENDED>"},
        // Replaced in place, in any letter case, the rest left as it was.
        {"<Suspended>\r\n#ELAPSED_TIME#=7\r\n#X#=1\r\n<End_Suspended>\r\n" + Alert, {1234},
         "<SUSPENDED>#ELAPSED_TIME#=1234\r\n<End_Suspended>\r\n" + Alert},
        {Alert, {0}, Alert + "<SUSPENDED>#ELAPSED_TIME#=0\r\n<END_SUSPENDED>"},
        {Alert, {-20}, Alert + "<SUSPENDED>#ELAPSED_TIME#=0\r\n<END_SUSPENDED>"},
        {Alert, {INT32_MAX}, Alert + "<SUSPENDED>#ELAPSED_TIME#=2147483647\r\n<END_SUSPENDED>"},
    };
    for (const Caso& c : casi) {
        Dodici() = Trigger(c.prima);
        MediaCorrente = Dodici();
        for (int32_t ms : c.scritti) EXPECT_TRUE(ScriviElapsedSospeso(12, ms)) << c.prima;
        EXPECT_EQ(Dodici().Syntax, c.dopo);
        EXPECT_EQ(Dodici().Options, WhileCdSounds | Suspended);
        EXPECT_EQ(LeggiElapsedSospeso(1), std::max(c.scritti.back(), 0));
        // The record being performed is a copy: only the list keeps the time.
        EXPECT_EQ(MediaCorrente.Syntax, c.prima);
        EXPECT_EQ(MediaCorrente.Options, WhileCdSounds);
    }
    EXPECT_EQ(ListaMedia[0].Syntax, Alert);
    EXPECT_EQ(ListaMedia[0].Options, 0);
    NessunErrore();
}

TEST_F(AlertSospeso, NoTriggerOrADamagedSectionIsNotMarkedSuspended) {
    struct Caso {
        int32_t codice;
        std::string sintassi;
        std::string errore;
    };
    const Caso casi[] = {
        {99, Alert, "ERROR: unknown media code = 99"},
        {12, Alert + "<SUSPENDED>#ELAPSED_TIME#=5\r\n", "Syntax error: missing <END_SUSPENDED> section"},
    };
    for (const Caso& c : casi) {
        Dodici() = Trigger(c.sintassi);
        EXPECT_FALSE(ScriviElapsedSospeso(c.codice, 1234));
        EXPECT_EQ(Dodici().Syntax, c.sintassi);
        EXPECT_EQ(Dodici().Options, WhileCdSounds);
        UnaRigaErrore(c.errore);
    }
}

// The trigger's text after an alert ended is byte for byte the one that
// never had a section; the author's own text around it stays.
TEST_F(AlertSospeso, ClearingLeavesTheTextAsIfItNeverHadTheSection) {
    const std::string countdown = "<COUNTDOWN>\r\n#START_COUNTER#=10\r\n<END_COUNTDOWN>";
    const std::string testi[] = {"", Alert, Alert + countdown, "\r\n\r\n", "<SUSPENDED_X>#A#=1\r\n<END_SUSPENDED_X>"};
    for (const std::string& testo : testi) {
        for (const std::vector<int32_t>& scritti : std::vector<std::vector<int32_t>>{{}, {1234}, {1234, 55}}) {
            Dodici() = Trigger(testo);
            for (int32_t ms : scritti) ASSERT_TRUE(ScriviElapsedSospeso(12, ms));
            EXPECT_TRUE(CancellaElapsedSospeso(12));
            EXPECT_EQ(Dodici().Syntax, testo);
            EXPECT_EQ(Dodici().Options, WhileCdSounds);
            EXPECT_EQ(LeggiElapsedSospeso(1), 0);
        }
    }
    struct Caso {
        std::string prima, dopo;
    };
    const Caso casi[] = {
        // Written by hand between other sections, or twice.
        {Alert + "<suspended>#ELAPSED_TIME#=5\r\n<END_SUSPENDED>" + countdown, Alert + countdown},
        {"<SUSPENDED>#ELAPSED_TIME#=5\r\n<END_SUSPENDED>" + Alert + "<SUSPENDED>#ELAPSED_TIME#=6\r\n<END_SUSPENDED>",
         Alert},
    };
    for (const Caso& c : casi) {
        Dodici() = Trigger(c.prima);
        Dodici().Options |= Suspended;
        EXPECT_TRUE(CancellaElapsedSospeso(12));
        EXPECT_EQ(Dodici().Syntax, c.dopo);
        EXPECT_EQ(Dodici().Options, WhileCdSounds);
    }
    EXPECT_EQ(ListaMedia[0].Syntax, Alert);
    NessunErrore();
}

TEST_F(AlertSospeso, ClearingReachesTheRecordBeingPerformedOfThatCodeOnly) {
    for (int32_t corrente : {12, 3}) {
        Dodici() = Trigger(Alert);
        ASSERT_TRUE(ScriviElapsedSospeso(12, 700));
        MediaCorrente = Dodici();
        MediaCorrente.MediaCode = corrente;
        const MediaTrigger copia = MediaCorrente;
        EXPECT_TRUE(CancellaElapsedSospeso(12));
        EXPECT_EQ(Dodici().Syntax, Alert);
        if (corrente == 12) {
            EXPECT_EQ(MediaCorrente.Syntax, Alert);
            EXPECT_EQ(MediaCorrente.Options, WhileCdSounds);
        } else {
            EXPECT_EQ(MediaCorrente.Syntax, copia.Syntax);
            EXPECT_EQ(MediaCorrente.Options, copia.Options);
        }
    }
    NessunErrore();
}

TEST_F(AlertSospeso, ADamagedSectionIsLeftToItsAuthorButTheTriggerIsNoLongerSuspended) {
    const std::string damaged = Alert + "<SUSPENDED>#ELAPSED_TIME#=5\r\n";
    Dodici() = Trigger(damaged);
    Dodici().Options |= Suspended;
    EXPECT_FALSE(CancellaElapsedSospeso(12));
    EXPECT_EQ(Dodici().Syntax, damaged);
    EXPECT_EQ(Dodici().Options, WhileCdSounds);
    UnaRigaErrore("Syntax error: missing <END_SUSPENDED> section");
    EXPECT_FALSE(CancellaElapsedSospeso(99));
    UnaRigaErrore("ERROR: unknown media code = 99");
}

TEST_F(AlertSospeso, ClearingEveryTriggerStopsAtTheLoadedOnes) {
    ListaMedia[0].Syntax = Alert + "<SUSPENDED>#ELAPSED_TIME#=1\r\n<END_SUSPENDED>";
    ListaMedia[0].Options = Suspended;
    ASSERT_TRUE(ScriviElapsedSospeso(12, 2));
    ListaMedia[2].Syntax = "<SUSPENDED>#ELAPSED_TIME#=3\r\n<END_SUSPENDED>";
    EXPECT_TRUE(CancellaTuttiSospesi());
    EXPECT_EQ(ListaMedia[0].Syntax, Alert);
    EXPECT_EQ(ListaMedia[0].Options, 0);
    EXPECT_EQ(Dodici().Syntax, "");
    EXPECT_EQ(Dodici().Options, WhileCdSounds);
    // The spare record is no trigger.
    EXPECT_EQ(ListaMedia[2].Syntax, "<SUSPENDED>#ELAPSED_TIME#=3\r\n<END_SUSPENDED>");
    NessunErrore();
}

TEST(TickAlert, DifferencesCrossTheWrapOfTheTickCount) {
    struct Caso {
        uint32_t ora, inizio;
        int32_t ms;
    };
    const Caso casi[] = {
        {1000, 400, 600},
        {0x100, 0xFFFFFF00u, 512},
        {5, 5, 0},
        {0x7FFFFFFF, 0, INT32_MAX},
        // A start after now is no time shown.
        {400, 1000, 0},
        {0xFFFFFF00u, 0x100, 0},
    };
    for (const Caso& c : casi) EXPECT_EQ(TickTrascorsi(c.ora, c.inizio), c.ms) << c.ora << " " << c.inizio;
}

}  // namespace
