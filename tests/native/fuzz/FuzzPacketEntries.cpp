// Arbitrary bytes as a media.mpf header, through the checks the packet
// manager makes before it touches a file: an accepted header never names a
// path outside its folder or contents past the end of the bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/PacketEntries.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* dati, size_t n) {
    const std::string byte(reinterpret_cast<const char*>(dati), n);
    LettoreByte lettore(byte);
    MediaPacketHeader h;
    if (!LeggiHeaderPacchetto(lettore, h)) return 0;
    if (!ControllaVociPacchetto(h, static_cast<int64_t>(n))) return 0;
    int64_t fine = h.DataStart;
    for (int32_t i = 0; i < h.Count; ++i) {
        const std::string& nome = h.FileNames[static_cast<size_t>(i)];
        if (nome.find_first_of("\\/:<>\"|?*") != std::string::npos || nome == ".." || nome.empty()) std::abort();
        fine += h.FileSizes[static_cast<size_t>(i)];
    }
    if (!h.IsVirtual && fine > static_cast<int64_t>(n)) std::abort();
    return 0;
}
