#include "media/ActionMedia.h"

#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <exception>
#include <string>

#include "core/FileUtils.h"
#include "core/ImageLoading.h"
#include "core/MediaConfig.h"
#include "core/MediaExtraction.h"
#include "core/MediaLog.h"
#include "core/MediaSyntax.h"
#include "core/MediaTrigger.h"
#include "core/SystemUtils.h"
#include "core/Utf8Text.h"
#include "runservices/DisplayModes.h"
#include "runservices/GameWindow.h"
#include "runservices/PlayerKeys.h"
#include "runservices/RunHooks.h"
#include "runservices/RunState.h"
#include "runservices/Sounds.h"
#include "runservices/VideoList.h"

namespace {

int32_t Larghezza(const Rettangolo& r) { return r.Right - r.Left; }
int32_t Altezza(const Rettangolo& r) { return r.Bottom - r.Top; }

std::string TestoRatio(float ratio) {
    char testo[32];
    std::snprintf(testo, sizeof testo, "%.7g", static_cast<double>(ratio));
    return testo;
}

ImmaginePixel PixelDaCopia(const CopiaSchermo& copia) {
    ImmaginePixel immagine;
    immagine.Larghezza = copia.larghezza;
    immagine.Altezza = copia.altezza;
    immagine.Colori.reserve(static_cast<size_t>(copia.larghezza) * static_cast<size_t>(copia.altezza));
    for (int32_t y = 0; y < copia.altezza; ++y)
        for (int32_t x = 0; x < copia.larghezza; ++x) immagine.Colori.push_back(PixelCopia(copia, x, y));
    return immagine;
}

// A box of a single row has no ratio: its text cannot be compared.
bool SenzaAltezza(const Rettangolo& r) {
    if (Altezza(r) > 0) return false;
    StampaLog("Bound without height: no matching");
    return true;
}

// The reference image as the comparison reads it: whole when it was taken
// in the current video mode, else the bound's part stretched to the size of
// the captured text, with the bound found again on it.
bool CaricaImmagineAzione(const std::string& percorso, const ImmagineAzione& catturata, bool stessaRisoluzione,
                          ImmaginePixel& azione, Rettangolo& a) {
    CopiaSchermo caricata;
    if (!CaricaImmagineDib(percorso, caricata.dib, caricata.larghezza, caricata.altezza)) {
        StampaLog("ERROR in ConfrontaActionMedia() : cannot load image " + percorso, true);
        return false;
    }
    if (stessaRisoluzione) {
        azione = PixelDaCopia(caricata);
        LiberaDibMemoria(caricata.dib);
        return true;
    }
    const Rettangolo& c = catturata.Bordi;
    CopiaSchermo ridotta;
    ridotta.larghezza = catturata.Immagine.Larghezza;
    ridotta.altezza = catturata.Immagine.Altezza;
    bool fatto = CreaDibMemoria(ridotta.larghezza, ridotta.altezza, ridotta.dib);
    if (fatto) {
        PatBlt(ridotta.dib.dc, 0, 0, ridotta.larghezza, ridotta.altezza, BLACKNESS);
        const int modo = SetStretchBltMode(ridotta.dib.dc, COLORONCOLOR);
        fatto = StretchBlt(ridotta.dib.dc, 2, 2, Larghezza(c), Altezza(c), caricata.dib.dc, a.Left, a.Top,
                           Larghezza(a), Altezza(a), SRCCOPY) != FALSE;
        SetStretchBltMode(ridotta.dib.dc, modo);
        GdiFlush();
    }
    LiberaDibMemoria(caricata.dib);
    if (!fatto) {
        LiberaDibMemoria(ridotta.dib);
        StampaLog("ERROR in ConfrontaActionMedia() : cannot resize image " + percorso, true);
        return false;
    }
    azione = PixelDaCopia(ridotta);
    LiberaDibMemoria(ridotta.dib);
    TrovaBordiTesto(a, azione);
    StampaLog("New resized Action Bound of " + AnsiDaUtf8(ParametriAction.Image) + ": " + TestoBordi(a) +
              "  Ratio=" + TestoRatio(CalcolaRatioForRect(a)));
    return true;
}

bool Confronta(int32_t indice, const ImmagineAzione& immagine) {
    if (indice < 0 || static_cast<size_t>(indice) >= NumTriggerCaricati()) {
        StampaLog("ERROR in ConfrontaActionMedia() : no media trigger " + std::to_string(indice), true);
        return false;
    }
    const MediaTrigger& media = ListaMedia[static_cast<size_t>(indice)];
    StampaLog("Comparison for Media Action code = " + std::to_string(media.MediaCode));
    if (!SintassiActionMedia(EstraiSezione(media.Syntax, "ACTION"))) return false;
    const ParametriActionMedia& p = ParametriAction;
    Rettangolo a = p.Bound;
    float ratioA = CalcolaRatioForRect(a);
    const bool stessaRisoluzione = p.Resolution == HeaderMcf.VideoMode;

    ImmagineAzione catturata = immagine;
    Rettangolo& c = catturata.Bordi;
    if (HaBit(p.Flags, ActionAllineaDestra)) {
        StampaLog("Flag right align to ignore item quantity: update capturing box");
        int32_t larghezza = Larghezza(a);
        if (!stessaRisoluzione) {
            larghezza = static_cast<int32_t>(std::nearbyint(static_cast<double>(Altezza(c)) * ratioA));
            StampaLog("Deduct correct width of captured pattern: ActionRatio * HeightCaptured = NewWidthCaptured");
            StampaLog("SizeYCaptured=" + std::to_string(Altezza(c)) + " X RatioAction=" + TestoRatio(ratioA) +
                      " = " + std::to_string(larghezza));
        }
        c.Left = std::max(0, c.Right - larghezza);
        StampaLog("New bound captured image: " + TestoBordi(c));
    }
    StampaLog("Original Action Bound of " + AnsiDaUtf8(p.Image) + ": " + TestoBordi(a) + "  Ratio=" +
              TestoRatio(ratioA));
    const float ratioC = CalcolaRatioForRect(c);
    StampaLog("Bound captured image: " + TestoBordi(c) + "  Ratio=" + TestoRatio(ratioC));
    if (SenzaAltezza(a) || SenzaAltezza(c)) return false;
    const double differenza = std::fabs(static_cast<double>(ratioA) - static_cast<double>(ratioC));
    char testo[32];
    std::snprintf(testo, sizeof testo, "%.3f", differenza);
    StampaLog(std::string("Absolute ratio difference: ") + testo);
    if (differenza > 0.5) {
        StampaLog("Too high ratio difference (greather than 0.5) : no matching");
        return false;
    }

    bool temporaneo = false;
    const std::string percorso = EstraiFileMedia(p.Image, temporaneo, false, false);
    if (percorso.empty()) return false;
    ImmaginePixel azione;
    const bool caricata = CaricaImmagineAzione(percorso, catturata, stessaRisoluzione, azione, a);
    if (temporaneo) CancellaFile(percorso);
    if (!caricata || SenzaAltezza(a)) return false;

    if (!ConfrontaAllineamenti(catturata.Immagine, c, azione, a)) return false;
    if (HaBit(p.Flags, ActionSuonoMatch)) SuonaEffetto(0, true, false);
    StampaLog("Images match: start media code = " + std::to_string(p.MediaCode));
    AttendiTastieraSilenziosa();
    bool errore = false;
    Ganci.EseguiMediaCode(p.MediaCode, errore);
    return true;
}

}  // namespace

void RettangoloNomeOggetto(Rettangolo& rettangolo) {
    const bool finestra = IsModoFinestra();
    int32_t larghezza = SchermoX, altezza = SchermoY;
    if (finestra) {
        LeggiClientRectTomb();
        larghezza = RettClientGioco.Right - RettClientGioco.Left;
        altezza = RettClientGioco.Bottom - RettClientGioco.Top;
    }
    rettangolo = StrisciaNomeOggetto(larghezza, altezza);
    if (finestra) RettangoloClientGioco(rettangolo);
}

bool CatturaRettangolo(ImmagineAzione& immagine) {
    immagine = ImmagineAzione{};
    try {
        Rettangolo r;
        RettangoloNomeOggetto(r);
        StampaLog("Rect capture: " + TestoBordi(r));
        CopiaSchermo striscia;
        if (!LeggiSchermo(striscia, r.Left, r.Top, Larghezza(r), Altezza(r))) {
            LiberaDibMemoria(striscia.dib);
            StampaLog("ERROR copying item name image from hdc screen to internal picture: (bitblt())", true);
            return false;
        }
        immagine.Immagine = PixelDaCopia(striscia);
        LiberaDibMemoria(striscia.dib);
        AttendiMs(200, true);
        const bool trovato = TrovaBordiTesto(immagine.Bordi, immagine.Immagine);
        StampaLog("Bound yellow text: " + TestoBordi(immagine.Bordi));
        return trovato;
    } catch (const std::exception& e) {
        StampaLog(std::string("ERROR in CatturaRettangolo() : ") + e.what(), true);
        return false;
    }
}

bool ConfrontaActionMedia(int32_t indice, const ImmagineAzione& immagine) {
    try {
        return Confronta(indice, immagine);
    } catch (const std::exception& e) {
        StampaLog(std::string("ERROR in ConfrontaActionMedia() : ") + e.what(), true);
        return false;
    }
}
