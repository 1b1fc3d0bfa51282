// Arbitrary bytes as a picture file the media window paints: a bitmap taken
// for the DIB drawing has every part inside the file.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/ImageFormats.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* dati, size_t n) {
    const std::string file(reinterpret_cast<const char*>(dati), n);
    StrutturaBmp b;
    if (!StrutturaBmpDisegnabile(file, b)) return 0;
    if (b.InizioInfo + b.LunghezzaInfo > b.InizioPixel || b.InizioPixel > n || b.LunghezzaPixel > n - b.InizioPixel)
        std::abort();
    if (b.Larghezza <= 0 || b.Altezza == 0) std::abort();
    return 0;
}
