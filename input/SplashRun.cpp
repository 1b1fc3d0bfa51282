#include "input/SplashRun.h"

#include <windows.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "core/FileUtils.h"
#include "core/LevelVariables.h"
#include "core/MediaExtraction.h"
#include "core/MediaLog.h"
#include "core/MediaSyntax.h"
#include "core/MediaTrigger.h"
#include "core/ModuleInit.h"
#include "core/SharedState.h"
#include "core/SystemUtils.h"
#include "core/TextUtils.h"
#include "input/GameOperation.h"
#include "input/KeyMacros.h"
#include "input/KeyboardRoutines.h"
#include "input/MediaSequence.h"
#include "media/MediaText.h"
#include "media/ProgressiveText.h"
#include "media/TextLayout.h"
#include "platform/Clock.h"
#include "platform/Forms.h"
#include "runservices/Desktop.h"
#include "runservices/DisplayModes.h"
#include "runservices/GameFocus.h"
#include "runservices/GameWindow.h"
#include "runservices/InputBox.h"
#include "runservices/KeyboardHook.h"
#include "runservices/LoadingState.h"
#include "runservices/PlayerKeys.h"
#include "runservices/RunHooks.h"
#include "runservices/RunState.h"
#include "runservices/Sounds.h"
#include "savegames/SavegameBackup.h"
#include "savegames/SavegameCache.h"
#include "savegames/SavegameValues.h"

namespace {

// TypeFlags bit of a media whose back colour paints the cover.
constexpr int32_t ColoreSfondoMedia = 0x20;
constexpr int16_t TastoEscape = 27;
constexpr int32_t PassoFotogramma = 100;
// The shortest pass of the frame loop, the quickest of the program's waits.
constexpr int32_t PassoMinimo = 10;
constexpr int32_t PassoOperazione = 100;
constexpr uint32_t AttesaCover = 3000;
constexpr uint32_t AttesaMinimaCd = 10001;
// How long the Escape presses that close the game's load screen are held.
constexpr int32_t DurataEscape = 200;

std::string S(int64_t v) { return std::to_string(v); }

bool Modo(int32_t m) { return ParametriSplash.Modo == m; }
bool Flag(int32_t bit) { return HaBit(ParametriSplash.Flags, bit); }
bool ConInput() { return HaBit(ParametriSplash.Modo, ModoInput); }

void Rinfresca() { DialogCover().RidisegnaCover(); }

void DaiFocusCover() {
    Dialog_Cover& cover = DialogCover();
    if (!cover.Loaded()) return;
    SetForegroundWindow(cover.hWnd());
    SetFocus(cover.hWnd());
}

// Pending events run, but the keys stay in the queue for the input box.
void EventiSenzaTasti() {
    MSG m;
    while (PeekMessageA(&m, nullptr, 0, WM_KEYFIRST - 1, PM_REMOVE) ||
           PeekMessageA(&m, nullptr, WM_KEYLAST + 1, 0xFFFFFFFF, PM_REMOVE)) {
        if (m.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(m.wParam));
            return;
        }
        TranslateMessage(&m);
        DispatchMessageA(&m);
    }
}

void RimuoviTasti() {
    StampaLog("Remove keyboard messages");
    RimuoviMessaggiTastiera();
    StampaLog("Removed messages");
}

// The splash text as the cover shows it before the player types.
std::string TestoIniziale(const std::string& testo) {
    if (!ConInput()) return testo;
    return SostituisciSenzaCaso(testo, "#PROMPT#", Flag(SplashNoPromptCursor) ? "" : "_");
}

bool Fallito(bool& TestError) {
    TestError = true;
    return false;
}

// The player's newest savegame, edited to lead to the titles and loaded.
bool AvviaTitoli(bool& TestError) {
    OperazioneGiocoCorrente& op = OperazioneGioco;
    std::string descrizione;
    op.UltimoSavegame = UltimoSavegame(op.NumeroUltimoSavegame, descrizione);
    op.LivelloDaCaricare = 0;
    const int32_t indice = op.UltimoSavegame.empty() ? -1 : IndiceSavegameCache(CacheSavegame, op.UltimoSavegame);
    if (indice < 0) {
        RigaErrore("ERROR: not found savegame: " + op.UltimoSavegame + " in savegame cache");
        return Fallito(TestError);
    }
    // The slot is the player's: the sequence's end puts it back.
    if (!Flag(SplashBackupSavegames)) BackupSavegames();
    StampaLog("Modify last savegame " + op.UltimoSavegame + " to go to title");
    SavegameBin immagine = CacheSavegame.Entries[static_cast<size_t>(indice)].Bytes;
    ModificaSavegameTitoli(immagine);
    InserisciSavegameCache(op.UltimoSavegame, immagine);
    CaricaPartitaConMacro(true);
    return true;
}

bool AvviaSalvaMediaCarica(bool& TestError) {
    OperazioneGiocoCorrente& op = OperazioneGioco;
    if (!HaBit(StatoSequenza, PartitaSalvata)) {
        InitSaveGameOperation(false);
        op.SegnaleOperazione = 0;
        return true;
    }
    StampaLog("Save the game already performed by previous media: skip to perform media and load savegame");
    if (Flag(SalvaInNuovoSlot)) StampaLog("WARNING: it's not possible save in new slot");
    StampaLog("Perform media code = " + S(ParametriSplash.Codice));
    bool eseguito = false;
    {
        SplashSospeso sospeso;
        eseguito = Ganci.EseguiMediaCode(ParametriSplash.Codice, TestError);
    }
    if (!eseguito) {
        StampaLog("Exit with value = false: abort splash screen media");
        TestError = false;
        return false;
    }
    if (TestError) {
        RigaErrore("Error: peforming mediacode " + S(ParametriSplash.Codice) + " abort operation");
        return false;
    }
    StampaLog("Media has been performed: Initialize for load game operation");
    CaricaPartitaConMacro(true);
    op.SegnaleOperazione = 1;
    return true;
}

}  // namespace

bool AvviaOperazioneSplash(bool& TestError) {
    OperazioneGiocoCorrente& op = OperazioneGioco;
    op.Flags = ParametriSplash.Flags;
    op.Codice = ParametriSplash.Modo;
    op.LunghezzaMaxInput = ParametriSplash.MaxChars;
    op.Completata = op.InizioCaricamento = op.FineCaricamento = false;
    op.IndiceMacro = op.Tentativi = op.TotMacro = op.SegnaleOperazione = 0;
    if (Flag(SplashBackupSavegames)) BackupSavegames();
    switch (ParametriSplash.Modo) {
    case ModoSalva:
        StampaLog("Current operation: save current game");
        InitSaveGameOperation(false);
        return true;
    case ModoCarica:
        StampaLog("Current operation: load last savegame");
        CaricaPartitaConMacro(true);
        return true;
    case ModoAttendiCd: {
        StampaLog("Current operation: wait for cd sound = " + S(ParametriSplash.CdSound));
        const std::string file = NomeWavTraccia(ParametriSplash.CdSound);
        if (!EsisteFile(file)) {
            RigaErrore("ERROR: missing cd sound file = " + file);
            return Fallito(TestError);
        }
        op.FileCdSavegame = file;
        op.CdSavegame = ParametriSplash.CdSound;
        op.InizioCaricamento = true;
        op.FineCaricamento = op.Completata = false;
        if (IsModoFinestra() && FinestraGioco) ShowWindowAsync(static_cast<HWND>(FinestraGioco), SW_SHOWNA);
        FocusFinestraTomb();
        return true;
    }
    case ModoAnimazione:
        if (ParametriSplash.Limite > 0)
            StampaLog("Current operation: show animation");
        else
            StampaLog("Current operation: wait " + S(MediaCorrente.Duration) + " seconds");
        op.Completata = true;
        return true;
    case ModoTitoli:
        StampaLog("Current operation: Kill Lara (go back to titles)");
        return AvviaTitoli(TestError);
    case ModoSalvaMediaCarica:
        StampaLog("Current operation: Perform media (Save the game, Perform media " + S(ParametriSplash.Codice) +
                  " and load savegame)");
        return AvviaSalvaMediaCarica(TestError);
    case ModoInput:
        StampaLog("Operation: Input Box");
        op.Tentativi = op.IndiceMacro = op.TotMacro = 0;
        op.InizioCaricamento = op.FineCaricamento = false;
        ImpostaBit(ModificheAvvio, InputBoxAttivo);
        InputSplash.clear();
        InputSplashConcluso = false;
        LunghezzaMaxInput = op.LunghezzaMaxInput;
        AttendiTastieraSilenziosa();
        StampaLog("Enabled keyboard capture: original prompt = \"" + TestoPromptSplash + "\"");
        return true;
    default:
        RigaErrore("ERROR: unknown operation to perform in current splash screen");
        return Fallito(TestError);
    }
}

bool PassaggioInputSplash(bool& risultato, bool& TestError) {
    OperazioneGiocoCorrente& op = OperazioneGioco;
    ImpostaBit(ModificheAvvio, SwapTaskBloccato);
    DaiFocusCover();
    const uint32_t inizio = ClockTick();
    int32_t ultimo = 0;
    while (!InputSplashConcluso && RichiestaAbort()) {
        int32_t tasto = 0;
        if (PeekTastoPremuto(tasto)) {
            ultimo = tasto;
            Ganci.SostituisciPrompt(static_cast<int16_t>(tasto));
            Rinfresca();
            continue;
        }
        EventiSenzaTasti();
        ClockSleep(10);
    }
    if (!InputSplashConcluso) {
        StampaLog("Abort splash screen");
        risultato = false;
        return Fallito(TestError);
    }
    op.Completata = true;
    StampaLog("Input text is complete");
    op.TickTimeOut += ClockTick() - inizio;
    if (ultimo == TastoEscape) {
        StampaLog("User chooses Escape: exit with false");
        TestError = false;
        risultato = false;
    } else {
        risultato = true;
        SalvaVariabile(IdUltimoInput, InputSplash);
        if ((ParametriSplash.LastInput.empty() || UgualeSenzaCaso(InputSplash, ParametriSplash.LastInput)) &&
            Flag(SplashCaptureOnInput)) {
            StampaLog("Capture screenshot");
            std::string percorso;
            if (Ganci.CatturaSchermoGioco(percorso)) {
                FileCatturaSchermo = percorso;
                StampaLog("Captured game screen in: " + percorso);
            } else {
                RigaErrore("ERROR: Failed game screen capture");
            }
        }
    }
    RimuoviTasti();
    return true;
}

bool ControllaOperazioneSplash(uint32_t inizioCiclo, bool& risultato, bool& esci, bool& TestError) {
    OperazioneGiocoCorrente& op = OperazioneGioco;
    const uint32_t adesso = ClockTick();
    if (op.PrimoControllo) {
        op.TickPasso = adesso;
        op.PrimoControllo = false;
        return true;
    }
    if (adesso - op.TickPasso <= static_cast<uint32_t>(PassoOperazione)) return true;
    if (op.IndiceMacro < op.TotMacro) {
        if (!EseguiOperazioneGioco()) return Fallito(TestError);
    } else {
        switch (op.Codice) {
        case ModoSalva:
            if (!VerificaSalvataggio(TestError)) return Fallito(TestError);
            break;
        case ModoCarica:
            if (!VerificaCaricamento()) return Fallito(TestError);
            break;
        case ModoAttendiCd: {
            StampaLog("Check for start cd sound = " + op.FileCdSavegame);
            op.FineCaricamento = IsFileOccupato(op.CdSavegame, FileTracciaCd, false);
            IsLoadingMode();
            if (IsPreviewMode()) {
                StampaLog("Preview mode: simulate start of cd sound " + op.FileCdSavegame);
                op.FineCaricamento = true;
            }
            if (op.FineCaricamento) {
                op.Completata = true;
                StampaLog("Detected cd sound: operation is complete");
                Ganci.ImpostaMediaCdGiaMostrati(op.CdSavegame);
            } else {
                const int64_t passati = static_cast<int64_t>(ClockTick() - inizioCiclo);
                if (passati > static_cast<int64_t>(MediaCorrente.Duration) * 1000 && passati >= AttesaMinimaCd) {
                    RigaErrore("ERROR time out (10 seconds): cd sound is not yet started: abort splash screen");
                    risultato = false;
                    esci = true;
                }
            }
            break;
        }
        case ModoTitoli:
            if (!VerificaCaricamento()) return Fallito(TestError);
            if (op.Completata) {
                StampaLog("Send 'Escape' key to close further 'load game' screen");
                for (int i = 0; i < 2; ++i) InviaCodici(true, {{1, DurataEscape}});
            }
            break;
        case ModoSalvaMediaCarica:
            if (op.SegnaleOperazione) {
                if (!VerificaCaricamento()) return Fallito(TestError);
            } else if (!VerificaSalvataggio(TestError)) {
                // The media it performed gives the splash its error flag.
                return Fallito(TestError);
            }
            break;
        default:
            break;
        }
    }
    op.TickPasso = ClockTick();
    return true;
}

namespace {

// What the splash changed for its run, given back on every road out.
struct StatoSplash {
    bool inizioFatto = false;
    bool giocoNascosto = false;
    HDC superficiePrecedente = nullptr;
    std::vector<std::string> estratti;
    int32_t conteggioEstratti = 0;
    bool sonoro = false;
};

void Pulizia(StatoSplash& st, bool risultato) {
    OperazioneGiocoCorrente& op = OperazioneGioco;
    Dialog_Cover& cover = DialogCover();
    if (HaBit(StatoSequenza, SavegameNormalizzati)) RimuoviSavegameNormalizzati();
    RilasciaTastiSpeciali();
    AbilitaInputUtente();
    FermaSuono();
    AttendiFineEscape(true);
    FinestraSplash = -1;
    if (IsModoFinestra()) {
        TogliBit(ModificheAvvio, SwapTaskBloccato);
        TogliBit(ModificheAvvio, InputBoxAttivo);
        if (ConInput()) {
            RimuoviTasti();
            ImpostaBit(ModificheAvvio, InputBoxAttivo);
            RiattivaTomb();
            TogliBit(ModificheAvvio, InputBoxAttivo);
        }
    }
    // The game hidden behind the input box comes back with it.
    if (st.giocoNascosto && FinestraGioco) ShowWindowAsync(static_cast<HWND>(FinestraGioco), SW_SHOWNA);
    TestoCover.Opaco = false;
    if (StatoAnimazioneSplash.AnimazioneSplash) {
        DistruggiDCMemoria(StatoAnimazioneSplash.AnimazioneSplash, StatoAnimazioneSplash.PrecedenteSplash);
        StatoAnimazioneSplash.AnimazioneSplash = nullptr;
        StatoAnimazioneSplash.PrecedenteSplash = nullptr;
    }
    LiberaAnimazioniSplash();
    // On both roads the cover stays loaded, hidden, as it does when it
    // refuses to be unloaded. Hidden where it stands: moved while shown, an
    // input box would carry its picture to the screen's corner until the
    // windows below repaint.
    cover.Hide();
    InitFormattazioneTesto();
    SuperficieSplash = st.superficiePrecedente;
    // Both roads: the guardian, the priority and the splash mark must not
    // stay as the splash set them for the rest of the run.
    RipristinaHookTastiera();
    RiduciPrioritaGioco(false);
    TogliBit(ModificheAvvio, SplashAttivo);
    op.OperazioniAbilitate = op.AnimazioniAbilitate = false;
    if (!risultato && (Modo(ModoTitoli) || HaBit(RequisitiSequenza, RichiedeAbortSuErrore))) AvvisoAbortSuErrore();
    for (const std::string& file : st.estratti) CancellaFile(file);
}

bool Termina(StatoSplash& st, bool risultato) {
    Pulizia(st, risultato);
    return risultato;
}

}  // namespace

bool EseguiSplashScreen(bool& BreakEscape, bool& TestError) {
    BreakEscape = false;
    TestError = false;
    StampaLog("Show Splash Screen Media");
    // A faulty section has its error line and runs on the defaults and what
    // was read before the fault.
    SintassiSplash(EstraiSezione(MediaCorrente.Syntax, "SPLASH"));
    if (!IsModoFinestra() && !IsPreviewMode() && !Modo(ModoAnimazione)) {
        RigaErrore("ERROR: Splash screen cann't perform special operation in exclusive video mode");
        TestError = true;
        return false;
    }
    OperazioneGiocoCorrente& op = OperazioneGioco;
    Dialog_Cover& cover = DialogCover();
    StatoSplash st;
    st.superficiePrecedente = SuperficieSplash;
    bool risultato = true;

    SospendiHookTastiera();
    if (Flag(SplashSuspendUserInput)) SospendiInputUtente();
    RipristinaPrioritaGioco(false);
    ImpostaBit(ModificheAvvio, SplashAttivo);

    op.SecondiTimeOut = -1;
    if (ParametriSplash.TimeOut != -1) {
        StampaLog("Start time for time-out splash screen: " + S(ParametriSplash.TimeOut) + " seconds");
        op.TickTimeOut = ClockTick();
        op.SecondiTimeOut = ParametriSplash.TimeOut;
    }

    if (!Flag(SplashNoImmediateCover)) {
        StampaLog("Show immediatly cover without wait loading image");
        if (IsModoFinestra())
            MostraCoverSopraGioco();
        else
            cover.Show();
        if (Flag(SplashCaptureKeyboard) || Modo(ModoInput))
            ImpostaBit(ModificheAvvio, SwapTaskBloccato);
        else
            DoEvents();
    }

    StampaLog("Locate files for splash screen");
    if (!EstraiFileSplash(st.estratti, st.conteggioEstratti)) {
        TestError = true;
        return Termina(st, false);
    }

    if (ConInput()) {
        if (cover.Load()) FinestraSplash = static_cast<int32_t>(reinterpret_cast<intptr_t>(cover.hWnd()));
        const Rettangolo b = ScalaSchermo(ParametriSplash.BoundWindow);
        RettCover = RettangoloDim{b.Left, b.Top, b.Right - b.Left + 1, b.Bottom - b.Top + 1};
    } else {
        RettCover = RettangoloDim{0, 0, SchermoX, SchermoY};
    }
    PosizionaCover();
    StampaLog("Splash Window Rectangle: (" + S(RettCover.X) + "," + S(RettCover.Y) + ") - (" +
              S(RettCover.Larghezza) + "," + S(RettCover.Altezza) + ")");

    std::string sfondo;
    if (MediaCorrente.TypeFlags & BackgroundImage) sfondo = MediaCorrente.MediaFile;
    if (MediaCorrente.TypeFlags & ScreenCapture) {
        sfondo = FileCatturaSchermo;
        if (!EsisteFile(sfondo)) {
            RigaErrore("ERROR: missing captured screenshot: will be used load.bmp image");
            sfondo = Trim(CartellaTrle) + "\\load.bmp";
        }
    }
    if (MediaCorrente.TypeFlags & ColoreSfondoMedia) cover.BackColor = static_cast<COLORREF>(MediaCorrente.BackColor);

    if (Modo(ModoInput)) DisegnaBoxNero();
    if (IsModoFinestra()) {
        MostraCoverSopraGioco();
        if (ConInput() || Flag(SplashCaptureKeyboard)) DaiFocusCover();
        if (Modo(ModoInput) && FinestraGioco) {
            ShowWindowAsync(static_cast<HWND>(FinestraGioco), SW_HIDE);
            st.giocoNascosto = true;
        }
    } else {
        cover.Show();
    }

    SuperficieSplash = cover.DCCover();
    cover.PulisciCover();
    RimuoviClipCover();
    if (!Modo(ModoInput)) {
        if (!Flag(SplashDontWaitHdcReady)) {
            StampaLog("Waiting for cover hdc ready");
            const uint32_t inizio = ClockTick();
            while (ClockTick() - inizio < AttesaCover) {
                if (VerificaSpostamentoSchermo()) break;
                cover.PulisciCover();
                Rinfresca();
                DoEvents();
                ClockSleep(20);
            }
            StampaLog("End waiting for cover hdc ready. Time=" + S(ClockTick() - inizio) + " & m.s.");
            DoEvents();
        } else {
            StampaLog("Flag [Dont Wait Hdc Ready]: ignore hdc ready");
        }
    }

    if (!sfondo.empty()) StretchSfondoSplash(sfondo);
    if (HaBit(MediaCorrente.Options, WaitGameStop)) AttendiBloccoGioco();
    Rinfresca();

    StatoAnimazioneSplash.AnimazioneSplash = static_cast<HDC>(
        CreaDCMemoria(cover.hWnd(), SuperficieSplash, StatoAnimazioneSplash.PrecedenteSplash));
    CopiaSchermoInDC(StatoAnimazioneSplash.AnimazioneSplash);

    const std::string testo = TestoMedia(MediaCorrente.Text);
    StampaLog("Text for Splash Screen: \"" + testo + "\"");
    TestoPromptSplash = testo;
    const bool progressivo = Flag(SplashProgressiveText);
    const bool testoDopo = Flag(SplashTextAfterAnimations);
    if (!testo.empty()) {
        StampaLog("Initialize Text Formatting");
        FormatoTestoCorrente = MediaCorrente.Formato;
        TestoCover.Opaco = Flag(SplashOpaqueText);
        TestoCover.Sfondo = static_cast<COLORREF>(ParametriSplash.BackColor);
        if (TestoCover.Opaco) StampaLog("Set opaque background for text");
        Rettangolo rett;
        if (progressivo) {
            StampaLog("Use progressive text: initialize");
            int32_t altezza = 0;
            if (!InitProgressiveText(altezza)) {
                TestError = true;
                return Termina(st, false);
            }
            rett = DatiTestoProgressivo.Rect;
            if (TestoCover.Opaco) DatiTestoProgressivo.BackColour = ParametriSplash.BackColor;
        } else {
            const int32_t altezza = LarghezzaCarattere(FormatoTestoCorrente.CharRow);
            ImpostaFontCoverSplash(NomeFontDaIndice(FormatoTestoCorrente.Font), altezza);
            TestoCover.Colore = static_cast<COLORREF>(FormatoTestoCorrente.Color);
            const Rettangolo& b = FormatoTestoCorrente.BoundRect;
            if (ConInput())
                rett = Rettangolo{Arrotonda(MillesimiDi(RettCover.Larghezza, b.Left)),
                                  Arrotonda(MillesimiDi(RettCover.Altezza, b.Top)),
                                  Arrotonda(MillesimiDi(RettCover.Larghezza, b.Right)),
                                  Arrotonda(MillesimiDi(RettCover.Altezza, b.Bottom))};
            else
                rett = ScalaSchermo(b);
        }
        if (FormatoTestoCorrente.Flags & 0x80) {
            CentraRettangoloTesto(rett, true);
            DatiTestoProgressivo.Rect = rett;
        }
        FormatoTestoCorrente.BoundRect = rett;
        StampaLog("Text bounding: " + TestoRettangolo(rett));
        if (!testoDopo && !progressivo) {
            DisegnaTestoSplash(TestoIniziale(testo));
            if (!ConInput()) CopiaSchermoInDC(StatoAnimazioneSplash.AnimazioneSplash);
            Rinfresca();
        }
    }

    if (!AvviaOperazioneSplash(TestError)) return Termina(st, false);

    op.AnimazioniAbilitate = op.OperazioniAbilitate = true;
    if (Flag(SplashOperationsFirst)) {
        op.AnimazioniAbilitate = false;
        StampaLog("Mode: first perform operations and then perform animation in exclusive mode");
    }
    if (Flag(SplashAnimationFirst)) {
        op.OperazioniAbilitate = false;
        StampaLog("Mode: first perform animation in exclusive mode and then perform operations");
        ImpostaBit(ModificheAvvio, SwapTaskBloccato);
        DaiFocusCover();
        SospendiTomb();
    }
    if (MediaCorrente.TypeFlags & BackgroundSound) {
        SuonoSfondo(MediaCorrente.SoundFile, HaBit(MediaCorrente.Options, LoopSound));
        st.sonoro = true;
    }
    const int32_t animazioni = std::min<int32_t>(ParametriSplash.Limite,
                                                 static_cast<int32_t>(ParametriSplash.Animazioni.size()));
    int32_t indice = 0;
    StatoAnimazioneSplash.AnimIndex = 0;
    bool tutteEseguite = animazioni <= 0;
    op.InitAnimazioneRichiesto = op.PrimoControllo = true;
    InitGlobalSequence();
    const uint32_t inizio = ClockTick();
    op.TestoProgressivoAttivo = progressivo && !testoDopo;
    bool testoProgressivoCompleto = !progressivo || testo.empty();
    bool durataCompleta = false;
    bool testoFinaleMostrato = false;
    bool testoFinaleScaduto = false;
    uint32_t tickTestoFinale = 0;
    RimuoviTasti();
    if (Flag(SplashCaptureKeyboard) || Modo(ModoInput)) ImpostaBit(ModificheAvvio, SwapTaskBloccato);

    const auto avviaAnimazione = [&]() {
        StampaLog("InitAnimation()");
        CambiaTabulatoreLog(1);
        const bool fatto = InitAnimation(indice);
        CambiaTabulatoreLog(-1);
        return fatto;
    };

    for (;;) {
        SegnaTempo();
        const uint32_t segno = ClockTick();
        // Once its input is complete an input box lets pending events run
        // as every other splash does.
        if (Modo(ModoInput) && !op.Completata) {
            if (!PassaggioInputSplash(risultato, TestError)) return Termina(st, false);
        } else {
            DoEvents();
        }
        if (op.Completata && HaBit(MediaCorrente.Options, EscapeBreaks) && TastiPremuti(TastoEscape)) {
            StampaLog("User hits Escape key: close splash screen");
            BreakEscape = true;
            TestError = false;
            return Termina(st, !Modo(ModoInput));
        }
        if (!tutteEseguite && op.AnimazioniAbilitate) {
            if (op.InitAnimazioneRichiesto) {
                if (!avviaAnimazione()) {
                    TestError = true;
                    return Termina(st, false);
                }
                op.InitAnimazioneRichiesto = false;
            }
            if (AnimaFrame()) {
                ++indice;
                if (indice < animazioni) {
                    if (!avviaAnimazione()) {
                        TestError = true;
                        return Termina(st, false);
                    }
                } else {
                    RimuoviClipCover();
                    tutteEseguite = true;
                    StampaLog("Performed all animations");
                    if (progressivo && testoDopo) {
                        StampaLog("Start progressive text after last animation");
                        op.TestoProgressivoAttivo = true;
                    }
                    if (!op.OperazioniAbilitate) {
                        StampaLog("Start operations after last animation");
                        op.OperazioniAbilitate = true;
                        TogliBit(ModificheAvvio, SwapTaskBloccato);
                        RiattivaTomb();
                    }
                    if (!testo.empty() && testoDopo && !progressivo) {
                        tickTestoFinale = ClockTick();
                        testoFinaleMostrato = true;
                        StampaLog("Show fixed text after last animation");
                        DisegnaTestoSplash(TestoIniziale(testo));
                    }
                }
            }
            Rinfresca();
        }
        if (progressivo && op.TestoProgressivoAttivo && !testoProgressivoCompleto) {
            MostraTestoProgressivo(testoProgressivoCompleto);
            if (testoProgressivoCompleto) StampaLog("Progressive text is complete");
        }
        if (!op.Completata && op.OperazioniAbilitate) {
            bool esci = false;
            if (!ControllaOperazioneSplash(inizio, risultato, esci, TestError)) return Termina(st, false);
            if (esci) break;
        }
        if (!durataCompleta) {
            if (TastiPremuti(TastoEscape) && HaBit(MediaCorrente.Options, EscapeBreaks)) {
                StampaLog("User hits Escape key: break");
                BreakEscape = true;
                break;
            }
            if (static_cast<int64_t>(ClockTick() - inizio) > static_cast<int64_t>(MediaCorrente.Duration) * 1000) {
                durataCompleta = true;
                StampaLog("Time durate for splash screen is complete");
            }
        }
        if (Flag(SplashOperationsFirst) && !op.AnimazioniAbilitate && op.Completata) {
            StampaLog("Put tomb raider in stand-by and start animations");
            op.AnimazioniAbilitate = true;
            ImpostaBit(ModificheAvvio, SwapTaskBloccato);
            SospendiTomb();
        }
        if (testoFinaleMostrato && !testoFinaleScaduto &&
            static_cast<int64_t>(ClockTick() - tickTestoFinale) >= static_cast<int64_t>(ParametriSplash.EndTextTime) * 1000) {
            testoFinaleScaduto = true;
            StampaLog("Time for 'text at end' is complete");
        }
        if (durataCompleta && op.Completata && testoProgressivoCompleto &&
            (!Flag(SplashWaitAllAnimations) || animazioni <= 0 || tutteEseguite))
            break;
        if (op.SecondiTimeOut != -1 &&
            static_cast<int64_t>(ClockTick() - op.TickTimeOut) > static_cast<int64_t>(op.SecondiTimeOut) * 1000) {
            RigaErrore("ERROR: time out for splash screen. Abort media");
            risultato = false;
            break;
        }
        // A running animation may be paced quicker than the loop: the pass
        // then wakes when its next frame is due, yet never sooner than a
        // short rest after its start, so that no pace draws without rest.
        uint32_t dovuto = 0;
        if (!tutteEseguite && op.AnimazioniAbilitate && TickProssimoFotogrammaSplash(dovuto) &&
            static_cast<int32_t>(dovuto - (segno + PassoFotogramma)) < 0) {
            if (static_cast<int32_t>(dovuto - (segno + PassoMinimo)) < 0) dovuto = segno + PassoMinimo;
            const int32_t resto = static_cast<int32_t>(dovuto - ClockTick());
            if (resto > 0) ClockSleep(static_cast<uint32_t>(resto));
        } else {
            AttendiDaSegno(PassoFotogramma);
        }
        if (!RichiestaAbort() && !IsPreviewMode()) {
            // A game that ended took the operation with it.
            if (!op.Completata) risultato = false;
            break;
        }
    }

    if (st.sonoro) FermaSuono();
    if (Flag(SplashStandByAtEnd) && op.Completata) {
        StampaLog("Put Tomb Raider in stand-by");
        risultato = SospendiTomb();
        StampaLog(std::string("Exit value=") + (risultato ? "True" : "False"));
    }
    return Termina(st, risultato);
}
