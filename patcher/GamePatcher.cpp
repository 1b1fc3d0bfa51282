#include "patcher/GamePatcher.h"

#include <algorithm>

#include "core/FileUtils.h"
#include "core/MediaConfig.h"
#include "core/MediaLog.h"
#include "core/PathNames.h"
#include "core/SharedState.h"
#include "core/TextUtils.h"
#include "runservices/LoggerClient.h"
#include "runservices/RunState.h"
#include "patcher/PatchFiles.h"
#include "patcher/PatchSets.h"

std::vector<std::string> PatchUtente;
int32_t NumPatchUtente = 0;
std::vector<std::string> FirmaPatchUtente;

namespace {

std::string EseguibileGioco() { return Trim(CartellaTrle) + "\\tomb4.exe"; }

}  // namespace

int32_t ApplicaFastPatchUE(const std::string& percorso, bool rimuovi) {
    return ApplicaSetPatch(percorso, RecordSet(SetPatch::FastPatchUE), rimuovi);
}
int32_t ApplicaFastPatchLEInt4(const std::string& percorso, bool rimuovi) {
    return ApplicaSetPatch(percorso, RecordSet(SetPatch::FastPatchLEInt4), rimuovi);
}
int32_t PatchMappaturaUK(const std::string& percorso, bool rimuovi) {
    return ApplicaSetPatch(percorso, RecordSet(SetPatch::MappaturaUK), rimuovi);
}
int32_t PatchMappaturaInt4(const std::string& percorso, bool rimuovi) {
    return ApplicaSetPatch(percorso, RecordSet(SetPatch::MappaturaInt4), rimuovi);
}
int32_t PatchCaricamentoUK(const std::string& percorso, bool rimuovi) {
    return ApplicaSetPatch(percorso, RecordSet(SetPatch::CaricamentoUK), rimuovi);
}
int32_t PatchCaricamentoInt4(const std::string& percorso, bool rimuovi) {
    return ApplicaSetPatch(percorso, RecordSet(SetPatch::CaricamentoInt4), rimuovi);
}
int32_t PatchAltEnterV1(const std::string& percorso, bool rimuovi) {
    return ApplicaSetPatch(percorso, RecordSet(SetPatch::AltEnterV1), rimuovi);
}
int32_t PatchAltEnterV2(const std::string& percorso, bool rimuovi) {
    return ApplicaSetPatch(percorso, RecordSet(SetPatch::AltEnterV2), rimuovi);
}

void PatchTomb4(const std::string& firma) {
    const std::string gioco = EseguibileGioco();

    if (!HaOpzione(OpzioniGioco, OpzioneHeader::NoFastPatch)) {
        StampaLog("Check for fast patch on: " + gioco);
        CambiaTabulatoreLog(1);
        int32_t esito = ApplicaFastPatchUE(gioco, false);
        if (esito == NonRiconosciuta) {
            StampaLog("WARNING: failed fast loading patch (UE): try with fast loading LE_Int4");
            esito = ApplicaFastPatchLEInt4(gioco, false);
            if (esito == NonRiconosciuta && LogAbilitato)
                StampaLog("WARNING: It's not possible apply fast patch to current version of tomb4.exe You tomb4 exe "
                          "will be too slow in loading level phase. (I cann't recognize byte patterns: no operation "
                          "performed, please substitute your tomb4.exe using 'LE_UK standard' version of tomb4 )",
                          HaBit(StatoGioco, PrimaEsecuzione) && SistemaNT);
        }
        if (esito == Applicata) StampaLog("Fast patch set: ok");
        else if (esito == GiaApplicata) StampaLog("Tomb4 was already patched");
        else StampaLog("WARNING: failed to set fast loading patch");
        CambiaTabulatoreLog(-1);
    }

    if (PatchMappaturaUK(gioco, false) == NonRiconosciuta) {
        StampaLog("Failed patch for bug mapping file with LE_UK version. Try with LE_INT4 version patch");
        if (PatchMappaturaInt4(gioco, false) == NonRiconosciuta) {
            StampaLog("WARNING: Failed patch to remove bug in close mapping file");
            if (SistemaNT) {
                StampaLog("WARNING: detected XP: disable logger");
                DisabilitaLogger();
            }
        }
    }

    int32_t esito = PatchCaricamentoUK(gioco, false);
    if (esito == NonRiconosciuta) {
        StampaLog("Failed pach for bug loading game with LE_UK version. Try with LE_INT4 version");
        esito = PatchCaricamentoInt4(gioco, false);
    }
    if (esito == NonRiconosciuta) {
        StampaLog("WARNING: Failed to patch loading game");
    } else {
        StampaLog("Ok patch for loading bug");
        ImpostaBit(StatoGioco, PatchLoadingBugApplicata);
    }

    esito = PatchAltEnterV1(gioco, false);
    if (esito == NonRiconosciuta) esito = PatchAltEnterV2(gioco, false);
    if (esito == NonRiconosciuta) StampaLog("WARNING: Failed to patch Alt_Enter sequence");
    else ImpostaBit(StatoGioco, PatchAltEnterApplicata);

    int32_t conteggio = 0;
    const std::vector<std::string> patch = ElencoFile(Trim(PercorsoStore), "*.ptc", conteggio);
    PatchUtente.clear();
    FirmaPatchUtente.clear();
    NumPatchUtente = 0;
    std::string firmaCorrente = firma;
    for (const std::string& file : patch) {
        const std::string nome = NomeFileDaPercorso(file);
        const int32_t risultato = ApplicaPatch(file, gioco, false, firmaCorrente);
        if (risultato == NonRiconosciuta) {
            StampaLog("WARNING: Cann't apply user patch: " + nome);
            continue;
        }
        StampaLog((risultato == GiaApplicata ? "Tomb4 was already patched for user patch: " : "Applied user patch: ") +
                  nome);
        PatchUtente.push_back(file);
        FirmaPatchUtente.push_back(firmaCorrente);
        ++NumPatchUtente;
    }
}

void RimuoviPatchUtente() {
    const std::string eseguibile = EseguibileGioco();
    // The last applied first: a later patch may lie over bytes of an earlier one.
    const int32_t n = std::min(NumPatchUtente, static_cast<int32_t>(PatchUtente.size()));
    for (int32_t i = n - 1; i >= 0; --i) {
        const std::string& patch = PatchUtente[static_cast<size_t>(i)];
        const std::string nome = NomeFileDaPercorso(patch);
        StampaLog("Remove user patch: " + nome);
        std::string firma = static_cast<size_t>(i) < FirmaPatchUtente.size() ? FirmaPatchUtente[static_cast<size_t>(i)]
                                                                             : std::string();
        if (ApplicaPatch(patch, eseguibile, true, firma) == NonRiconosciuta)
            StampaLog("ERROR: Cann't remove user patch: " + nome, true);
    }
    NumPatchUtente = 0;
    PatchUtente.clear();
    FirmaPatchUtente.clear();
}
