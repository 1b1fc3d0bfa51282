// Arbitrary bytes as a .wav file the logger loads: an accepted image has a
// format and samples that lie wholly inside it.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "eventlogger/WavFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* dati, size_t n) {
    FormatoWav formato;
    const uint8_t* campioni = nullptr;
    uint32_t quanti = 0;
    if (!ParseWaveChunks(dati, n, formato, campioni, quanti)) {
        if (campioni != nullptr || quanti != 0) std::abort();
        return 0;
    }
    const uintptr_t inizio = reinterpret_cast<uintptr_t>(dati), da = reinterpret_cast<uintptr_t>(campioni);
    if (da < inizio || da - inizio > n || quanti > n - (da - inizio)) std::abort();
    // Every sample is read, as the sound buffer's fill reads them.
    volatile uint8_t somma = 0;
    for (uint32_t i = 0; i < quanti; ++i) somma = static_cast<uint8_t>(somma + campioni[i]);
    return 0;
}
