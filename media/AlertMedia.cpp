#include "media/AlertMedia.h"

#include <cstdint>
#include <string>

#include "core/MediaLog.h"
#include "core/MediaSyntax.h"
#include "core/MediaTrigger.h"
#include "core/SharedState.h"

namespace {

const char* const SezioneSospeso = "SUSPENDED";
const char* const TagElapsed = "#ELAPSED_TIME#=";

bool CancellaSospeso(MediaTrigger& media) {
    TogliBit(media.Options, Suspended);
    return RimuoviSezione(media.Syntax, SezioneSospeso);
}

}  // namespace

bool EseguiAlertMedia(bool& TestError) {
    StampaNonCostruito("EseguiAlertMedia");
    TestError = true;
    return false;
}

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
