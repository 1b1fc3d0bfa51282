#include "runservices/DisplayModes.h"

#include <cmath>
#include <cstdlib>
#include <string>

#include "core/ImageLoading.h"
#include "core/MediaConfig.h"
#include "core/MediaLog.h"
#include "core/TextUtils.h"
#include "runservices/Desktop.h"
#include "runservices/GameFocus.h"
#include "runservices/GameWindow.h"
#include "runservices/RunState.h"
#include "platform/Clock.h"
#include "platform/Forms.h"

DEVMODEA ModoVideoCorrente{};

namespace {

constexpr uint32_t AttesaMassimaMs = 6000;

// The area of the screen in one copy: a read per pixel costs a trip to the
// display server each. An area that cannot be read is no black one; an empty
// one is.
bool AreaNera(HDC dc, int32_t x, int32_t y, int32_t larghezza, int32_t altezza) {
    if (larghezza <= 0 || altezza <= 0) return true;
    DibMemoria area;
    if (!CreaDibMemoria(larghezza, altezza, area)) return false;
    bool nera = BitBlt(area.dc, 0, 0, larghezza, altezza, dc, x, y, SRCCOPY) != FALSE;
    if (nera) GdiFlush();
    const size_t passo = (static_cast<size_t>(larghezza) * 3 + 3) & ~static_cast<size_t>(3);
    const auto* bgr = static_cast<const uint8_t*>(area.bit);
    for (int32_t r = 0; r < altezza && nera; ++r) {
        const uint8_t* riga = bgr + passo * static_cast<size_t>(r);
        for (size_t i = 0; i < static_cast<size_t>(larghezza) * 3; ++i)
            if (riga[i] != 0) {
                nera = false;
                break;
            }
    }
    LiberaDibMemoria(area);
    return nera;
}

}  // namespace

int32_t TwipsPerPixel() {
    HDC dc = GetDC(nullptr);
    const int dpi = dc ? GetDeviceCaps(dc, LOGPIXELSX) : 96;
    if (dc) ReleaseDC(nullptr, dc);
    return dpi > 0 ? 1440 / dpi : 15;
}

bool IsModoFinestra() { return HaOpzione(HeaderMcf.HeaderOptions, OpzioneHeader::SharedMode); }

bool LeggiModoVideo() {
    DEVMODEA modo{};
    modo.dmSize = sizeof modo;
    if (!EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &modo)) return false;
    ModoVideoCorrente = modo;
    return true;
}

bool EsisteModoVideo(DEVMODEA& modo, int32_t larghezza, int32_t altezza, int32_t bits) {
    for (DWORD i = 0;; ++i) {
        DEVMODEA m{};
        m.dmSize = sizeof m;
        if (!EnumDisplaySettingsA(nullptr, i, &m)) return false;
        if (static_cast<int32_t>(m.dmBitsPerPel) == bits && static_cast<int32_t>(m.dmPelsWidth) == larghezza &&
            static_cast<int32_t>(m.dmPelsHeight) == altezza) {
            modo = m;
            return true;
        }
    }
}

bool CambiaModoVideo(int32_t larghezza, int32_t altezza, int32_t bits) {
    LeggiModoVideo();
    DEVMODEA modo{};
    if (!EsisteModoVideo(modo, larghezza, altezza, bits)) return false;
    modo.dmFields = DM_PELSWIDTH | DM_PELSHEIGHT | DM_BITSPERPEL;
    return ChangeDisplaySettingsA(&modo, 0) == DISP_CHANGE_SUCCESSFUL;
}

void RipristinaModoVideo() { ChangeDisplaySettingsA(nullptr, 0); }

void ScanRisoluzioneCorrente(int32_t& larghezza, int32_t& altezza, int32_t& bits) {
    if (LeggiModoVideo()) {
        larghezza = static_cast<int32_t>(ModoVideoCorrente.dmPelsWidth);
        altezza = static_cast<int32_t>(ModoVideoCorrente.dmPelsHeight);
        bits = static_cast<int32_t>(ModoVideoCorrente.dmBitsPerPel);
        return;
    }
    StampaLog("ERROR: failed scan for current resolution mode", true);
    larghezza = GetSystemMetrics(SM_CXSCREEN);
    altezza = GetSystemMetrics(SM_CYSCREEN);
    bits = 32;
}

void ScanSchermoDesktop() {
    int32_t bits = 0;
    ScanRisoluzioneCorrente(SchermoX, SchermoY, bits);
    RiferimentoX = SchermoX * TwipsPerPixel();
    RiferimentoY = SchermoY * TwipsPerPixel();
    RettCover = RettangoloDim{0, 0, SchermoX, SchermoY};
}

void LeggiClientRectTomb() {
    RECT r{};
    GetClientRect(static_cast<HWND>(FinestraGioco), &r);
    if (r.right == 0 || r.bottom == 0) {
        // A window the game has destroyed (as it does when it ends) has no
        // client zone to be wrong: only a window still there is an error.
        if (FinestraGioco && !IsWindow(static_cast<HWND>(FinestraGioco)))
            StampaLog("WARNING: tomb raider window no longer exists: try to get newly window handle");
        else
            StampaLog("ERROR: client zone of tomb raider window is invalid: try to get newly window handle", true);
        if (CercaFinestraGioco()) GetClientRect(static_cast<HWND>(FinestraGioco), &r);
    }
    RettClientGioco = {r.left, r.top, r.right, r.bottom};
}

void DisegnaBoxNero() {
    LeggiClientRectTomb();
    HDC dc = GetDC(nullptr);
    if (dc) {
        RECT striscia{0, RettClientGioco.Bottom, SchermoX, SchermoY};
        FillRect(dc, &striscia, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        ReleaseDC(nullptr, dc);
    }
    SpostaMouseNascosto();
}

void AllineaFinestraTomb(bool ForzaBox) {
    if (!IsModoFinestra() || IsPreviewMode()) return;
    HWND finestra = static_cast<HWND>(FinestraGioco);
    // A window gone has no place: its empty rectangle would move nothing
    // and black out the whole screen.
    if (!IsWindow(finestra)) return;
    POINT origine{0, 0};
    ClientToScreen(finestra, &origine);
    RECT r{};
    GetWindowRect(finestra, &r);
    const int32_t x = r.left - origine.x;
    const int32_t y = r.top - origine.y;
    const int32_t larghezza = SchermoX + 8;
    const int32_t altezza = SchermoY + 27;
    bool sposta = origine.x != 0 || origine.y != 0;
    if (r.right * 100 / larghezza < 95 || r.bottom * 100 / altezza < 85) {
        StampaLog("WARNING: too high difference in window placement: Difx=" + std::to_string(larghezza - r.right) +
                  "   DifY=" + std::to_string(altezza - r.bottom));
        sposta = true;
    }
    if (sposta) {
        StampaLog("Align Tomb Raider Device Context with screen hdc");
        MoveWindow(finestra, x, y, larghezza, altezza, FALSE);
        StampaLog("Move tomb window to: " + std::to_string(x) + "," + std::to_string(y) + " - " +
                  std::to_string(larghezza) + "," + std::to_string(altezza));
    } else if (!ForzaBox) {
        return;
    }
    Dialog_Cover& cover = DialogCover();
    if (cover.Loaded() && IsWindowVisible(cover.hWnd())) return;
    StampaLog("Draw black box");
    DisegnaBoxNero();
}

bool AttendiRisoluzioneIniziale() {
    ShowWindowAsync(static_cast<HWND>(FinestraGioco), SW_HIDE);
    DoEvents();
    Dialog_Blank& blank = DialogBlank();
    if (blank.Loaded()) SetForegroundWindow(blank.hWnd());

    // Both sizes must be back: a game mode that shares one side with the
    // desktop (1280x1024 and 1280x720) would end the wait too early.
    int32_t larghezza = 0, altezza = 0;
    uint32_t inizio = ClockTick();
    bool tornata = false;
    for (;;) {
        DoEvents();
        if (LeggiModoVideo()) {
            larghezza = static_cast<int32_t>(ModoVideoCorrente.dmPelsWidth);
            altezza = static_cast<int32_t>(ModoVideoCorrente.dmPelsHeight);
            if (larghezza == SchermoOrigX && altezza == SchermoOrigY) {
                tornata = true;
                break;
            }
        }
        if (ClockTick() - inizio >= AttesaMassimaMs) break;
        ClockSleep(10);
    }
    if (!tornata) {
        StampaLog("TimeOut: Screen size is not yet original windows screen: Previous res: " +
                  std::to_string(SchermoOrigX) + "x" + std::to_string(SchermoOrigY) +
                  "   Current screen res: " + std::to_string(larghezza) + "x" + std::to_string(altezza));
        return false;
    }
    inizio = ClockTick();
    for (;;) {
        if (IsHdcValido()) return true;
        if (ClockTick() - inizio >= AttesaMassimaMs) return false;
        DoEvents();
        ClockSleep(10);
    }
}

bool IsHdcValido() {
    HDC dc = GetDC(nullptr);
    if (!dc) {
        StampaLog("ERROR hdc handle not valid", true);
        return true;
    }
    const int32_t h = SchermoY - 60;
    const bool nero = AreaNera(dc, 0, h / 2, SchermoX, 1) && AreaNera(dc, SchermoX / 2, 0, 1, h);
    ReleaseDC(nullptr, dc);
    return nero;
}

void RisvegliaFinestraTomb() {
    HWND finestra = static_cast<HWND>(FinestraGioco);
    ShowWindowAsync(finestra, SW_SHOWNA);
    TogliBit(ModificheAvvio, GiocoInStandBy);
    TogliBit(StatoSequenza, StandByAttivo);
    DoEvents();
    AttivaApplicazione(ProcessoGioco.dwProcessId);
    ImpostaBit(StatoGioco, RefreshSchermoRichiesto);
    TickRisveglio = ClockTick();
    DisegnaBoxNero();
}

void SchermoMillesimi(int32_t& larghezza, int32_t& altezza) {
    const bool schermoOriginale = !IsModoFinestra() && !IsPreviewMode();
    larghezza = schermoOriginale ? SchermoOrigX : SchermoX;
    altezza = schermoOriginale ? SchermoOrigY : SchermoY;
}

void ScalaRettangolo(RettangoloDim& risultato, const RettangoloDim& riferimento) {
    int32_t larghezza = 0, altezza = 0;
    SchermoMillesimi(larghezza, altezza);
    const double baseX = larghezza;
    const double baseY = altezza;
    risultato.X = Arrotonda(baseX * riferimento.X / 1000.0);
    risultato.Y = Arrotonda(baseY * riferimento.Y / 1000.0);
    risultato.Larghezza = Arrotonda(baseX * riferimento.Larghezza / 1000.0);
    risultato.Altezza = Arrotonda(baseY * riferimento.Altezza / 1000.0);
}

Rettangolo RettangoloFuoriSchermo(const Rettangolo& millesimi) {
    // Signed: a side already past its border is the nearest.
    const int64_t distanze[4] = {millesimi.Left, millesimi.Top, 1000 - int64_t{millesimi.Right},
                                 1000 - int64_t{millesimi.Bottom}};
    int bordo = 0;
    for (int i = 1; i < 4; ++i)
        if (distanze[i] < distanze[bordo]) bordo = i;
    const int32_t w = millesimi.Right - millesimi.Left;
    const int32_t h = millesimi.Bottom - millesimi.Top;
    int32_t x = millesimi.Left, y = millesimi.Top;
    switch (bordo) {
    case 0: x = -w; break;
    case 1: y = -h; break;
    case 2: x = 1000; break;
    default: y = 1000; break;
    }
    return {x, y, x + w, y + h};
}
