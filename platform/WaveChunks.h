#pragma once
// The chunks of a RIFF WAVE image: its format and where its samples lie.
// No Windows header: the logger's sound buffers and the media player build
// on it.
#include <cstddef>
#include <cstdint>

struct FormatoWav {
    uint16_t FormatTag = 0;
    uint16_t Channels = 0;
    uint32_t SamplesPerSec = 0;
    uint32_t AvgBytesPerSec = 0;
    uint16_t BlockAlign = 0;
    uint16_t BitsPerSample = 0;
};

// Walks the chunks of <immagine>; False when it is not RIFF WAVE, when a
// chunk passes the image's end, when "fmt " is shorter than 14 bytes, or
// when "fmt " or "data" is missing. <dati> points into the image.
bool ParseWaveChunks(const uint8_t* immagine, size_t dimensione, FormatoWav& formato, const uint8_t*& dati,
                     uint32_t& dimensioneDati);
// The same, also giving the whole "fmt " chunk (a compressed format's
// decoder needs the bytes after the common fields).
bool ParseWaveChunks(const uint8_t* immagine, size_t dimensione, FormatoWav& formato, const uint8_t*& dati,
                     uint32_t& dimensioneDati, const uint8_t*& chunkFormato, uint32_t& lunghezzaFormato);

// The length of <dimensioneDati> bytes of samples in milliseconds; 0 when
// the format gives no byte rate.
uint32_t DurataWavMs(const FormatoWav& formato, uint32_t dimensioneDati);
