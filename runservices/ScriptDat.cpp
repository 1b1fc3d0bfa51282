#include "runservices/ScriptDat.h"

#include "core/FileUtils.h"
#include "core/MediaLog.h"
#include "core/SystemUtils.h"
#include "core/TextUtils.h"
#include "runservices/RunState.h"
#include "runservices/ScriptDatFile.h"

std::string PercorsoScriptDat() { return Trim(CartellaTrle) + "\\script.dat"; }

std::vector<std::string> LeggiScriptDat(int32_t& numero) {
    numero = 0;
    const std::string percorso = PercorsoScriptDat();
    if (!EsisteFile(percorso)) {
        RigaErrore("ERROR missing script.dat file in : " + percorso);
        return {};
    }
    std::string dati;
    if (!LeggiFileIntero(percorso, dati)) {
        RigaErrore("ERROR reading script.dat file in : " + percorso);
        return {};
    }
    std::vector<std::string> percorsi;
    std::string motivo;
    if (!PercorsiScriptDat(dati, percorsi, motivo)) {
        RigaErrore("ERROR damaged script.dat file in : " + percorso + ": " + motivo);
        return {};
    }
    for (std::string& p : percorsi) p = Trim(CartellaTrle) + "\\" + p + ".tr4";
    numero = static_cast<int32_t>(percorsi.size());
    return percorsi;
}

std::string PercorsoFileTr4(int32_t livello) {
    if (livello >= 0 && livello < NumLivelli && livello < static_cast<int32_t>(FileLivelli.size()))
        return FileLivelli[static_cast<size_t>(livello)];
    StampaLog("WARNING: not valid level number in PercorsoFileTr4(): " + std::to_string(livello));
    return "";
}

int32_t CercaCdTitolo() {
    const std::string percorso = PercorsoScriptDat();
    if (!EsisteFile(percorso)) {
        StampaLog("ERROR: non found script.dat in : " + percorso, true);
        return -1;
    }
    std::string dati;
    std::string motivo;
    int32_t cd = -1;
    if (!LeggiFileIntero(percorso, dati))
        motivo = "the file cannot be read";
    else
        cd = CdTitoloScriptDat(dati, motivo);
    if (cd < 0) StampaLog("ERROR: searching title cd in: " + percorso + ": " + motivo, true);
    return cd;
}

int32_t ComputeCheckSumScriptDat(bool& errore) {
    errore = false;
    const std::string percorso = PercorsoScriptDat();
    if (!EsisteFile(percorso)) {
        Messaggio("ERROR: not found script.dat file in: " + percorso, StileErroreCritico);
        errore = true;
        return 0;
    }
    std::string dati;
    int32_t checksum = 0;
    if (!LeggiFileIntero(percorso, dati)) {
        StampaLog("ERROR: in ComputeCheckSumScriptDat(): the file cannot be read: " + percorso, true);
        errore = true;
    } else if (!ChecksumScriptDat(dati, checksum)) {
        StampaLog("ERROR: in ComputeCheckSumScriptDat(): the file is empty: " + percorso, true);
        errore = true;
    }
    return checksum;
}
