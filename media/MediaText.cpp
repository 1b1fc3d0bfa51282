#include "media/MediaText.h"

#include "core/MediaLog.h"
#include "core/MediaSyntax.h"
#include "core/MediaTrigger.h"

namespace {
constexpr int32_t FlagSegnaposto = 0x8;
}

std::string TestoMedia(const std::string& testo) {
    std::string lingua = NomeLingua();
    std::string risultato = TestoInLingua(EstraiSezione(testo, "TEXT"), lingua);
    if (HaBit(FormatoTestoCorrente.Flags, FlagSegnaposto) || HaBit(MediaCorrente.Formato.Flags, FlagSegnaposto))
        risultato = SostituisciSegnapostoSavegame(risultato);
    return risultato;
}

// Least form: the placeholders stay as typed, as when no savegame exists.
std::string SostituisciSegnapostoSavegame(const std::string& testo) {
    StampaNonCostruito("SostituisciSegnapostoSavegame");
    return testo;
}

std::string LeggiTagVoice(const std::string& testo, std::string& fileVoce) {
    std::string risultato = testo;
    fileVoce = EstraiTag(risultato, "#VOICE#=");
    if (fileVoce == "~") fileVoce.clear();
    return risultato;
}
