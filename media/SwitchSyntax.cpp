#include "media/SwitchSyntax.h"

#include "core/MediaLog.h"
#include "core/MediaSyntax.h"
#include "core/MediaTrigger.h"
#include "core/TextUtils.h"

ParametriSwitchMedia ParametriSwitch;

bool LeggiListaMedia(const std::string& testo, ListaCodiciMedia& lista) {
    lista = ListaCodiciMedia{};
    std::string copia = testo;
    const std::string valore = EstraiTag(copia, "#CODES#=");
    if (valore.empty() || valore == "~") return true;
    for (const std::string& voce : DividiTesto(valore, ':')) {
        int32_t codice = 0;
        if (!ValoreIntero32(Trim(voce), codice)) {
            lista = ListaCodiciMedia{};
            return RigaErrore("Syntax error in MediaList: not numeric code values");
        }
        lista.Codici.push_back(codice);
    }
    lista.Conteggio = static_cast<int32_t>(lista.Codici.size());
    return true;
}

bool LeggiSintassiSwitch(const std::string& sezione) {
    ParametriSwitch = ParametriSwitchMedia{};
    if (sezione.empty()) return true;
    std::string testo = sezione;
    const std::string flags = EstraiTag(testo, "#FLAGS#=");
    // Read as the default, a faulty value would initialise every trigger.
    if (!flags.empty() && !ValoreIntero32(flags, ParametriSwitch.Flags)) {
        ParametriSwitch.Flags = 0;
        return RigaErrore("Error in switch trigger: not numeric value for #FLAGS#: " + flags);
    }
    if (!LeggiListaMedia(testo, ParametriSwitch.Codici))
        return RigaErrore("Error in switch trigger: " + UltimoErrore);
    return true;
}

std::string TestoListaMedia(const ListaCodiciMedia& lista) {
    std::string testo = "Medias=";
    for (int32_t i = 0; i < lista.Conteggio && static_cast<size_t>(i) < lista.Codici.size(); ++i) {
        if (i > 0) testo += ";";
        testo += std::to_string(lista.Codici[static_cast<size_t>(i)]);
    }
    return testo;
}
