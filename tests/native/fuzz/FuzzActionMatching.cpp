// Arbitrary action sections and item-name pictures through the reading of
// the section, the box of the yellow text and the grid comparisons.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/MediaLog.h"
#include "core/SharedState.h"
#include "media/ActionMatching.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* dati, size_t n) {
    ProcessoGioco.hProcess = reinterpret_cast<void*>(1);
    BufferLog.clear();
    // The section up to the first zero byte; then the picture: a width byte
    // and one colour byte per pixel, drawn from a small palette.
    const std::string testo(reinterpret_cast<const char*>(dati), n);
    const size_t zero = testo.find('\0');
    const bool letta = SintassiActionMedia(testo.substr(0, zero));
    if (!letta && zero == std::string::npos) return 0;
    const std::string resto = zero == std::string::npos ? std::string() : testo.substr(zero + 1);
    ImmaginePixel immagine;
    if (!resto.empty()) {
        immagine.Larghezza = static_cast<uint8_t>(resto[0]) % 64 + 1;
        const size_t pixel = (resto.size() - 1) / static_cast<size_t>(immagine.Larghezza);
        immagine.Altezza = static_cast<int32_t>(pixel > 64 ? 64 : pixel);
        const uint32_t tavolozza[4] = {0, 0x00B4DC, 0x1E5A78, 0xFFFFFF};
        for (int32_t i = 0; i < immagine.Larghezza * immagine.Altezza; ++i)
            immagine.Colori.push_back(tavolozza[static_cast<uint8_t>(resto[1 + static_cast<size_t>(i)]) % 4]);
    }
    Rettangolo bordi;
    const bool trovato = TrovaBordiTesto(bordi, immagine);
    if (trovato && (bordi.Left > bordi.Right || bordi.Top > bordi.Bottom || bordi.Right >= immagine.Larghezza ||
                    bordi.Bottom >= immagine.Altezza))
        std::abort();
    const double p = PercentualeGriglia(immagine, bordi, immagine, ParametriAction.Bound, 0, 0);
    if (p < 0.0 || p > 100.0) std::abort();
    // A picture compared with itself, box on box, is all equal.
    if (trovato && PercentualeGriglia(immagine, bordi, immagine, bordi, 0, 0) != 100.0) std::abort();
    ConfrontaAllineamenti(immagine, bordi, immagine, ParametriAction.Bound);
    return 0;
}
