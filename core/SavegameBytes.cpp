#include "core/SavegameBytes.h"

namespace {

bool Dentro(const SavegameBin& immagine, int32_t offset, int32_t dimensione) {
    return offset >= 0 && static_cast<int64_t>(offset) + dimensione <= static_cast<int64_t>(immagine.size());
}

uint8_t Byte(const SavegameBin& immagine, size_t i) { return static_cast<uint8_t>(immagine[i]); }

}  // namespace

int32_t LeggiValoreSavegame(const SavegameBin& immagine, int32_t& offset, int32_t dimensione, bool avanza) {
    if (dimensione != 1 && dimensione != 2 && dimensione != 4) return 0;
    int32_t valore = 0;
    if (Dentro(immagine, offset, dimensione)) {
        const size_t o = static_cast<size_t>(offset);
        if (dimensione == 1)
            valore = Byte(immagine, o);
        else if (dimensione == 2)
            valore = static_cast<int16_t>(Byte(immagine, o) | Byte(immagine, o + 1) << 8);
        else
            valore = static_cast<int32_t>(static_cast<uint32_t>(Byte(immagine, o)) |
                                          static_cast<uint32_t>(Byte(immagine, o + 1)) << 8 |
                                          static_cast<uint32_t>(Byte(immagine, o + 2)) << 16 |
                                          static_cast<uint32_t>(Byte(immagine, o + 3)) << 24);
    }
    if (avanza) offset += dimensione;
    return valore;
}

void ScriviValoreSavegame(SavegameBin& immagine, int32_t& offset, int32_t dimensione, int32_t valore, bool avanza) {
    if (dimensione != 1 && dimensione != 2 && dimensione != 4) return;
    if (Dentro(immagine, offset, dimensione)) {
        const uint32_t v = static_cast<uint32_t>(valore);
        for (int32_t i = 0; i < dimensione; ++i)
            immagine[static_cast<size_t>(offset + i)] = static_cast<char>((v >> (8 * i)) & 0xFFu);
    }
    if (avanza) offset += dimensione;
}

int32_t LeggiValore(const SavegameBin& immagine, int32_t offset, int32_t dimensione) {
    return LeggiValoreSavegame(immagine, offset, dimensione, false);
}

void ScriviValore(SavegameBin& immagine, int32_t offset, int32_t dimensione, int32_t valore) {
    ScriviValoreSavegame(immagine, offset, dimensione, valore, false);
}
