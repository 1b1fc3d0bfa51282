// Arbitrary bytes as script.dat: the readers give paths that lie inside the
// path block, or a reason, and a title track that is a track or -1.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "runservices/ScriptDatFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* dati, size_t n) {
    const std::string file(reinterpret_cast<const char*>(dati), n);
    std::vector<std::string> percorsi;
    std::string motivo;
    TabelleScriptDat tabelle;
    const bool sano = AnalizzaScriptDat(file, tabelle, motivo);
    if (PercorsiScriptDat(file, percorsi, motivo) != sano) std::abort();
    if (sano) {
        if (percorsi.size() != static_cast<size_t>(tabelle.NumPercorsi)) std::abort();
        for (const std::string& p : percorsi)
            if (p.size() > static_cast<size_t>(tabelle.LunghezzaPercorsi)) std::abort();
    } else if (!percorsi.empty() || motivo.empty()) {
        std::abort();
    }
    const int32_t cd = CdTitoloScriptDat(file, motivo);
    if (cd < -1 || cd > MassimoCdTitolo || (cd >= 0 && !sano)) std::abort();
    int32_t checksum = 0;
    if (ChecksumScriptDat(file, checksum) == file.empty()) std::abort();
    if ((checksum & ~0xFFFFFF) != 0) std::abort();
    return 0;
}
