#include "media/LifeBar.h"

#include <cmath>

#include "core/FileUtils.h"
#include "core/MediaExtraction.h"
#include "core/MediaLog.h"
#include "core/SharedState.h"
#include "core/TextUtils.h"
#include "platform/Clock.h"
#include "runservices/Desktop.h"
#include "runservices/DisplayModes.h"
#include "runservices/GameControls.h"
#include "runservices/GameWindow.h"
#include "runservices/LoggerClient.h"
#include "runservices/PlayerKeys.h"
#include "runservices/RunHooks.h"
#include "runservices/RunState.h"
#include "runservices/Sounds.h"
#include "runservices/TombSettings.h"

StatoLifeBar LifeBarStato;

namespace {

constexpr int32_t EffettoBlinkBarra = 5;

}  // namespace

bool InitLifeBar() {
    // What an earlier bar left is freed first, and only that.
    DistruggiLifeBar();
    StatoLifeBar& s = LifeBarStato;
    RettangoloBarra r;
    if (!RettangoloLifeBar(TombSchermoX, TombSchermoY, r) || r.Right == 0) return false;
    s.RettBarra = RECT{r.Left, r.Top, r.Right, r.Bottom};
    s.LarghezzaBarra = r.Right - r.Left;
    s.AltezzaBarra = r.Bottom - r.Top;
    s.StatoBlink = false;
    s.UltimaPercentuale = -1.0;
    const bool finestra = IsModoFinestra();
    s.OrigineX = finestra ? 0 : r.Left;
    s.OrigineY = finestra ? 0 : r.Top;

    s.UltimoTick = ClockTick();
    s.Progresso = 0;
    s.TempoPieno = LifeBarParametri.DurataPiena;
    StampaLog("Full time=" + std::to_string(LifeBarParametri.DurataPiena) + " seconds");
    s.FlagCorrenti = LifeBarParametri.FlagLifeBar;
    s.BlinkCorrente = LifeBarParametri.PercBlink;
    StampaLog("Perc. Blink=" + std::to_string(LifeBarParametri.PercBlink) + " %");
    s.RiduzioneCorrente = LifeBarParametri.PercRiduzione;
    s.FileImmagineTemp.clear();
    if (HaBit(s.FlagCorrenti, RiempimentoImmagine)) {
        bool temporaneo = false;
        const std::string percorso = EstraiFileMedia(LifeBarParametri.ImmagineBarra, temporaneo, false, false);
        if (percorso.empty()) return false;
        if (temporaneo) s.FileImmagineTemp = percorso;
        if (!CaricaImmagineDib(percorso, s.Immagine, s.LarghezzaImmagine, s.AltezzaImmagine)) {
            DistruggiLifeBar();
            return false;
        }
    }

    RettCover = RettangoloDim{r.Left, r.Top, s.LarghezzaBarra, s.AltezzaBarra};
    PosizionaCover();
    Dialog_Cover& cover = DialogCover();
    if (!cover.Loaded()) {
        DistruggiLifeBar();
        return false;
    }
    cover.BackColor = RGB(0, 0, 0);
    HDC dcCover = cover.DCCover();
    cover.PulisciCover();
    MostraCoverSopraGioco();

    // The bar's own size: the cover's client area is that size once placed.
    s.DCBarra = dcCover ? CreateCompatibleDC(dcCover) : nullptr;
    s.BitmapBarra = s.DCBarra ? CreateCompatibleBitmap(dcCover, s.LarghezzaBarra, s.AltezzaBarra) : nullptr;
    if (!s.BitmapBarra) {
        StampaLog("ERROR in InitLifeBar(): no memory bitmap for the bar", true);
        DistruggiLifeBar();
        return false;
    }
    s.BitmapPrecedente = SelectObject(s.DCBarra, s.BitmapBarra);
    s.PennelloBarra = CreateSolidBrush(static_cast<COLORREF>(LifeBarParametri.ColoreBarra));

    // The white left round the inside stays as the bar's frame.
    const RECT tutto{0, 0, s.LarghezzaBarra + 1, s.AltezzaBarra + 1};
    HBRUSH bianco = CreateSolidBrush(RGB(255, 255, 255));
    if (!bianco || !FillRect(s.DCBarra, &tutto, bianco)) StampaLog("WARNING error FillRect()");
    if (bianco) DeleteObject(bianco);
    return true;
}

bool AggiornaLifeBar() {
    StatoLifeBar& s = LifeBarStato;
    const uint32_t ora = ClockTick();
    // Signed, so that a tick moved forward by a pause gives no huge step.
    const int32_t delta = static_cast<int32_t>(ora - s.UltimoTick);
    s.UltimoTick = ora;
    int32_t p = s.Progresso;
    const auto duck = static_cast<int>(TastoGioco::Duck);
    if (!HaBit(s.FlagCorrenti, IgnoraAbbassato) &&
        TastoGiocoPremuto(ImpostazioniTombCorrenti.Tasti[duck], ImpostazioniTombCorrenti.TastiDefault[duck]) != 0) {
        StampaLog("Ponytail detected");
        if (HaBit(s.FlagCorrenti, RecuperoAbbassato)) p -= delta;
        if (HaBit(s.FlagCorrenti, RiduzioneAbbassato)) p += Arrotonda(delta - PercentualeDi(delta, s.RiduzioneCorrente));
    } else {
        p += delta;
    }
    s.Progresso = p;
    double percentuale = PercentualeRapporto(static_cast<double>(s.TempoPieno) * 1000.0, p);
    if (percentuale < 0) percentuale = 0;
    if (percentuale > 100) percentuale = 100;
    s.UltimaPercentuale = percentuale;
    if (HaBit(s.FlagCorrenti, Lampeggia)) {
        const bool vicinoFine = HaBit(s.FlagCorrenti, BarraCrescente) ? percentuale >= s.BlinkCorrente
                                                                     : 100 - percentuale <= s.BlinkCorrente;
        s.StatoBlink = vicinoFine ? !s.StatoBlink : false;
    }
    bool blink = s.StatoBlink;
    DisegnaLifeBar(percentuale, blink);
    return percentuale != 100 || static_cast<int64_t>(s.Progresso) < static_cast<int64_t>(s.TempoPieno) * 1000;
}

void CancellaRettangolo(HDC dc, const RECT& rett) {
    BitBlt(dc, rett.left, rett.top, rett.right - rett.left, rett.bottom - rett.top, nullptr, 0, 0, BLACKNESS);
}

void DisegnaLifeBar(double percentuale, bool& blink) {
    StatoLifeBar& s = LifeBarStato;
    if (!s.DCBarra) return;
    const int32_t utile = s.LarghezzaBarra - 4;
    int32_t pieno = Arrotonda(PercentualeDi(utile, percentuale));
    if (!HaBit(s.FlagCorrenti, BarraCrescente)) pieno = utile - pieno;
    CancellaRettangolo(s.DCBarra, RECT{1, 1, s.LarghezzaBarra - 1, s.AltezzaBarra - 1});
    if (!blink && pieno != 0 && HaBit(s.FlagCorrenti, RiempimentoColore)) {
        const RECT r{2, 2, 2 + pieno, s.AltezzaBarra - 2};
        FillRect(s.DCBarra, &r, s.PennelloBarra);
    }
    // With both fills the picture lies over the colour.
    if (!blink && pieno != 0 && HaBit(s.FlagCorrenti, RiempimentoImmagine)) {
        if (!s.Immagine.dc || !BitBlt(s.DCBarra, 2, 2, pieno, s.AltezzaBarra - 4, s.Immagine.dc, 0, 0, SRCCOPY))
            StampaLog("WARNING error from BitBlt()");
    }
    CopyBar();
    if (blink && HaBit(BloccoAlert.FlagAlert, BeepSecondi)) {
        StampaLog("Beep for life bar");
        SuonaEffetto(EffettoBlinkBarra, true, false);
    }
}

void CopyBar() {
    StatoLifeBar& s = LifeBarStato;
    Dialog_Cover& cover = DialogCover();
    HDC dc = cover.DCCover();
    if (!s.DCBarra || !dc) return;
    if (!BitBlt(dc, s.OrigineX, s.OrigineY, s.LarghezzaBarra, s.AltezzaBarra, s.DCBarra, 0, 0, SRCCOPY))
        StampaLog("WARNING error BitBlt() in CopyBar():" + std::to_string(GetLastError()));
    if (IsModoFinestra()) cover.RidisegnaCover();
}

namespace {

void RipristinaBarra(double percentuale) {
    StatoLifeBar& s = LifeBarStato;
    StampaLog("Detected newly alert cd sound: restore bar progression");
    s.UltimoTick = ClockTick();
    s.Progresso = Arrotonda(PercentualeDi(static_cast<double>(s.TempoPieno) * 1000.0, percentuale));
    s.UltimaPercentuale = percentuale;
}

// The game's pause, or True when the game asks the alert to stop.
bool Interrotto(int32_t& pausa) {
    bool abort = false;
    pausa = Ganci.AnalisiGameProgress(abort, -1, false);
    return abort;
}

}  // namespace

bool ChiudiLifeBar(int32_t cd) {
    StatoLifeBar& s = LifeBarStato;
    if (HaBit(s.FlagCorrenti, RimuoviSubito)) {
        StampaLog("Remove immediatly life bar");
        return false;
    }
    int32_t pausa = 0;
    if (HaBit(s.FlagCorrenti, PienaDueSecondi)) {
        StampaLog("Show full bar for 2 seconds and then exit");
        bool spento = false;
        DisegnaLifeBar(0, spento);
        uint32_t t0 = ClockTick();
        do {
            SegnaTempo();
            if (Interrotto(pausa)) return false;
            t0 += static_cast<uint32_t>(pausa);
            if (IsFileOccupato(cd, FileTracciaCd, false)) {
                RipristinaBarra(0);
                return true;
            }
            AttendiDaSegno(100);
        } while (static_cast<int32_t>(ClockTick() - t0) < 2000);
    }
    if (HaBit(s.FlagCorrenti, RiempiLentamente)) {
        StampaLog("Increase slowly life bar to full and then exit");
        double p = s.UltimaPercentuale;
        double passo = 1.0;
        SegnaTempo();
        p -= 1.0;
        if (Interrotto(pausa)) return false;
        // Each step is 1.2 times the last, so the refill ends in a few dozen steps.
        for (;;) {
            if (p < 0) p = 0;
            bool spento = false;
            DisegnaLifeBar(p, spento);
            if (IsFileOccupato(cd, FileTracciaCd, false)) {
                RipristinaBarra(p);
                return true;
            }
            passo *= 1.2;
            AttendiDaSegno(LoggerAttivo() ? 100 : 50);
            if (p <= 0) return false;
            SegnaTempo();
            p -= passo;
            if (Interrotto(pausa)) return false;
        }
    }
    return false;
}

void DistruggiLifeBar() {
    StatoLifeBar& s = LifeBarStato;
    if (s.PennelloBarra) DeleteObject(s.PennelloBarra);
    s.PennelloBarra = nullptr;
    if (s.DCBarra) {
        if (s.BitmapPrecedente) SelectObject(s.DCBarra, s.BitmapPrecedente);
        DeleteDC(s.DCBarra);
    }
    if (s.BitmapBarra) DeleteObject(s.BitmapBarra);
    s.DCBarra = nullptr;
    s.BitmapBarra = nullptr;
    s.BitmapPrecedente = nullptr;
    LiberaDibMemoria(s.Immagine);
    s.LarghezzaImmagine = s.AltezzaImmagine = 0;
    if (!s.FileImmagineTemp.empty()) CancellaFile(s.FileImmagineTemp);
    s.FileImmagineTemp.clear();
}
