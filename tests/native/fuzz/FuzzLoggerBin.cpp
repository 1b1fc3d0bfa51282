// Arbitrary bytes as Logger.bin: an accepted file gives at most 256 names
// of at most 63 characters, and written again it reads back the same.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "eventlogger/LoggerProtocol.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* dati, size_t n) {
    LoggerBin bin;
    std::string errore;
    if (!LeggiLoggerBin(dati, n, bin, errore)) {
        if (errore.empty() || !bin.NomiLivelli.empty()) std::abort();
        return 0;
    }
    if (bin.NomiLivelli.size() > static_cast<size_t>(MaxNomiLivelli)) std::abort();
    for (const std::string& nome : bin.NomiLivelli)
        if (nome.size() >= DimensioneNomeLivello || nome.find('\0') != std::string::npos) std::abort();
    const std::vector<uint8_t> scritto = ScriviLoggerBin(bin);
    LoggerBin riletto;
    if (!LeggiLoggerBin(scritto.data(), scritto.size(), riletto, errore)) std::abort();
    if (riletto.TempoBaseLog != bin.TempoBaseLog || riletto.NomiLivelli != bin.NomiLivelli) std::abort();
    return 0;
}
