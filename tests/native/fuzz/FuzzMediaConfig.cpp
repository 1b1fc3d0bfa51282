// Arbitrary bytes as media.mcf: the reader must never crash or read out of
// bounds, and whatever it accepts must write back to the very bytes it read
// (texts that are not well-formed UTF-16 included), which load again.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/MediaConfig.h"
#include "core/MediaLog.h"
#include "core/SharedState.h"
#include "tests/native/HostPlatform.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* dati, size_t n) {
    ProcessoGioco.hProcess = reinterpret_cast<void*>(1);
    BufferLog.clear();
    BoxMostrati.clear();
    const std::string file(reinterpret_cast<const char*>(dati), n);
    if (!CaricaMediaMcfDaByte("C:\\trle\\media.mcf", file)) return 0;
    std::string primo;
    if (!ComponiMediaConfig("C:\\trle\\media.mcf", primo) || file.compare(0, primo.size(), primo) != 0) std::abort();
    if (!CaricaMediaMcfDaByte("C:\\trle\\media.mcf", primo)) std::abort();
    std::string secondo;
    if (!ComponiMediaConfig("C:\\trle\\media.mcf", secondo) || secondo != primo) std::abort();
    return 0;
}
