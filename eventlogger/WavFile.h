#pragma once
// RIFF WAVE images: the format and the samples of a .wav file held whole in
// memory. No Windows header: the sound buffers are made elsewhere.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/WaveChunks.h"

// Reads the file whole into <immagine> and parses it; False after its line
// in the logger's log when it cannot be opened, is too large or is damaged.
bool LoadWavFile(const std::string& percorso, std::vector<uint8_t>& immagine, FormatoWav& formato,
                 const uint8_t*& dati, uint32_t& dimensione);

// The bytes of a PCM .wav file with <campioni> as its "data" chunk.
std::vector<uint8_t> CreaWav(uint16_t canali, uint32_t frequenza, uint16_t bit, const std::vector<uint8_t>& campioni);
