#include "gamerun/EndGame.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <exception>
#include <string>

#include "core/FileUtils.h"
#include "core/LevelVariables.h"
#include "core/MediaConfig.h"
#include "core/MediaLog.h"
#include "core/ModuleInit.h"
#include "core/PathNames.h"
#include "core/SystemUtils.h"
#include "core/TextUtils.h"
#include "gamerun/CdTracking.h"
#include "runservices/Desktop.h"
#include "runservices/DisplayModes.h"
#include "runservices/GameWindow.h"
#include "runservices/LoggerClient.h"
#include "runservices/RunState.h"
#include "gamerun/TimerTick.h"
#include "runservices/TombSettings.h"
#include "runservices/KeyboardHook.h"
#include "media/AlertMedia.h"
#include "media/EmailMedia.h"
#include "media/MovieChecks.h"
#include "patcher/GamePatcher.h"
#include "patcher/PatchFiles.h"
#include "platform/Forms.h"
#include "input/KeyMacros.h"
#include "savegames/SavegameBackup.h"
#include "savegames/SavegameCache.h"

namespace {

// Runs one step; a run-time error inside it is logged under <routine> and
// the caller's steps go on. False when the step failed so.
template <class Passo>
bool EseguiPasso(const char* routine, bool scriviErrore, Passo&& passo) {
    const int32_t tab = LivelloTab;
    std::string descrizione;
    try {
        passo();
        return true;
    } catch (const std::exception& e) {
        descrizione = e.what();
    } catch (...) {
        descrizione = "unknown run-time error";
    }
    LivelloTab = tab;
    if (scriviErrore) {
        // The log itself may be what failed: the line is a best effort.
        try {
            StampaLog(std::string("ERROR in ") + routine + "() : " + descrizione, true);
        } catch (...) {
        }
    }
    return false;
}

bool GiocoInEsecuzione() {
    return ProcessoGioco.hProcess != nullptr &&
           WaitForSingleObject(static_cast<HANDLE>(ProcessoGioco.hProcess), 0) == WAIT_TIMEOUT;
}

// The saved settings go back to the registry whenever it may differ from
// them; Old_Settings.trg goes only once they are back, so that a failed
// write leaves the next run the settings of before, and only when this run
// wrote its own copy: a start that stopped before keeps a crash's copy.
void RipristinaImpostazioniTomb() {
    const bool riscrivi = HaBit(ModificheAvvio, ImpostazioniCambiate) || ImpostazioniDaOldSettings;
    bool ripristinate = true;
    if (riscrivi) {
        StampaLog("Restore previous tomb raider level editor settings");
        CambiaTabulatoreLog(1);
        ripristinate = ScriviSettingsTomb(ImpostazioniTombSalvate, false);
        CambiaTabulatoreLog(-1);
        if (!ripristinate) {
            StampaLog("ERROR restoring previous tomb raider settings in windows registry", true);
            StampaLog("WARNING: kept Old_Settings.trg: the next run restores the settings from it");
        }
    }
    if (ripristinate && OldSettingsDiQuestaRun) CancellaOldSettings();
    // Tried once: a kept file is the next run's to read.
    ImpostazioniDaOldSettings = false;
    OldSettingsDiQuestaRun = false;
}

void ChiudiConnessioneLogger() {
    StampaLog("Send message to get flush of log buffer of Scrivane");
    InviaComandoLogger(CmdWriteLog, 0);
    ChiudiLogger();
    TogliBit(ModificheAvvio, FlagSuoniLogger);
}

void RilasciaVistaLogger() {
    StampaLog("Unmap view of map file 0x" + Esadecimale(static_cast<uint32_t>(reinterpret_cast<uintptr_t>(ViewLogger))));
    int32_t distrutte = 0;
    while (UnmapViewOfFile(ViewLogger)) ++distrutte;
    StampaLog("UnmapViewOfFile(): destroyed " + std::to_string(distrutte) + " views of media map file");
    ViewLogger = nullptr;
}

void ChiudiMappaLogger() {
    StampaLog("Close map file");
    if (!CloseHandle(static_cast<HANDLE>(hMapLogger)))
        StampaLog("WARNING: error calling CloseHandle() with handle of map file");
    hMapLogger = nullptr;
}

bool SalvaConfigurazioneFinale() {
    StampaLog("Removing working flags from media configuration file");
    RimuoviFlagWorking();
    RipristinaMovieDisabilitati();
    // A time kept for a resume belongs to this run's savegames only.
    CancellaTuttiSospesi();
    std::string percorso = HeaderMcf.CartellaMcf + "\\media.mcf";
    StampaLog("Save media configuration file in: " + percorso);
    if (SalvaMediaConfig(percorso)) return true;
    StampaLog("ERROR saving media configuration file in: " + percorso, true);
    return false;
}

void SalvaVariabiliLivello() {
    StampaLog("Save variable values");
    // Out of the special-media phase the variables go to their files.
    TogliBit(ModificheAvvio, FaseSpecialMedia);
    CambiaTabulatoreLog(1);
    SalvaVariabile(IdVariabileA, VarA);
    SalvaVariabile(IdVariabileB, VarB);
    SalvaVariabile(IdVariabileC, VarC);
    SalvaVariabile(IdVariabileD, VarD);
    SalvaVariabile(IdUltimoInput, VarLastInput);
    CambiaTabulatoreLog(-1);
}

}  // namespace

bool FineRunInSospeso() {
    return HaBit(ModificheAvvio, GiocoConfigurato) || (ModificheAvvio & ModificheDaRipristinare) != 0 ||
           ImpostazioniDaOldSettings;
}

bool EndMediaMcf() {
    bool esito = true;
    // Each step stands alone: an error in one leaves the others to give
    // back what they recorded.
    auto passo = [&esito](auto&& azione) {
        if (!EseguiPasso("EndMediaMcf", true, azione)) esito = false;
    };
    passo([] {
        if (!HaBit(ModificheAvvio, RisoluzioneCambiata)) return;
        StampaLog("Restore previous screen resolution");
        RipristinaModoVideo();
        DoEvents();
        AttendiSecondi(1, true);
        SchermoX = SchermoOrigX;
        SchermoY = SchermoOrigY;
    });
    passo(RipristinaImpostazioniTomb);
    passo([] {
        if (!HaBit(ModificheAvvio, SchermoNeroMostrato)) return;
        StampaLog("Remove Blank Screen");
        NascondiBackCover();
        DoEvents();
    });
    passo([] {
        if (!HaBit(ModificheAvvio, TaskBarNascosta)) return;
        StampaLog("Show Task Bar");
        MostraTaskBar();
        DoEvents();
    });
    passo([] {
        if (!HaBit(ModificheAvvio, CoverMostrata)) return;
        StampaLog("Remove Cover Screen");
        ChiudiCover();
        DoEvents();
    });
    passo([] {
        if (!HaBit(ModificheAvvio, DriverTastiCaricato)) return;
        StampaLog("TerminateSendKeys()");
        TerminateSendKeys();
    });
    passo([] {
        if (!HaBit(ModificheAvvio, AnimazioniDisattivate)) return;
        StampaLog("Enable windows animations");
        RipristinaAnimazioni();
    });
    passo([] {
        StampaLog("Verify for Send Email trigger");
        CambiaTabulatoreLog(1);
        std::string errore;
        EseguiEmailFinale(errore);
        if (!errore.empty()) StampaLog("ERROR creating email for <SEND EMAIL> trigger: " + errore, true);
        CambiaTabulatoreLog(-1);
    });
    passo([] {
        if (FileCatturaSchermo.empty() || ConservaCatture || !EsisteFile(FileCatturaSchermo)) return;
        StampaLog("Delete captured image: " + FileCatturaSchermo);
        CancellaFile(FileCatturaSchermo);
    });
    passo([] {
        // Also one only suspended: the run's end must leave no trace of it.
        RimuoviHookTastiera();
    });
    passo([] {
        if (HaBit(ModificheAvvio, FlagSuoniLogger)) ChiudiConnessioneLogger();
    });
    passo([] {
        if (ViewLogger) RilasciaVistaLogger();
    });
    passo([] {
        if (hMapLogger) ChiudiMappaLogger();
    });
    passo([&esito] {
        if (IsVersione14() || HeaderMcf.TriggerCount == 0) return;
        if (!SalvaConfigurazioneFinale()) esito = false;
    });
    passo([] {
        if (HaBit(ModificheAvvio, MouseNascosto)) MostraMouse();
    });
    passo([] {
        if (!HaBit(StatoSequenza, RipristinaBackupSavegame)) return;
        RipristinaSavegames();
        TogliBit(StatoSequenza, RipristinaBackupSavegame);
    });
    passo([] { ScriviCacheSavegame(); });
    passo(RimuoviPatchUtente);
    passo([] {
        if (HeaderMcf.TriggerCount > 0) SalvaVariabiliLivello();
    });
    return esito;
}

namespace {
// The end runs once: a close that comes while its steps pump events finds it
// running.
bool FineInCorso = false;
}  // namespace

bool FineRunInCorso() { return FineInCorso; }

bool EndGameConfig() {
    if (FineInCorso) return true;
    FineInCorso = true;
    bool risultato = true;
    auto passo = [](auto&& azione) { EseguiPasso("EndGameConfig", false, azione); };
    passo(DisabilitaTimerPrincipale);
    passo([] {
        if (LoggerAttivo()) LeggiLogger();
    });
    passo([] {
        if (HaBit(ModificheAvvio, FlagSuoniLogger) && !FineGiocoSegnalata)
            StampaLog("WARNING: Tomb raider aborted (abnormal termination)");
    });
    passo([] {
        if (GiocoInEsecuzione()) ChiudiGioco();
        if (ProcessoGioco.hThread) CloseHandle(static_cast<HANDLE>(ProcessoGioco.hThread));
        ProcessoGioco.hThread = nullptr;
        ProcessoGioco.dwProcessId = 0;
        ProcessoGioco.dwThreadId = 0;
        FinestraGioco = nullptr;
    });
    passo(TerminaLoggerMuto);
    // A start closed before its triggers were active may already have
    // changed the desktop or the settings: what it recorded is given back.
    passo([&risultato] {
        if (HaBit(ModificheAvvio, MediaTriggerAttivi) || FineRunInSospeso()) risultato = EndMediaMcf();
    });
    passo([] {
        SchermoX = SchermoOrigX;
        SchermoY = SchermoOrigY;
        FuoriGioco = true;
        // Given back once: a later unload of the main window finds nothing to undo.
        TogliBit(ModificheAvvio, GiocoConfigurato | ModificheDaRipristinare);
    });
    passo([] {
        if (FineGiocoSegnalata) return;
        if (HaBit(StatoGioco, AbortSuErrore))
            Messaggio("Tomb Raider game has been terminated because a special effect has been disturbed by user",
                      StileOk);
        if (HaBit(StatoGioco, CambioVideoAltEnter))
            Messaggio("Tomb Raider program has been terminated because you changed video mode using keys: ALT+ENTER",
                      StileOk);
    });
    passo([] {
        if (!AvviatoConOpzioneS && HaBit(StatoGioco, ScreenshotCatturati))
            Messaggio("Remember that screenshots (captured game images) have been saved in folder: " +
                          Trim(CartellaTrle) + "\\Captured_Images\r\n\r\n(You can capture game screen using PRINT key)",
                      StileOk);
        TogliBit(StatoGioco, ScreenshotCatturati);
    });
    passo([] {
        if (LogAbilitato || ErroreLoggato) CopiaLogNumerato();
    });
    passo([] {
        if (LogAbilitato && NumErroriLog >= 1)
            Messaggio("WARNING: There are " + std::to_string(NumErroriLog) + " errors in log file: " + PercorsoCopiaLog,
                      StileErroreCritico);
    });
    passo([] {
        ChiudiProcessoLogger();
        LogAbilitato = LogFileRichiesto;
        ScriviBufferLog(true);
    });
    FineInCorso = false;
    return risultato;
}
