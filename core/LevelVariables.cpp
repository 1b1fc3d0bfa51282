#include "core/LevelVariables.h"

#include "core/FileUtils.h"
#include "core/MediaLog.h"
#include "gamerun/RunState.h"

void LivelloInCaricamento(int32_t livello) {
    CdCorrente = -1;
    TastoAzioneCorrente = 0;
    LivelloCorrente = livello;
    if (LogAbilitato) {
        const std::string file = livello >= 0 && livello < static_cast<int32_t>(FileLivelli.size())
                                     ? NomeFileDaPercorso(FileLivelli[livello])
                                     : std::string();
        StampaLog("Loading level " + std::to_string(livello) + ": \"" + file + "\" in progress");
    }
    if (livello != 0) LivelloPrecedente = livello;
}
