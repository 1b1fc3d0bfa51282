#pragma once
// Compressed sound files laid out by hand from their byte layouts: wave
// files of IMA and Microsoft ADPCM, and MP3 frames of silence.
#include <cstdint>
#include <string>

namespace suoni {

inline void Metti32(std::string& s, uint32_t x) {
    for (int i = 0; i < 4; ++i) s += static_cast<char>(x >> (8 * i));
}
inline void Metti16(std::string& s, uint16_t x) {
    s += static_cast<char>(x);
    s += static_cast<char>(x >> 8);
}

// A RIFF WAVE file of a "fmt " chunk (the common fields, then <extra>), a
// "fact" chunk with the sample count, and the data.
inline std::string WavCompresso(uint16_t tag, uint16_t canali, uint32_t frequenza, uint32_t byteSecondo,
                                uint16_t blocco, uint16_t bit, const std::string& extra, uint32_t campioni,
                                const std::string& dati) {
    std::string fmt;
    Metti16(fmt, tag);
    Metti16(fmt, canali);
    Metti32(fmt, frequenza);
    Metti32(fmt, byteSecondo);
    Metti16(fmt, blocco);
    Metti16(fmt, bit);
    Metti16(fmt, static_cast<uint16_t>(extra.size()));
    fmt += extra;
    std::string corpo = "WAVEfmt ";
    Metti32(corpo, static_cast<uint32_t>(fmt.size()));
    corpo += fmt;
    corpo += "fact";
    Metti32(corpo, 4);
    Metti32(corpo, campioni);
    corpo += "data";
    Metti32(corpo, static_cast<uint32_t>(dati.size()));
    corpo += dati;
    if (dati.size() & 1) corpo += '\0';
    std::string s = "RIFF";
    Metti32(s, static_cast<uint32_t>(corpo.size()));
    return s + corpo;
}

// IMA ADPCM, 8 kHz mono, blocks of 256 bytes: a header (first sample, step
// index, a reserved byte) and 252 bytes of 4-bit codes, 505 samples each.
inline std::string ImaAdpcm(uint32_t blocchi) {
    std::string dati;
    for (uint32_t b = 0; b < blocchi; ++b) {
        Metti16(dati, 0);
        dati += static_cast<char>(20);
        dati += '\0';
        for (int i = 0; i < 252; ++i) dati += static_cast<char>(i % 2 ? 0x19 : 0x91);
    }
    std::string extra;
    Metti16(extra, 505);
    return WavCompresso(0x11, 1, 8000, 4055, 256, 4, extra, blocchi * 505, dati);
}

// Microsoft ADPCM, 8 kHz mono, blocks of 256 bytes: predictor, delta and
// two first samples, then 249 bytes of codes, 500 samples each; the seven
// standard coefficient pairs follow the block's sample count in the format.
inline std::string MsAdpcm(uint32_t blocchi) {
    std::string dati;
    for (uint32_t b = 0; b < blocchi; ++b) {
        dati += '\0';
        Metti16(dati, 16);
        Metti16(dati, 0);
        Metti16(dati, 0);
        for (int i = 0; i < 249; ++i) dati += static_cast<char>(i % 2 ? 0x17 : 0x71);
    }
    std::string extra;
    Metti16(extra, 500);
    Metti16(extra, 7);
    const int16_t coefficienti[7][2] = {{256, 0}, {512, -256}, {0, 0}, {192, 64}, {240, 0}, {460, -208}, {392, -232}};
    for (const auto& c : coefficienti) {
        Metti16(extra, static_cast<uint16_t>(c[0]));
        Metti16(extra, static_cast<uint16_t>(c[1]));
    }
    return WavCompresso(0x2, 1, 8000, 4096, 256, 4, extra, blocchi * 500, dati);
}

// MPEG-1 layer III frames, 44.1 kHz mono at 128 kbit/s (417 bytes, 1152
// samples each), all side information zero: silence. An ID3v2 tag before
// them and an ID3v1 tag after them, as players write.
inline std::string Mp3(uint32_t frames) {
    std::string s = "ID3";
    s += std::string("\x03\x00\x00", 3);
    s += std::string("\x00\x00\x01\x00", 4);  // 128 bytes, seven bits a byte
    s += std::string(128, '\0');
    for (uint32_t f = 0; f < frames; ++f) {
        s += std::string("\xFF\xFB\x90\xC4", 4);
        s += std::string(417 - 4, '\0');
    }
    s += "TAG";
    s += std::string(125, ' ');
    return s;
}

}  // namespace suoni
