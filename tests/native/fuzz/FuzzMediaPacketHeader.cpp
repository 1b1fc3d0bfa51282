// Arbitrary bytes as the header of media.mpf: never a crash or a read out of
// bounds, and an accepted header writes back to the bytes it was read from.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/MediaPacketHeader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* dati, size_t n) {
    const std::string file(reinterpret_cast<const char*>(dati), n);
    LettoreByte f(file);
    MediaPacketHeader h;
    if (!LeggiHeaderPacchetto(f, h)) return 0;
    std::string scritto;
    if (!ComponiHeaderPacchetto(h, scritto)) std::abort();
    if (file.compare(0, static_cast<size_t>(h.DataStart), scritto) != 0) std::abort();
    LettoreByte di_nuovo(scritto);
    MediaPacketHeader h2;
    std::string ancora;
    if (!LeggiHeaderPacchetto(di_nuovo, h2) || !ComponiHeaderPacchetto(h2, ancora) || ancora != scritto) std::abort();
    return 0;
}
