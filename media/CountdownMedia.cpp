#include "media/CountdownMedia.h"

#include "core/MediaLog.h"
#include "core/MediaSyntax.h"
#include "core/TextUtils.h"
#include "media/MediaWindow.h"

int32_t ContatoreIniziale = 1;
int32_t ContatoreFinale = 10;
int32_t FlagCountDown = 8;

namespace {

// Hexadecimal digits after an optional "-", at most 32 bits of them; a lone
// "-" reads as 0.
bool ValoreEsadecimale(const std::string& testo, int32_t& valore) {
    if (testo.empty() || !IsEsadecimale(testo)) return false;
    const bool negativo = testo[0] == '-';
    const std::string cifre = testo.substr(negativo ? 1 : 0);
    const size_t primaCifra = cifre.find_first_not_of('0');
    if (primaCifra != std::string::npos && cifre.size() - primaCifra > 8) return false;
    const uint32_t v = cifre.empty() ? 0u : static_cast<uint32_t>(std::stoul(cifre, nullptr, 16));
    valore = static_cast<int32_t>(negativo ? 0u - v : v);
    return true;
}

}  // namespace

bool LeggiSintassiCountDown(const std::string& sezione) {
    ContatoreIniziale = 1;
    ContatoreFinale = 10;
    FlagCountDown = 8;
    if (sezione.empty()) return true;
    std::string testo = sezione;
    const auto errore = [] { return RigaErrore("Syntax error in CountDown trigger"); };
    int32_t valore = 0;
    if (!ValoreIntero32(EstraiTag(testo, "#START_COUNTER#="), valore)) return errore();
    ContatoreIniziale = valore;
    if (!ValoreIntero32(EstraiTag(testo, "#END_COUNTER#="), valore)) return errore();
    ContatoreFinale = valore;
    if (!ValoreEsadecimale(EstraiTag(testo, "#FLAGS#="), valore)) return errore();
    FlagCountDown = valore;
    return true;
}

std::string FormattaContatore(int32_t valore) {
    std::string testo;
    if (HaBit(FlagCountDown, 0x8)) testo = FormatoZeri(valore / 60, 2) + ":" + FormatoZeri(valore % 60, 2);
    if (HaBit(FlagCountDown, 0x2)) testo = std::to_string(valore);
    if (HaBit(FlagCountDown, 0x4)) testo = FormatoZeri(valore, 3);
    if (HaBit(FlagCountDown, 0x10)) testo = FormatoZeri(valore, 2);
    return testo;
}

void Dialog_Titoli::MostraCountDown() {}
