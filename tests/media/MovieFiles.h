#pragma once
// Small AVI movies laid out by hand: uncompressed frames, each of one
// colour, an index, nothing else.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace filmati {

inline void Metti32(std::string& s, uint32_t x) {
    for (int i = 0; i < 4; ++i) s += static_cast<char>(x >> (8 * i));
}
inline void Metti16(std::string& s, uint16_t x) {
    s += static_cast<char>(x);
    s += static_cast<char>(x >> 8);
}
// The size field at <dove> gets the bytes that follow it.
inline void Chiudi(std::string& s, size_t dove) {
    const auto n = static_cast<uint32_t>(s.size() - dove - 4);
    for (int i = 0; i < 4; ++i) s[dove + static_cast<size_t>(i)] = static_cast<char>(n >> (8 * i));
}

// Frames of raw DIB rows, bottom-up, of <bit> bits a pixel; a palette
// (4 bytes an entry) follows the header of an 8-bit movie.
inline std::string AviGrezzo(const std::vector<std::string>& fotogrammi, uint16_t bit, const std::string& paletta,
                             uint32_t fps, uint32_t larghezza, uint32_t altezza) {
    const uint32_t dimensione = larghezza * altezza * bit / 8;
    const auto n = static_cast<uint32_t>(fotogrammi.size());
    std::string s = "RIFF";
    Metti32(s, 0);
    s += "AVI LIST";
    const size_t intestazioni = s.size();
    Metti32(s, 0);
    s += "hdrlavih";
    Metti32(s, 56);
    Metti32(s, 1000000 / fps);
    Metti32(s, dimensione * fps);
    Metti32(s, 0);
    Metti32(s, 0x10);  // has an index
    Metti32(s, n);
    Metti32(s, 0);
    Metti32(s, 1);
    Metti32(s, dimensione);
    Metti32(s, larghezza);
    Metti32(s, altezza);
    for (int i = 0; i < 4; ++i) Metti32(s, 0);
    s += "LIST";
    const size_t flusso = s.size();
    Metti32(s, 0);
    s += "strlstrh";
    Metti32(s, 56);
    s += "vids";
    Metti32(s, 0);  // no codec: DIB frames
    Metti32(s, 0);
    Metti16(s, 0);
    Metti16(s, 0);
    Metti32(s, 0);
    Metti32(s, 1);    // scale
    Metti32(s, fps);  // rate
    Metti32(s, 0);
    Metti32(s, n);
    Metti32(s, dimensione);
    Metti32(s, 0xFFFFFFFF);
    Metti32(s, 0);
    Metti16(s, 0);
    Metti16(s, 0);
    Metti16(s, static_cast<uint16_t>(larghezza));
    Metti16(s, static_cast<uint16_t>(altezza));
    s += "strf";
    Metti32(s, 40 + static_cast<uint32_t>(paletta.size()));
    Metti32(s, 40);
    Metti32(s, larghezza);
    Metti32(s, altezza);
    Metti16(s, 1);
    Metti16(s, bit);
    Metti32(s, 0);  // BI_RGB
    Metti32(s, dimensione);
    Metti32(s, 0);
    Metti32(s, 0);
    Metti32(s, static_cast<uint32_t>(paletta.size() / 4));
    Metti32(s, 0);
    s += paletta;
    Chiudi(s, flusso);
    Chiudi(s, intestazioni);
    s += "LIST";
    const size_t movi = s.size();
    Metti32(s, 0);
    s += "movi";
    std::vector<uint32_t> posizioni;
    for (const std::string& f : fotogrammi) {
        // Offsets count from the list's "movi".
        posizioni.push_back(static_cast<uint32_t>(s.size() - movi - 4));
        s += "00db";
        Metti32(s, dimensione);
        s += f;
    }
    Chiudi(s, movi);
    s += "idx1";
    Metti32(s, 16 * n);
    for (const uint32_t p : posizioni) {
        s += "00db";
        Metti32(s, 0x10);  // key frame
        Metti32(s, p);
        Metti32(s, dimensione);
    }
    Chiudi(s, 4);
    return s;
}

// One frame a colour, <fps> frames a second, 32 bits a pixel.
inline std::string Avi(const std::vector<COLORREF>& fotogrammi, uint32_t fps, uint32_t larghezza = 64,
                       uint32_t altezza = 48) {
    std::vector<std::string> grezzi;
    for (const COLORREF c : fotogrammi) {
        std::string pixel;
        pixel.reserve(larghezza * altezza * 4);
        for (uint32_t i = 0; i < larghezza * altezza; ++i) {
            pixel += static_cast<char>(GetBValue(c));
            pixel += static_cast<char>(GetGValue(c));
            pixel += static_cast<char>(GetRValue(c));
            pixel += '\0';
        }
        grezzi.push_back(std::move(pixel));
    }
    return AviGrezzo(grezzi, 32, "", fps, larghezza, altezza);
}

// One frame a colour of a 256-entry palette, 8 bits a pixel: large movies
// in little room.
inline std::string AviPaletta(const std::vector<uint8_t>& indici, const std::vector<COLORREF>& colori, uint32_t fps,
                              uint32_t larghezza, uint32_t altezza) {
    std::string paletta;
    for (size_t k = 0; k < 256; ++k) {
        const COLORREF c = k < colori.size() ? colori[k] : 0;
        paletta += static_cast<char>(GetBValue(c));
        paletta += static_cast<char>(GetGValue(c));
        paletta += static_cast<char>(GetRValue(c));
        paletta += '\0';
    }
    std::vector<std::string> grezzi;
    for (const uint8_t i : indici) grezzi.emplace_back(larghezza * altezza, static_cast<char>(i));
    return AviGrezzo(grezzi, 8, paletta, fps, larghezza, altezza);
}

// <secondi> of one colour, then as long of another, at 10 frames a second.
inline std::string AviDueColori(COLORREF primo, COLORREF secondo, double secondi) {
    const auto n = static_cast<size_t>(secondi * 10 + 0.5);
    std::vector<COLORREF> f(n, primo);
    f.insert(f.end(), n, secondo);
    return Avi(f, 10);
}

}  // namespace filmati
