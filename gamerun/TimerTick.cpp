#include "gamerun/TimerTick.h"

#include <windows.h>

#include <algorithm>
#include <exception>
#include <string>
#include <vector>

#include "core/MediaConfig.h"
#include "core/MediaLog.h"
#include "core/MediaTrigger.h"
#include "core/PassaggioCondiviso.h"
#include "core/PathNames.h"
#include "core/FileUtils.h"
#include "core/LevelVariables.h"
#include "core/SystemUtils.h"
#include "eventlogger/LoggerProtocol.h"
#include "gamerun/CdTracking.h"
#include "runservices/DisplayModes.h"
#include "gamerun/EndGame.h"
#include "runservices/GameWindow.h"
#include "runservices/LoadingState.h"
#include "runservices/LoggerClient.h"
#include "gamerun/MediaDispatcher.h"
#include "gamerun/MediaPreparation.h"
#include "runservices/RunState.h"
#include "gamerun/Screenshots.h"
#include "runservices/Sounds.h"
#include "input/Guardian.h"
#include "media/WorkingMedia.h"
#include "platform/Clock.h"
#include "platform/Forms.h"
#include "input/KeyboardRoutines.h"
#include "input/MediaSequence.h"
#include "savegames/SavegameCache.h"
#include "savegames/SavegameFile.h"

namespace {

constexpr uint32_t RitardoMassimoTimer = 1001;
constexpr int32_t CicloTitoli = 100;
constexpr uint32_t LimiteSchermoNero = 1000;
constexpr int32_t EsitoTitoli = 2;

const char* VeroFalso(bool valore) { return valore ? "True" : "False"; }

// The file name of a level's file; "" for a level not in script.dat.
std::string NomeLivello(int32_t livello) {
    if (livello < 0 || livello >= NumLivelli || static_cast<size_t>(livello) >= FileLivelli.size()) return "";
    return NomeFileDaPercorso(FileLivelli[static_cast<size_t>(livello)]);
}

// First loading: until it has ended the pass goes no further. True when
// the pass goes on.
bool PrimoCaricamento() {
    if (FinestraGioco == nullptr) {
        if (LoggerAttivo() && !HaFase(StrutturaLogger.Fasi, LoggerFase::CreatedWindow)) return false;
        if (!CercaFinestraGioco()) return false;
    }
    if (LivelloCorrente < 0) {
        StampaLog("Check for start loading");
        IsLoadingMode();
        return false;
    }
    if (IsLoadingMode()) return false;
    StampaLog("Detected End loading");
    LeggiClientRectTomb();
    StampaLog("Client Rect: " + std::to_string(RettClientGioco.Left) + "," + std::to_string(RettClientGioco.Top) +
              " - " + std::to_string(RettClientGioco.Right) + "," + std::to_string(RettClientGioco.Bottom));
    if (IsModoFinestra()) {
        AllineaFinestraTomb(false);
        StampaLog("Restore swap task between cover and tomb");
        TogliBit(ModificheAvvio, SwapTaskBloccato);
    }
    AttesaCaricamentoIniziale = false;
    if (!LogFileRichiesto) StampaLog("Log file is not enabled. Break now log file");
    BufferLogCaricamento = BufferLog;
    ScriviBufferLog(true);
    LogAbilitato = LogFileRichiesto;
    if (!LogAbilitato) BufferLog.clear();
    TickFineCaricamento = ClockTick();
    return true;
}

// The title screen without the logger: wait for the next level's load.
void AttesaFaseTitoli() {
    StampaLog("Detected Title phase. Wait for start loading next level");
    CambiaTabulatoreLog(1);
    RipristinaPrioritaGioco(true);
    bool neroSegnato = false;
    uint32_t inizioNero = 0;
    do {
        SegnaTempo();
        AbilitaLogDaTastiera();
        if (IsLoadingMode()) {
            RiduciPrioritaGioco(true);
            ControllaStartCd();
        } else {
            VerificaRisoluzioneGioco();
            if (IsHdcValido()) {
                StampaLog("Black screen");
                if (!IsCdTitoliInCorso()) {
                    StampaLog("No title cd sound");
                    if (!neroSegnato) {
                        neroSegnato = true;
                        inizioNero = ClockTick();
                    } else if (ClockTick() - inizioNero >= LimiteSchermoNero) {
                        StampaLog("WARNING: time-out, too time with black screen and no cd title sound");
                        break;
                    }
                }
            }
        }
        StampaLog("Waiting ...");
        AttendiDaSegno(CicloTitoli);
        DoEvents();
        if (!RichiestaAbort()) break;
    } while (LivelloCorrente == 0);
    CambiaTabulatoreLog(-1);
    StampaLog("End waiting for loading");
}

// The CD track playing now without the logger: the one still held open, or
// the first of the configuration's tracks that is.
int32_t CdInCorsoSenzaLogger() {
    if (CdCorrente != -1 && IsFileOccupato(CdCorrente, FileTracciaCd, false)) return CdCorrente;
    for (int32_t i = 0; i < NumCdSuoni && static_cast<size_t>(i) < ListaCdSuoni.size(); ++i)
        if (IsFileOccupato(ListaCdSuoni[static_cast<size_t>(i)], FileTracciaCd, false))
            return ListaCdSuoni[static_cast<size_t>(i)];
    return -1;
}

// A title level whose title track is silent: the player is in a level the
// program missed; take the one played before.
void LivelloDaTitoloMuto() {
    StampaLog("WARNING: apparently we are in TITLE phase but the title cd is not playing");
    if (LivelloPrecedente < 1) {
        int32_t numero = 0;
        std::string descrizione;
        const std::string ultimo = UltimoSavegame(numero, descrizione);
        SavegameBin dati;
        if (!ultimo.empty() && LeggiSavegameCache(ultimo, dati)) {
            LivelloPrecedente = LeggiValore(dati, OffsetLivelloSavegame, 1);
            StampaLog("WARNING: missing 'previous_level'. Use as previous_level the level used in last savegame: " +
                      VerificaFileSavegame(ultimo));
        } else {
            StampaLog("WARNING: missing 'previous_level' and missing savegames in trle folder: set as current level "
                      "the first level: " + NomeLivello(1));
            LivelloPrecedente = 1;
        }
    }
    StampaLog("Force as current level the previous level: " + NomeLivello(LivelloPrecedente));
    LivelloCorrente = LivelloPrecedente;
}

void AbilitaAntiTrigger() {
    // The first record not bound to a track is visited too.
    const size_t fine = std::min(NumTriggerCd() + 1, NumTriggerCaricati());
    for (size_t i = 0; i < fine; ++i) {
        MediaTrigger& media = ListaMedia[i];
        if (HaBit(media.Options, Disabled) && HaBit(media.Options, AntiTrigger) &&
            IsFileOccupato(media.AntiTriggerCd, FileTracciaCd, false)) {
            TogliBit(media.Options, Disabled);
            TogliBit(media.Options, AlreadyShown);
            StampaLog("Detected anti-trigger for media code " + std::to_string(media.MediaCode) + ":  Enabled media");
        }
    }
}

// The triggers of the current track and level, in table order.
std::vector<int32_t> SelezioneTrigger() {
    std::vector<int32_t> scelti;
    const size_t fine = NumTriggerCd();
    for (size_t i = 0; i < fine; ++i) {
        const MediaTrigger& media = ListaMedia[i];
        if (HaBit(media.Options, Disabled) || HaBit(media.Options, AlreadyShown)) continue;
        if (media.TriggerCd != CdCorrente) continue;
        if (media.Level != QualsiasiLivello && media.Level != LivelloCorrente) continue;
        if (HaBit(media.Options, RequiresAction) && !TastoAzioneCorrente) continue;
        scelti.push_back(static_cast<int32_t>(i));
    }
    return scelti;
}

void EseguiTriggerScelti(const std::vector<int32_t>& scelti) {
    std::string codici;
    bool conAzione = false;
    for (int32_t indice : scelti) {
        const MediaTrigger& media = ListaMedia[static_cast<size_t>(indice)];
        if (!codici.empty()) codici += ", ";
        codici += std::to_string(media.MediaCode);
        conAzione = conAzione || HaBit(media.Options, RequiresAction);
    }
    StampaLog("EseguiListMedia() for media codes: " + codici);
    if (conAzione) {
        StampaLog("Sound for media with action");
        SuonaEffetto(0, false, false);
        StampaLog("Media required action: Wait silent keyboard");
        AttendiTastieraSilenziosa();
        StampaLog("Keyboard is silent");
    }
    CambiaTabulatoreLog(1);
    InitGlobalSequence();
    bool TestError = false;
    const bool esito = EseguiListaMedia(scelti, static_cast<int32_t>(scelti.size()), TestError);
    StampaLog(std::string("Exit from EseguiListaMedia() with value = ") + VeroFalso(esito) +
              "  TestError=" + VeroFalso(TestError));
    CambiaTabulatoreLog(-1);
}

void MediaWorking() {
    if (HaBit(StatoSequenza, StandByAttivo)) return;
    for (int32_t i = 0; i < NumMediaWorking && static_cast<size_t>(i) < ListaMediaWorking.size(); ++i) {
        const int32_t indice = ListaMediaWorking[static_cast<size_t>(i)];
        if (indice < 0 || static_cast<size_t>(indice) >= ListaMedia.size()) continue;
        MediaTrigger& media = ListaMedia[static_cast<size_t>(indice)];
        if (HaBit(media.Options, Disabled) ||
            (HaBit(media.Options, WhileCdSounds) && CdCorrente != media.TriggerCd)) {
            if (HaBit(media.Options, Working))
                StampaLog("Disabled Working flag for media code =" + std::to_string(media.MediaCode) +
                          " (Active mode: only WHILE cd track is sounding)");
            TogliBit(media.Options, Working);
        }
        if (HaBit(media.Options, Working)) {
            CambiaTabulatoreLog(1);
            bool BreakEscape = false;
            EseguiWorkingMedia(indice, BreakEscape);
            CambiaTabulatoreLog(-1);
        }
    }
}

void Passaggio() {
    DisabilitaTimerPrincipale();
    RiduciPrioritaGioco(false);
    const uint32_t adesso = ClockTick();
    if (TickUltimoTimer > 0 && adesso - static_cast<uint32_t>(TickUltimoTimer) >= RitardoMassimoTimer)
        StampaLog("WARNING: too high delay between timer calls: " +
                  std::to_string(adesso - static_cast<uint32_t>(TickUltimoTimer)) + " m.s.");
    LeggiLogger();

    if (AttesaCaricamentoIniziale && !PrimoCaricamento()) return;

    ControllaModoVideo();

    if (LoggerChiuso && RichiestaAbort()) {
        StampaLog("WARNING: Scrivane has been terminated. Close tomb raider");
        ChiudiGioco();
        return;
    }

    if (HeaderMcf.TriggerCount == 0 || !HaBit(ModificheAvvio, MediaTriggerAttivi)) return;
    bool interrotto = false;
    if (AnalisiGameProgress(interrotto, -1, false) == EsitoTitoli) {
        if (LoggerAttivo()) return;
        AttesaFaseTitoli();
    }

    std::string nessuno;
    CatturaImageClipboard(nessuno);
    LeggiLogger();

    TastoAzionePrecedente = TastoAzioneCorrente;
    TastoAzioneCorrente = TastoAzioneAttivo() ? -1 : 0;
    CdPrecedente = CdCorrente;
    CdCorrente = LoggerAttivo() ? GetActiveCDFromBuffer() : CdInCorsoSenzaLogger();
    bool cambiato = (TastoAzioneCorrente != 0) != (TastoAzionePrecedente != 0) || CdCorrente != CdPrecedente;
    if (cambiato && LogAbilitato)
        StampaLog("Current_Cd=" + std::to_string(CdCorrente) + " Current_Action=" + VeroFalso(TastoAzioneCorrente) +
                  "  Previous_Cd=" + std::to_string(CdPrecedente) +
                  "  Previous_Action=" + VeroFalso(TastoAzionePrecedente) +
                  "  Current_Level=" + NomeLivello(LivelloCorrente) +
                  "  Previous_Level=" + NomeLivello(LivelloPrecedente));
    if (LoggerAttivo()) {
        if (StrutturaLogger.Livello != -1 && StrutturaLogger.Livello != LivelloCorrente) {
            StampaLog("WARNING: level was wrong");
            LivelloInCaricamento(StrutturaLogger.Livello);
        }
    } else if (LivelloCorrente == 0 && CdCorrente != -1 && CdCorrente != CdTitoli) {
        LivelloDaTitoloMuto();
        cambiato = true;
    }

    if (CdCorrente == CdTitoli) {
        StampaLog("Title phase");
        return;
    }
    if (!cambiato) {
        for (int32_t i = 0; i < NumCdAlert && static_cast<size_t>(i) < ListaCdAlert.size(); ++i) {
            const CdLivello& alert = ListaCdAlert[static_cast<size_t>(i)];
            if (alert.Cd == CdCorrente && (alert.Livello == QualsiasiLivello || alert.Livello == LivelloCorrente)) {
                cambiato = true;
                StampaLog("Enable check media trigger because current cd is used for alert media");
                break;
            }
        }
    }
    AbilitaLogDaTastiera();
    if (cambiato && !HaBit(StatoGioco, NoInheritSave) && NumCdGuardian > 0 && MediaStopSave != -1 &&
        MediaStopSave != CdCorrente)
        ControllaStopSalvataggio();
    if (!HaBit(ModificheAvvio, NoAntiTrigger)) AbilitaAntiTrigger();
    if (cambiato) {
        FineTriggerCd(CdCorrente);
        if (CdCorrente != -1) {
            const std::vector<int32_t> scelti = SelezioneTrigger();
            if (!scelti.empty()) EseguiTriggerScelti(scelti);
        }
    }
    MediaWorking();
}

void FinePassaggio() {
    AbilitaTimerPrincipale();
    RipristinaPrioritaGioco(false);
    TickUltimoTimer = static_cast<int32_t>(ClockTick());
}

}  // namespace

void GestioneTriggerCD() {
    try {
        Passaggio();
    } catch (const std::exception& e) {
        StampaLog(std::string("ERROR in GestioneTriggerCD() abort game: ") + e.what(), true);
        ChiudiGioco();
    } catch (...) {
        StampaLog("ERROR in GestioneTriggerCD() abort game: unknown error", true);
        ChiudiGioco();
    }
    FinePassaggio();
}

bool ControllaFineGioco() {
    if (!TimerAbilitato) return false;
    {
        // The end of the run below shares nothing.
        PassaggioCondiviso passaggio;
        if (RichiestaAbort()) {
            GestioneTriggerCD();
            return false;
        }
    }
    StampaLog("Tomb Raider program is terminated");
    StampaLog("EndGameConfig()");
    CambiaTabulatoreLog(1);
    EndGameConfig();
    CambiaTabulatoreLog(-1);
    return true;
}

