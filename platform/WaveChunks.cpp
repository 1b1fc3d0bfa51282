#include "platform/WaveChunks.h"

#include <cstring>

namespace {
uint32_t U32(const uint8_t* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24); }
uint16_t U16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
}  // namespace

bool ParseWaveChunks(const uint8_t* immagine, size_t dimensione, FormatoWav& formato, const uint8_t*& dati,
                     uint32_t& dimensioneDati) {
    const uint8_t* chunkFormato = nullptr;
    uint32_t lunghezzaFormato = 0;
    return ParseWaveChunks(immagine, dimensione, formato, dati, dimensioneDati, chunkFormato, lunghezzaFormato);
}

bool ParseWaveChunks(const uint8_t* immagine, size_t dimensione, FormatoWav& formato, const uint8_t*& dati,
                     uint32_t& dimensioneDati, const uint8_t*& chunkFormato, uint32_t& lunghezzaFormato) {
    dati = nullptr;
    dimensioneDati = 0;
    chunkFormato = nullptr;
    lunghezzaFormato = 0;
    if (immagine == nullptr || dimensione < 12) return false;
    if (std::memcmp(immagine, "RIFF", 4) != 0 || std::memcmp(immagine + 8, "WAVE", 4) != 0) return false;
    // The RIFF size may claim more than the file holds: walk only what is there.
    uint64_t fine = static_cast<uint64_t>(U32(immagine + 4)) + 8;
    if (fine > dimensione) fine = dimensione;
    bool haFormato = false, haDati = false, rotto = false;
    uint64_t pos = 12;
    while (!rotto && pos + 8 <= fine) {
        const uint8_t* chunk = immagine + pos;
        const uint32_t lunghezza = U32(chunk + 4);
        if (pos + 8 + lunghezza > dimensione || (std::memcmp(chunk, "fmt ", 4) == 0 && lunghezza < 14)) {
            rotto = true;
        } else if (std::memcmp(chunk, "fmt ", 4) == 0) {
            const uint8_t* f = chunk + 8;
            formato.FormatTag = U16(f);
            formato.Channels = U16(f + 2);
            formato.SamplesPerSec = U32(f + 4);
            formato.AvgBytesPerSec = U32(f + 8);
            formato.BlockAlign = U16(f + 12);
            formato.BitsPerSample = lunghezza >= 16 ? U16(f + 14) : 0;
            chunkFormato = f;
            lunghezzaFormato = lunghezza;
            haFormato = true;
        } else if (std::memcmp(chunk, "data", 4) == 0) {
            dati = chunk + 8;
            dimensioneDati = lunghezza;
            haDati = true;
        }
        pos += 8 + static_cast<uint64_t>(lunghezza) + (lunghezza & 1);
    }
    // A failure leaves no pointer into the image behind.
    if (rotto || !(haFormato && haDati)) {
        dati = nullptr;
        dimensioneDati = 0;
        chunkFormato = nullptr;
        lunghezzaFormato = 0;
        return false;
    }
    return true;
}

uint32_t DurataWavMs(const FormatoWav& formato, uint32_t dimensioneDati) {
    if (formato.AvgBytesPerSec == 0) return 0;
    return static_cast<uint32_t>(static_cast<uint64_t>(dimensioneDati) * 1000 / formato.AvgBytesPerSec);
}
