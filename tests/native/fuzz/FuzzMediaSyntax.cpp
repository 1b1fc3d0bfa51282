// Arbitrary texts through the media syntax reader.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/MediaLog.h"
#include "core/MediaSyntax.h"
#include "core/MediaTrigger.h"
#include "core/SharedState.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* dati, size_t n) {
    ProcessoGioco.hProcess = reinterpret_cast<void*>(1);
    BufferLog.clear();
    const std::string testo(reinterpret_cast<const char*>(dati), n);

    for (const char* sezione : {"TEXT", "ENGLISH", "A", ""}) {
        const std::string contenuto = EstraiSezione(testo, sezione);
        if (contenuto.size() > testo.size()) std::abort();
        const std::string nuovo = ImpostaSezione(testo, sezione, "x");
        // A section that was there, closed, now holds exactly the new content.
        if (nuovo != testo && EstraiSezione(nuovo, sezione) != "x") std::abort();
    }
    for (const char* tag : {"#FLAGS#=", "#COLOR#=", "#"}) {
        std::string copia = testo;
        const std::string valore = EstraiTag(copia, tag);
        if (copia.size() > testo.size()) std::abort();
        if (!valore.empty() && copia.size() + valore.size() > testo.size() && valore != "~") std::abort();
    }
    std::string lingua = "ITALIAN";
    TestoInLingua(testo, lingua);
    LeggiFormatoTesto(testo);
    int32_t v = 0;
    ValoreIntero32(testo, v);
    return 0;
}
