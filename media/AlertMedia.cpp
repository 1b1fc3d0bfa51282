#include "media/AlertMedia.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/MediaLog.h"
#include "core/MediaSyntax.h"
#include "core/MediaTrigger.h"
#include "core/SharedState.h"
#include "core/TextUtils.h"
#include "media/AlertCover.h"
#include "media/AlertDrawing.h"
#include "media/CountdownMedia.h"
#include "platform/Clock.h"
#include "runservices/DisplayModes.h"
#include "runservices/PlayerKeys.h"
#include "runservices/RunHooks.h"
#include "runservices/RunState.h"

namespace {

const char* const SezioneSospeso = "SUSPENDED";
const char* const TagElapsed = "#ELAPSED_TIME#=";

bool CancellaSospeso(MediaTrigger& media) {
    TogliBit(media.Options, Suspended);
    return RimuoviSezione(media.Syntax, SezioneSospeso);
}

}  // namespace

bool EseguiAlertMedia(bool& TestError) {
    TestError = false;
    if (HaBit(StatoSequenza, StandByAttivo)) {
        RigaErrore("ERROR: Tomb Raider is in stand-by. Alert Media cann't work with Tomb Raider in stand-by");
        return false;
    }
    // A faulty section has its error line and runs on the defaults and what
    // was read before the fault.
    const std::string& sintassi = MediaCorrente.Syntax;
    LeggiSintassiAlert(EstraiSezione(sintassi, "ALERT"));
    if (HaBit(BloccoAlert.FlagAlert, ConCountDown)) LeggiSintassiCountDown(EstraiSezione(sintassi, "COUNTDOWN"));
    if (HaBit(BloccoAlert.FlagAlert, SenzaInputUtente)) Ganci.SospendiInputUtente();
    int32_t esito = AlertNessunEsito;
    if (IsModoFinestra())
        DisegnaTestoAlert(esito);
    else
        DisegnaAlert(esito);
    if (HaBit(StatoGioco, InputUtenteSospeso)) Ganci.AbilitaInputUtente();
    // Whatever ended the alert, the time kept in its trigger stays for the
    // load of a game saved meanwhile; a start that does not resume and the
    // end of the run take it away.

    std::string motivo;
    int32_t seguito = -1;
    bool risultato = false;
    switch (esito) {
    case AlertInterrotto:
        motivo = "Alert was interrupted by end cd sound trigger";
        seguito = BloccoAlert.MediaInterruzione;
        risultato = true;
        break;
    case AlertTempoCompleto:
        motivo = "Time is complete";
        seguito = BloccoAlert.MediaFineTempo;
        risultato = true;
        break;
    case AlertAbortito:
        motivo = "Abort on loading new game or title phase";
        break;
    default:
        // No reason: the loop never ran, so there is nothing to follow.
        break;
    }
    StampaLog(std::string("Exit with value = ") + (risultato ? "True" : "False") + " for: " + motivo);
    if (seguito == -1) {
        StampaLog("No media to perform");
        CdCorrente = -1;
        return risultato;
    }
    StampaLog("Required to perform media code=" + std::to_string(seguito));
    if (HaBit(BloccoAlert.FlagAlert, AzzeraFlagSequenza)) {
        StampaLog("Required to clear flags of previous 'save the game' and 'capture screen-shot' operations");
        TogliBit(StatoSequenza, PartitaSalvata);
        TogliBit(StatoSequenza, SchermoCatturato);
    }
    const bool eseguito = Ganci.EseguiMediaCode(seguito, TestError);
    CdCorrente = -1;
    return eseguito;
}

int32_t DurataAlertSecondi() {
    int32_t secondi = MediaCorrente.Duration;
    if (HaBit(BloccoAlert.FlagAlert, ConCountDown)) {
        const int64_t arco = std::llabs(static_cast<int64_t>(ContatoreIniziale) - ContatoreFinale);
        if (arco > secondi) secondi = static_cast<int32_t>(std::min<int64_t>(arco, INT32_MAX / 1000));
    }
    return secondi;
}

std::string TestoContatoreAlert(const std::string& base, int32_t ms, bool& completo) {
    const double secondi = ms / 1000.0;
    double valore = 0;
    if (ContatoreIniziale < ContatoreFinale) {
        valore = ContatoreIniziale + secondi;
        completo = valore >= ContatoreFinale;
    } else {
        valore = ContatoreIniziale - secondi;
        completo = valore <= ContatoreFinale;
    }
    if (completo) valore = ContatoreFinale;
    return SostituisciSenzaCaso(base, "#COUNTER#", FormattaContatore(static_cast<int32_t>(std::nearbyint(valore))));
}

bool TempoRipresaSospeso(int32_t& elapsed, bool schermoIntero) {
    elapsed = 0;
    if (!HaBit(MediaCorrente.Options, Suspended)) return true;
    const int32_t indice = IndiceMediaDaCodice(MediaCorrente.MediaCode);
    if (indice < 0) return false;
    const int32_t dallaFine = TrascorsiDa(TickFineCaricamento);
    if (dallaFine >= 3000 || CdAvvioAlert != MediaCorrente.TriggerCd) {
        // A suspended time applies to the start after its loading only.
        CancellaElapsedSospeso(MediaCorrente.MediaCode);
        return true;
    }
    const int32_t salvato = LeggiElapsedSospeso(indice);
    StampaLog("Current Alert media was suspended: correct start time with old elapsed time: " +
              std::to_string(salvato));
    StampaLog((schermoIntero ? "Add time from loading end to now: " : "Add time from end loading to now: ") +
              std::to_string(dallaFine));
    elapsed = salvato + dallaFine;
    return true;
}

void SalvaTempoInventario(int32_t elapsed) {
    if (!HaBit(ModificheAvvio, TempoInventarioInCorso)) return;
    StampaLog("User entered in inventory mode: saving elapsed time: " + std::to_string(elapsed) + " m.s.");
    ScriviElapsedSospeso(MediaCorrente.MediaCode, elapsed);
}

int32_t TrascorsiDa(uint32_t inizio) { return TickTrascorsi(ClockTick(), inizio); }

int32_t LeggiElapsedSospeso(int32_t indice) {
    if (indice < 0 || static_cast<size_t>(indice) >= ListaMedia.size()) {
        StampaLog("ERROR: LeggiElapsedSospeso() media index out of list = " + std::to_string(indice), true);
        return 0;
    }
    std::string sezione = EstraiSezione(ListaMedia[static_cast<size_t>(indice)].Syntax, SezioneSospeso);
    int32_t ms = 0;
    // A negative time would move the resumed start into the future.
    if (!ValoreIntero32(EstraiTag(sezione, TagElapsed), ms) || ms < 0) return 0;
    return ms;
}

bool ScriviElapsedSospeso(int32_t codice, int32_t elapsed) {
    const int32_t indice = IndiceMediaDaCodice(codice);
    if (indice < 0) return false;
    MediaTrigger& media = ListaMedia[static_cast<size_t>(indice)];
    const std::string contenuto = TagElapsed + std::to_string(elapsed < 0 ? 0 : elapsed) + "\r\n";
    std::string testo = ImpostaSezione(media.Syntax, SezioneSospeso, contenuto);
    // A section without its closing mark is left as it was, with its line.
    if (EstraiSezione(testo, SezioneSospeso) != contenuto) return false;
    media.Syntax = std::move(testo);
    ImpostaBit(media.Options, Suspended);
    return true;
}

bool CancellaElapsedSospeso(int32_t codice) {
    const int32_t indice = IndiceMediaDaCodice(codice);
    if (indice < 0) return false;
    if (MediaCorrente.MediaCode == codice) CancellaSospeso(MediaCorrente);
    return CancellaSospeso(ListaMedia[static_cast<size_t>(indice)]);
}

bool CancellaTuttiSospesi() {
    bool esito = true;
    const size_t fine = NumTriggerCaricati();
    for (size_t i = 0; i < fine; ++i)
        if (!CancellaSospeso(ListaMedia[i])) esito = false;
    return esito;
}

int32_t TickTrascorsi(uint32_t ora, uint32_t inizio) {
    const uint32_t d = ora - inizio;
    return d > static_cast<uint32_t>(INT32_MAX) ? 0 : static_cast<int32_t>(d);
}
