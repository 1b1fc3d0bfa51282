#include "core/MediaPacketHeader.h"

#include <cstdio>

#include "core/MediaLog.h"
#include "core/MediaTrigger.h"
#include "core/ScrambledString.h"
#include "core/Utf8Files.h"
#include "core/Utf8Text.h"

namespace {

// An entry takes at least its empty name's count, its size and two dates.
constexpr size_t LunghezzaMinimaVoce = 4 + 4 + 8 + 8;
constexpr size_t MassimoHeader = 16u << 20;

}  // namespace

bool LeggiHeaderPacchetto(LettoreByte& f, MediaPacketHeader& h) {
    if (!f.LeggiI32(h.Count) || !f.LeggiI16(h.IsVirtual) || !LeggiStringaCodificata(h.Folder, f)) return false;
    if (h.Count < 0 || static_cast<size_t>(h.Count) > f.Rimanenti() / LunghezzaMinimaVoce) return false;
    const size_t n = static_cast<size_t>(h.Count);
    h.FileSizes.assign(n + 1, 0);
    h.FileNames.assign(n + 1, std::string());
    h.FileDates.assign(n + 1, 0.0);
    h.AddedDates.assign(n + 1, 0.0);
    for (size_t i = 0; i < n; ++i)
        if (!LeggiStringaCodificata(h.FileNames[i], f) || !f.LeggiI32(h.FileSizes[i]) ||
            !f.LeggiDouble(h.FileDates[i]) || !f.LeggiDouble(h.AddedDates[i]))
            return false;
    h.DataStart = static_cast<int32_t>(f.Posizione());
    return true;
}

bool ComponiHeaderPacchetto(const MediaPacketHeader& h, std::string& dati) {
    const size_t n = h.Count < 0 ? 0 : static_cast<size_t>(h.Count);
    if (h.Count < 0 || n > h.FileNames.size() || n > h.FileSizes.size() || n > h.FileDates.size() ||
        n > h.AddedDates.size())
        return false;
    ScrittoreByte f;
    f.ScriviI32(h.Count);
    f.ScriviI16(h.IsVirtual);
    if (!ScriviStringaCodificata(h.Folder, f)) return false;
    for (size_t i = 0; i < n; ++i) {
        if (!ScriviStringaCodificata(h.FileNames[i], f)) return false;
        f.ScriviI32(h.FileSizes[i]);
        f.ScriviDouble(h.FileDates[i]);
        f.ScriviDouble(h.AddedDates[i]);
    }
    dati = f.Dati();
    return true;
}

bool CaricaHeaderPacchetto(const std::string& percorso, MediaPacketHeader& h) {
    if (!EsisteFileUtf8(percorso)) return RigaErroreUtf8("Not found media packet file: " + percorso);
    std::FILE* file = ApriFileUtf8(percorso, "rb");
    if (!file) return RigaErroreUtf8("Error opening media packet file: " + percorso);
    // Only the header is read, in growing pieces, never the packed contents
    // that follow it; a header past MassimoHeader is not a packet's.
    std::string dati;
    bool completo = false;
    bool fineFile = false;
    size_t pezzo = 65536;
    while (!completo && !fineFile && dati.size() < MassimoHeader) {
        const size_t prima = dati.size();
        dati.resize(prima + pezzo);
        const size_t letti = std::fread(dati.data() + prima, 1, pezzo, file);
        dati.resize(prima + letti);
        fineFile = letti < pezzo;
        LettoreByte lettore(dati);
        MediaPacketHeader letto;
        // Short of bytes before the end of the file only means: read on.
        if (LeggiHeaderPacchetto(lettore, letto)) {
            h = std::move(letto);
            completo = true;
        }
        pezzo = dati.size();
    }
    std::fclose(file);
    if (!completo) return RigaErroreUtf8("Error loading media packet header: " + percorso);
    return true;
}

bool SalvaHeaderPacchetto(const std::string& percorso, MediaPacketHeader& h) {
    std::string dati;
    // A header that cannot be composed neither creates nor touches the file.
    if (!ComponiHeaderPacchetto(h, dati)) return RigaErroreUtf8("Error saving media packet header: " + percorso);
    std::FILE* file = ApriFileUtf8(percorso, "r+b");
    if (!file) file = ApriFileUtf8(percorso, "wb");
    if (!file) return RigaErroreUtf8("Error creating media packet file: " + percorso);
    bool ok = std::fwrite(dati.data(), 1, dati.size(), file) == dati.size();
    if (std::fclose(file) != 0) ok = false;
    if (!ok) return RigaErroreUtf8("Error saving media packet header: " + percorso);
    h.DataStart = static_cast<int32_t>(dati.size());
    return true;
}
