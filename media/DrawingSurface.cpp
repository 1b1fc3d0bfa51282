// The media window's drawing surface: the saved background, the clip, the
// text rectangle and the media's pictures.
#include <algorithm>
#include <cmath>
#include <string>

#include "core/FileUtils.h"
#include "core/ImageLoading.h"
#include "core/MediaExtraction.h"
#include "core/MediaLog.h"
#include "core/MediaTrigger.h"
#include "core/ModuleInit.h"
#include "core/SystemUtils.h"
#include "core/TextUtils.h"
#include "core/Utf8Text.h"
#include "core/MediaConfig.h"
#include "platform/Clock.h"
#include "runservices/DisplayModes.h"
#include "runservices/Sounds.h"
#include "media/ImageSequence.h"
#include "media/MediaWindow.h"
#include "media/TextLayout.h"

namespace {

// No prefix processing, tab expansion, word breaking.
constexpr UINT FormatoTesto = 0x850;

enum BitImmagine : int32_t {
    TuttaFinestra = 0x1,
    NessunaImmagine = 0x4,
    SenzaRipristino = 0x8,
    Trasparente = 0x10,
    AggiornaESuona = 0x20,
    OpzioneTrasparente = 0x40,
};

constexpr int32_t EffettoImmagine = 10;

}  // namespace

void Dialog_Titoli::CreaMemoryDC() {
    // One per media; a second call takes the place of the first.
    LiberaMemoryDC();
    if (!Picture1.hDC()) return;
    void* sostituita = nullptr;
    MemoriaDC = static_cast<HDC>(CreaDCMemoria(Picture1.hWnd(), Picture1.hDC(), sostituita));
    BitmapSostituita = static_cast<HGDIOBJ>(sostituita);
    SalvaSfondo();
}

void Dialog_Titoli::SalvaSfondo() {
    if (!MemoriaDC || !Picture1.hDC()) return;
    BitBlt(MemoriaDC, 0, 0, LarghezzaFinestra, AltezzaFinestra, Picture1.hDC(), 0, 0, SRCCOPY);
}

void Dialog_Titoli::RipristinaSfondo(bool aggiorna) {
    if (MemoriaDC && Picture1.hDC())
        BitBlt(Picture1.hDC(), 0, 0, LarghezzaFinestra, AltezzaFinestra, MemoriaDC, 0, 0, SRCCOPY);
    if (aggiorna) Picture1.Refresh();
}

void Dialog_Titoli::RipristinaSfondoRect(bool aggiorna, const Rettangolo& r) {
    if (MemoriaDC && Picture1.hDC())
        BitBlt(Picture1.hDC(), r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top, MemoriaDC, r.Left, r.Top,
               SRCCOPY);
    if (aggiorna) Picture1.Refresh();
}

void Dialog_Titoli::ImpostaClipRect() {
    if (!ClipAttivo || !Picture1.hDC()) return;
    IntersectClipRect(Picture1.hDC(), RettClip.Left, RettClip.Top, RettClip.Right, RettClip.Bottom);
}

void Dialog_Titoli::AnnullaClipRegion() {
    if (!ClipAttivo || !Picture1.hDC()) return;
    SelectClipRgn(Picture1.hDC(), nullptr);
}

void Dialog_Titoli::ApplicaBoundRectSalvato() {
    ClipAttivo = HaBit(MediaCorrente.TypeFlags, ScrollText);
    if (!ClipAttivo) return;
    RettClip = BoundRect;
    ImpostaClipRect();
}

void Dialog_Titoli::ImpostaClipRoundRect(const Rettangolo& r) {
    if (LogAbilitato)
        StampaLog("Round rect: " + std::to_string(r.Left) + "," + std::to_string(r.Top) + " - " +
                  std::to_string(r.Right) + "," + std::to_string(r.Bottom));
    if (!Picture1.hDC()) return;
    HRGN regione = CreateRoundRectRgn(r.Left, r.Top, r.Right, r.Bottom, r.Right - r.Left, r.Bottom - r.Top);
    if (!regione) return;
    ExtSelectClipRgn(Picture1.hDC(), regione, RGN_AND);
    // The device context keeps a copy of its own.
    DeleteObject(regione);
}

void Dialog_Titoli::ScriviTestoRect(const std::string& testo) {
    const Rettangolo r = CalcolaBoundRect(true);
    RipristinaSfondoRect(false, r);
    if (HDC dc = Picture1.hDC()) {
        RECT rect{r.Left, r.Top, r.Right, r.Bottom};
        const std::u16string testo16 = Utf16DaUtf8(testo);
        DrawTextW(dc, reinterpret_cast<LPCWSTR>(testo16.c_str()), static_cast<int>(testo16.size()), &rect,
                  static_cast<UINT>(FormatoTestoCorrente.Align) | FormatoTesto);
    }
    Picture1.Refresh();
}

bool Dialog_Titoli::DisegnaImmagine(const std::string& file, int32_t x, int32_t y, int32_t larghezza,
                                    int32_t altezza) {
    if (!Picture1.hDC()) return false;
    return DisegnaImmagineFile(Picture1.hDC(), file, x, y, larghezza, altezza);
}

bool Dialog_Titoli::DisegnaImmagineMillesimi(const std::string& file, const Rettangolo& millesimi) {
    const Rettangolo twips = ScalaRettangoloTwips(millesimi);
    const double tpp = std::max(TwipsPerPixel(), 1);
    // X, Y, width and height, each back to whole pixels.
    auto pixel = [tpp](int32_t t) { return static_cast<int32_t>(std::nearbyint(t / tpp)); };
    return DisegnaImmagine(file, pixel(twips.Left), pixel(twips.Top), pixel(twips.Right), pixel(twips.Bottom));
}

void Dialog_Titoli::DisegnaImmagineScalata(const std::string& file, const Rettangolo& millesimi) {
    DisegnaImmagineMillesimi(file, millesimi);
}

void Dialog_Titoli::DisegnaImmagineTrasparente(const std::string& file, const Rettangolo& millesimi, bool suono,
                                               bool riempi) {
    HDC dc = Picture1.hDC();
    if (!dc) return;
    DibMemoria immagine;
    int32_t larghezza = 0, altezza = 0;
    if (!CaricaImmagineDib(file, immagine, larghezza, altezza)) return;
    GdiFlush();
    const COLORREF trasparente = GetPixel(immagine.dc, 0, 0);
    const double W = static_cast<double>(millesimi.Right) - millesimi.Left;
    const double H = static_cast<double>(millesimi.Bottom) - millesimi.Top;
    auto inPixel = [](const Rettangolo& r) {
        RettangoloDim d;
        ScalaRettangolo(d, RettangoloDim{r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top});
        return d;
    };
    const RettangoloDim posto = inPixel(millesimi);
    // A place the layout lacks, or one turned inside out, shows nothing.
    if (W <= 0 || H <= 0 || posto.Larghezza <= 0 || posto.Altezza <= 0) {
        LiberaDibMemoria(immagine);
        return;
    }
    if (riempi) {
        HBRUSH pennello = CreateSolidBrush(trasparente);
        RECT r{posto.X, posto.Y, posto.X + posto.Larghezza, posto.Y + posto.Altezza};
        FillRect(dc, &r, pennello);
        DeleteObject(pennello);
        Picture1.Refresh();
    }
    // What lies under the place: each step starts from it, so that the
    // transparent parts show no trace of the smaller steps.
    DibMemoria sotto;
    const bool conSotto = CreaDibMemoria(posto.Larghezza, posto.Altezza, sotto);
    if (conSotto) BitBlt(sotto.dc, 0, 0, posto.Larghezza, posto.Altezza, dc, posto.X, posto.Y, SRCCOPY);

    const bool suoniLogger = suono && SuoniLoggerUsabili();
    if (suoniLogger) SuonaEffetto(4, true, false);
    int32_t frequenza = 50;
    double larghezzaOra = 5, altezzaOra = 5;
    const double passoX = W / 10.0, passoY = H / 10.0;
    const int modo = SetStretchBltMode(dc, COLORONCOLOR);
    // The size grows by a tenth of the place each step: a few more than ten
    // steps reach it, whatever the rounding.
    for (int32_t passo = 0; passo < 100; ++passo) {
        const uint32_t inizio = ClockTick();
        auto entro = [](double v, int32_t minimo, int32_t massimo) {
            return static_cast<int32_t>(std::clamp(std::nearbyint(v), static_cast<double>(minimo),
                                                   static_cast<double>(massimo)));
        };
        Rettangolo r;
        r.Left = entro(millesimi.Left + (W - larghezzaOra) / 2.0, millesimi.Left, millesimi.Right);
        r.Top = entro(millesimi.Top + (H - altezzaOra) / 2.0, millesimi.Top, millesimi.Bottom);
        r.Right = entro(r.Left + larghezzaOra, millesimi.Left, millesimi.Right);
        r.Bottom = entro(r.Top + altezzaOra, millesimi.Top, millesimi.Bottom);
        const RettangoloDim d = inPixel(r);
        if (conSotto) BitBlt(dc, posto.X, posto.Y, posto.Larghezza, posto.Altezza, sotto.dc, 0, 0, SRCCOPY);
        if (d.Larghezza > 0 && d.Altezza > 0)
            TransparentBlt(dc, d.X, d.Y, d.Larghezza, d.Altezza, immagine.dc, 0, 0, larghezza, altezza,
                           trasparente);
        Picture1.Refresh();
        const uint32_t trascorsi = ClockTick() - inizio;
        uint32_t resto = trascorsi < 50 ? 50 - trascorsi : 0;
        if (resto < 20) resto = 2;
        if (suono && !suoniLogger) {
            SuonaBeep(frequenza, static_cast<int32_t>(resto));
            // A beep that could not sound takes its time all the same.
            const uint32_t dopo = ClockTick() - inizio;
            if (dopo < trascorsi + resto) ClockSleep(trascorsi + resto - dopo);
        } else {
            ClockSleep(resto);
        }
        frequenza += 40;
        larghezzaOra += passoX;
        altezzaOra += passoY;
        if (r.Left == millesimi.Left && r.Top == millesimi.Top && r.Right == millesimi.Right &&
            r.Bottom == millesimi.Bottom)
            break;
    }
    SetStretchBltMode(dc, modo);
    if (suoniLogger) FermaSuono();
    if (conSotto) LiberaDibMemoria(sotto);
    LiberaDibMemoria(immagine);
}

void Dialog_Titoli::CaricaImmagineMedia(int32_t indice, bool& ok) {
    if (indice == 0 && immaginePronta_) {
        immaginePronta_ = false;
        ok = immagineProntaOk_;
        return;
    }
    ok = false;
    const int32_t flags = MediaCorrente.TypeFlags;
    if (HaBit(flags, BackgroundImage)) {
        bool temporaneo = false;
        const std::string file = EstraiFileMedia(MediaCorrente.MediaFile, temporaneo, false, false);
        if (file.empty()) return;
        if (temporaneo) FileTemporanei.push_back(file);
        ok = DisegnaImmagine(file, 0, 0, Picture1.Larghezza(), Picture1.Altezza());
        return;
    }
    if (HaBit(flags, ScreenCapture)) {
        std::string file = FileCatturaSchermo;
        if (!file.empty() && EsisteFile(file)) {
            if (!ConservaCatture) FileTemporanei.push_back(file);
        } else {
            file = Trim(CartellaTrle) + "\\load.bmp";
            if (!EsisteFile(file)) {
                // Neither the capture nor the game's own picture: nothing to show.
                RigaErrore("ERROR: missing captured screen and picture: " + file);
                return;
            }
        }
        ok = DisegnaImmagine(file, 0, 0, Picture1.Larghezza(), Picture1.Altezza());
        return;
    }
    if (HaBit(flags, ImageSequence)) {
        if (indice < 0 || indice >= static_cast<int32_t>(ListaImmagini.size())) {
            RigaErrore("ERROR: image sequence has no picture number " + std::to_string(indice));
            return;
        }
        const ImmagineSequenza immagine = ListaImmagini[static_cast<size_t>(indice)];
        const int32_t f = immagine.IFlags;
        AnnullaClipRegion();
        bool dipinta = true;
        if (HaBit(f, NessunaImmagine)) {
            if (!HaBit(f, SenzaRipristino)) RipristinaSfondo(false);
        } else {
            Rettangolo r{0, 0, 1000, 1000};
            bool aggiorna = false;
            if (!HaBit(f, TuttaFinestra)) {
                r = immagine.Bound;
                if (!HaBit(f, SenzaRipristino)) RipristinaSfondo(false);
                aggiorna = HaBit(f, AggiornaESuona);
            }
            if (HaBit(f, Trasparente)) {
                DisegnaImmagineTrasparente(immagine.Image, r, HaBit(f, OpzioneTrasparente), false);
            } else {
                dipinta = DisegnaImmagineMillesimi(immagine.Image, r);
                if (aggiorna) {
                    Picture1.Refresh();
                    SuonaEffetto(EffettoImmagine, false, false);
                }
            }
        }
        // The picture becomes part of the background the texts restore.
        SalvaSfondo();
        ImpostaClipRect();
        ok = dipinta;
        return;
    }
    ok = true;
}
