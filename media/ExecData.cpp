#include "media/ExecData.h"

#include "core/MediaLog.h"

namespace {
void Aggiungi(std::string& bytes, uint32_t valore) {
    for (int i = 0; i < 4; ++i) bytes += static_cast<char>((valore >> (8 * i)) & 0xFF);
}
}  // namespace

bool ComponiTrData(const TrData& dati, std::string& bytes) {
    bytes.clear();
    // A longer path would be cut, and the program would look for a game
    // that is not there.
    if (dati.Eseguibile.size() >= LunghezzaPercorsoTrData)
        return RigaErrore("ERROR: path of game too long for trdata.bin (" + std::to_string(dati.Eseguibile.size()) +
                          " characters): " + dati.Eseguibile);
    for (uint32_t v : {dati.ProcessoGioco, dati.ThreadGioco, dati.FinestraGioco, dati.IdProcesso, dati.IdThread,
                       static_cast<uint32_t>(dati.TriggerCd)})
        Aggiungi(bytes, v);
    bytes += dati.Eseguibile;
    bytes += '\0';
    bytes.resize(LunghezzaTrData, ' ');
    return true;
}
