#pragma once
// The log of a test on the test clock, and every line of it so far, also
// when the clock runs past the log's write interval: what reached the file
// and what the buffer still holds.
#include <string>
#include <vector>

#include "core/MediaLog.h"
#include "core/SharedState.h"
#include "platform/Clock.h"
#include "tests/support/LogText.h"
#include "tests/support/TestFolders.h"

// The log on, in a store folder of its own, on a still test clock; a
// running game keeps error lines from raising a box. All undone at its end.
class LogDiProva {
public:
    LogDiProva() {
        ProcessoGioco.hProcess = reinterpret_cast<void*>(1);
        PercorsoStore = store_.Percorso();
        ClockUseManual(true, 1000);
        LogAbilitato = true;
        InitMediaLog();
        NumErroriLog = 0;
    }
    ~LogDiProva() {
        LogAbilitato = false;
        BufferLog.clear();
        ClockUseManual(false);
        PercorsoStore.clear();
        ProcessoGioco.hProcess = nullptr;
    }
    LogDiProva(const LogDiProva&) = delete;
    LogDiProva& operator=(const LogDiProva&) = delete;
    const CartellaProva& Store() const { return store_; }

private:
    CartellaProva store_;
};

inline std::vector<std::string> RigheLogFinora() {
    const std::string scritto = PercorsoFileLog.empty() ? std::string() : LeggiFileProva(PercorsoFileLog);
    return TestiRigheLog(scritto + BufferLog);
}

inline size_t VolteRigaLog(const std::string& testo) {
    size_t volte = 0;
    for (const std::string& r : RigheLogFinora()) volte += r == testo;
    return volte;
}
