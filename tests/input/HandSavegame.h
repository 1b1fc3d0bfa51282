#pragma once
// A savegame laid by hand from its byte layout: title at 0, number at 75,
// level at 487, CD at 714, and the byte at 488 that makes bytes 87 to 15953
// sum to 0 modulo 256.
#include <cstdint>
#include <string>

// Bytes 87 to the end, byte 488 left out.
inline unsigned SommaSavegame(const std::string& s, bool conChecksum = false) {
    unsigned somma = 0;
    for (size_t i = 87; i < s.size(); ++i)
        if (conChecksum || i != 488) somma += static_cast<unsigned char>(s[i]);
    return somma;
}

inline std::string SavegameAMano(uint32_t numero, uint8_t livello, uint8_t cd, const std::string& titolo = "Prova") {
    std::string s(15954, '\0');
    s.replace(0, titolo.size(), titolo);
    for (int i = 0; i < 4; ++i) s[75 + static_cast<size_t>(i)] = static_cast<char>((numero >> (8 * i)) & 0xFF);
    s[487] = static_cast<char>(livello);
    s[714] = static_cast<char>(cd);
    s[1000] = 'x';
    s[488] = static_cast<char>((256 - SommaSavegame(s) % 256) % 256);
    return s;
}
