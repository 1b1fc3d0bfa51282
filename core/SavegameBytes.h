#pragma once
// The values of a savegame image by file offset, read by the savegame media
// and by the placeholders of media texts alike. Bytes in, bytes out.
#include <cstdint>
#include <string>

// A savegame held whole, one character per byte, indexed by file offset.
using SavegameBin = std::string;

// Size 1 reads a byte (0 to 255), 2 a signed 16-bit word, 4 a signed 32-bit
// value, all little-endian. Another size, or bytes beyond the image, read 0
// and nothing; <avanza> moves the offset past what the size names.
int32_t LeggiValoreSavegame(const SavegameBin& immagine, int32_t& offset, int32_t dimensione, bool avanza);
// Stores the low 1, 2 or 4 bytes of the value; another size or bytes beyond
// the image store nothing.
void ScriviValoreSavegame(SavegameBin& immagine, int32_t& offset, int32_t dimensione, int32_t valore, bool avanza);
// The same at a fixed offset.
int32_t LeggiValore(const SavegameBin& immagine, int32_t offset, int32_t dimensione);
void ScriviValore(SavegameBin& immagine, int32_t offset, int32_t dimensione, int32_t valore);
