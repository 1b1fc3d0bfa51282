#pragma once
// Bitmap files laid out by hand: file header, info header, colour table or
// masks, rows of pixels.
#include <cstdint>
#include <string>

#include "tests/core/HandBytes.h"

namespace mano {

inline std::string I16(int32_t v) {
    return std::string{static_cast<char>(v & 0xFF), static_cast<char>((v >> 8) & 0xFF)};
}

// <tabella> follows the 40-byte info header; the pixels start right after
// it unless <inizioPixel> says otherwise.
inline std::string Bmp(int32_t larghezza, int32_t altezza, int32_t bit, int32_t compressione,
                       const std::string& tabella, const std::string& pixel, int64_t inizioPixel = -1,
                       int32_t colori = 0) {
    const int64_t inizio = inizioPixel >= 0 ? inizioPixel : 14 + 40 + static_cast<int64_t>(tabella.size());
    std::string s = "BM" + I32(inizio + static_cast<int64_t>(pixel.size())) + I32(0) + I32(inizio);
    s += I32(40) + I32(larghezza) + I32(altezza) + I16(1) + I16(bit) + I32(compressione) +
         I32(static_cast<int64_t>(pixel.size())) + I32(2835) + I32(2835) + I32(colori) + I32(0);
    s += tabella;
    if (static_cast<int64_t>(s.size()) < inizio) s += std::string(static_cast<size_t>(inizio) - s.size(), '\0');
    return s + pixel;
}

}  // namespace mano
