// Arbitrary bytes as a user patch file: the reader refuses or gives records
// whose bytes match their lengths, and a patch read is applied to a small
// image without reaching outside it.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "patcher/PatchFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* dati, size_t n) {
    const std::string file(reinterpret_cast<const char*>(dati), n);
    FilePatch patch;
    std::string errore;
    if (!LeggiFilePatch(file, patch, errore)) {
        if (errore.empty()) std::abort();
        return 0;
    }
    if (patch.NumRecord != static_cast<int32_t>(patch.Record.size())) std::abort();
    if (patch.NumOffsetArgomento != static_cast<int32_t>(patch.OffsetArgomento.size())) std::abort();
    for (const RecordPatch& r : patch.Record)
        if (r.Lunghezza < 1 || r.Originali.size() != static_cast<size_t>(r.Lunghezza) ||
            r.Nuovi.size() != r.Originali.size())
            std::abort();
    if (ScriviFilePatch(patch) != file.substr(0, ScriviFilePatch(patch).size())) std::abort();

    std::string messaggio;
    PreparaArgomento(patch, "Fuzz#-1.5#.ptc", messaggio);
    std::string immagine(4096, '\x90');
    for (size_t i = 0; i < immagine.size(); i += 7) immagine[i] = static_cast<char>(i);
    for (const bool rimuovi : {false, true}) {
        const std::string prima = immagine;
        const int32_t esito = ApplicaFilePatch(patch, immagine, rimuovi);
        if (esito < 1 || esito > 3) std::abort();
        if (esito != Applicata && immagine != prima) std::abort();
        if (immagine.size() != prima.size()) std::abort();
    }
    return 0;
}
