#include "patcher/PatchEngine.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

// The record's bytes lie inside the image (offsets tested in 64 bits, so
// that no sum can wrap).
bool NellImmagine(const std::string& immagine, int64_t offset, const RecordPatch& record) {
    const int64_t n = record.Lunghezza;
    if (immagine.empty() || offset < 0 || n < 1) return false;
    if (record.Originali.size() != static_cast<size_t>(n) || record.Nuovi.size() != static_cast<size_t>(n))
        return false;
    return offset + n <= static_cast<int64_t>(immagine.size());
}

bool Uguali(const std::string& immagine, int64_t offset, const std::string& byte) {
    return std::memcmp(immagine.data() + offset, byte.data(), byte.size()) == 0;
}

// The record's state at <offset>, the image untouched.
int32_t Stato(const std::string& immagine, int64_t offset, const RecordPatch& record, bool rimuovi, bool forza) {
    if (!NellImmagine(immagine, offset, record)) return NonRiconosciuta;
    if (forza || Uguali(immagine, offset, rimuovi ? record.Nuovi : record.Originali)) return Applicata;
    return Uguali(immagine, offset, rimuovi ? record.Originali : record.Nuovi) ? GiaApplicata : NonRiconosciuta;
}

}  // namespace

int32_t VerificaPatchBytes(std::string& immagine, const RecordPatch& record, bool rimuovi, bool soloVerifica,
                           bool forza) {
    const int32_t esito = Stato(immagine, record.Offset, record, rimuovi, forza);
    if (esito == Applicata && !soloVerifica) {
        const std::string& finali = rimuovi ? record.Originali : record.Nuovi;
        immagine.replace(static_cast<size_t>(record.Offset), finali.size(), finali);
    }
    return esito;
}

int32_t StatoRecordPatch(const std::string& immagine, int32_t spostamento, const RecordPatch& record, bool rimuovi) {
    return Stato(immagine, static_cast<int64_t>(record.Offset) + spostamento, record, rimuovi, false);
}

int32_t ApplicaRecordPatch(std::string& immagine, const std::vector<RecordPatch>& records, size_t primo,
                           bool rimuovi, bool forza) {
    if (primo >= records.size()) return NonRiconosciuta;
    // Judged in order on a copy, so that records that overlap see the bytes
    // their predecessors leave, as they would when written one by one.
    std::string copia = immagine;
    bool tutteApplicate = true, tutteGiaApplicate = true;
    for (size_t i = primo; i < records.size(); ++i) {
        const int32_t esito = VerificaPatchBytes(copia, records[i], rimuovi, false, forza);
        if (esito == NonRiconosciuta) return NonRiconosciuta;
        tutteApplicate = tutteApplicate && esito == Applicata;
        tutteGiaApplicate = tutteGiaApplicate && esito == GiaApplicata;
    }
    if (tutteApplicate) {
        immagine.swap(copia);
        return Applicata;
    }
    return tutteGiaApplicate ? GiaApplicata : NonRiconosciuta;
}

int32_t CercaRecordPatch(const std::string& immagine, const RecordPatch& record, bool rimuovi,
                         int32_t& spostamento, bool cercaAncora) {
    spostamento = 0;
    if (cercaAncora) {
        const std::string& ancora = record.Originali;
        if (ancora.empty() || record.Lunghezza < 1) return NonRiconosciuta;
        bool trovato = false;
        int64_t migliore = 0;
        for (size_t p = immagine.find(ancora); p != std::string::npos; p = immagine.find(ancora, p + 1)) {
            const int64_t candidato = static_cast<int64_t>(p) - record.Offset;
            if (!trovato || std::llabs(candidato) < std::llabs(migliore)) migliore = candidato;
            trovato = true;
        }
        if (!trovato || migliore < INT32_MIN || migliore > INT32_MAX) return NonRiconosciuta;
        spostamento = static_cast<int32_t>(migliore);
        return Applicata;
    }
    std::vector<int32_t> prove = {0, -SpostamentoBuild, SpostamentoBuild};
    for (int32_t s = -112; s <= 112; ++s) prove.push_back(s);
    for (const int32_t s : prove) {
        const int32_t esito = StatoRecordPatch(immagine, s, record, rimuovi);
        if (esito != NonRiconosciuta) {
            spostamento = s;
            return esito;
        }
    }
    return NonRiconosciuta;
}
