#include "runservices/Desktop.h"

#include <shellapi.h>

#include <algorithm>
#include <string>

#include "core/FileUtils.h"
#include "core/MediaConfig.h"
#include "core/MediaLog.h"
#include "core/SystemUtils.h"
#include "runservices/GameFocus.h"
#include "runservices/GameWindow.h"
#include "runservices/RunState.h"
#include "runservices/VideoList.h"
#include "runservices/KeyboardHook.h"
#include "runservices/PlayerKeys.h"
#include "platform/Clock.h"

RettangoloDim RettCover;
ANIMATIONINFO AnimazioniSalvate{sizeof(ANIMATIONINFO), 0};
void* ProcessoWizmo = nullptr;

namespace {

// Both screens are bare black popups without a frame.
void RendiSchermoNero(HWND h) {
    SetWindowLongA(h, GWL_STYLE, WS_POPUP | WS_CLIPCHILDREN);
    SetWindowPos(h, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

bool DipingiNero(HWND h, UINT msg, WPARAM wp, LRESULT& result) {
    if (msg != WM_ERASEBKGND) return false;
    RECT r;
    GetClientRect(h, &r);
    FillRect(reinterpret_cast<HDC>(wp), &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    result = 1;
    return true;
}

bool ChiusuraDaUtente(int16_t modo) { return modo == UnloadDaMenu || modo == UnloadDaTaskManager; }

HWND FinestraTaskBar() { return FindWindowA("Shell_traywnd", ""); }

}  // namespace

Dialog_Blank& DialogBlank() {
    static Dialog_Blank form;
    return form;
}

Dialog_Cover& DialogCover() {
    static Dialog_Cover form;
    return form;
}

void Dialog_Blank::Form_Load() {
    RendiSchermoNero(hWnd());
    SpostaMouseNascosto();
    const int32_t tpp = TwipsPerPixel();
    if (IsPreviewMode()) {
        LarghezzaForm = SchermoX * tpp;
        AltezzaForm = SchermoY * tpp;
    } else if (IsModoFinestra()) {
        LarghezzaForm = RiferimentoX;
        AltezzaForm = RiferimentoY;
    } else {
        // Without a required resolution the screen's own size still counts:
        // the back screen must never shrink to nothing behind the game.
        int32_t larghezza = 0, altezza = 0;
        DimensioniCodiceRisoluzione(HeaderMcf.VideoMode, larghezza, altezza);
        if (SchermoX > larghezza) larghezza = SchermoX;
        if (SchermoY > altezza) altezza = SchermoY;
        LarghezzaForm = larghezza * tpp;
        AltezzaForm = altezza * tpp;
    }
    Form_Resize();
    StampaLog("Form_Load blank: sizex=" + std::to_string(LarghezzaForm / tpp) +
              " sizey=" + std::to_string(AltezzaForm / tpp));
}

void Dialog_Blank::Form_Resize() {
    const int32_t tpp = TwipsPerPixel();
    SetWindowPos(hWnd(), nullptr, 0, 0, LarghezzaForm / tpp, AltezzaForm / tpp, SWP_NOZORDER | SWP_NOACTIVATE);
}

void Dialog_Blank::Form_QueryUnload(int16_t& Cancel, int16_t UnloadMode) {
    if (ChiusuraDaUtente(UnloadMode)) Cancel = 1;
}

void Dialog_Blank::Form_Unload(int16_t&) {
    StampaLog("Unload event for Blank Screen");
    if (RichiestaAbort() && ProcessoGioco.hProcess) {
        StampaLog("User closes blank screen: terminate tomb raider process");
        TerminaGioco();
    }
}

bool Dialog_Blank::MessaggioFinestra(UINT msg, WPARAM wp, LPARAM, LRESULT& result) {
    // Whatever resizes the back screen, it takes its own size again.
    if (msg == WM_SIZE && LarghezzaForm > 0 && AltezzaForm > 0) {
        Form_Resize();
        return false;
    }
    return DipingiNero(hWnd(), msg, wp, result);
}

void Dialog_Cover::Form_Load() { RendiSchermoNero(hWnd()); }

void Dialog_Cover::Form_Resize() {
    RECT r{};
    GetWindowRect(hWnd(), &r);
    const RettangoloDim attuale{r.left, r.top, r.right - r.left, r.bottom - r.top};
    StampaLog("Current dialog_cover size: " + std::to_string(attuale.X) + "," + std::to_string(attuale.Y) + " - " +
              std::to_string(attuale.Larghezza) + "," + std::to_string(attuale.Altezza));
    if (attuale == RettCover) return;
    StampaLog("Resize event for dialog_Cover: " + std::to_string(RettCover.X) + ", " + std::to_string(RettCover.Y) +
              " (" + std::to_string(RettCover.Larghezza) + " x " + std::to_string(RettCover.Altezza) + ")");
    PosizionaCover();
}

void Dialog_Cover::Form_QueryUnload(int16_t& Cancel, int16_t UnloadMode) {
    StampaLog("Required unload for Dialog_cover");
    if (ChiusuraDaUtente(UnloadMode)) {
        StampaLog("Request for unload Cover screen: refuse it but get invisible cover screen");
        Hide();
        RiattivaTomb();
        Cancel = 1;
    }
}

void Dialog_Cover::Form_Unload(int16_t&) {
    StampaLog("Unload event for Cover Screen");
    LiberaSuperficie();
    if (font_) DeleteObject(font_);
    font_ = nullptr;
}

Dialog_Cover::~Dialog_Cover() {
    LiberaSuperficie();
    if (font_) DeleteObject(font_);
}

void Dialog_Cover::AdattaSuperficie() {
    RECT r{};
    GetClientRect(hWnd(), &r);
    const int32_t larghezza = std::max<int32_t>(r.right - r.left, 1);
    const int32_t altezza = std::max<int32_t>(r.bottom - r.top, 1);
    if (dc_ && larghezza == larghezza_ && altezza == altezza_) return;
    LiberaSuperficie();
    HDC schermo = GetDC(hWnd());
    dc_ = CreateCompatibleDC(schermo);
    bitmap_ = dc_ ? CreateCompatibleBitmap(schermo, larghezza, altezza) : nullptr;
    ReleaseDC(hWnd(), schermo);
    if (!bitmap_) {
        StampaLog("ERROR: no memory surface for the cover screen", true);
        LiberaSuperficie();
        return;
    }
    bitmapPrecedente_ = SelectObject(dc_, bitmap_);
    larghezza_ = larghezza;
    altezza_ = altezza;
    SetBkMode(dc_, TRANSPARENT);
    if (font_) fontPrecedente_ = SelectObject(dc_, font_);
    PulisciCover();
}

HDC Dialog_Cover::DCCover() {
    if (!Loaded()) return nullptr;
    AdattaSuperficie();
    if (dc_) SetTextColor(dc_, ForeColor);
    return dc_;
}

void Dialog_Cover::PulisciCover() {
    if (!dc_) return;
    HBRUSH pennello = CreateSolidBrush(BackColor);
    const RECT r{0, 0, larghezza_, altezza_};
    if (pennello) {
        FillRect(dc_, &r, pennello);
        DeleteObject(pennello);
    }
}

void Dialog_Cover::RidisegnaCover() {
    if (!Loaded() || !dc_) return;
    if (HDC schermo = GetDC(hWnd())) {
        BitBlt(schermo, 0, 0, larghezza_, altezza_, dc_, 0, 0, SRCCOPY);
        ReleaseDC(hWnd(), schermo);
    }
}

void Dialog_Cover::LiberaSuperficie() {
    if (dc_) {
        if (fontPrecedente_) SelectObject(dc_, fontPrecedente_);
        if (bitmapPrecedente_) SelectObject(dc_, bitmapPrecedente_);
        DeleteDC(dc_);
    }
    if (bitmap_) DeleteObject(bitmap_);
    dc_ = nullptr;
    bitmap_ = nullptr;
    bitmapPrecedente_ = nullptr;
    fontPrecedente_ = nullptr;
    larghezza_ = altezza_ = 0;
}

void Dialog_Cover::ImpostaFontCover(const std::string& nome, int32_t altezzaPixel, bool grassetto) {
    HFONT nuovo = CreateFontA(-std::max<int32_t>(altezzaPixel, 1), 0, 0, 0, grassetto ? FW_BOLD : FW_NORMAL, FALSE,
                              FALSE, FALSE, DEFAULT_CHARSET, 0, 0, 0, 0, nome.c_str());
    if (!nuovo) {
        StampaLog("ERROR: the cover screen's font " + nome + " cannot be made", true);
        return;
    }
    if (dc_) {
        const HGDIOBJ prima = SelectObject(dc_, nuovo);
        if (!fontPrecedente_) fontPrecedente_ = prima;
    }
    if (font_) DeleteObject(font_);
    font_ = nuovo;
}

bool Dialog_Cover::MessaggioFinestra(UINT msg, WPARAM wp, LPARAM, LRESULT& result) {
    switch (msg) {
    case WM_SIZE:
        Form_Resize();
        return false;
    case WM_ERASEBKGND:
        if (!dc_) return DipingiNero(hWnd(), msg, wp, result);
        result = 1;
        return true;
    case WM_PAINT: {
        if (!dc_) return false;
        PAINTSTRUCT ps;
        if (HDC schermo = BeginPaint(hWnd(), &ps)) {
            BitBlt(schermo, 0, 0, larghezza_, altezza_, dc_, 0, 0, SRCCOPY);
            EndPaint(hWnd(), &ps);
        }
        result = 0;
        return true;
    }
    case WM_LBUTTONUP:
        if (!RichiestaAbort()) {
            StampaLog("Click event and Tomb Process is terminated: unload Cover");
            Unload(UnloadDaCodice);
            return true;
        }
        return false;
    case WM_SETFOCUS:
        StampaLog("Cover got focus");
        if (!IsPreviewMode() && IsModoFinestra() && !HaBit(ModificheAvvio, SwapTaskBloccato) &&
            !HaBit(StatoSequenza, StandByAttivo))
            FocusFinestraTomb();
        return false;
    case WM_KILLFOCUS:
        StampaLog("Cover lost focus");
        return false;
    default:
        return DipingiNero(hWnd(), msg, wp, result);
    }
}

void MostraBackCover() { DialogBlank().Show(); }

void NascondiBackCover() { DialogBlank().Unload(UnloadDaCodice); }

void MostraCoverTopMost() {
    RettCover = {0, 0, SchermoX, SchermoY};
    Dialog_Cover& cover = DialogCover();
    if (!cover.Load()) return;
    SetWindowPos(cover.hWnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    ShowWindow(cover.hWnd(), SW_SHOWNA);
    // A form's first showing is a resize: the cover takes its place.
    cover.Form_Resize();
    cover.Hide();
}

void ChiudiCover() { DialogCover().Unload(UnloadDaCodice); }

bool NascondiTaskBar() {
    HWND barra = FinestraTaskBar();
    if (!barra) {
        StampaLog("WARNING: not found handle for task bar window");
        return false;
    }
    ShowWindow(barra, SW_HIDE);
    return true;
}

void MostraTaskBar() { ShowWindow(FinestraTaskBar(), SW_SHOW); }

bool StatoTaskBar() {
    APPBARDATA dati{};
    dati.cbSize = sizeof dati;
    return (SHAppBarMessage(ABM_GETSTATE, &dati) & ABS_AUTOHIDE) != 0;
}

void NascondiMouse() {
    if (IsModoFinestra() || HaBit(ModificheAvvio, MouseNascosto)) return;
    ShowCursor(FALSE);
    ImpostaBit(ModificheAvvio, MouseNascosto);
    StampaLog("Hide mouse pointer");
}

void MostraMouse() {
    if (IsModoFinestra() || !HaBit(ModificheAvvio, MouseNascosto)) return;
    ShowCursor(TRUE);
    TogliBit(ModificheAvvio, MouseNascosto);
    StampaLog("Show mouse pointer");
}

void SpostaMouseNascosto() {
    StampaLog("Move mouse pointer in hidden position");
    if (TaskBarAutoNascosta)
        SetCursorPos(SchermoX - 1, 30);
    else
        SetCursorPos(SchermoX, SchermoY);
}

void DisabilitaAnimazioni() {
    AnimazioniSalvate.cbSize = sizeof(ANIMATIONINFO);
    SystemParametersInfoA(SPI_GETANIMATION, sizeof(ANIMATIONINFO), &AnimazioniSalvate, 0);
    ANIMATIONINFO spente{sizeof(ANIMATIONINFO), 0};
    SystemParametersInfoA(SPI_SETANIMATION, sizeof(ANIMATIONINFO), &spente, 0);
}

void RipristinaAnimazioni() {
    AnimazioniSalvate.cbSize = sizeof(ANIMATIONINFO);
    SystemParametersInfoA(SPI_SETANIMATION, sizeof(ANIMATIONINFO), &AnimazioniSalvate, 0);
}

bool IsScreenSaverAttivo() {
    BOOL attivo = TRUE;
    if (SystemParametersInfoA(SPI_GETSCREENSAVEACTIVE, 0, &attivo, 0) && !attivo) return false;
    return true;
}

void VerificaScreenSaver() {
    // Windows 98 and Me only.
    if (CodicePiattaforma != 4 || !IsScreenSaverAttivo() || !HaBit(StatoGioco, PrimaEsecuzione)) return;
    Messaggio("Screen-Saver could create big troubles while this level will be performed\r\n"
              "Please, disable windows screen-saver\r\n"
              "Click [ok] in this window and it will be showed Screen-Saver panel",
              StileAttenzione);
    STARTUPINFOA si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION pi{};
    std::string riga = "rundll32.exe shell32.dll,Control_RunDLL desk.cpl,,1";
    if (CreateProcessA(nullptr, riga.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
    }
}

void ImpostaMonitorPower(int32_t stato) {
    PostMessageA(GetDesktopWindow(), WM_SYSCOMMAND, SC_MONITORPOWER, static_cast<LPARAM>(stato));
}

void SpegniMonitor() {
    StampaLog("Hide monitor");
    if (!IsModoFinestra()) {
        if (SistemaNT && ProcessoWizmo &&
            WaitForSingleObject(static_cast<HANDLE>(ProcessoWizmo), 0) == WAIT_TIMEOUT) {
            // Already off: a second utility would outlive AccendiMonitor.
        } else if (SistemaNT) {
            if (ProcessoWizmo) {
                CloseHandle(static_cast<HANDLE>(ProcessoWizmo));
                ProcessoWizmo = nullptr;
            }
            const std::string wizmo = CartellaTrle + "\\wizmo.exe";
            if (!EsisteFile(wizmo)) {
                StampaLog("ERROR: missing wizmo.exe utility in trle folder", true);
                return;
            }
            void* handle = nullptr;
            if (AvviaProcesso(wizmo, "quiet monoff", handle, true) == -1) {
                StampaLog("ERROR launching wizmo.exe", true);
                return;
            }
            ProcessoWizmo = handle;
        } else {
            StampaLog("Remove keyboard messages");
            RimuoviMessaggiTastiera();
            StampaLog("Removed messages");
            ImpostaMonitorPower(2);
        }
        DoEvents();
        AttendiSecondi(2, true);
    } else {
        SospendiHookTastiera();
        RipristinaPrioritaGioco(false);
        Dialog_Cover& cover = DialogCover();
        if (cover.Load()) {
            SetWindowPos(cover.hWnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
            ShowWindow(cover.hWnd(), SW_SHOWNA);
        }
        RipristinaHookTastiera();
        RiduciPrioritaGioco(false);
    }
    ImpostaBit(StatoSequenza, MonitorSpento);
}

void AccendiMonitor(bool Riallinea) {
    StampaLog("Show monitor");
    if (!IsModoFinestra()) {
        if (!SistemaNT) {
            ImpostaMonitorPower(-1);
            DoEvents();
        } else {
            if (ProcessoWizmo) {
                TerminateProcess(static_cast<HANDLE>(ProcessoWizmo), 0);
                CloseHandle(static_cast<HANDLE>(ProcessoWizmo));
                ProcessoWizmo = nullptr;
            }
            DoEvents();
            AttendiSecondi(1, true);
        }
    } else {
        DialogCover().Hide();
        if (Riallinea) AllineaFinestraTomb(false);
    }
    TogliBit(StatoSequenza, MonitorSpento);
}

bool CoverVisibile() {
    Dialog_Cover& cover = DialogCover();
    return cover.Loaded() && IsWindowVisible(cover.hWnd());
}

void NascondiCover() { DialogCover().Hide(); }

void MostraCoverSopraGioco() {
    Dialog_Cover& cover = DialogCover();
    if (!cover.Load()) return;
    SetWindowPos(cover.hWnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}
