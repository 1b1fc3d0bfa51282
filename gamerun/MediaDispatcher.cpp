#include "gamerun/MediaDispatcher.h"

#include <windows.h>

#include <algorithm>
#include <memory>
#include <string>

#include "core/FileUtils.h"
#include "core/MediaLog.h"
#include "core/MediaSyntax.h"
#include "core/ModuleInit.h"
#include "core/PassaggioCondiviso.h"
#include "core/Utf8Text.h"
#include "runservices/Desktop.h"
#include "runservices/DisplayModes.h"
#include "runservices/GameFocus.h"
#include "runservices/GameWindow.h"
#include "runservices/RunState.h"
#include "gamerun/Screenshots.h"
#include "gamerun/TimerTick.h"
#include "input/Guardian.h"
#include "runservices/KeyboardHook.h"
#include "media/AlertMedia.h"
#include "media/ExecMedia.h"
#include "media/MediaWindow.h"
#include "media/MovieWindow.h"
#include "media/ProgressiveText.h"
#include "input/SplashRun.h"
#include "media/SwitchMedia.h"
#include "media/WorkingMedia.h"
#include "platform/Clock.h"
#include "platform/Forms.h"
#include "input/CommandMedia.h"
#include "savegames/EquipmentMedia.h"
#include "input/GameOperation.h"
#include "input/KeyboardRoutines.h"
#include "input/MediaSequence.h"
#include "savegames/SavegameBackup.h"

bool (*EsecutoreSwitch)(bool& TestError) = EseguiSwitchMedia;
bool (*SalvataggioPartita)() = EseguiSalvataggioPartita;

namespace {

// Short enough that a game ending during a wait is noticed at once.
constexpr uint32_t PassoAttesa = 100;
// Media lists nest through the media they perform (a switch, a menu's
// choice, a check's branch): one that names itself would nest until the
// stack runs out and the program dies with the desktop and the game's
// settings still changed. Far deeper than any menu a player walks through.
constexpr int32_t MassimoAnnidamento = 64;

const char* VeroFalso(bool valore) { return valore ? "True" : "False"; }

bool HaOpzioneMedia(const MediaTrigger& media, int32_t bit) { return (media.Options & bit) != 0; }

// Records that keep firing while their track plays, or that no track fires,
// are never marked as shown.
bool SegnaComeMostrato(const MediaTrigger& media) {
    return !HaOpzioneMedia(media, RequiresAction) && !HaOpzioneMedia(media, WhileCdSounds) &&
           media.TriggerCd != TriggerCdNessuno;
}

// The state the performers share: a nested list must hand it back as it
// found it, also when it is left through a failure. The nesting depth and
// the log's indentation are only put back when an error unwinds the list,
// since the normal end takes care of them itself.
class StatoCondiviso {
public:
    StatoCondiviso()
        : formato_(FormatoTestoCorrente),
          alert_(BloccoAlert),
          splash_(ParametriSplash),
          animazione_(StatoAnimazioneSplash),
          operazione_(OperazioneGioco),
          testo_(DatiTestoProgressivo),
          media_(MediaCorrente),
          annidamento_(LivelloAnnidamento),
          tabulatore_(LivelloTab) {}
    ~StatoCondiviso() {
        if (ripristinato_) return;
        LivelloAnnidamento = annidamento_;
        LivelloTab = tabulatore_;
        Ripristina();
    }
    StatoCondiviso(const StatoCondiviso&) = delete;
    StatoCondiviso& operator=(const StatoCondiviso&) = delete;

    void Ripristina() {
        FormatoTestoCorrente = formato_;
        BloccoAlert = alert_;
        ParametriSplash = splash_;
        StatoAnimazioneSplash = animazione_;
        OperazioneGioco = operazione_;
        DatiTestoProgressivo = testo_;
        MediaCorrente = media_;
        ripristinato_ = true;
    }

private:
    TextFormat formato_;
    BloccoAlertMedia alert_;
    ParametriSplashMedia splash_;
    AnimazioneSplashMedia animazione_;
    OperazioneGiocoCorrente operazione_;
    DatiTestoProgressivoMedia testo_;
    MediaTrigger media_;
    int32_t annidamento_;
    int32_t tabulatore_;
    bool ripristinato_ = false;
};

// The delay before a media, in short sleeps: a single sleep would hold the
// run for the whole delay after the game has gone. False when the game
// ended.
bool AttendiRitardo(int32_t secondi) {
    const uint32_t durata = static_cast<uint32_t>(std::min<int64_t>(int64_t{secondi} * 1000, 0x7FFFFFFF));
    const uint32_t inizio = ClockTick();
    for (;;) {
        if (!RichiestaAbort()) return false;
        const uint32_t passati = ClockTick() - inizio;
        if (passati >= durata) return true;
        ClockSleep(std::min(PassoAttesa, durata - passati));
    }
}

void CatturaSchermo() {
    StampaLog("Try to capture game screen");
    std::string percorso = FileCatturaSchermo;
    if (CatturaSchermoGioco(percorso))
        StampaLog("Captured game screen in: " + percorso);
    else
        StampaLog("ERROR: Failed game screen capture", true);
    ImpostaBit(StatoSequenza, SchermoCatturato);
}

bool SalvaPartita(int32_t requisiti) {
    SospendiInputUtente();
    if (HaBit(RequisitiSequenza, RichiedeBackupSavegame)) BackupSavegames();
    if (HaBit(RequisitiSequenza, RichiedeSchermoNascosto) && !HaBit(StatoSequenza, MonitorSpento)) SpegniMonitor();
    if (HaBit(requisiti, RichiedeInputFermo)) {
        StampaLog("Wait for end of keyboard/joystick activity");
        if (!AttendiTastieraSilenziosa()) {
            StampaLog("Tomb raider program is terminated");
            AbilitaInputUtente();
            return false;
        }
    }
    StampaLog("Save the game");
    CambiaTabulatoreLog(1);
    const bool salvata = SalvataggioPartita();
    CambiaTabulatoreLog(-1);
    AbilitaInputUtente();
    if (!salvata) {
        StampaLog("ERROR: failed forcing save the game", true);
        StampaLog("Removing request for loading last savegame");
        ImpostaBit(StatoSequenza, CaricamentoAnnullato);
        if (HaBit(RequisitiSequenza, RichiedeAbortSuErrore)) AvvisoAbortSuErrore();
        return false;
    }
    StampaLog("Forced saving the game: ok");
    ImpostaBit(StatoSequenza, PartitaSalvata);
    return true;
}

// The window of the image, text, countdown, comunicator and menu media.
bool EseguiFinestraMedia(int32_t tipo, bool& BreakEscape, bool& TestError) {
    StampaLog("Perform " + NomeTipoMedia(tipo) + " media");
    CambiaTabulatoreLog(1);
    const bool monitorRiacceso = RiaccendiMonitorPerMedia();
    if (monitorRiacceso) StampaLog("Monitor was hide. Show monitor temporanely");
    // A window of its own for each media, as a menu's next media needs one too.
    auto finestraMedia = std::make_unique<Dialog_Titoli>();
    Dialog_Titoli& finestra = *finestraMedia;
    finestra.ImpostaValori();
    finestra.MostraModale();
    BreakEscape = finestra.AbortEscape;
    if (monitorRiacceso) {
        StampaLog("Restore hide monitor");
        SpegniMonitor();
    }
    if (!finestra.FileSuonoTemp.empty()) CancellaFile(finestra.FileSuonoTemp);
    TestError = finestra.ErroreMedia;
    const bool esito = finestra.EsitoMedia;
    const int32_t valore = finestra.ValoreMenu;
    CambiaTabulatoreLog(-1);
    if (tipo != TipoTextMenu && tipo != TipoGraphMenu) return true;
    if (!esito) {
        StampaLog("Menu media: user has not typed correct item menu (or escape)");
        if (valore == -1) {
            StampaLog("Abort media");
            return false;
        }
        StampaLog("Perform failure media code = " + std::to_string(valore));
        return EseguiMediaCode(valore, TestError);
    }
    StampaLog("Perform menu media selected by user");
    return EseguiMediaCode(valore, TestError);
}

bool EseguiFilmato(bool& BreakEscape, bool& TestError) {
    StampaLog("Perform media Movie = " + AnsiDaUtf8(MediaCorrente.MediaFile));
    const bool monitorRiacceso = RiaccendiMonitorPerMedia();
    if (monitorRiacceso) StampaLog("Monitor was hide. Show monitor temporanely");
    Dialog_Movie& finestra = DialogMovie();
    if (finestra.ImpostaValori(false, false)) finestra.MostraModale();
    const bool risultato = finestra.Risultato;
    BreakEscape = finestra.AbortEscape;
    if (monitorRiacceso) {
        StampaLog("Restore hide monitor");
        SpegniMonitor();
    }
    if (!risultato) {
        StampaLog("ERROR: loading movie: " + AnsiDaUtf8(MediaCorrente.MediaFile), true);
        TestError = true;
    }
    return risultato;
}

// Keyboard and sensory media are polled by the main tick while their record
// is working.
bool AbilitaWorking(const char* tipo) {
    const int32_t indice = IndiceMediaDaCodice(MediaCorrente.MediaCode);
    if (indice < 0 || static_cast<size_t>(indice) >= ListaMedia.size()) return false;
    ImpostaBit(ListaMedia[static_cast<size_t>(indice)].Options, Working);
    StampaLog(std::string("Perform ") + tipo + ": enabled working flag for media code = " +
              std::to_string(MediaCorrente.MediaCode));
    return true;
}

bool EseguiGuardian(bool& BreakEscape) {
    StampaLog("Perform Guardian media");
    LeggiCodiceGuardian(EstraiSezione(MediaCorrente.Syntax, "GUARDIAN"));
    if (HaBit(FlagGuardian, GuardianChiudeGioco)) {
        ChiudiGioco();
        return true;
    }
    if (HaBit(FlagGuardian, GuardianEreditaSalvataggio) && HaBit(FlagGuardian, GuardianControllaCd)) {
        ControllaStopSalvataggio();
        return true;
    }
    StampaLog("ERROR: no operation to perform on direct call", true);
    BreakEscape = true;
    return false;
}

void LogRequisiti(int32_t requisiti) {
    struct Riga {
        int32_t bit;
        const char* testo;
    };
    static constexpr Riga righe[] = {
        {RichiedeStandBy, "Current media requires Stand-by Tomb Raider"},
        {RichiedeSalvataggio, "Current media requires saving the game"},
        {RichiedeMouseNascosto, "current media requires hide mouse pointer"},
        {RichiedeCaricamentoFinale, "Current media requires to load savegame at end"},
        {RichiedeSchermoNascosto, "Current media requires to hide the screen"},
        {RichiedeCattura, "Current media requires screen capture"},
        {RichiedeInputFermo, "Current media requires waiting the end of user input before save/load the game"},
        {RichiedeBackupSavegame, "Current media requires to backup/restore savegames at end"},
        {RichiedeAbortSuErrore, "Current media requires 'abort game on failure"},
    };
    for (const Riga& r : righe)
        if (HaBit(requisiti, r.bit)) StampaLog(r.testo);
}

}  // namespace

int32_t RequisitiMedia(const MediaTrigger& media) {
    const int32_t tipo = TipoMediaDaFlags(media.TypeFlags);
    bool standBy = false, salva = false, nascondi = false, backup = false;
    int32_t requisiti = 0;
    switch (tipo) {
    case TipoAlert:
    case TipoKeyboard:
    case TipoEmail:
    case TipoSensory:
    case TipoGuardian:
    case TipoCommand:
    case TipoSwitch:
    case TipoAction:
        break;
    case TipoEquipment:
    case TipoCheck: {
        // A list that cannot be read fails before it touches the game:
        // nothing to save for it, nor to load back.
        if (!LeggiEquipmentChunk(EstraiSezione(media.Syntax, "EQUIPMENT"))) break;
        const uint8_t flag = EquipmentHeader.Flags;
        if (flag & EquipBackupSavegame) backup = true;
        if (!(flag & EquipSenzaSalvataggio)) salva = true;
        if (!(flag & EquipSenzaNascondere) && salva && (IsModoFinestra() || !IsScreenSaverAttivo())) nascondi = true;
        if (flag & EquipAttendiInput) requisiti |= RichiedeInputFermo;
        if (tipo == TipoEquipment && !(flag & EquipSenzaCaricamento)) requisiti |= RichiedeCaricamentoFinale;
        break;
    }
    case TipoSplashScreen:
        SintassiSplash(EstraiSezione(media.Syntax, "SPLASH"));
        if (HaBit(ParametriSplash.Flags, SplashCaptureKeyboard)) standBy = true;
        if (HaBit(ParametriSplash.Flags, SplashBackupSavegames)) backup = true;
        break;
    case TipoExec:
        standBy = HaOpzioneMedia(media, WaitProgramEnd);
        break;
    default:
        standBy = true;
        break;
    }
    if (HaOpzioneMedia(media, AbortGameOnFailure)) requisiti |= RichiedeAbortSuErrore;
    if (HaOpzioneMedia(media, SaveGameFirst)) salva = nascondi = backup = true;
    if ((media.TypeFlags & ScreenCapture) && !HaOpzioneMedia(media, NoScreenCapture)) requisiti |= RichiedeCattura;
    if (standBy) {
        requisiti |= RichiedeStandBy;
        if (tipo != TipoExec) requisiti |= RichiedeMouseNascosto;
    }
    if (salva) requisiti |= RichiedeSalvataggio;
    if (backup) requisiti |= RichiedeBackupSavegame;
    if (nascondi) requisiti |= RichiedeSchermoNascosto;
    LogRequisiti(requisiti);
    return requisiti;
}

bool EseguiMediaCode(int32_t codice, bool& TestError) {
    StampaLog("Perform media with code = " + std::to_string(codice));
    CambiaTabulatoreLog(1);
    // Looked up first, so that an unknown code leaves the sequence alone.
    const int32_t indice = IndiceMediaDaCodice(codice);
    if (indice < 0) {
        TestError = true;
        CambiaTabulatoreLog(-1);
        return false;
    }
    InitGlobalSequence();
    const MediaTrigger salvata = MediaCorrente;
    bool risultato = false;
    try {
        risultato = EseguiListaMedia({indice}, 1, TestError);
    } catch (...) {
        MediaCorrente = salvata;
        CambiaTabulatoreLog(-1);
        throw;
    }
    MediaCorrente = salvata;
    CambiaTabulatoreLog(-1);
    return risultato;
}

bool EseguiListaMedia(const std::vector<int32_t>& indici, int32_t conteggio, bool& TestError) {
    DimenticaCondivisi();
    TestError = false;
    const int32_t numero = std::clamp<int32_t>(conteggio, 0, static_cast<int32_t>(indici.size()));
    for (int32_t i = 0; i < numero; ++i) {
        const int32_t indice = indici[static_cast<size_t>(i)];
        if (indice < 0 || static_cast<size_t>(indice) >= ListaMedia.size()) {
            StampaLog("ERROR: media list refers to missing trigger " + std::to_string(indice), true);
            TestError = true;
            return false;
        }
    }

    if (LivelloAnnidamento >= MassimoAnnidamento) {
        std::string codici;
        for (int32_t i = 0; i < numero; ++i)
            codici += (i ? ";" : "") +
                      std::to_string(ListaMedia[static_cast<size_t>(indici[static_cast<size_t>(i)])].MediaCode);
        StampaLog("ERROR: media lists nested deeper than " + std::to_string(MassimoAnnidamento) + ": media code " +
                      std::to_string(MediaCorrente.MediaCode) + " cannot perform media code " + codici,
                  true);
        TestError = true;
        return false;
    }

    StatoCondiviso condiviso;
    ++LivelloAnnidamento;

    std::vector<int32_t> requisiti(static_cast<size_t>(numero), 0);
    int32_t totale = 0;
    int32_t indiceRisveglio = -1;
    for (int32_t i = 0; i < numero; ++i) {
        const MediaTrigger& media = ListaMedia[static_cast<size_t>(indici[static_cast<size_t>(i)])];
        StampaLog("Execution media with code=" + std::to_string(media.MediaCode));
        requisiti[static_cast<size_t>(i)] = RequisitiMedia(media);
        totale |= requisiti[static_cast<size_t>(i)];
        if (HaBit(requisiti[static_cast<size_t>(i)], RichiedeStandBy)) indiceRisveglio = i;
    }
    RequisitiSequenza |= totale;
    StampaLog("Wake tomb raider after index media = " + std::to_string(indiceRisveglio));

    bool risultato = false;
    for (int32_t i = 0; i < numero; ++i) {
        const size_t indice = static_cast<size_t>(indici[static_cast<size_t>(i)]);
        MediaCorrente = ListaMedia[indice];
        const int32_t codice = MediaCorrente.MediaCode;
        const std::string traccia = std::to_string(MediaCorrente.TriggerCd);
        const bool segna = SegnaComeMostrato(MediaCorrente);
        const bool abortSuErrore = HaOpzioneMedia(MediaCorrente, AbortGameOnFailure);

        if (MediaCorrente.DelaySeconds > 0) {
            StampaLog("Wait delay time (" + std::to_string(MediaCorrente.DelaySeconds) + " seconds) before activation");
            if (!AttendiRitardo(MediaCorrente.DelaySeconds)) {
                StampaLog("Tomb raider program is terminated");
                break;
            }
        }

        StampaLog("PreparaEsecuzioneMedia()");
        CambiaTabulatoreLog(1);
        const bool preparato = PreparaEsecuzioneMedia(requisiti[static_cast<size_t>(i)]);
        CambiaTabulatoreLog(-1);
        if (!preparato) {
            if (segna) {
                StampaLog("Set media code " + std::to_string(codice) +
                          " as 'showed': suspend further activations until sound of trigger cd " + traccia + " ends");
                ImpostaBit(ListaMedia[indice].Options, AlreadyShown);
            }
            break;
        }

        StampaLog("ShowMedia() for media code = " + std::to_string(codice));
        bool breakEscape = false;
        CambiaTabulatoreLog(1);
        risultato = ShowMedia(breakEscape, TestError);
        CambiaTabulatoreLog(-1);
        StampaLog(std::string("Exit from ShowMedia() with value = ") + VeroFalso(risultato) +
                  "  Break with Escape=" + VeroFalso(breakEscape) + "  TestError=" + VeroFalso(TestError));

        if (segna) {
            StampaLog("Media code " + std::to_string(codice) +
                      " showed: suspend further activations until sound of trigger cd " + traccia + " ends");
            ImpostaBit(ListaMedia[indice].Options, AlreadyShown);
        }
        if (TestError && abortSuErrore) {
            AvvisoAbortSuErrore();
            break;
        }
        if (!risultato) {
            StampaLog("Abort media sequence because last exit value = false");
            break;
        }
        if (LivelloAnnidamento == 1 && i == indiceRisveglio) TerminaEsecuzioneMedia();
    }

    --LivelloAnnidamento;
    if (LivelloAnnidamento == 0) TerminaEsecuzioneMedia();
    condiviso.Ripristina();
    return risultato;
}

bool PreparaEsecuzioneMedia(int32_t requisiti) {
    if (HaBit(requisiti, RichiedeStandBy) || HaBit(requisiti, RichiedeSalvataggio)) {
        if (HaBit(RequisitiSequenza, RichiedeCattura) && !HaBit(StatoSequenza, SchermoCatturato)) CatturaSchermo();
        if (HaBit(RequisitiSequenza, RichiedeSalvataggio) && !HaBit(StatoSequenza, PartitaSalvata) &&
            !SalvaPartita(requisiti))
            return false;
        if (HaBit(requisiti, RichiedeStandBy) && !HaBit(StatoSequenza, StandByAttivo)) {
            StampaLog("Perform tomb raider stand by");
            CambiaTabulatoreLog(1);
            const bool sospeso = SospendiTomb();
            CambiaTabulatoreLog(-1);
            if (!sospeso) {
                StampaLog("ERROR: failed putting stand-by tomb raider process", true);
                return false;
            }
            StampaLog("Put in stand-by mode tomb raider process: ok");
        }
    }
    if (HaBit(RequisitiSequenza, RichiedeCattura) && !HaBit(StatoSequenza, SchermoCatturato)) CatturaSchermo();
    return true;
}

bool ShowMedia(bool& BreakEscape, bool& TestError) {
    BreakEscape = false;
    TestError = false;
    const int32_t tipo = TipoMediaDaFlags(MediaCorrente.TypeFlags);
    switch (tipo) {
    case TipoAlert:
        StampaLog("Perform Alert Media");
        return EseguiAlertMedia(TestError);
    case TipoImageFixedText:
    case TipoImageScrollText:
    case TipoImageSequenceScroll:
    case TipoImageSequenceFixed:
    case TipoCountDown:
    case TipoComunicator:
    case TipoTextMenu:
    case TipoGraphMenu:
        return EseguiFinestraMedia(tipo, BreakEscape, TestError);
    case TipoKeyboard:
        return AbilitaWorking("Keyboard");
    case TipoEmail: {
        StampaLog("Detected send email trigger: save index to show mail at end of tombraider program");
        const int32_t indice = IndiceMediaDaCodice(MediaCorrente.MediaCode);
        if (indice < 0) return false;
        IndiceEmailFinale = indice;
        return true;
    }
    case TipoSensory:
        return AbilitaWorking("Sensory");
    case TipoGuardian:
        return EseguiGuardian(BreakEscape);
    case TipoEquipment: {
        const bool eseguito = EseguiEquipmentMedia();
        TestError = !eseguito;
        if (eseguito) {
            ImpostaBit(StatoSequenza, EquipmentEseguito);
        } else if (HaBit(RequisitiSequenza, RichiedeCaricamentoFinale) &&
                   !HaBit(StatoSequenza, EquipmentEseguito | CaricamentoAnnullato)) {
            // The savegame is as the game saved it: loading it back would
            // only throw the player out of the game for nothing.
            StampaLog("Removing request for loading last savegame");
            ImpostaBit(StatoSequenza, CaricamentoAnnullato);
        }
        return eseguito;
    }
    case TipoMovie:
        return EseguiFilmato(BreakEscape, TestError);
    case TipoSplashScreen:
        return EseguiSplashScreen(BreakEscape, TestError);
    case TipoExec: {
        StampaLog("Perform Exec Media");
        const bool eseguito = EseguiExecMedia();
        TestError = !eseguito;
        return eseguito;
    }
    case TipoCommand:
        return EseguiCommandMedia();
    case TipoSwitch:
        return EsecutoreSwitch(TestError);
    case TipoCheck:
        return EseguiCheckMedia(TestError);
    case TipoAction:
        StampaLog("Perform Action media: nothing to do");
        return true;
    default:
        StampaLog("ERROR: unknown media type " + std::to_string(tipo), true);
        TestError = true;
        return false;
    }
}

bool TerminaEsecuzioneMedia() {
    StampaLog("TerminaEsecuzioneMedia()");
    CambiaTabulatoreLog(1);
    if (HaBit(StatoSequenza, StandByAttivo)) {
        StampaLog("Wake up for tomb raider process");
        RiattivaTomb();
    }
    if (LivelloAnnidamento == 0) EndGlobalSequence();
    CambiaTabulatoreLog(-1);
    return true;
}
