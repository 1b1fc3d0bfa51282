#pragma once
// Every line of the log so far, for tests whose clock runs past the log's
// write interval: what reached the file and what the buffer still holds.
#include <string>
#include <vector>

#include "core/MediaLog.h"
#include "tests/support/LogText.h"
#include "tests/support/TestFolders.h"

inline std::vector<std::string> RigheLogFinora() {
    const std::string scritto = PercorsoFileLog.empty() ? std::string() : LeggiFileProva(PercorsoFileLog);
    return TestiRigheLog(scritto + BufferLog);
}

inline size_t VolteRigaLog(const std::string& testo) {
    size_t volte = 0;
    for (const std::string& r : RigheLogFinora()) volte += r == testo;
    return volte;
}
