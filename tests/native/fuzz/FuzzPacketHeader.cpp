// Arbitrary bytes as the start of media.mpf: the header reader must never
// read out of bounds, and a header it accepts must be written back to the
// same bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/PacketHeader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* dati, size_t n) {
    const std::string byte(reinterpret_cast<const char*>(dati), n);
    MediaPacketHeader h;
    if (LeggiHeaderPacchetto(byte, h) != EsitoHeader::Valido) return 0;
    for (int32_t i = 0; i < h.Count; ++i)
        if (!IsNomeFileSemplice(h.FileNames[static_cast<size_t>(i)]) || h.FileSizes[static_cast<size_t>(i)] < 0)
            std::abort();
    MediaPacketHeader copia = h;
    std::string scritto;
    if (!ComponiHeaderPacchetto(copia, scritto) || copia.DataStart != h.DataStart) std::abort();
    MediaPacketHeader riletto;
    if (LeggiHeaderPacchetto(scritto, riletto) != EsitoHeader::Valido || riletto.Count != h.Count) std::abort();
    return 0;
}
