// Arbitrary bytes as an .mp3 file the media player loads: the frames found
// lie wholly inside the file and start with a frame header.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "platform/Mp3Frames.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* dati, size_t n) {
    FrameMp3 f;
    if (!CercaFrameMp3(dati, n, f)) return 0;
    if (f.Inizio >= f.Fine || f.Fine > n || f.Inizio + 4 > f.Fine) std::abort();
    if (dati[f.Inizio] != 0xFF || (dati[f.Inizio + 1] & 0xE0) != 0xE0) std::abort();
    if (f.LunghezzaFrame == 0 || f.LunghezzaFrame > f.Fine - f.Inizio) std::abort();
    return 0;
}
