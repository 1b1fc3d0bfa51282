// Arbitrary texts as media-code expressions: the evaluator must end, never
// overflow and report an error flag with its value 0.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/Formula.h"
#include "core/MediaLog.h"
#include "core/SharedState.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* dati, size_t n) {
    if (n > 4096) return 0;
    ProcessoGioco.hProcess = reinterpret_cast<void*>(1);
    LogAbilitato = false;
    BufferLog.clear();
    bool errore = false;
    const int32_t r = CalcolaEspressione(std::string(reinterpret_cast<const char*>(dati), n), errore);
    if (errore && r != 0) std::abort();
    BufferLog.clear();
    return 0;
}
