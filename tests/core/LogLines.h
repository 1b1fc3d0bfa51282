#pragma once
// Error lines caught in the log's buffer, without a message box: a running
// game keeps StampaLog from raising one and the log stays off, so nothing
// is written to a file.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/MediaLog.h"
#include "core/MediaTrigger.h"
#include "core/SharedState.h"
#include "platform/Clock.h"
#include "tests/support/LogText.h"

class ConRigheLog : public testing::Test {
protected:
    void SetUp() override {
        ProcessoGioco.hProcess = reinterpret_cast<void*>(1);
        LogAbilitato = false;
        BufferLog.clear();
        NumErroriLog = 0;
        UltimoErrore = "previous";
    }
    void TearDown() override {
        ProcessoGioco.hProcess = nullptr;
        BufferLog.clear();
    }
    // The texts of the lines written since SetUp, without stamp and tabs.
    static std::vector<std::string> Righe() { return TestiRigheLog(BufferLog); }
    static bool HaRiga(const std::string& testo) {
        for (const std::string& r : Righe())
            if (r == testo) return true;
        return false;
    }
    static bool HaRigaCheInizia(const std::string& inizio) {
        for (const std::string& r : Righe())
            if (r.rfind(inizio, 0) == 0) return true;
        return false;
    }
    // Exactly one error line with this text, also left in UltimoErrore.
    static void UnErrore(const std::string& testo) {
        EXPECT_EQ(NumErroriLog, 1);
        EXPECT_EQ(Righe(), std::vector<std::string>{testo});
        EXPECT_EQ(UltimoErrore, testo);
    }
    static void NessunErrore() {
        EXPECT_EQ(NumErroriLog, 0);
        EXPECT_EQ(BufferLog, "");
    }
};

// Plain lines are kept too, not only error lines: the log is on and a still
// clock keeps every line in the buffer.
class ConRigheLogTenute : public ConRigheLog {
protected:
    void SetUp() override {
        ConRigheLog::SetUp();
        ClockUseManual(true, 1000);
        LogAbilitato = true;
        TickUltimaScritturaLog = ClockTick();
    }
    void TearDown() override {
        LogAbilitato = false;
        ClockUseManual(false);
        ConRigheLog::TearDown();
    }
};
