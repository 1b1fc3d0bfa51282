#include "input/MediaSequence.h"

#include "core/FileUtils.h"
#include "core/MediaLog.h"
#include "core/ModuleInit.h"
#include "core/SharedState.h"
#include "core/SystemUtils.h"
#include "runservices/Desktop.h"
#include "runservices/DisplayModes.h"
#include "runservices/GameWindow.h"
#include "runservices/GameFocus.h"
#include "platform/Forms.h"
#include "input/GameOperation.h"
#include "input/KeyboardRoutines.h"
#include "savegames/SavegameBackup.h"
#include "savegames/SavegameCache.h"

namespace {

void AzzeraSequenza() {
    LivelloAnnidamento = 0;
    RequisitiSequenza = 0;
    StatoSequenza = 0;
}

}  // namespace

void InitGlobalSequence() {
    StampaLog("InitGlobalSequence()");
    CambiaTabulatoreLog(1);
    if (LivelloAnnidamento == 0) {
        AzzeraSequenza();
        if (!ConservaCatture && EsisteFile(FileCatturaSchermo)) CancellaFile(FileCatturaSchermo);
        StampaLog("Initialized global sequence");
    } else {
        StampaLog("Media sequence in progress: no init");
    }
    CambiaTabulatoreLog(-1);
}

bool EndGlobalSequence() {
    StampaLog("EndGlobalSequence()");
    CambiaTabulatoreLog(1);
    bool risultato = true;
    // The one bit says both "loaded" and "cancelled": either way no load is due.
    if (HaBit(RequisitiSequenza, RichiedeCaricamentoFinale) && !HaBit(StatoSequenza, CaricamentoAnnullato)) {
        if (HaBit(RequisitiSequenza, RichiedeNormalizzazione) && !SistemaNT) NormalizzaSavegames();
        if (HaBit(RequisitiSequenza, RichiedeSchermoNascosto)) {
            if (!HaBit(StatoSequenza, MonitorSpento)) {
                SpegniMonitor();
            } else if (!IsModoFinestra() && !SistemaNT) {
                StampaLog("Require other hide screen for exclusive video mode in windows98/me");
                ImpostaMonitorPower(2);
                AttendiSecondi(1, true);
            }
        }
        StampaLog("Load last savegame");
        SospendiInputUtente();
        CambiaTabulatoreLog(1);
        const bool caricato = CaricaUltimoSavegame();
        CambiaTabulatoreLog(-1);
        AbilitaInputUtente();
        if (!caricato) {
            RigaErrore("ERROR: forcing load last savegame failed");
            risultato = false;
            if (HaBit(RequisitiSequenza, RichiedeAbortSuErrore)) AvvisoAbortSuErrore();
        } else {
            StampaLog("Load last savegame: ok");
        }
        ImpostaBit(StatoSequenza, CaricamentoAnnullato);
    }
    if (HaBit(StatoSequenza, SavegameNormalizzati)) RimuoviSavegameNormalizzati();
    if (HaBit(StatoSequenza, RipristinaBackupSavegame)) {
        RipristinaSavegames();
        TogliBit(StatoSequenza, RipristinaBackupSavegame);
    }
    if (HaBit(StatoSequenza, MonitorSpento)) {
        AccendiMonitor(false);
        if (!IsModoFinestra() && !HaBit(StatoSequenza, CaricamentoAnnullato)) {
            StampaLog("Missing 'load savegame' perform long operation to refresh tomb raider screen");
            SospendiTomb();
            DoEvents();
            AttendiDecimi(1, true);
            RiattivaTomb();
        }
    }
    AbilitaInputUtente();
    AzzeraSequenza();
    AttendiDecimi(1, true);
    DoEvents();
    AllineaFinestraTomb(false);
    CambiaTabulatoreLog(-1);
    return risultato;
}

void AvvisoAbortSuErrore() {
    if (HaBit(StatoGioco, AbortSuErrore)) return;
    StampaLog("WARNING, current media requires 'abort on failure'");
    ChiudiGioco();
    ImpostaBit(StatoGioco, AbortSuErrore);
}
