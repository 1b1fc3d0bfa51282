// Arbitrary EQUIPMENT sections through the command reader, then every record
// that touches no file described and run on a savegame image: the table
// matches its count, and no command leaves the image another size.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/MediaLog.h"
#include "core/ModuleInit.h"
#include "core/SharedState.h"
#include "savegames/EquipCommands.h"
#include "savegames/EquipDescriptions.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* dati, size_t n) {
    BufferLog.clear();
    ProcessoGioco.hProcess = reinterpret_cast<void*>(1);
    if (NomiLingue.empty()) ImpostaTabelleLingueCampi();
    const std::string testo(reinterpret_cast<const char*>(dati), n);
    LeggiEquipmentChunk(testo);
    const IntestazioneEquipment& h = EquipmentHeader;
    if (h.TotRecords < 0 || h.TotRecords > MassimoRecordEquip) std::abort();
    if (h.Records.size() != static_cast<size_t>(h.TotRecords) + 1) std::abort();
    SavegameBin immagine(DimensioneSavegame, '\0');
    // Something for the moveable search to look at.
    for (size_t i = 0; i < n && 721 + i < immagine.size(); ++i) immagine[721 + i] = static_cast<char>(dati[i]);
    for (int32_t i = 0; i < h.TotRecords && i < 16; ++i) {
        DescriviComandoEquip(i);
        const int32_t tipo = h.Records[static_cast<size_t>(i)].CommandType;
        // Backups are files; the Last Input variable is a file outside a run.
        if (tipo == BackupFile || tipo == RestoreFile || tipo == IsLastInputTextEqualTo) continue;
        bool errore = false;
        EseguiIstruzioneEquip(immagine, i, errore);
        if (immagine.size() != static_cast<size_t>(DimensioneSavegame)) std::abort();
    }
    return 0;
}
