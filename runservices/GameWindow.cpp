#include "runservices/GameWindow.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <utility>

#include "core/ImageLoading.h"
#include "core/MediaConfig.h"
#include "core/MediaLog.h"
#include "core/ModuleInit.h"
#include "core/PassaggioCondiviso.h"
#include "core/SystemUtils.h"
#include "core/TextUtils.h"
#include "runservices/LoadingState.h"
#include "runservices/Desktop.h"
#include "runservices/DisplayModes.h"
#include "runservices/GameFocus.h"
#include "runservices/LoggerClient.h"
#include "runservices/RunState.h"
#include "runservices/VideoList.h"
#include "platform/Clock.h"
#include "platform/Forms.h"
#include "runservices/PlayerKeys.h"
#include "runservices/RunHooks.h"

uint32_t TickRisveglio = 0;
std::vector<FinestraThreadGioco> FinestreGioco;
int32_t NumFinestreGioco = 0;
void* HdcGioco = nullptr;
int32_t LivelloPrioritaGioco = 7;
int32_t LivelloPrioritaModulo = 7;

namespace {

// The window whose device context HdcGioco is.
HWND FinestraHdcGioco = nullptr;

constexpr int32_t LivelloGiocoRidotto = 4;
constexpr int32_t LivelloModuloVeloce = 9;
constexpr int32_t ToleranzaLarghezza = 41;
constexpr uint32_t AttesaDopoCaricamento = 2001;
constexpr uint32_t AttesaBloccoMassima = 3000;
constexpr uint32_t AttesaRefreshFinestra = 4000;

bool ContieneTomb(const std::string& titolo) {
    std::string minuscolo = titolo;
    for (char& c : minuscolo)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return minuscolo.find("tomb") != std::string::npos;
}

// Alt+Enter as the game takes it: Alt down, Enter down and up, Alt up.
std::vector<std::pair<int32_t, int32_t>> TastiAltInvio(int32_t pausaDopoAlt) {
    return {{56, pausaDopoAlt}, {28, 150}, {156, 50}, {184, 50}};
}

// A pause of the waits that keeps the program's windows alive.
void Pausa(uint32_t ms) {
    DoEvents();
    ClockSleep(ms);
}

// The game found running, shared in a pass of the tick.
TimbroCondiviso GiocoInCorso;
void* ProcessoInCorso = nullptr;

}  // namespace

bool RichiestaAbort() {
    if (IsPreviewMode()) return true;
    if (ProcessoGioco.hProcess == nullptr) return false;
    if (ProcessoInCorso == ProcessoGioco.hProcess && CondivisoValido(GiocoInCorso)) return true;
    if (WaitForSingleObject(ProcessoGioco.hProcess, 0) == WAIT_OBJECT_0) return false;
    if (TastoSistemaInCoda()) {
        StampaLog("WARNING: required to abort current application");
        ChiudiGioco();
        return false;
    }
    if (CondivisioneAttiva()) {
        GiocoInCorso = TimbraCondiviso();
        ProcessoInCorso = ProcessoGioco.hProcess;
    }
    return true;
}

bool IsLoggerAlive() {
    if (!LoggerAttivo()) return false;
    return hProcessLogger != nullptr && WaitForSingleObject(hProcessLogger, 0) == WAIT_TIMEOUT;
}

void TerminaGioco() {
    if (ProcessoGioco.hProcess == nullptr) return;
    TerminateProcess(ProcessoGioco.hProcess, 0);
    CloseHandle(ProcessoGioco.hProcess);
    ProcessoGioco.hProcess = nullptr;
    if (ProcessoGioco.hThread) CloseHandle(ProcessoGioco.hThread);
    ProcessoGioco.hThread = nullptr;
}

void ChiudiGioco() {
    if (ProcessoGioco.hProcess == nullptr) return;
    StampaLog("Close tomb raider program");
    TerminaGioco();
}

bool CercaFinestraGioco() {
    StampaLog("Searching Window Handle of tomb raider process");
    ElencaFinestreThread(ProcessoGioco.dwThreadId);
    if (NumFinestreThread <= 0) return false;
    StampaLog("Enum windows of Tomb Raider Process:");
    CambiaTabulatoreLog(1);
    FinestreGioco.clear();
    for (int32_t i = 0; i < NumFinestreThread && i < static_cast<int32_t>(FinestreThread.size()); ++i)
        FinestreGioco.push_back({FinestreThread[static_cast<size_t>(i)].hWnd,
                                 FinestreThread[static_cast<size_t>(i)].Titolo});
    NumFinestreGioco = static_cast<int32_t>(FinestreGioco.size());
    int32_t scelta = -1;
    for (int32_t i = 0; i < NumFinestreGioco; ++i) {
        const FinestraThreadGioco& f = FinestreGioco[static_cast<size_t>(i)];
        RECT r{};
        GetWindowRect(static_cast<HWND>(f.Handle), &r);
        StampaLog("Window " + std::to_string(i + 1) + ") Handle=0x" + Esadecimale(static_cast<uint32_t>(reinterpret_cast<uintptr_t>(f.Handle))) + "  Title=\"" +
                  f.Titolo + "\"  Placement=" + std::to_string(r.left) + "," + std::to_string(r.top) + " - " +
                  std::to_string(r.right) + "," + std::to_string(r.bottom));
        if (r.right == 0 || r.bottom == 0) continue;
        if (scelta < 0) {
            scelta = i;
            continue;
        }
        StampaLog("WARNING: two or more windows with not null placement");
        if (ContieneTomb(f.Titolo)) scelta = i;
    }
    CambiaTabulatoreLog(-1);
    if (scelta < 0) {
        StampaLog("WARNING: no window has valid placement");
        return false;
    }
    FinestraGioco = FinestreGioco[static_cast<size_t>(scelta)].Handle;
    StampaLog("Found handle window= 0x" + Esadecimale(static_cast<uint32_t>(reinterpret_cast<uintptr_t>(FinestraGioco))));
    // One device context at a time: the one of a window found before goes back.
    if (HdcGioco) ReleaseDC(FinestraHdcGioco, static_cast<HDC>(HdcGioco));
    FinestraHdcGioco = static_cast<HWND>(FinestraGioco);
    HdcGioco = GetDC(FinestraHdcGioco);
    return true;
}

void RettangoloClientGioco(Rettangolo& rettangolo) {
    POINT origine{0, 0};
    ClientToScreen(static_cast<HWND>(FinestraGioco), &origine);
    rettangolo.Left += origine.x;
    rettangolo.Right += origine.x;
    rettangolo.Top += origine.y;
    rettangolo.Bottom += origine.y;
}

void MostraFinestraGioco() {
    HWND finestra = static_cast<HWND>(FinestraGioco);
    if (SistemaNT) {
        StampaLog("ShowWindow Tomb raider (async)");
        if (IsModoFinestra())
            ShowWindowAsync(finestra, SW_SHOWNA);
        else
            ShowWindow(finestra, SW_RESTORE);
        return;
    }
    if (LoggerAttivo() && !HaFase(StrutturaLogger.Fasi, LoggerFase::HangGame)) {
        StampaLog("ShowWindow Tomb raider (async because hang is missing)");
        ShowWindowAsync(finestra, SW_SHOWNA);
    } else {
        StampaLog("ShowWindow tomb raider (sync)");
        ShowWindow(finestra, SW_SHOWNA);
    }
}

void AttendiBloccoGioco() {
    if (IsPreviewMode() || !LoggerAttivo()) return;
    StampaLog("Current media requires to wait that tomb raider process lost the focus");
    const uint32_t inizio = ClockTick();
    Pausa(100);
    LeggiLogger();
    while (LoggerAttivo()) {
        if (!RichiestaAbort() || HaFase(StrutturaLogger.Fasi, LoggerFase::HangGame)) break;
        if (ClockTick() - inizio >= AttesaBloccoMassima) break;
        Pausa(100);
        LeggiLogger();
    }
    if (HaFase(StrutturaLogger.Fasi, LoggerFase::HangGame))
        StampaLog("End waiting: ok, tomb raider hanged");
    else
        StampaLog("WARNING: timeout without hanging tomb raider");
}

namespace {

// The size check of VerificaRisoluzioneGioco, once per run.
void ControllaDimensioneGioco() {
    if (HaBit(StatoGioco, RisoluzioneVerificata)) return;
    if (ClockTick() - TickFineCaricamento < AttesaDopoCaricamento) return;
    if (LoggerAttivo() && !HaFase(StrutturaLogger.Fasi, LoggerFase::CreatedWindow)) return;
    ImpostaBit(StatoGioco, RisoluzioneVerificata);
    StampaLog("Perform check for video resolution of tomb raider window");
    CambiaTabulatoreLog(1);
    LeggiClientRectTomb();
    const int32_t larghezza = RettClientGioco.Right - RettClientGioco.Left;
    const int32_t altezza = RettClientGioco.Bottom - RettClientGioco.Top;
    int32_t attesaX = 0, attesaY = 0;
    if (!RequiredResolution(attesaX, attesaY)) {
        attesaX = SchermoX;
        attesaY = SchermoY;
    }
    StampaLog("Size window tomb: " + std::to_string(larghezza) + " x " + std::to_string(altezza));
    // The height is left out: the game's window may lack its caption.
    if (std::abs(larghezza - attesaX) < ToleranzaLarghezza)
        StampaLog("Check Ok!");
    else
        StampaLog("ERROR: failed to set video size for tomb raider: signals error", true);
    CambiaTabulatoreLog(-1);
}

// Reads the screen's pixels at x = 1 below the game's client area.
CopiaSchermo BordoInferiore;

}  // namespace

void VerificaRisoluzioneGioco() {
    AllineaFinestraTomb(false);
    ControllaDimensioneGioco();
}

void ControllaModoVideo() {
    if (!RichiestaAbort() || FinestraGioco == nullptr) return;
    // A game that destroyed its window (as it does while it ends) has no mode
    // or border to keep: only a new window of it is.
    if (!IsWindow(static_cast<HWND>(FinestraGioco)) && !CercaFinestraGioco()) return;
    HWND finestra = static_cast<HWND>(FinestraGioco);
    const bool condiviso = IsModoFinestra();
    // One re-alignment serves the size check too: the window was just put in place.
    if (condiviso) {
        AllineaFinestraTomb(false);
        ControllaDimensioneGioco();
    }

    if (!LoggerAttivo() && !HaBit(StatoGioco, PatchAltEnterApplicata)) {
        const LONG stile = GetWindowLongA(finestra, GWL_EXSTYLE);
        const bool inPrimoPiano = (stile & WS_EX_TOPMOST) != 0;
        bool cambia = false;
        if (condiviso && inPrimoPiano) {
            StampaLog("WARNING: tomb window became top most: restore shared mode");
            cambia = true;
        } else if (!condiviso && !inPrimoPiano) {
            StampaLog("WARNING: tomb window became shared: restore exlcusive mode");
            cambia = true;
        }
        if (cambia) {
            if (HaOpzione(HeaderMcf.HeaderOptions, OpzioneHeader::AbortOnSwapVideoMode)) {
                StampaLog("Swap video mode is complete and flag 'AbortOnSwapVideoMode' is flagged: abort game");
                ChiudiGioco();
                ImpostaBit(StatoGioco, CambioVideoAltEnter);
                return;
            }
            ClockSleep(1000);
            if (!RichiestaAbort() || IsLoadingMode()) return;
            StampaLog("Wait for end of keyboard activity");
            if (!AttendiTastieraSilenziosa() || IsLoadingMode()) return;
            StampaLog("Send keystrokes ALT + ENTER to reverse current window status");
            Ganci.InviaCodici(false, TastiAltInvio(100));
            ClockSleep(200);
            if (!RichiestaAbort() || IsLoadingMode()) return;
            DoEvents();
            StampaLog("Set new ex_style for window");
            // The top-most band changes only through the window's position.
            SetWindowPos(finestra, condiviso ? HWND_NOTOPMOST : HWND_TOPMOST, 0, 0, 0, 0,
                         SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
            AllineaFinestraTomb(false);
            StampaLog("Wait for window refresh");
            const uint32_t inizio = ClockTick();
            while (ClockTick() - inizio < AttesaRefreshFinestra) {
                Pausa(100);
                if (!RichiestaAbort() || IsLoadingMode()) break;
            }
            StampaLog("End waiting");
            AllineaFinestraTomb(false);
        }
    }

    bool focusRipristinato = false;
    if (LoggerAttivo()) {
        focusRipristinato = HaFase(StrutturaLogger.Fasi, LoggerFase::HangGame);
    } else {
        const HWND primoPiano = GetForegroundWindow();
        focusRipristinato = true;
        for (const FinestraThreadGioco& f : FinestreGioco)
            if (static_cast<HWND>(f.Handle) == primoPiano) focusRipristinato = false;
    }
    if (focusRipristinato) {
        StampaLog("WARNING: tomb raider has not the focus");
        FocusFinestraTomb();
    }

    if (condiviso && !focusRipristinato) {
        LeggiClientRectTomb();
        bool bordoAcceso = false;
        // The five pixels in one copy; those off the screen read black:
        // only a lit one counts.
        if (LeggiSchermo(BordoInferiore, 1, RettClientGioco.Bottom, 1, 5)) {
            for (int32_t y = 0; y < 5 && !bordoAcceso; ++y)
                if (PixelCopia(BordoInferiore, 0, y) != 0) bordoAcceso = true;
        }
        if (bordoAcceso) {
            StampaLog("WARNING: detected bottom border not black: draw black box");
            DisegnaBoxNero();
        }
    }

    if (HaBit(StatoGioco, RefreshSchermoRichiesto) && ClockTick() - TickRisveglio >= AttesaDopoCaricamento &&
        IsHdcValido()) {
        DisegnaBoxNero();
        StampaLog("WARNING: Black screen after stand-by tomb: Send keystrokes ALT + ENTER to refresh screeen");
        Ganci.InviaCodici(false, TastiAltInvio(150));
        TogliBit(StatoGioco, RefreshSchermoRichiesto);
    }
}

bool VerificaSpostamentoSchermo() {
    const int32_t bordoCover = RettCover.X + RettCover.Larghezza;
    const int32_t larghezza = GetSystemMetrics(SM_CXSCREEN);
    if (larghezza >= bordoCover) {
        StampaLog("Screen is in place: screen width = " + std::to_string(larghezza));
        return true;
    }
    StampaLog("Screen is not yet in place: screen width = " + std::to_string(larghezza) +
              "  cover right border = " + std::to_string(bordoCover));
    Dialog_Cover& cover = DialogCover();
    HWND finestra = cover.Loaded() ? cover.hWnd() : nullptr;
    COLORREF colore = CLR_INVALID;
    if (finestra) {
        if (HDC dc = GetDC(finestra)) {
            colore = GetPixel(dc, larghezza + 1, 0);
            ReleaseDC(finestra, dc);
        }
    }
    if (colore != CLR_INVALID) {
        StampaLog("Hdc is ready");
        return true;
    }
    StampaLog("Hdc not ready");
    return false;
}

void PosizionaCover() {
    Dialog_Cover& cover = DialogCover();
    // The cover is loaded by being placed, as a form is by its first property.
    if (!cover.Load()) return;
    SetWindowPos(cover.hWnd(), nullptr, RettCover.X, RettCover.Y, RettCover.Larghezza, RettCover.Altezza,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

bool ClassePriorita(int32_t livello, int32_t& classe, int32_t& prioritaThread) {
    if (livello < 1 || livello > 14 || livello > static_cast<int32_t>(ClassiPriorita.size()) ||
        livello > static_cast<int32_t>(PrioritaThread.size())) {
        StampaLog("ERROR: unknown priority level: " + std::to_string(livello), true);
        return false;
    }
    classe = ClassiPriorita[static_cast<size_t>(livello - 1)];
    prioritaThread = PrioritaThread[static_cast<size_t>(livello - 1)];
    return true;
}

bool ImpostaPriorita(void* processo, void* thread, int32_t livello) {
    int32_t classe = 0, prioritaThread = 0;
    if (!ClassePriorita(livello, classe, prioritaThread)) return false;
    if (!SetPriorityClass(static_cast<HANDLE>(processo), static_cast<DWORD>(classe))) {
        StampaLog("ERROR: failed calling SetPriorityClass() with Priority_class = " + std::to_string(classe), true);
        return false;
    }
    if (!SetThreadPriority(static_cast<HANDLE>(thread), prioritaThread)) {
        StampaLog("ERROR: failed calling SetThreadPriority() with Priority_thread = " + std::to_string(prioritaThread),
                  true);
        return false;
    }
    return true;
}

void RiduciPrioritaGioco(bool scriviLog) {
    if (HaBit(StatoGioco, PrioritaGiocoRidotta) || ProcessoGioco.hProcess == nullptr || IsPreviewMode()) return;
    if (scriviLog) StampaLog("Reduce priority for tomb raider process");
    ImpostaPriorita(ProcessoGioco.hProcess, ProcessoGioco.hThread, LivelloGiocoRidotto);
    ImpostaBit(StatoGioco, PrioritaGiocoRidotta);
}

bool RipristinaPrioritaGioco(bool scriviLog) {
    if (!HaBit(StatoGioco, PrioritaGiocoRidotta) || ProcessoGioco.hProcess == nullptr) return false;
    if (scriviLog) StampaLog("Restore default priority for tomb raider process");
    const bool fatto = ImpostaPriorita(ProcessoGioco.hProcess, ProcessoGioco.hThread, LivelloPrioritaGioco);
    TogliBit(StatoGioco, PrioritaGiocoRidotta);
    return fatto;
}

void VelocizzaModulo() {
    if (HaBit(StatoGioco, ModuloVeloce) || IsPreviewMode()) return;
    StampaLog("Fast media module process");
    ImpostaPriorita(GetCurrentProcess(), GetCurrentThread(), LivelloModuloVeloce);
    ImpostaBit(StatoGioco, ModuloVeloce);
}

void RallentaModulo() {
    if (!HaBit(StatoGioco, ModuloVeloce)) return;
    StampaLog("Remove fast for media module process");
    ImpostaPriorita(GetCurrentProcess(), GetCurrentThread(), LivelloPrioritaModulo);
    TogliBit(StatoGioco, ModuloVeloce);
}

void RallentaInventario(uint32_t tickInizio) {
    const uint32_t trascorsi = ClockTick() - tickInizio;
    if (trascorsi <= 1000) return;
    StampaLog("WARNING: time-out for inventory time: " + std::to_string(trascorsi) + " m.s.");
    if (LivelloPrioritaGioco != LivelloGiocoRidotto) {
        StampaLog("Force IDLE priority for tomb task");
        LivelloPrioritaGioco = LivelloGiocoRidotto;
        if (ProcessoGioco.hProcess) ImpostaPriorita(ProcessoGioco.hProcess, ProcessoGioco.hThread, LivelloGiocoRidotto);
    } else {
        StampaLog("WARNING: tomb priorirty has already been slowed down");
    }
}
