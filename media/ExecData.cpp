#include "media/ExecData.h"

#include "core/ByteStream.h"
#include "core/MediaLog.h"

bool ComponiTrData(const TrData& dati, std::string& bytes) {
    bytes.clear();
    // A longer path would be cut, and the program would look for a game
    // that is not there.
    if (dati.Eseguibile.size() >= LunghezzaPercorsoTrData)
        return RigaErrore("ERROR: path of game too long for trdata.bin (" + std::to_string(dati.Eseguibile.size()) +
                          " characters): " + dati.Eseguibile);
    ScrittoreByte out;
    for (uint32_t v : {dati.ProcessoGioco, dati.ThreadGioco, dati.FinestraGioco, dati.IdProcesso, dati.IdThread,
                       static_cast<uint32_t>(dati.TriggerCd)})
        out.ScriviI32(static_cast<int32_t>(v));
    bytes = out.Dati() + dati.Eseguibile;
    bytes += '\0';
    bytes.resize(LunghezzaTrData, ' ');
    return true;
}
