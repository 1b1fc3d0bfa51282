#include "media/WorkingMedia.h"

#include <string>
#include <vector>

#include "core/MediaLog.h"
#include "core/MediaSyntax.h"
#include "core/MediaTrigger.h"
#include "core/SharedState.h"
#include "core/SystemUtils.h"
#include "platform/Forms.h"
#include "runservices/GameControls.h"
#include "runservices/RunHooks.h"
#include "runservices/Sounds.h"
#include "runservices/TombSettings.h"

namespace {

// Between two checks of a sensory media.
constexpr int32_t PausaControlli = 300;

const char* VeroFalso(bool valore) { return valore ? "True" : "False"; }

MediaTrigger* Trigger(int32_t indice) {
    if (indice < 0 || static_cast<size_t>(indice) >= ListaMedia.size()) return nullptr;
    return &ListaMedia[static_cast<size_t>(indice)];
}

void RimuoviWorking(int32_t indice) {
    MediaTrigger* media = Trigger(indice);
    if (!media) return;
    StampaLog("Remove working flag for media code = " + std::to_string(media->MediaCode));
    TogliBit(media->Options, Working);
}

// A fault that no later tick can mend is told once: the trigger stops
// working instead of repeating its error lines every tick.
bool ErroreWorking(int32_t indice, const std::string& riga) {
    StampaLog(riga, true);
    RimuoviWorking(indice);
    return false;
}

// A working trigger's section as last read: the tick polls each working
// trigger on every pass, and its text seldom changes. A text that differs
// in any way is read again.
struct SezioneLetta {
    int32_t tipo = -1;  // none read
    std::string sintassi;
    ParametriKeyboardMedia keyboard;
    ParametriSensoryMedia sensory;
    int32_t tastoCaldo = -1;
};
std::vector<SezioneLetta> Lette;  // by index of ListaMedia

SezioneLetta& Letta(int32_t indice, int32_t tipo, const std::string& sintassi, bool& nuova) {
    if (static_cast<size_t>(indice) >= Lette.size()) Lette.resize(static_cast<size_t>(indice) + 1);
    SezioneLetta& letta = Lette[static_cast<size_t>(indice)];
    nuova = letta.tipo != tipo || letta.sintassi != sintassi;
    // A faulty text is never kept: its error is told by the read.
    if (nuova) letta.tipo = -1;
    return letta;
}

// ParametriKeyboard from the trigger's section, and the code of its hot key.
bool LeggiKeyboardDi(int32_t indice, const MediaTrigger& media, int32_t& tasto) {
    bool nuova = false;
    SezioneLetta& letta = Letta(indice, TipoKeyboard, media.Syntax, nuova);
    if (!nuova) {
        ParametriKeyboard = letta.keyboard;
        tasto = letta.tastoCaldo;
        return true;
    }
    if (!LeggiSintassiKeyboard(EstraiSezione(media.Syntax, "KEYBOARD"))) return false;
    letta.keyboard = ParametriKeyboard;
    letta.tastoCaldo = tasto = CodiceTastoDaNome(ParametriKeyboard.HotKey);
    letta.sintassi = media.Syntax;
    letta.tipo = TipoKeyboard;
    return true;
}

bool LeggiSensoryDi(int32_t indice, const MediaTrigger& media) {
    bool nuova = false;
    SezioneLetta& letta = Letta(indice, TipoSensory, media.Syntax, nuova);
    if (!nuova) {
        ParametriSensory = letta.sensory;
        return true;
    }
    if (!LeggiSintassiSensory(EstraiSezione(media.Syntax, "SENSORY"))) return false;
    letta.sensory = ParametriSensory;
    letta.sintassi = media.Syntax;
    letta.tipo = TipoSensory;
    return true;
}

bool Premuto(TastoGioco controllo) {
    const int i = static_cast<int>(controllo);
    return TastoGiocoPremuto(ImpostazioniTombCorrenti.Tasti[i], ImpostazioniTombCorrenti.TastiDefault[i]) != 0;
}

bool ScattoConMovimento() { return Premuto(TastoGioco::Dash) && LeggiMovimentoJoystick(); }

}  // namespace

bool EseguiWorkingMedia(int32_t indice, bool& BreakEscape) {
    const MediaTrigger* media = Trigger(indice);
    if (!media) return false;
    if (media->Level != -1 && media->Level != LivelloCorrente) return true;
    switch (TipoMediaDaFlags(media->TypeFlags)) {
    case TipoKeyboard:
        return EseguiKeyboardMedia(indice, BreakEscape);
    case TipoSensory:
        return EseguiSensoryMedia(indice, BreakEscape);
    default:
        return ErroreWorking(indice, "ERROR: unknown Working media with code = " + std::to_string(media->MediaCode));
    }
}

bool EseguiKeyboardMedia(int32_t indice, bool& BreakEscape) {
    const MediaTrigger* media = Trigger(indice);
    if (!media) return false;
    int32_t tasto = -1;
    if (!LeggiKeyboardDi(indice, *media, tasto)) return ErroreWorking(indice, "ERROR: " + UltimoErrore);
    if (!TastiPremuti(tasto)) return false;
    if (HaBit(ParametriKeyboard.Flags, KeyboardConSuono)) SuonaEffetto(0, true, false);
    StampaLog("Hot-key is hit");
    const bool esito = Ganci.EseguiMediaCode(ParametriKeyboard.Codice, BreakEscape);
    StampaLog(std::string("Exit with result = ") + VeroFalso(esito) + "  Break with escape = " +
              VeroFalso(BreakEscape) + "  TestError=False");
    return esito;
}

bool EseguiSensoryMedia(int32_t indice, bool& BreakEscape) {
    const MediaTrigger* media = Trigger(indice);
    if (!media) return false;
    StampaLog("Perform Sensory Media code = " + std::to_string(media->MediaCode));
    BreakEscape = false;
    // Flags read wrong would fire the media at once, on no movement at all.
    if (!LeggiSensoryDi(indice, *media))
        return ErroreWorking(indice, "ERROR: " + UltimoErrore);
    const int32_t flags = ParametriSensory.Flags;
    if (flags & SensibilitaAlta) StampaLog("High Sensitivity: just one positive check");
    if (flags & SensibilitaMedia) StampaLog("Middle Sensitivity: requires two positive checks");
    if (flags & SensibilitaBassa) StampaLog("Low Sensitivity: requires three positive checks");
    const int32_t controlli = NumeroControlliSensory(flags);
    // Only a media bound to its track's sound watches it; the others have no
    // track to watch (999 would never be playing).
    const int32_t cd = HaBit(media->Options, WhileCdSounds) ? media->TriggerCd : -1;
    for (int32_t i = 1; i <= controlli; ++i) {
        SegnaTempo();
        StampaLog("Check number " + std::to_string(i));
        bool ferma = false;
        Ganci.AnalisiGameProgress(ferma, cd, false);
        if (ferma) return false;
        if (!ControllaMovimentiLara()) return false;
        if (i < controlli) AttendiDaSegno(PausaControlli);
        DoEvents();
    }
    const int32_t codice = ParametriSensory.Codice;
    StampaLog("Perform media with code: " + std::to_string(codice));
    CambiaTabulatoreLog(1);
    const bool esito = Ganci.EseguiMediaCode(codice, BreakEscape);
    CambiaTabulatoreLog(-1);
    StampaLog(std::string("Exit from EseguiMediaCode() with value = ") + VeroFalso(esito) +
              "   Break with escape = " + VeroFalso(BreakEscape) + " TestError=False");
    RimuoviWorking(indice);
    return esito;
}

bool ControllaMovimentiLara() {
    const int32_t flags = ParametriSensory.Flags;
    bool r = false;
    if (flags & MovimentoInPiedi) {
        StampaLog("Check for Lara stands up");
        if (!Premuto(TastoGioco::Duck)) {
            StampaLog("PonyTail key not hit!");
            r = true;
        }
    }
    if (flags & MovimentoCorsa) {
        StampaLog("Check for Lara runs, jumps or rolls");
        if (Premuto(TastoGioco::Duck) || Premuto(TastoGioco::Look) || Premuto(TastoGioco::Walk)) return false;
        if (Premuto(TastoGioco::Roll)) {
            StampaLog("Detected lara rolls");
            r = true;
        } else if (Premuto(TastoGioco::Jump)) {
            StampaLog("Detected lara jumps");
            r = true;
        } else if (!r) {
            r = LeggiMovimentoJoystick();
        }
    }
    if (flags & MovimentoFermo) {
        StampaLog("Check for not run and not jumps");
        if (!Premuto(TastoGioco::Jump) && !ScattoConMovimento())
            r = Premuto(TastoGioco::Duck) || Premuto(TastoGioco::Walk) || !LeggiMovimentoJoystick();
    }
    if (flags & MovimentoScatto) {
        StampaLog("Check for dash running");
        if (ScattoConMovimento()) {
            r = true;
            StampaLog("Detected dash + movements");
        }
    }
    if (flags & MovimentoSalto) {
        StampaLog("Check for lara jumps or rolls");
        if (Premuto(TastoGioco::Jump)) {
            StampaLog("Detected jump");
            r = true;
        } else if (Premuto(TastoGioco::Roll)) {
            StampaLog("Detected roll");
            r = true;
        }
    }
    if (flags & MovimentoNonScatto) {
        StampaLog("Check for not dash running");
        if (!ScattoConMovimento()) {
            r = true;
            StampaLog("Detected not run with dash");
        }
    }
    return r;
}
