#include "media/AlertSyntax.h"

#include <cmath>

#include "core/MediaLog.h"
#include "core/MediaSyntax.h"
#include "core/SharedState.h"
#include "core/TextUtils.h"

BloccoAlertMedia BloccoAlert;
ParametriLifeBar LifeBarParametri;

namespace {

constexpr int32_t GrigioSfondo = 128 | (128 << 8) | (128 << 16);
constexpr int32_t RossoBarra = 200;
// The frame and a one-pixel gap on each side leave at least one pixel of fill.
constexpr int32_t LatoMinimoBarra = 5;

// A tag's value as a whole number; an empty value is not numeric.
bool LeggiValore(std::string& testo, const char* tag, int32_t& valore) {
    const std::string v = EstraiTag(testo, tag);
    return v != "~" && ValoreIntero32(v, valore);
}

}  // namespace

bool LeggiSintassiAlert(const std::string& sezione) {
    BloccoAlert.RefreshAlert = 80;
    BloccoAlert.ColoreSfondoAlert = GrigioSfondo;
    BloccoAlert.FlagAlert = 32;
    BloccoAlert.MediaFineTempo = -1;
    BloccoAlert.MediaInterruzione = -1;
    BloccoAlert.CdInterruzione = -1;
    // A border whose tags are missing must not take an earlier alert's.
    BloccoAlert.ColoreBordo = 0;
    BloccoAlert.SpessoreBordo = 0;
    if (sezione.empty()) return true;

    std::string testo = sezione;
    int32_t valore = 0;
    const std::string refresh = EstraiTag(testo, "#REFRESH#=");
    // Only an absent tag is "missing"; written empty it reads "~", not a number.
    if (refresh.empty()) return RigaErrore("Syntax error in Alert Trigger: missing refresh time");
    if (!ValoreIntero32(refresh, valore))
        return RigaErrore("Syntax error in Alert Trigger: not numeric value for refresh time");
    // No redraw interval comes from a rate of zero or less: the default stays.
    if (valore <= 0)
        return RigaErrore("Syntax error in Alert Trigger: refresh time must be greater than zero: " + refresh);
    BloccoAlert.RefreshAlert = valore;

    if (!LeggiValore(testo, "#FLAGS#=", valore))
        return RigaErrore("Syntax error in Alert Trigger: not numeric value for alert flags");
    BloccoAlert.FlagAlert = valore;
    if (HaBit(BloccoAlert.FlagAlert, ConCdBreak)) {
        if (!LeggiValore(testo, "#CD_BREAK#=", valore))
            return RigaErrore("Syntax error in Alert Trigger: not numeric value for [Cd break] field");
        BloccoAlert.CdInterruzione = valore;
    }
    if (!LeggiValore(testo, "#BACK_COLOR#=", valore))
        return RigaErrore("Syntax error in Alert Trigger: not numeric value for background color");
    BloccoAlert.ColoreSfondoAlert = valore;
    if (!LeggiValore(testo, "#STOP_PERFORM#=", valore))
        return RigaErrore("Syntax error in Alert Trigger: not numeric value for #stop_perform#");
    BloccoAlert.MediaInterruzione = valore;
    if (!LeggiValore(testo, "#END_PERFORM#=", valore))
        return RigaErrore("Syntax error in Alert Trigger: not numeric value for #end_perform#");
    BloccoAlert.MediaFineTempo = valore;
    if (HaBit(BloccoAlert.FlagAlert, ConBordo)) {
        // The border's faults go to the log only, not to UltimoErrore.
        if (!LeggiValore(testo, "#BORDER_COLOR#=", valore)) {
            StampaLog("ERROR in alert media: missing #BORDER_COLOR#= field", true);
            return false;
        }
        BloccoAlert.ColoreBordo = valore;
        if (!LeggiValore(testo, "#BORDER_SIZE#=", valore)) {
            StampaLog("ERROR in alert media: missing #BORDER_SIZE#= field", true);
            return false;
        }
        BloccoAlert.SpessoreBordo = valore;
    }
    return true;
}

bool SintassiLifeBar(const std::string& sezione) {
    LifeBarParametri = ParametriLifeBar{};
    LifeBarParametri.ColoreBarra = RossoBarra;
    if (sezione.empty()) return true;

    std::string testo = sezione;
    struct Campo {
        const char* tag;
        int32_t ParametriLifeBar::*campo;
        const char* errore;
    };
    static const Campo campi[] = {
        {"#BAR-COLOR#=", &ParametriLifeBar::ColoreBarra, "ERROR in Life-Bar effect of Alert Media: missing #bar-color#"},
        {"#D-TIME#=", &ParametriLifeBar::DurataPiena, "ERROR in Life-Bar effect of Alert Media: missing #D-Time#"},
        {"#FLAGS#=", &ParametriLifeBar::FlagLifeBar, "ERROR in Life-Bar effect of Alert Media: missing #flags#"},
        {"#PERC-BLINK#=", &ParametriLifeBar::PercBlink, "ERROR in Life-Bar effect of Alert Media: missing #perc-blink#"},
        {"#PERC-REDUCTION#=", &ParametriLifeBar::PercRiduzione,
         "ERROR in Life-Bar effect of Alert Media: missing #perc-reduction#"},
    };
    for (const Campo& c : campi) {
        int32_t valore = 0;
        if (!LeggiValore(testo, c.tag, valore)) return RigaErrore(c.errore);
        LifeBarParametri.*c.campo = valore;
    }
    std::string immagine = EstraiTag(testo, "#IMAGE#=");
    if (immagine == "~") immagine.clear();
    if (immagine.empty() && HaBit(LifeBarParametri.FlagLifeBar, RiempimentoImmagine))
        return RigaErroreUtf8("ERROR in Life-bar effect of alert media: missing Bar image");
    LifeBarParametri.ImmagineBarra = immagine;
    return true;
}

bool RettangoloLifeBar(int32_t schermoX, int32_t schermoY, RettangoloBarra& rett) {
    const int32_t flag = LifeBarParametri.FlagLifeBar;
    const bool destra = HaBit(flag, LatoDestro) || HaBit(flag, AltoDestra);
    const bool alta = HaBit(flag, RigaAlta) || HaBit(flag, AltoDestra);
    StampaLog("Finding lifebar size and position for tomb screen: " + std::to_string(schermoX) + "x" +
              std::to_string(schermoY));
    struct Standard {
        int32_t x, y;
        RettangoloBarra sinistraAlta;  // left side, upper row
        int32_t destraLeft, destraRight, bassaTop, bassaBottom;
    };
    static const Standard standard[] = {
        {1024, 768, {21, 13, 261, 32}, 759, 999, 41, 60},
        {800, 600, {11, 9, 199, 24}, 598, 786, 30, 45},
        {640, 480, {6, 7, 156, 18}, 480, 630, 24, 35},
    };
    const Standard* s = nullptr;
    for (const Standard& c : standard)
        if (c.x == schermoX && c.y == schermoY) s = &c;
    if (s) {
        rett.Left = destra ? s->destraLeft : s->sinistraAlta.Left;
        rett.Right = destra ? s->destraRight : s->sinistraAlta.Right;
        rett.Top = alta ? s->sinistraAlta.Top : s->bassaTop;
        rett.Bottom = alta ? s->sinistraAlta.Bottom : s->bassaBottom;
    } else {
        StampaLog("Current tomb screen has not standard size: get life bar size using formulas");
        const auto m = [](int32_t lato, double fattore) {
            return static_cast<int32_t>(std::nearbyint(MillesimiDi(lato, fattore)));
        };
        rett.Left = m(schermoX, destra ? 741.2109375 : 20.5078125);
        rett.Right = m(schermoX, destra ? 975.5859375 : 254.8828125);
        rett.Top = m(schermoY, alta ? 16.9270833333333 : 53.3854166666667);
        rett.Bottom = m(schermoY, alta ? 41.6666666666667 : 78.125);
    }
    rett.Right += 1;
    rett.Bottom += 1;
    StampaLog("Bar Rect: " + std::to_string(rett.Left) + "," + std::to_string(rett.Top) + " - " +
              std::to_string(rett.Right) + "," + std::to_string(rett.Bottom));
    if (rett.Right - rett.Left < LatoMinimoBarra || rett.Bottom - rett.Top < LatoMinimoBarra)
        return RigaErrore("ERROR in Life-Bar effect of Alert Media: no room for the bar on a tomb screen of " +
                          std::to_string(schermoX) + "x" + std::to_string(schermoY));
    return true;
}
