#include "media/SplashSyntax.h"

#include "core/MediaLog.h"
#include "core/MediaSyntax.h"
#include "core/MediaTrigger.h"
#include "core/TextUtils.h"

ParametriSplashMedia ParametriSplash;

namespace {

constexpr int32_t FlagsPredefiniti = 0x8000;
constexpr int32_t MaxCharsPredefinito = 12;

bool LeggiNumero(std::string& testo, const char* tag, int32_t& campo) {
    int32_t valore = 0;
    if (!ValoreIntero32(EstraiTag(testo, tag), valore)) return false;
    campo = valore;
    return true;
}

bool Numero(std::string& testo, const char* tag, int32_t& campo, const std::string& errore) {
    return LeggiNumero(testo, tag, campo) || RigaErrore(errore);
}

std::string Testo(std::string& testo, const char* tag) {
    const std::string valore = EstraiTag(testo, tag);
    return valore == "~" ? std::string() : valore;
}

// Four whole numbers separated by ":"; a wrong count writes <erroreParti>.
bool Rettangolo4(std::string& testo, const std::string& tag, const std::string& erroreParti, Rettangolo& r) {
    const std::string valore = EstraiTag(testo, tag);
    const std::vector<std::string> parti = DividiTesto(valore, ':');
    if (parti.size() != 4) return RigaErrore(erroreParti);
    int32_t v[4] = {};
    for (int i = 0; i < 4; ++i)
        if (!ValoreIntero32(parti[i], v[i]))
            return RigaErrore("ERROR in Splash Screen Media: not a whole number in " + tag + " " + valore);
    r = Rettangolo{v[0], v[1], v[2], v[3]};
    return true;
}

const std::string ErroreAnimazione = "ERROR in animation data of Splash Media: ";
const std::string ErrorePartiAnimazione = "ERROR in animation data of Splash media: wrong number of arguments in ";

}  // namespace

bool SintassiAnimazione(const std::string& sezione, DatiAnimazione& a) {
    std::string testo = sezione;
    if (!Numero(testo, "#FLAGS#=", a.Flags, ErroreAnimazione + "missing #flags# field")) return false;
    if (!Numero(testo, "#FRAMES#=", a.Frames, ErroreAnimazione + "missing #frames# field")) return false;
    if (a.Flags & AnimazioneSoundEveryFrames) {
        // A sound every zero frames would be a modulo by zero: no sound.
        if (!LeggiNumero(testo, "#SOUND_FRAMES#=", a.SoundFrames)) {
            StampaLog("ERROR: in animation data of Splash Media: missing #sound_frames# field", true);
            a.Flags &= ~AnimazioneSoundEveryFrames;
        } else if (a.SoundFrames <= 0) {
            StampaLog("ERROR: in animation data of Splash Media: #sound_frames# must be greater than zero: " +
                          std::to_string(a.SoundFrames),
                      true);
            a.Flags &= ~AnimazioneSoundEveryFrames;
        }
    }
    a.Image = Testo(testo, "#IMAGE#=");
    a.BackImage = Testo(testo, "#BACK_IMAGE#=");
    if (!Numero(testo, "#CYCLE_SECONDS#=", a.CycleSeconds, ErroreAnimazione + "missing #Cycle_Seconds# field") ||
        !Numero(testo, "#ANIMATION_SECONDS#=", a.AnimationSeconds,
                ErroreAnimazione + "missing #Animation_Seconds# field") ||
        !Numero(testo, "#DELAY_SPRITE_FRAMES#=", a.DelaySpriteFrames,
                ErroreAnimazione + "missing #Delay_sprite_frames# field") ||
        !Numero(testo, "#SPRITE_FRAMES#=", a.SpriteFrames, ErroreAnimazione + "missing #Sprite_frames# field"))
        return false;
    if (!Rettangolo4(testo, "#RECT_END#=", ErrorePartiAnimazione + "#rect_end#", a.RectEnd) ||
        !Rettangolo4(testo, "#RECT_START#=", ErrorePartiAnimazione + "#rect_start#", a.RectStart) ||
        !Rettangolo4(testo, "#RECT_TARGET#=", ErrorePartiAnimazione + "#rect_target#", a.RectTarget))
        return false;
    int32_t clip = 0;
    if (!Numero(testo, "#TOT_CLIPS#=", clip, ErroreAnimazione + "missing #TOT_CLIPS# field")) return false;
    if (clip < 0 || clip > MassimoClipAnimazione)
        return RigaErrore(ErroreAnimazione + "#TOT_CLIPS# must be from 0 to " +
                          std::to_string(MassimoClipAnimazione) + ": " + std::to_string(clip));
    a.TotClips = clip;
    a.Clips.assign(static_cast<size_t>(clip), Rettangolo{});
    for (int32_t n = 1; n <= clip; ++n) {
        const std::string tag = "#CLIP" + std::to_string(n) + "#=";
        if (!Rettangolo4(testo, tag, ErrorePartiAnimazione + tag, a.Clips[static_cast<size_t>(n - 1)]))
            return false;
    }
    a.StartX = Testo(testo, "#START_X#=");
    a.StartY = Testo(testo, "#START_Y#=");
    a.EndX = Testo(testo, "#END_X#=");
    a.EndY = Testo(testo, "#END_Y#=");
    a.NewSeconds = Testo(testo, "#NEW_SECONDS#=");
    a.NewFrames = Testo(testo, "#NEW_FRAMES#=");
    return true;
}

bool SintassiSplash(const std::string& sezione) {
    ParametriSplashMedia& p = ParametriSplash;
    p.Flags = FlagsPredefiniti;
    p.Modo = ModoAnimazione;
    p.BackColor = 0;
    p.MaxChars = MaxCharsPredefinito;
    p.CdSound = -1;
    p.EndTextTime = 1;
    p.Limite = 0;
    p.Animazioni.clear();
    p.Codice = -1;
    p.TimeOut = -1;
    // An input box whose tags are missing must not take an earlier one's
    // place and expected text.
    p.BoundWindow = Rettangolo{};
    p.LastInput.clear();
    if (sezione.empty()) return true;

    // The splash's own tags are taken first, from the whole text.
    std::string testo = sezione;
    const std::string errore = "ERROR in Splash Screen Media: ";
    if (!Numero(testo, "#FLAGS#=", p.Flags, errore + "missing #flags# value") ||
        !Numero(testo, "#MODE#=", p.Modo, errore + "missing #mode# value") ||
        !Numero(testo, "#CD_SOUND#=", p.CdSound, errore + "missing #cd_sound# value") ||
        !Numero(testo, "#END_TEXT_TIME#=", p.EndTextTime, errore + "missing #end_text_time# value") ||
        !Numero(testo, "#MEDIA#=", p.Codice, errore + "missing #MEDIA# value"))
        return false;
    if (!LeggiNumero(testo, "#TIME_OUT#=", p.TimeOut))
        StampaLog("ERROR missing #TIME_OUT# field in splash screen " + std::to_string(MediaCorrente.MediaCode), true);
    if (!LeggiNumero(testo, "#MAX_CHARS#=", p.MaxChars)) p.MaxChars = MaxCharsPredefinito;
    if ((p.Flags & SplashOpaqueText) && !LeggiNumero(testo, "#BACK_COLOR#=", p.BackColor))
        StampaLog("ERROR missing #back_color# field in splash screen " + std::to_string(MediaCorrente.MediaCode),
                  true);
    int32_t limite = 0;
    if (!Numero(testo, "#TOT_ANIMATIONS#=", limite, errore + "missing #Tot_Animations# value")) return false;
    if (limite < 0 || limite > MassimoAnimazioniSplash)
        return RigaErrore(errore + "#Tot_Animations# must be from 0 to " + std::to_string(MassimoAnimazioniSplash) +
                          ": " + std::to_string(limite));
    p.Limite = limite;
    p.Animazioni.assign(static_cast<size_t>(limite), DatiAnimazione{});
    for (int32_t i = 1; i <= limite; ++i)
        if (!SintassiAnimazione(EstraiSezione(testo, "ANIMATION" + std::to_string(i)),
                                p.Animazioni[static_cast<size_t>(i - 1)]))
            return false;
    if (p.Modo & ModoInput) {
        if (!Rettangolo4(testo, "#BOUND_WINDOW#=", errore + "in #BOUND_WINDOW# field is wrong argument number",
                         p.BoundWindow))
            return false;
        p.LastInput = Testo(testo, "#LAST_INPUT#=");
    }
    return true;
}
