#include "media/ActionMatching.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "core/MediaConfig.h"
#include "core/MediaLog.h"
#include "core/MediaSyntax.h"
#include "core/TextUtils.h"

ParametriActionMedia ParametriAction;

namespace {

constexpr int32_t LatoMassimoImmagine = 32767;

uint8_t Rosso(uint32_t c) { return static_cast<uint8_t>(c & 0xFF); }
uint8_t Verde(uint32_t c) { return static_cast<uint8_t>((c >> 8) & 0xFF); }
uint8_t Blu(uint32_t c) { return static_cast<uint8_t>((c >> 16) & 0xFF); }

std::string Decimali(double valore, int cifre) {
    char testo[64];
    std::snprintf(testo, sizeof testo, "%.*f", cifre, valore);
    return testo;
}

void RigaPixel(const char* lato, int32_t x, int32_t y, uint32_t colore) {
    StampaLog(std::string(lato) + " pixel (" + std::to_string(x) + "," + std::to_string(y) + ") = 0x" +
              Esadecimale(colore));
}

bool LeggiBound(const std::string& valore, Rettangolo& bound) {
    std::vector<std::string> parti;
    if (!valore.empty() && valore != "~") parti = DividiTesto(valore, ':');
    if (parti.size() != 4) return RigaErrore("ERROR in Action media: wrong number of arguments in #BOUND# field");
    int32_t v[4];
    for (size_t i = 0; i < 4; ++i)
        if (!ValoreIntero32(parti[i], v[i]))
            return RigaErrore("ERROR in Action media: not numeric value in #BOUND# field: " + valore);
    // Inside the largest picture the platform makes: no size or shift
    // computed from the bound can overflow.
    for (int32_t x : v)
        if (x < 0 || x > LatoMassimoImmagine)
            return RigaErrore("ERROR in Action media: value out of range in #BOUND# field: " + valore);
    bound = {v[0], v[1], v[2], v[3]};
    return true;
}

// The positions 0 to ultima whose pixel lies inside both surfaces: the
// others count as different without being read, so that a bound far
// outside its picture costs nothing.
void Sovrapposte(int64_t inizioC, int32_t latoC, int64_t inizioA, int32_t latoA, int64_t ultima, int64_t& da,
                 int64_t& a) {
    da = std::max<int64_t>({0, -inizioC, -inizioA});
    a = std::min<int64_t>({ultima, latoC - 1 - inizioC, latoA - 1 - inizioA});
}

// The first row (or column), from the top (left) or from the bottom
// (right), that holds a strict text pixel, each walked from its start.
bool PrimaLinea(const ImmaginePixel& immagine, bool righe, bool indietro, const char* lato, int32_t& linea) {
    const int32_t linee = righe ? immagine.Altezza : immagine.Larghezza;
    const int32_t lunghezza = righe ? immagine.Larghezza : immagine.Altezza;
    for (int32_t i = 0; i < linee; ++i) {
        const int32_t l = indietro ? linee - 1 - i : i;
        for (int32_t j = 0; j < lunghezza; ++j) {
            const int32_t x = righe ? j : l, y = righe ? l : j;
            const uint32_t colore = immagine.Pixel(x, y);
            if (!IsPixelTesto(colore, true)) continue;
            linea = l;
            RigaPixel(lato, x, y, colore);
            return true;
        }
    }
    return false;
}

int32_t Larghezza(const Rettangolo& r) { return r.Right - r.Left; }
int32_t Altezza(const Rettangolo& r) { return r.Bottom - r.Top; }

}  // namespace

bool SintassiActionMedia(const std::string& sezione) {
    ParametriAction = ParametriActionMedia{};
    ParametriAction.Resolution = HeaderMcf.VideoMode;
    if (sezione.empty()) return true;

    std::string testo = sezione;
    struct Campo {
        const char* tag;
        int32_t ParametriActionMedia::*campo;
        const char* errore;
    };
    static const Campo richiesti[] = {
        {"#FLAGS#=", &ParametriActionMedia::Flags, "ERROR in Action Media: missing #flags# value"},
        {"#MEDIA_CODE#=", &ParametriActionMedia::MediaCode, "ERROR in Action Media: missing #media_code# value"},
        {"#TOLLERANCE#=", &ParametriActionMedia::Tollerance, "ERROR in Action Media: missing #Tollerance# value"},
        {"#M_POINTS#=", &ParametriActionMedia::MPoints, "ERROR in Action Media: missing #M_POINTS# value"},
    };
    for (const Campo& c : richiesti) {
        int32_t valore = 0;
        if (!ValoreIntero32(EstraiTag(testo, c.tag), valore)) return RigaErrore(c.errore);
        ParametriAction.*c.campo = valore;
    }
    int32_t valore = 0;
    if (ValoreIntero32(EstraiTag(testo, "#SCREENX#="), valore)) ParametriAction.ScreenX = valore;
    if (ValoreIntero32(EstraiTag(testo, "#SCREENY#="), valore)) ParametriAction.ScreenY = valore;
    // Without the tag the image was taken in the configuration's mode; a
    // value that is no number names no mode.
    const std::string risoluzione = EstraiTag(testo, "#RESOLUTION#=");
    if (!risoluzione.empty()) ParametriAction.Resolution = ValoreIntero32(risoluzione, valore) ? valore : 0;
    std::string immagine = EstraiTag(testo, "#IMAGE#=");
    if (immagine == "~") immagine.clear();
    ParametriAction.Image = immagine;
    return LeggiBound(Trim(EstraiTag(testo, "#BOUND#=")), ParametriAction.Bound);
}

bool IsPixelTesto(uint32_t colore, bool stretto) {
    if (colore == ColoreNonValido) return false;
    const uint8_t r = Rosso(colore), g = Verde(colore), b = Blu(colore);
    if (stretto) return r >= 150 && g >= 100 && b < 10;
    return r >= 100 && g >= 80 && b < 50;
}

uint32_t ImmaginePixel::Pixel(int32_t x, int32_t y) const {
    if (x < 0 || y < 0 || x >= Larghezza || y >= Altezza) return ColoreNonValido;
    const size_t i = static_cast<size_t>(y) * static_cast<size_t>(Larghezza) + static_cast<size_t>(x);
    return i < Colori.size() ? Colori[i] : ColoreNonValido;
}

std::string TestoBordi(const Rettangolo& r) {
    return std::to_string(r.Left) + "," + std::to_string(r.Top) + " - " + std::to_string(r.Right) + "," +
           std::to_string(r.Bottom);
}

bool TrovaBordiTesto(Rettangolo& bordi, const ImmaginePixel& immagine) {
    bordi = {-1, -1, -1, -1};
    if (!PrimaLinea(immagine, true, false, "Top", bordi.Top)) return false;
    // A text pixel exists, so each scan below ends on one.
    PrimaLinea(immagine, false, false, "Left", bordi.Left);
    PrimaLinea(immagine, true, true, "Bottom", bordi.Bottom);
    PrimaLinea(immagine, false, true, "Right", bordi.Right);
    return true;
}

Rettangolo StrisciaNomeOggetto(int32_t larghezza, int32_t altezza) {
    auto punto = [](int32_t lato, double millesimi) {
        return static_cast<int32_t>(std::nearbyint(MillesimiDi(lato, millesimi)));
    };
    return {punto(larghezza, 315.4296875), punto(altezza, 259.114583), punto(larghezza, 677.734375),
            punto(altezza, 341.14583)};
}

double PercentualeGriglia(const ImmaginePixel& catturata, const Rettangolo& c, const ImmaginePixel& azione,
                          const Rettangolo& a, int32_t spostaX, int32_t spostaY) {
    const int64_t ultimaX = std::max<int64_t>(Larghezza(c), Larghezza(a));
    const int64_t ultimaY = std::max<int64_t>(Altezza(c), Altezza(a));
    if (ultimaX < 0 || ultimaY < 0) return 0.0;
    const double totale = static_cast<double>(ultimaX + 1) * static_cast<double>(ultimaY + 1);
    const int64_t axInizio = static_cast<int64_t>(a.Left) + spostaX;
    const int64_t ayInizio = static_cast<int64_t>(a.Top) + spostaY;
    int64_t x0 = 0, x1 = -1, y0 = 0, y1 = -1;
    Sovrapposte(c.Left, catturata.Larghezza, axInizio, azione.Larghezza, ultimaX, x0, x1);
    Sovrapposte(c.Top, catturata.Altezza, ayInizio, azione.Altezza, ultimaY, y0, y1);
    int64_t uguali = 0;
    for (int64_t y = y0; y <= y1; ++y)
        for (int64_t x = x0; x <= x1; ++x) {
            const uint32_t p = catturata.Pixel(static_cast<int32_t>(c.Left + x), static_cast<int32_t>(c.Top + y));
            const uint32_t q = azione.Pixel(static_cast<int32_t>(axInizio + x), static_cast<int32_t>(ayInizio + y));
            if (p != ColoreNonValido && q != ColoreNonValido && IsPixelTesto(p, false) == IsPixelTesto(q, false))
                ++uguali;
        }
    return PercentualeRapporto(totale, static_cast<double>(uguali));
}

bool ConfrontaGrigliaPixel(const ImmaginePixel& catturata, const Rettangolo& c, const ImmaginePixel& azione,
                           const Rettangolo& a, int32_t spostaX, int32_t spostaY) {
    StampaLog("Bound rect captured: " + TestoBordi(c));
    StampaLog("Bound rect image   : " +
              TestoBordi({a.Left + spostaX, a.Top + spostaY, a.Right + spostaX, a.Bottom + spostaY}));
    const bool vuota = std::max(Larghezza(c), Larghezza(a)) < 0 || std::max(Altezza(c), Altezza(a)) < 0;
    const double percentuale = PercentualeGriglia(catturata, c, azione, a, spostaX, spostaY);
    StampaLog("Matching percentage = " + Decimali(percentuale, 2) + " %");
    const double errore = 100.0 - percentuale;
    StampaLog("Matching error = " + Decimali(errore, 2) + " %    Tollerance=" +
              std::to_string(ParametriAction.Tollerance) + "%");
    // A grid without a position compares nothing, whatever the tolerance.
    if (vuota || errore > ParametriAction.Tollerance) {
        StampaLog("Matching error higher than tollerance: no matching");
        return false;
    }
    return true;
}

bool ConfrontaAllineamenti(const ImmaginePixel& catturata, const Rettangolo& c, const ImmaginePixel& azione,
                           const Rettangolo& a) {
    const int32_t dx = Larghezza(a) - Larghezza(c);
    const int32_t dy = Altezza(a) - Altezza(c);
    StampaLog("DeltaX=" + std::to_string(dx) + "  DeltaY=" + std::to_string(dy));
    StampaLog("Size Image   : " + std::to_string(Larghezza(a)) + " x " + std::to_string(Altezza(a)));
    StampaLog("Size captured: " + std::to_string(Larghezza(c)) + " x " + std::to_string(Altezza(c)));
    auto prova = [&](const char* riga, int32_t sx, int32_t sy) {
        if (riga) StampaLog(riga);
        CambiaTabulatoreLog(1);
        const bool uguale = ConfrontaGrigliaPixel(catturata, c, azione, a, sx, sy);
        CambiaTabulatoreLog(-1);
        return uguale;
    };
    if (prova(dx != 0 || dy != 0 ? "Compare pixel grids: LEFT, TOP alignment" : nullptr, 0, 0)) return true;
    if (dy != 0 && prova("Compare pixel grids: LEFT, BOTTOM alignment", 0, dy)) return true;
    if (dx == 0) return false;
    if (prova("Compare pixel grids: RIGHT, TOP alignment", dx, 0)) return true;
    return dy != 0 && prova("Compare pixel grids: RIGHT, BOTTOM alignment", dx, dy);
}
