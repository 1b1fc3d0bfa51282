#include "core/MediaExtraction.h"

#include "core/FileUtils.h"
#include "core/MediaLog.h"
#include "gamerun/RunState.h"

std::string EstraiFileMedia(const std::string& nomeFile, bool& temporaneo, bool conserva, bool silenzioso) {
    temporaneo = false;
    if (nomeFile.find(":\\") != std::string::npos) {
        if (EsisteFile(nomeFile)) return nomeFile;
        if (!silenzioso) StampaLog("ERROR: Not found file: " + nomeFile, true);
        return "";
    }
    const std::string percorso = PercorsoStore + "\\" + NomeFileDaPercorso(nomeFile);
    if (EsisteFile(percorso)) return percorso;
    if (!silenzioso) StampaLog("ERROR: not found file: " + nomeFile, true);
    return "";
}
