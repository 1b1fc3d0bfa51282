#include "gamerun/ScriptDat.h"

#include "core/MediaLog.h"
#include "gamerun/RunState.h"

std::string PercorsoFileTr4(int32_t livello) {
    if (livello >= 0 && livello < NumLivelli && livello < static_cast<int32_t>(FileLivelli.size()))
        return FileLivelli[static_cast<size_t>(livello)];
    StampaLog("WARNING: not valid level number in PercorsoFileTr4(): " + std::to_string(livello));
    return "";
}
