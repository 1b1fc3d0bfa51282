#include "gamerun/CdTracking.h"

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/FileUtils.h"
#include "core/MediaConfig.h"
#include "core/MediaLog.h"
#include "core/MediaTrigger.h"
#include "core/PassaggioCondiviso.h"
#include "core/SystemUtils.h"
#include "eventlogger/LoggerProtocol.h"
#include "runservices/Desktop.h"
#include "runservices/GameWindow.h"
#include "gamerun/InventoryWatch.h"
#include "runservices/LoadingState.h"
#include "runservices/LoggerClient.h"
#include "gamerun/MediaPreparation.h"
#include "runservices/RunState.h"
#include "runservices/Sounds.h"
#include "input/CheatGuardian.h"
#include "media/AlertMedia.h"
#include "platform/Clock.h"
#include "input/KeyboardRoutines.h"
#include "savegames/SavegameCache.h"

namespace {

constexpr uint32_t CicloAttesa = 100;
constexpr uint32_t AttesaCdLivello = 500;
// A logger that announces no track for the new level must not hold the
// tick for ever: after this the level counts as one without a start track.
constexpr uint32_t AttesaCdLogger = 2000;
constexpr uint32_t AttesaCdAlert = 1000;

bool OpzioneHeaderAttiva(OpzioneHeader opzione) { return HaOpzione(HeaderMcf.HeaderOptions, opzione); }

bool TracciaInCorso(int32_t cd) { return IsFileOccupato(cd, FileTracciaCd, false); }

bool PerLivelloCorrente(int32_t livello) { return livello == QualsiasiLivello || livello == LivelloCorrente; }

// Our own mark: what runs inside a cycle may move the shared one.
void AttendiFinoA(uint32_t segno, uint32_t millisecondi) {
    const uint32_t passati = ClockTick() - segno;
    if (passati < millisecondi) ClockSleep(millisecondi - passati);
}

std::vector<int32_t> CandidatiCdLivello() {
    std::vector<int32_t> candidati;
    const size_t quanti = std::min(ListaCdTrigger.size(), static_cast<size_t>(std::max(NumCdTrigger, 0)));
    for (size_t i = 0; i < quanti; ++i) {
        const CdLivello& coppia = ListaCdTrigger[i];
        if (!PerLivelloCorrente(coppia.Livello)) continue;
        if (std::find(candidati.begin(), candidati.end(), coppia.Cd) != candidati.end()) continue;
        candidati.push_back(coppia.Cd);
        StampaLog("CD = " + std::to_string(coppia.Cd) + " for level: " + std::to_string(coppia.Livello));
    }
    return candidati;
}

// The logger names the level's first track by itself; wait for it.
void AttendiCdDalLogger() {
    const uint32_t inizio = ClockTick();
    while (CdAvvioLivello == -1 && LoggerAttivo() && RichiestaAbort()) {
        const uint32_t segno = ClockTick();
        LeggiLogger();
        if (CdAvvioLivello != -1) break;
        if (ClockTick() - inizio >= AttesaCdLogger) {
            StampaLog("WARNING: time-out waiting for start cd of loaded level from logger");
            break;
        }
        AttendiFinoA(segno, CicloAttesa);
    }
    if (!RichiestaAbort()) return;
    ImpostaSospeso(CdAvvioLivello);
}

// False when a further load started meanwhile: the caller starts over.
bool AttendiCdSenzaLogger() {
    StampaLog("Check for start of audio cd of new loaded level");
    AggiornaCacheSavegame(2000);
    StampaLog("Check for start sound of cdtracks: ");
    CambiaTabulatoreLog(1);
    const std::vector<int32_t> candidati = CandidatiCdLivello();
    CambiaTabulatoreLog(-1);

    const uint32_t inizio = ClockTick();
    for (;;) {
        const uint32_t segno = ClockTick();
        for (int32_t cd : candidati) {
            if (TracciaInCorso(cd)) {
                ImpostaSospeso(cd);
                return true;
            }
        }
        if (IsLoadingMode()) {
            StampaLog("WARNING: detected new loading phase while waiting for start cd of previous loading");
            return false;
        }
        if (ClockTick() - inizio >= AttesaCdLivello) {
            ImpostaSospeso(-1);
            return true;
        }
        AttendiFinoA(segno, CicloAttesa);
        if (!RichiestaAbort()) return true;
    }
}

// The answers that let the media go on, while a pass of the tick shares
// them (the tester mark is made on every look all the same).
struct Sguardo {
    int32_t cd;
    bool ignoraTitoli;
    TimbroCondiviso timbro;
};
std::vector<Sguardo> Sguardi;

Sguardo* SguardoDi(int32_t cd, bool ignoraTitoli) {
    for (Sguardo& s : Sguardi)
        if (s.cd == cd && s.ignoraTitoli == ignoraTitoli) return &s;
    return nullptr;
}

void SegnalaTester() {
    if (!TastiPremuti(VK_SHIFT, VK_F8)) return;
    if (SuoniLoggerUsabili()) {
        SuonaEffetto(2, true, false);
    } else {
        for (int32_t frequenza = 50; frequenza <= 500; frequenza += 50) EmettiTono(frequenza, 20);
    }
    StampaLog("WARNING: tester signals a BUG in this moment");
}

// Steps 3 to 8 of a look: what the game answers.
int32_t GuardaGioco(bool& BreakFlag, int32_t cd, bool IgnoraTitoli) {
    if (!RichiestaAbort()) {
        RimuoviFlagWorking();
        BreakFlag = true;
        return 4;
    }
    if (!IgnoraTitoli && IsCdTitoliInCorso()) {
        RimuoviFlagWorking();
        BreakFlag = true;
        return 2;
    }

    int32_t tempoInventario = 0;
    const bool tracciaInCorso = cd == -1 || TracciaInCorso(cd);
    if (!tracciaInCorso && !IsLoadingMode()) {
        StampaLog("Cd sound " + std::to_string(cd) + " terminated: abort current media");
        BreakFlag = true;
        return 3;
    }
    if (tracciaInCorso) {
        if (!OpzioneHeaderAttiva(OpzioneHeader::NoInventoryWatch)) tempoInventario = StopInventoryMode();
        if (!RilevaTrucchi()) {
            BreakFlag = true;
            return 4;
        }
    }

    if (!OpzioneHeaderAttiva(OpzioneHeader::NoLoadingCheck) && IsLoadingMode()) {
        ControllaStartCd();
        BreakFlag = true;
        return 1;
    }
    return tempoInventario;
}

}  // namespace

bool IsCdTitoliInCorso() {
    if (CdTitoli == -1 || OpzioneHeaderAttiva(OpzioneHeader::IgnoreStartCd)) return false;
    if (!TracciaInCorso(CdTitoli)) return false;
    LivelloCorrente = 0;
    return true;
}

int32_t AnalisiGameProgress(bool& BreakFlag, int32_t cd, bool IgnoraTitoli) {
    TogliBit(ModificheAvvio, TempoInventarioInCorso);
    BreakFlag = false;
    SegnalaTester();
    if (const Sguardo* condiviso = SguardoDi(cd, IgnoraTitoli); condiviso && CondivisoValido(condiviso->timbro))
        return 0;
    const int32_t esito = GuardaGioco(BreakFlag, cd, IgnoraTitoli);
    // A stop changes the game's answers; an inventory left meanwhile is not
    // the answer of a later look.
    if (BreakFlag) {
        DimenticaCondivisi();
    } else if (esito == 0 && !HaBit(ModificheAvvio, TempoInventarioInCorso) && CondivisioneAttiva()) {
        Sguardo* condiviso = SguardoDi(cd, IgnoraTitoli);
        if (!condiviso) {
            Sguardi.push_back({cd, IgnoraTitoli, {}});
            condiviso = &Sguardi.back();
        }
        condiviso->timbro = TimbraCondiviso();
    }
    return esito;
}

void ControllaStartCd() {
    for (;;) {
        if (HaBit(ModificheAvvio, AlertInCorso)) NascondiCover();
        RimuoviFlagWorking();
        StampaLog("Remove flags 'Already played' from all media triggers");
        const size_t triggerCd = NumTriggerCd();
        for (size_t i = 0; i < triggerCd; ++i) TogliBit(ListaMedia[i].Options, AlreadyShown);
        CdAvvioAlert = -1;

        AttendiCaricamentoLivello();
        if (!RichiestaAbort()) return;
        if (LivelloCorrente == 0) {
            StampaLog("Detected title loading: exit immediatly");
            AvviaCdAlert(CdTitoli);
            return;
        }
        if (LoggerAttivo()) {
            AttendiCdDalLogger();
            return;
        }
        if (AttendiCdSenzaLogger()) return;
    }
}

void ImpostaSospeso(int32_t cd) {
    StampaLog("Detected Start CD = " + std::to_string(cd));
    ImpostaMediaCdGiaMostrati(cd);
    AvviaCdAlert(cd);
    const size_t fine = NumTriggerCd();
    for (size_t i = 0; i < fine; ++i) {
        MediaTrigger& media = ListaMedia[i];
        if (!HaBit(media.Options, WhileCdSounds)) continue;
        StampaLog("Check for 'supended' status for media code = " + std::to_string(media.MediaCode));
        if (media.TriggerCd == cd && LeggiElapsedSospeso(static_cast<int32_t>(i)) >= 1) {
            StampaLog("Current trigger cd was in progress and previous suspended: set 'Suspended' flag");
            ImpostaBit(media.Options, Suspended);
        }
    }
}

void ImpostaMediaCdGiaMostrati(int32_t cd) {
    StampaLog("Set all media using cd trigger " + std::to_string(cd) +
              " in 'Wait end cd sound phase' except media with special activation 'while cd sounds'");
    CambiaTabulatoreLog(1);
    const size_t fine = NumTriggerCaricati();
    for (size_t i = 0; i < fine; ++i) {
        MediaTrigger& media = ListaMedia[i];
        if (media.TriggerCd != cd || media.TriggerCd == TriggerCdNessuno) continue;
        if (HaBit(media.Options, RequiresAction) || HaBit(media.Options, WhileCdSounds)) continue;
        ImpostaBit(media.Options, AlreadyShown);
        StampaLog("Set media code " + std::to_string(media.MediaCode) + " as 'Already Showed'");
    }
    CambiaTabulatoreLog(-1);
}

void RimuoviFlagWorking() {
    const size_t fine = NumTriggerCaricati();
    for (size_t i = 0; i < fine; ++i) {
        MediaTrigger& media = ListaMedia[i];
        const int32_t tipo = TipoMediaDaFlags(media.TypeFlags);
        if ((tipo == TipoAlert || tipo == TipoSensory) && HaBit(media.Options, Working)) {
            StampaLog("Removing Working flag for media code = " + std::to_string(media.MediaCode));
            TogliBit(media.Options, Working);
        }
        if (HaBit(media.Options, AlreadyShown)) {
            StampaLog("Remove 'Already_Showed' flag from media code = " + std::to_string(media.MediaCode));
            TogliBit(media.Options, AlreadyShown);
        }
    }
}

void AvviaCdAlert(int32_t cd) {
    if (cd != -1) {
        CdAvvioAlert = cd;
        StampaLog("Force as 'start alert cd' the cd = " + std::to_string(cd));
        return;
    }
    StampaLog("Verify for start of CD tracks used by alert medias");
    if (CoverVisibile()) {
        StampaLog("Ignore because we are working with splash screen visible");
        return;
    }
    CdAvvioAlert = -1;
    const size_t quanti = std::min(ListaCdAlert.size(), static_cast<size_t>(std::max(NumCdAlert, 0)));
    // Without alert tracks there is nothing to wait for.
    if (quanti == 0) {
        StampaLog("No cd tracks for alert medias found");
        return;
    }
    const uint32_t inizio = ClockTick();
    for (;;) {
        const uint32_t segno = ClockTick();
        for (size_t i = 0; i < quanti; ++i) {
            const CdLivello& coppia = ListaCdAlert[i];
            if (PerLivelloCorrente(coppia.Livello) && TracciaInCorso(coppia.Cd)) {
                CdAvvioAlert = coppia.Cd;
                StampaLog("Found start of cd " + std::to_string(coppia.Cd) + " for alert media");
                return;
            }
        }
        if (IsLoadingMode()) {
            StampaLog("Warning: new loading phase while I'm waiting for start alert cd: exit immediatly");
            return;
        }
        if (ClockTick() - inizio >= AttesaCdAlert) {
            StampaLog("No cd tracks for alert medias found");
            return;
        }
        AttendiFinoA(segno, CicloAttesa);
        if (!RichiestaAbort()) return;
    }
}

void AbilitaLogDaTastiera() {
    if (LogAbilitato || !TastiPremuti('L', 'G')) return;
    LogAbilitato = true;
    StampaLog("Detected L + G keys: enable log file");
    StampaLog("Previous initialize log:");
    CambiaTabulatoreLog(1);
    std::string caricamento = BufferLogCaricamento;
    while (!caricamento.empty() && (caricamento.back() == '\n' || caricamento.back() == '\r')) caricamento.pop_back();
    StampaLog(caricamento);
    CambiaTabulatoreLog(-1);
    if (LoggerAttivo()) {
        StampaLog("Enable extended log also for Scrivane");
        InviaComandoLogger(CmdExtendedLog, 0);
    }
    SuonaEffetto(0, true, false);
}
