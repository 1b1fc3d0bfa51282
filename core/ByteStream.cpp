#include "core/ByteStream.h"

#include <cstring>

void LettoreByte::Posiziona(size_t posizione) {
    if (posizione > lunghezza_) {
        errore_ = true;
        posizione_ = lunghezza_;
        return;
    }
    posizione_ = posizione;
}

const uint8_t* LettoreByte::Prendi(size_t n) {
    if (n > Rimanenti()) {
        errore_ = true;
        return nullptr;
    }
    const uint8_t* p = dati_ + posizione_;
    posizione_ += n;
    return p;
}

bool LettoreByte::LeggiByte(void* destinazione, size_t n) {
    const uint8_t* p = Prendi(n);
    if (!p) return false;
    if (n) std::memcpy(destinazione, p, n);
    return true;
}

bool LettoreByte::LeggiI32(int32_t& valore) {
    const uint8_t* p = Prendi(4);
    if (!p) return false;
    valore = static_cast<int32_t>(static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
                                  static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24);
    return true;
}

bool LettoreByte::LeggiI16(int16_t& valore) {
    const uint8_t* p = Prendi(2);
    if (!p) return false;
    valore = static_cast<int16_t>(static_cast<uint16_t>(p[0] | p[1] << 8));
    return true;
}

bool LettoreByte::LeggiDouble(double& valore) {
    const uint8_t* p = Prendi(8);
    if (!p) return false;
    uint64_t bit = 0;
    for (int i = 7; i >= 0; --i) bit = bit << 8 | p[i];
    std::memcpy(&valore, &bit, 8);
    return true;
}

void ScrittoreByte::ScriviI32(int32_t valore) {
    const auto v = static_cast<uint32_t>(valore);
    const char b[4] = {static_cast<char>(v), static_cast<char>(v >> 8), static_cast<char>(v >> 16),
                       static_cast<char>(v >> 24)};
    dati_.append(b, 4);
}

void ScrittoreByte::ScriviI16(int16_t valore) {
    const auto v = static_cast<uint16_t>(valore);
    const char b[2] = {static_cast<char>(v), static_cast<char>(v >> 8)};
    dati_.append(b, 2);
}

void ScrittoreByte::ScriviDouble(double valore) {
    uint64_t bit = 0;
    std::memcpy(&bit, &valore, 8);
    char b[8];
    for (int i = 0; i < 8; ++i) b[i] = static_cast<char>(bit >> (8 * i));
    dati_.append(b, 8);
}

void ScrittoreByte::ScriviByte(const void* sorgente, size_t n) {
    dati_.append(static_cast<const char*>(sorgente), n);
}
