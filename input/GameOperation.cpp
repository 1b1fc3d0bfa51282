#include "input/GameOperation.h"

#include <windows.h>

#include <algorithm>

#include "core/FileUtils.h"
#include "core/MediaExtraction.h"
#include "core/MediaLog.h"
#include "core/MediaTrigger.h"
#include "core/PathNames.h"
#include "core/SharedState.h"
#include "core/SystemUtils.h"
#include "core/Utf8Text.h"
#include "runservices/GameFocus.h"
#include "runservices/GameWindow.h"
#include "runservices/LoadingState.h"
#include "runservices/LoggerClient.h"
#include "runservices/RunState.h"
#include "runservices/ScriptDat.h"
#include "runservices/Sounds.h"
#include "runservices/RunHooks.h"
#include "input/KeyMacros.h"
#include "input/KeyboardRoutines.h"
#include "media/SplashScreen.h"
#include "media/SplashSyntax.h"
#include "media/WorkingMedia.h"
#include "platform/Clock.h"
#include "platform/Forms.h"
#include "savegames/PrivateVariables.h"
#include "savegames/SavegameBackup.h"
#include "savegames/SavegameCache.h"

OperazioneGiocoCorrente OperazioneGioco;

namespace {

constexpr uint32_t TempoMassimoSalvataggio = 5000;
constexpr uint32_t TempoMassimoCaricamento = 8000;
constexpr uint32_t AttesaNuovoSavegame = 600;
constexpr uint32_t AttesaInizioCaricamento = 1000;
constexpr uint32_t AttesaFineCaricamento = 20000;
constexpr int32_t MassimoTentativi = 3;

std::string Passati(uint32_t da) { return std::to_string(static_cast<int32_t>(ClockTick() - da)); }

void SvegliaGioco() {
    if (!HaBit(ModificheAvvio, GiocoInStandBy)) return;
    StampaLog("Tomb raider is in stand-by mode. Send Wake-up request");
    CambiaTabulatoreLog(1);
    RiattivaTomb();
    CambiaTabulatoreLog(-1);
}

void AzzeraParametriSplash() {
    ParametriSplash.Flags = 0;
    ParametriSplash.Modo = 0;
}

// The game does not say which savegame it loaded; the program, which had it
// load one, does, as that event would, so that the level's variables are
// read back from it.
void SegnaSavegameCaricato(const std::string& percorso) {
    if (percorso.empty()) return;
    UltimoSavegameCaricato = percorso;
    TickUltimoSavegame = ClockTick();
    StampaLog("Loaded savegame: " + percorso);
    GetVariablesLoading();
}

bool InInventario() { return HaBit(static_cast<int32_t>(StrutturaLogger.Fasi), static_cast<int32_t>(LoggerFase::Inventory)); }

}  // namespace

void InitSaveGameOperation(bool azzera) {
    OperazioneGiocoCorrente& op = OperazioneGioco;
    AggiornaCacheRichiesto = false;
    if (azzera) AzzeraParametriSplash();
    op.TickInizio = ClockTick();
    StampaLog("Prepare key macros for save the game operation");
    SvegliaGioco();
    if (azzera) {
        op.Codice = 0;
        op.Flags = 0;
    }
    op.NuovoSlot = false;
    op.OperazioneCaricamento = false;
    op.NomeOperazione = "Saving game";
    std::string descrizione;
    op.UltimoSavegame = UltimoSavegame(op.NumeroUltimoSavegame, descrizione);
    if (op.UltimoSavegame.empty())
        StampaLog("No savegame in trle folder");
    else
        StampaLog("Current last savegame: " + descrizione);
    op.MacroRilascioEnter = CreateMacroRilascio(ScanInvio, "MacroEnter_End.mcr");
    op.MacroRilascioF5 = CreateMacroRilascio(ScanF5, "MacroF5_End.mcr");
    op.ListaMacro = {CreateMacroTastoSingolo(ScanF5, "macro_F5_Start.mcr")};
    if (HaBit(op.Flags, SalvaInNuovoSlot)) {
        if (!op.UltimoSavegame.empty()) {
            StampaLog("Add [down arrow] key to save in new slot");
            op.ListaMacro.push_back(CreateMacroDirection(ScanGiu, 1, "Macro_down.mcr"));
            op.NuovoSlot = true;
        } else {
            StampaLog("No savegame in trle folder: ignore 'new slot' option for save the game");
        }
    }
    op.ListaMacro.push_back(CreateMacroSequenza("macro_enter.mcr", ScanF5));
    op.TotMacro = static_cast<int32_t>(op.ListaMacro.size());
    op.Completata = false;
    op.Tentativi = 0;
    op.IndiceMacro = -1;
    op.TickPasso = 0;
}

void CaricaPartitaConMacro(bool mantieniParametri) {
    OperazioneGiocoCorrente& op = OperazioneGioco;
    AttesaCaricamentoGioco = false;
    AttesaFineCaricamentoGioco = false;
    if (!mantieniParametri) AzzeraParametriSplash();
    op.TickInizio = ClockTick();
    StampaLog("Prepare key macros for load the game operation");
    SvegliaGioco();
    if (!mantieniParametri) {
        op.Codice = 0;
        op.Flags = 0;
    }
    op.OperazioneCaricamento = true;
    op.NomeOperazione = "loading game";
    op.LivelloDaCaricare = LivelloUltimoSavegame();
    std::string descrizione;
    op.UltimoSavegame = UltimoSavegame(op.NumeroUltimoSavegame, descrizione);
    StampaLog("Last savegame: " + descrizione + "  " + " will load level: " +
              NomeFileDaPercorso(PercorsoFileTr4(op.LivelloDaCaricare)));
    // Without a savegame the driver stops at once: nothing to look up or write.
    op.CdSavegame = op.UltimoSavegame.empty() ? -1 : TrovaCdForSavegame(op.UltimoSavegame);
    op.FileCdSavegame = NomeWavTraccia(op.CdSavegame);
    StampaLog("Cd sound required from savegame is: " + NomeFileDaPercorso(op.FileCdSavegame));
    if (!HaBit(op.Flags, NormalizzaPrimaDiCaricare) || SistemaNT) {
        // The file the game loads must hold the edits of the media; an image
        // nobody changed may be older than a save the game made since.
        if (SavegameCambiatoInCache(op.UltimoSavegame)) {
            StampaLog("Save on disk last savegame in cache: " + op.UltimoSavegame);
            SalvaSavegameDaCache(op.UltimoSavegame);
        } else {
            StampaLog("Last savegame not changed in cache: the game loads its file " + op.UltimoSavegame);
        }
    } else {
        NormalizzaSavegame();
    }
    op.ListaMacro = {CreateMacroTastoSingolo(ScanF6, "macro_F6_Start.mcr"),
                     CreateMacroSequenza("macro_enter.mcr", ScanF6)};
    op.TotMacro = 2;
    op.Completata = false;
    op.Tentativi = 0;
    op.IndiceMacro = -1;
    op.InizioCaricamento = false;
    op.FineCaricamento = false;
    op.TickPasso = ClockTick();
}

bool EseguiOperazioneGioco() {
    OperazioneGiocoCorrente& op = OperazioneGioco;
    const int32_t precedente = op.IndiceMacro;
    op.IndiceMacro = precedente + 1;
    if (precedente == -1) {
        if (HaBit(StatoGioco, PrioritaGiocoRidotta)) RipristinaPrioritaGioco(false);
        if (op.Tentativi >= MassimoTentativi) {
            RigaErrore("ERROR: Too failed attempts: abort operation");
            RiduciPrioritaGioco(false);
            return false;
        }
        if (op.Tentativi > 0) StampaLog("Perform another attempt");
        FocusFinestraTomb();
        if (HaBit(op.Flags, AttendiFineInputGiocatore)) {
            StampaLog("Wait for end of keyboard/joystick activity");
            CambiaTabulatoreLog(1);
            const bool silenzio = AttendiTastieraSilenziosa();
            CambiaTabulatoreLog(-1);
            if (!silenzio) {
                StampaLog("Tomb raider program is terminated");
                return false;
            }
        }
    }
    if (op.IndiceMacro == 1) AttendiTastoEscape();
    if (LoggerAttivo()) {
        const uint32_t limite = op.OperazioneCaricamento ? TempoMassimoCaricamento : TempoMassimoSalvataggio;
        if (ClockTick() - op.TickInizio >= limite)
            return RigaErrore("ERROR: time out in " + op.NomeOperazione + " operation");
        LeggiLogger();
        if (op.IndiceMacro == 0 && InInventario()) {
            StampaLog("WARNING: detected inventory before sending function key: disable inventory");
            InviaEscape();
            --op.IndiceMacro;
            return true;
        }
        if (op.IndiceMacro == 1 && !InInventario()) {
            StampaLog("WARNING: not yet in inventory. Wait ...");
            ClockSleep(100);
            --op.IndiceMacro;
            return true;
        }
    }
    const std::string& nome = op.ListaMacro[static_cast<size_t>(op.IndiceMacro)];
    StampaLog("Send keystroke macro " + std::to_string(op.IndiceMacro + 1) + ": " + NomeFileDaPercorso(nome));
    StampaLog("Macro codes:");
    InviaCodici(nome);
    if (op.IndiceMacro + 1 >= op.TotMacro) {
        op.IndiceMacro = op.TotMacro;
        ++op.Tentativi;
        op.TickFineInvio = ClockTick();
    }
    return true;
}

bool VerificaSalvataggio(bool& TestError) {
    OperazioneGiocoCorrente& op = OperazioneGioco;
    int32_t numero = -1;
    std::string descrizione;
    const std::string nuovo = UltimoSavegame(numero, descrizione, true);
    if (IsPreviewMode()) {
        StampaLog("Preview Mode: simulate saving operation as complete");
        numero = op.NumeroUltimoSavegame + 1;
    }
    if (numero <= op.NumeroUltimoSavegame) {
        StampaLog("Savegame not yet saved");
        if (ClockTick() - op.TickFineInvio > AttesaNuovoSavegame) op.IndiceMacro = -1;
        return true;
    }
    StampaLog("Saving operation is complete. Detected new savegame: " + descrizione);
    // The program's own save, where saving is forbidden to the player: the
    // guardian must neither undo it nor take it for the player's.
    const int32_t indice = nuovo.empty() ? -1 : IndiceSavegameCache(CacheSavegame, nuovo);
    if (indice >= 0) AggiornaSavegameBloccato(nuovo, CacheSavegame.Entries[static_cast<size_t>(indice)].Bytes);
    ImpostaBit(StatoSequenza, PartitaSalvata);
    StampaLog("Performed saving game in " + Passati(op.TickInizio) + " m.s.");
    if (HaBit(op.Codice, ModoSalvaMediaCarica)) {
        StampaLog("Perform media code = " + std::to_string(ParametriSplash.Codice));
        RiduciPrioritaGioco(false);
        bool eseguito = false;
        {
            SplashSospeso sospeso;
            eseguito = Ganci.EseguiMediaCode(ParametriSplash.Codice, TestError);
        }
        if (eseguito) {
            StampaLog("Media has been performed: Initialize for load game operation");
            CaricaPartitaConMacro(true);
            op.SegnaleOperazione = 1;
            return true;
        }
        StampaLog("WARNING: Exit with value = false: abort splash screen media");
        return false;
    }
    RiduciPrioritaGioco(false);
    op.Completata = true;
    return true;
}

bool VerificaCaricamento() {
    OperazioneGiocoCorrente& op = OperazioneGioco;
    const bool logger = LoggerAttivo();
    if (!op.InizioCaricamento) {
        if (logger) {
            LeggiLogger();
            op.InizioCaricamento = AttesaCaricamentoGioco;
        } else {
            op.InizioCaricamento = ControllaCaricamentoLivello(op.LivelloDaCaricare);
        }
        StampaLog(std::string("Check for start loading: ") + (op.InizioCaricamento ? "True" : "False"));
        if (IsPreviewMode()) {
            StampaLog("Preview mode: simulate start loading phase");
            op.InizioCaricamento = true;
        }
        if (op.InizioCaricamento && HaBit(op.Flags, CaricamentoCompletoAllInizio)) {
            op.FineCaricamento = true;
            StampaLog("Flag 'Loading complete at start'");
            op.Completata = true;
            StampaLog("Performed 'start' loading game in " + Passati(op.TickInizio) + " m.s.");
            SegnaSavegameCaricato(op.UltimoSavegame);
            RiduciPrioritaGioco(false);
        }
        if (!op.InizioCaricamento && ClockTick() - op.TickFineInvio > AttesaInizioCaricamento) {
            StampaLog("Warning: timeout for starting of 'load the game' operation: send another key sequence");
            op.IndiceMacro = -1;
        }
    }
    if (op.InizioCaricamento && !op.FineCaricamento) {
        // The timer that reads the game's events waits for the operation:
        // the end of loading is read here, as its start is.
        if (logger) LeggiLogger();
        if (!logger) {
            op.FineCaricamento = !ControllaCaricamentoLivello(op.LivelloDaCaricare);
        } else if (AttesaFineCaricamentoGioco) {
            // The logger client has already made the loaded level the current one.
            op.FineCaricamento = true;
            const int32_t caricato = StrutturaLogger.Livello;
            if (caricato != op.LivelloDaCaricare)
                return RigaErrore("ERROR: it has been loaded a different level than foreseen level. Loaded level=" +
                                  NomeFileDaPercorso(PercorsoFileTr4(caricato)) + " instead to load level " +
                                  NomeFileDaPercorso(PercorsoFileTr4(op.LivelloDaCaricare)));
        }
        StampaLog(std::string("Check for end loading: ") + (op.FineCaricamento ? "True" : "False"));
        if (IsPreviewMode()) {
            StampaLog("Preview mode: simulate End Loading phase");
            op.FineCaricamento = true;
        }
        if (op.FineCaricamento) {
            Ganci.ImpostaMediaCdGiaMostrati(op.CdSavegame);
            Ganci.AvviaCdAlert(op.CdSavegame);
        } else if (ClockTick() - op.TickFineInvio > AttesaFineCaricamento) {
            return RigaErrore("ERROR: time out for 'end loading' operation (Wait time = " + Passati(op.TickFineInvio) +
                              " m.s.)");
        }
    }
    if (op.InizioCaricamento && op.FineCaricamento && !op.Completata) {
        StampaLog("Loading operation is complete");
        op.Completata = true;
        StampaLog("Performed loading game in " + Passati(op.TickInizio) + " m.s.");
        SegnaSavegameCaricato(op.UltimoSavegame);
        ImpostaBit(StatoSequenza, CaricamentoAnnullato);
        RiduciPrioritaGioco(false);
    }
    return true;
}

bool EseguiSalvataggioPartita() {
    OperazioneGiocoCorrente& op = OperazioneGioco;
    StampaLog("Remove keyboard messages");
    RimuoviMessaggiTastiera();
    InitSaveGameOperation(true);
    op.TickPasso = ClockTick();
    bool risultato = false;
    for (;;) {
        if (ClockTick() - op.TickPasso >= 100) {
            if (op.IndiceMacro < op.TotMacro) {
                if (!EseguiOperazioneGioco()) {
                    RilasciaTastiSpeciali();
                    risultato = false;
                    break;
                }
            } else {
                bool abort = false;
                if (!VerificaSalvataggio(abort)) {
                    risultato = false;
                    break;
                }
                if (op.Completata) {
                    risultato = true;
                    break;
                }
            }
            op.TickPasso = ClockTick();
        }
        DoEvents();
        if (!RichiestaAbort()) {
            risultato = false;
            break;
        }
        ClockSleep(10);
    }
    RilasciaTastiSpeciali();
    return risultato;
}

bool CaricaUltimoSavegame() {
    OperazioneGiocoCorrente& op = OperazioneGioco;
    StampaLog("Remove keyboard messages");
    RimuoviMessaggiTastiera();
    StampaLog("Removed messages");
    CaricaPartitaConMacro(false);
    if (op.LivelloDaCaricare == -1) {
        StampaLog("ERROR not found level.tr4 used by last savegame", true);
        return false;
    }
    bool risultato = false;
    while (RichiestaAbort()) {
        if (ClockTick() - op.TickPasso >= 100) {
            const bool passo = op.IndiceMacro < op.TotMacro ? EseguiOperazioneGioco() : VerificaCaricamento();
            op.TickPasso = ClockTick();
            if (!passo) break;
            if (op.Completata) {
                risultato = true;
                break;
            }
        }
        DoEvents();
        ClockSleep(10);
    }
    RilasciaTastiSpeciali();
    return risultato;
}

void AttendiTastoEscape() {
    StampaLog("Wait for 'keep down' action and escape key");
    const uint32_t inizio = ClockTick();
    bool escapeVisto = false;
    for (;;) {
        const bool escape = (GetAsyncKeyState(VK_ESCAPE) & 0x8000) != 0;
        if (escape) escapeVisto = true;
        if ((!escape && !TastoAzioneAttivo()) || !RichiestaAbort()) break;
        if (ClockTick() - inizio >= 2000) SuonaBeep(400, 100);
        DoEvents();
        ClockSleep(10);
    }
    StampaLog("End waiting for 'keep down' action key");
    if (escapeVisto) {
        StampaLog("Exit from inventory mode: sequence Escape up/down");
        InviaCodici(false, {{224, 10}, {1, 300}, {224, 10}, {129, 50}});
    }
}

void RilasciaTastiSpeciali() {
    struct Tasto {
        int vk;
        const char* riga;
        int32_t rilascio;
    };
    for (const Tasto& t : {Tasto{VK_RETURN, "Warning: Return key was down. Send Return up", 156},
                           Tasto{VK_F5, "Warning: f5 key was down. Send f5 up", 191},
                           Tasto{VK_F6, "Warning: f6 key was down. Send f6 up", 192}}) {
        if (!(GetAsyncKeyState(t.vk) & 0x8000)) continue;
        StampaLog(t.riga);
        InviaCodici(false, {{t.rilascio, 100}});
    }
}

void InviaEscape() {
    StampaLog("Send Escape key");
    InviaCodici(false, {{1, 300}, {129, 200}});
}

namespace {

// The path of a media file of the splash, in the form a trigger's texts
// keep; "" when it cannot be located.
std::string FileSplash(const std::string& nome, std::vector<std::string>& lista, int32_t& conteggio) {
    bool temporaneo = false;
    const std::string percorso = EstraiFileMedia(nome, temporaneo, false, false);
    if (percorso.empty()) return std::string();
    if (temporaneo) AggiungiNomeUnico(percorso, lista, conteggio);
    return Utf8DaAnsi(percorso);
}

}  // namespace

bool EstraiFileSplash(std::vector<std::string>& lista, int32_t& conteggio) {
    if (MediaCorrente.TypeFlags & BackgroundImage) {
        MediaCorrente.MediaFile = FileSplash(MediaCorrente.MediaFile, lista, conteggio);
        if (MediaCorrente.MediaFile.empty()) return false;
    } else {
        MediaCorrente.MediaFile.clear();
    }
    if (HaBit(ParametriSplash.Flags, SplashCaptureKeyboard) && (MediaCorrente.TypeFlags & BackgroundSound) &&
        !MediaCorrente.SoundFile.empty() && FileSplash(MediaCorrente.SoundFile, lista, conteggio).empty())
        return false;
    const size_t limite = std::min(static_cast<size_t>(std::max(ParametriSplash.Limite, 0)),
                                   ParametriSplash.Animazioni.size());
    for (size_t i = 0; i < limite; ++i) {
        DatiAnimazione& animazione = ParametriSplash.Animazioni[i];
        if (HaBit(animazione.Flags, AnimazioneShowBackImage)) {
            animazione.BackImage = FileSplash(animazione.BackImage, lista, conteggio);
            if (animazione.BackImage.empty()) return false;
        }
        if (animazione.Flags & (AnimazioneSprite | AnimazioneLandscape)) {
            animazione.Image = FileSplash(animazione.Image, lista, conteggio);
            if (animazione.Image.empty()) return false;
        }
    }
    return true;
}
