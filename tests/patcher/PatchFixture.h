#pragma once
// A game folder for the patcher's tests: the run state it reads, the log
// kept in memory (manual clock: never flushed), its messages recorded
// instead of shown. Builds for the host as well.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/FileUtils.h"
#include "core/MediaLog.h"
#include "core/SharedState.h"
#include "runservices/RunState.h"
#include "patcher/GamePatcher.h"
#include "patcher/PatchFiles.h"
#include "platform/Clock.h"
#include "tests/support/LogText.h"
#include "tests/support/TestFolders.h"

class ProvaPatch : public testing::Test {
protected:
    void SetUp() override {
        ClockUseManual(true, 1000);
        // A game process: error lines raise no box.
        ProcessoGioco.hProcess = reinterpret_cast<void*>(1);
        StatoGioco = 0;
        OpzioniGioco = 0;
        sistemaNT = SistemaNT;
        SistemaNT = true;
        CartellaTrle = trle.Percorso();
        PercorsoStore = trle / "store";
        CreaCartella(PercorsoStore);
        LogAbilitato = true;
        InitMediaLog();
        avvisi.clear();
        AvvisoPatch = [](const std::string& testo) { avvisi.push_back(testo); };
        PatchUtente.clear();
        NumPatchUtente = 0;
    }
    void TearDown() override {
        AvvisoPatch = precedente;
        SistemaNT = sistemaNT;
        ProcessoGioco.hProcess = nullptr;
        LogAbilitato = false;
        BufferLog.clear();
        ClockUseManual(false);
    }
    static bool HaRiga(const std::string& testo) {
        for (const std::string& r : TestiRigheLog(BufferLog))
            if (r == testo) return true;
        return false;
    }
    std::string Gioco() const { return trle / "tomb4.exe"; }
    std::string Store(const std::string& nome) const { return PercorsoStore + "\\" + nome; }

    // One record of 4 bytes at 0x1000 of the synthetic game.
    static FilePatch Semplice(int32_t flag = 0) {
        FilePatch p;
        p.FlagPatch = flag;
        p.Record = {RecordPatch{0x1000, 4, std::string(4, '\0'), "new!"}};
        p.NumRecord = 1;
        return p;
    }

    static inline std::vector<std::string> avvisi;
    CartellaProva trle{"patch"};
    bool sistemaNT = false;
    void (*precedente)(const std::string&) = AvvisoPatch;
};
