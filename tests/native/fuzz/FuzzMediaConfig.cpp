// Arbitrary bytes as media.mcf: the reader must never crash or read out of
// bounds, never leave a count beyond its table, and whatever it accepts of
// the current layout must write back to the very bytes it read (texts that
// are not well-formed UTF-16 included), which load again.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/MediaConfig.h"
#include "core/MediaLog.h"
#include "core/SharedState.h"
#include "core/TextUtils.h"
#include "tests/native/HostPlatform.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* dati, size_t n) {
    ProcessoGioco.hProcess = reinterpret_cast<void*>(1);
    BufferLog.clear();
    BoxMostrati.clear();
    const std::string file(reinterpret_cast<const char*>(dati), n);
    const bool caricato = CaricaMediaMcfDaByte("C:\\trle\\media.mcf", file);
    if (HeaderMcf.TriggerCount < 0 || static_cast<size_t>(HeaderMcf.TriggerCount) >= ListaMedia.size()) std::abort();
    // An old file is converted, not kept: its bytes are never written back.
    if (!caricato || !UgualeSenzaCaso(file.substr(0, 3), "VER")) return 0;
    std::string primo;
    if (!ComponiMediaConfig("C:\\trle\\media.mcf", primo) || file.compare(0, primo.size(), primo) != 0) std::abort();
    if (!CaricaMediaMcfDaByte("C:\\trle\\media.mcf", primo)) std::abort();
    std::string secondo;
    if (!ComponiMediaConfig("C:\\trle\\media.mcf", secondo) || secondo != primo) std::abort();
    return 0;
}
