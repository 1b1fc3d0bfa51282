#include "runservices/LoadingState.h"

#include "core/FileUtils.h"
#include "core/MediaLog.h"
#include "core/PathNames.h"
#include "runservices/LoggerClient.h"
#include "runservices/RunState.h"
#include "runservices/ScriptDat.h"
#include "runservices/RunHooks.h"

bool AttesaCaricamentoGioco = false;
bool AttesaFineCaricamentoGioco = false;

bool ControllaCaricamentoLivello(int32_t livello) {
    Ganci.RilevaTrucchi();
    if (!IsFileOccupato(livello, FileLivello, false)) return false;
    LivelloInCaricamento(livello);
    return true;
}

void LivelloInCaricamento(int32_t livello) {
    const int32_t precedente = LivelloCorrente;
    CdCorrente = -1;
    TastoAzioneCorrente = 0;
    LivelloCorrente = livello;
    if (LogAbilitato)
        StampaLog("Loading level " + std::to_string(livello) + ": \"" + NomeFileDaPercorso(PercorsoFileTr4(livello)) +
                  "\" in progress");
    if (livello != 0) LivelloPrecedente = livello;
    if (livello != precedente) {
        Ganci.ControllaStopSalvataggio();
        Ganci.ImpostaGuardian();
    }
}

bool IsLoadingMode() {
    if (LoggerAttivo()) {
        LeggiLogger();
        if (!HaFase(StrutturaLogger.Fasi, LoggerFase::LoadingLevel)) return false;
        if (StrutturaLogger.Livello != -1) ControllaCaricamentoLivello(StrutturaLogger.Livello);
        return true;
    }
    for (int32_t livello = 0; livello < NumLivelli; ++livello)
        if (ControllaCaricamentoLivello(livello)) return true;
    return false;
}
