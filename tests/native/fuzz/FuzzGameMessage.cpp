// Arbitrary bytes as the game's debug-log memory and the end offsets of
// its WM_NULL messages, read by the logger: reading never leaves the view,
// the records stay within "SWAPMEDIADAT" and the cache, and none carries
// the main program's failed-copy marks.
//
// Layout: byte 0 = number of messages (low 3 bits) and a nearly full map
// (bit 7); then one u32 per message, its end offset (taken modulo the
// view's size + 2, so that an offset past the view comes too); then the view.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "eventlogger/LoggerState.h"

namespace {
SwapMediaView vista;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* dati, size_t n) {
    if (n < 1) return 0;
    const size_t messaggi = dati[0] & 0x7;
    const size_t testa = 1 + 4 * messaggi;
    if (n < testa) return 0;
    // A copy of exactly the view's size: a read past it is the sanitizer's.
    const std::vector<char> mappa(dati + testa, dati + n);
    const uint32_t dimensione = static_cast<uint32_t>(mappa.size());

    NomiLivelli = {"title.tr4", "LEVEL1.TR4", ""};
    RichiediUscita = nullptr;
    InitLoggerState();
    std::memset(&vista, 0, sizeof vista);
    const uint32_t partenza = (dati[0] & 0x80) ? MaxStrutture - 2 : 0;
    vista.StructureCount = partenza;
    VistaMedia = &vista;

    for (size_t i = 0; i < messaggi; ++i) {
        uint32_t fine = 0;
        std::memcpy(&fine, dati + 1 + 4 * i, 4);
        LeggiMessaggiTomb(mappa.empty() ? nullptr : mappa.data(), dimensione, fine % (dimensione + 2));
        if (LastOffset < 0 || static_cast<uint32_t>(LastOffset) > dimensione) std::abort();
    }
    if (vista.StructureCount > MaxStrutture || vista.StructureCount < partenza) std::abort();
    if (Cache.Count < 0 || Cache.Count > DimensioneCache) std::abort();
    for (uint32_t i = 0; i < vista.StructureCount; ++i) {
        const LoggerStructure& r = vista.Structures[i];
        if (r.CdTrack == CdCopiaFallita || r.Livello == LivelloCopiaFallita) std::abort();
    }
    VistaMedia = nullptr;
    return 0;
}
