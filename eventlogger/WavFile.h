#pragma once
// RIFF WAVE images: the format and the samples of a .wav file held whole in
// memory. No Windows header: the sound buffers are made elsewhere.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

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

// Reads the file whole into <immagine> and parses it; False after its line
// in the logger's log when it cannot be opened, is too large or is damaged.
bool LoadWavFile(const std::string& percorso, std::vector<uint8_t>& immagine, FormatoWav& formato,
                 const uint8_t*& dati, uint32_t& dimensione);

// The bytes of a PCM .wav file with <campioni> as its "data" chunk.
std::vector<uint8_t> CreaWav(uint16_t canali, uint32_t frequenza, uint16_t bit, const std::vector<uint8_t>& campioni);
