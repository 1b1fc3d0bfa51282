#include "platform/Mp3Frames.h"

#include <cstring>

namespace {

// How far past the tag a first frame is looked for.
constexpr size_t RicercaMassima = 64 * 1024;

struct Intestazione {
    int32_t versione = 0;
    uint32_t frequenza = 0;
    uint16_t canali = 0;
    uint32_t kbps = 0;
    uint32_t lunghezza = 0;  // with its padding byte
    uint32_t padding = 0;
};

bool LeggiIntestazione(const uint8_t* p, Intestazione& h) {
    if (p[0] != 0xFF || (p[1] & 0xE0) != 0xE0) return false;
    const int versione = (p[1] >> 3) & 3;  // 0: 2.5, 1: reserved, 2: 2, 3: 1
    const int layer = (p[1] >> 1) & 3;     // 1: layer III
    const int indiceKbps = p[2] >> 4;
    const int indiceFrequenza = (p[2] >> 2) & 3;
    if (versione == 1 || layer != 1 || indiceKbps == 0 || indiceKbps == 15 || indiceFrequenza == 3) return false;
    static const uint16_t kbps1[15] = {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320};
    static const uint16_t kbps2[15] = {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160};
    static const uint32_t frequenze[3] = {44100, 48000, 32000};
    const bool mpeg1 = versione == 3;
    h.versione = mpeg1 ? 1 : versione == 2 ? 2 : 25;
    h.frequenza = frequenze[indiceFrequenza] >> (mpeg1 ? 0 : versione == 2 ? 1 : 2);
    h.kbps = mpeg1 ? kbps1[indiceKbps] : kbps2[indiceKbps];
    h.canali = ((p[3] >> 6) & 3) == 3 ? 1 : 2;
    h.padding = (p[2] >> 1) & 1;
    h.lunghezza = (mpeg1 ? 144u : 72u) * h.kbps * 1000u / h.frequenza + h.padding;
    return h.lunghezza > 4;
}

}  // namespace

bool CercaFrameMp3(const uint8_t* dati, size_t dimensione, FrameMp3& frame) {
    frame = FrameMp3{};
    if (dati == nullptr) return false;
    size_t pos = 0;
    if (dimensione >= 10 && std::memcmp(dati, "ID3", 3) == 0) {
        uint32_t lunghezza = 0;
        for (int i = 6; i < 10; ++i) {
            // The size is stored seven bits a byte.
            if (dati[i] & 0x80) return false;
            lunghezza = (lunghezza << 7) | dati[i];
        }
        const bool piede = (dati[5] & 0x10) != 0;
        pos = 10 + static_cast<size_t>(lunghezza) + (piede ? 10 : 0);
        if (pos >= dimensione) return false;
    }
    size_t fine = dimensione;
    if (fine - pos >= 128 && std::memcmp(dati + fine - 128, "TAG", 3) == 0) fine -= 128;
    const size_t limite = fine - pos > RicercaMassima ? pos + RicercaMassima : fine;
    for (; pos + 4 <= limite; ++pos) {
        Intestazione h;
        if (!LeggiIntestazione(dati + pos, h)) continue;
        if (h.lunghezza > fine - pos) continue;
        const size_t prossimo = pos + h.lunghezza;
        if (prossimo + 4 <= fine) {
            Intestazione p;
            if (!LeggiIntestazione(dati + prossimo, p) || p.versione != h.versione || p.frequenza != h.frequenza)
                continue;
        }
        frame.Inizio = pos;
        frame.Fine = fine;
        frame.Versione = h.versione;
        frame.Frequenza = h.frequenza;
        frame.Canali = h.canali;
        frame.Kbps = h.kbps;
        frame.LunghezzaFrame = h.lunghezza - h.padding;
        return true;
    }
    return false;
}
