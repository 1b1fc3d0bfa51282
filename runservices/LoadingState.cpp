#include "runservices/LoadingState.h"

#include "core/FileUtils.h"
#include "core/MediaLog.h"
#include "core/PathNames.h"
#include "runservices/RunState.h"
#include "runservices/ScriptDat.h"
#include "input/Guardian.h"

bool AttesaCaricamentoGioco = false;
bool AttesaFineCaricamentoGioco = false;

bool ControllaCaricamentoLivello(int32_t livello) {
    RilevaTrucchi();
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
        ControllaStopSalvataggio();
        ImpostaGuardian();
    }
}
