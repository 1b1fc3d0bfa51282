#pragma once
// Error lines caught in the log's buffer, without a message box: a running
// game keeps StampaLog from raising one and the log stays off, so nothing
// is written to a file.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/MediaLog.h"
#include "core/MediaTrigger.h"
#include "gamerun/RunState.h"

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
    static std::vector<std::string> Righe() {
        std::vector<std::string> righe;
        size_t i = 0;
        while (i < BufferLog.size()) {
            size_t fine = BufferLog.find("\r\n", i);
            if (fine == std::string::npos) fine = BufferLog.size();
            std::string riga = BufferLog.substr(i, fine - i);
            const size_t sep = riga.find(":  ");
            if (sep != std::string::npos) riga = riga.substr(sep + 3);
            riga.erase(0, riga.find_first_not_of('\t'));
            righe.push_back(riga);
            i = fine + 2;
        }
        return righe;
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
