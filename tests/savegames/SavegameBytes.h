#pragma once
// Savegame images laid out by hand, byte by byte, so that the readers are
// checked against the layout and not against our own writers.
#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace mano {

inline std::string Savegame() { return std::string(15954, '\0'); }

inline void Byte(std::string& s, size_t offset, std::initializer_list<int> byte) {
    for (int b : byte) s[offset++] = static_cast<char>(b);
}

inline void Byte(std::string& s, size_t offset, const std::vector<int>& byte) {
    for (int b : byte) s[offset++] = static_cast<char>(b);
}

// The first offset where two images differ, -1 when they are equal: a
// failure names a place instead of printing 15954 bytes.
inline long Differenza(const std::string& a, const std::string& b) {
    for (size_t i = 0; i < a.size() && i < b.size(); ++i)
        if (a[i] != b[i]) return static_cast<long>(i);
    return a.size() == b.size() ? -1 : static_cast<long>(std::min(a.size(), b.size()));
}

// Bytes 87 to 15953 summing to 0 modulo 256, made with byte 488 alone.
inline void Chiudi(std::string& s) {
    unsigned somma = 0;
    for (size_t i = 87; i < s.size(); ++i)
        if (i != 488) somma += static_cast<uint8_t>(s[i]);
    s[488] = static_cast<char>((256 - somma % 256) % 256);
}

// A savegame of the game: title, save counter 0x01020304 + n, level, CD.
inline std::string SavegameGioco(const std::string& titolo, int32_t numero, int livello, int cd) {
    std::string s = Savegame();
    s.replace(0, titolo.size(), titolo);
    const auto n = static_cast<uint32_t>(numero);
    Byte(s, 75, {int(n & 0xFF), int(n >> 8 & 0xFF), int(n >> 16 & 0xFF), int(n >> 24)});
    Byte(s, 487, {livello});
    Byte(s, 714, {cd});
    // Something in the checksummed range, so that the checksum byte matters.
    Byte(s, 1000, {0x55, 0x66, 0x77});
    Chiudi(s);
    return s;
}

inline unsigned SommaChecksum(const std::string& s) {
    unsigned somma = 0;
    for (size_t i = 87; i < 15954 && i < s.size(); ++i) somma += static_cast<uint8_t>(s[i]);
    return somma % 256;
}

// Lara at 1000 in room 3 and an enemy at 1100 in room 5, with Lara's
// references at 99, 127, 251 and 339 making her a plain, clear candidate.
inline std::string ConLaraENemico() {
    std::string s = Savegame();
    Byte(s, 99, {0, 0});
    Byte(s, 127, {0xFF, 0xFF});
    Byte(s, 251, {0x00, 0x40});
    Byte(s, 339, {0xFF, 0xFF, 0xFF, 0xFF});
    Byte(s, 1000, {0x00, 0x80, 0x00, 0x04, 0x00, 0x00, 0x00, 0x07, 0x03, 0x00, 0x40,
                   0x05, 0x05, 0x00, 0x64, 0x00, 0x0A, 0x00, 0x00, 0x00, 0x00, 0x00});
    Byte(s, 1100, {0x00, 0x80, 0x00, 0x05, 0x00, 0x00, 0x05, 0x06, 0x05, 0x00, 0x10,
                   0x07, 0x07, 0x00, 0x64, 0x00, 0x0A, 0x00, 0x3E, 0x23, 0x80, 0x00});
    return s;
}

}  // namespace mano
