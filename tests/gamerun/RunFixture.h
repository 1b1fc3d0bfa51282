#pragma once
// A run's surroundings for unit tests: a store folder of its own, the log
// kept in memory (manual clock: it is never flushed), no message boxes.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "core/MediaConfig.h"
#include "core/MediaLog.h"
#include "gamerun/RunState.h"
#include "platform/Clock.h"
#include "tests/support/TestFolders.h"

class ProvaRun : public testing::Test {
protected:
    void SetUp() override {
        ClockUseManual(true, 1000);
        AzzeraStatoRun();
        ProcessoGioco.hProcess = reinterpret_cast<void*>(1);
        PercorsoStore = store.Percorso();
        CartellaTrle = store.Percorso();
        // As a run's start does: the configuration lies in the game folder.
        HeaderMcf = MediaConfigHeader{};
        HeaderMcf.CartellaMcf = CartellaTrle;
        LogAbilitato = true;
        InitMediaLog();
    }
    void TearDown() override {
        ProcessoGioco.hProcess = nullptr;
        LogAbilitato = false;
        BufferLog.clear();
        ClockUseManual(false);
    }

    // Forgets the lines logged so far, written or not.
    static void AzzeraLog() {
        BufferLog.clear();
        DeleteFileA(PercorsoFileLog.c_str());
    }
    // The texts of the log's lines, without stamps and indentation.
    static std::vector<std::string> RigheLog() {
        std::vector<std::string> righe;
        const std::string s = LeggiFileProva(PercorsoFileLog) + BufferLog;
        size_t i = 0;
        while (i < s.size()) {
            size_t fine = s.find("\r\n", i);
            if (fine == std::string::npos) fine = s.size();
            std::string riga = s.substr(i, fine - i);
            const size_t sep = riga.find(":  ");
            if (sep != std::string::npos) riga = riga.substr(sep + 3);
            riga.erase(0, riga.find_first_not_of('\t'));
            righe.push_back(riga);
            i = fine + 2;
        }
        return righe;
    }
    static bool HaRiga(const std::string& testo) {
        for (const std::string& r : RigheLog())
            if (r == testo) return true;
        return false;
    }
    static bool HaRigaCheInizia(const std::string& inizio) {
        for (const std::string& r : RigheLog())
            if (r.rfind(inizio, 0) == 0) return true;
        return false;
    }

    CartellaProva store{"store"};
};
