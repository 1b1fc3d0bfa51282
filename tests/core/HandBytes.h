#pragma once
// Bytes of media.mcf assembled by hand from the file layout, without the
// program's writers, so that reader and writer cannot share one mistake.
#include <cstdint>
#include <string>

#include "core/ScrambledString.h"

namespace mano {

inline std::string I32(int64_t v) {
    const auto u = static_cast<uint32_t>(v);
    std::string s;
    for (int i = 0; i < 4; ++i) s += static_cast<char>(u >> (8 * i));
    return s;
}

// UTF-16 code units as a scrambled string: count, then UTF-16LE bytes each
// combined with the key byte at (k mod 9).
inline std::string Stringa(const std::u16string& testo) {
    const auto chiave = ChiaveStringhe();
    std::string byte;
    for (char16_t u : testo) {
        byte += static_cast<char>(u & 0xFF);
        byte += static_cast<char>(u >> 8);
    }
    for (size_t k = 0; k < byte.size(); ++k) byte[k] = static_cast<char>(byte[k] ^ chiave[k % 9]);
    return I32(static_cast<int64_t>(byte.size())) + byte;
}

// An ASCII text, one code unit per character.
inline std::string Stringa(const std::string& testo) {
    std::u16string unita;
    for (char c : testo) unita += static_cast<char16_t>(static_cast<unsigned char>(c));
    return Stringa(unita);
}

struct Record {
    int32_t typeFlags, options;
    std::string mediaFile, soundFile;
    int32_t formato[13];  // Color Align CharRow Left Top Right Bottom Effect ScrollStep ScrollDelay DelayMicros Flags Font
    std::string text, syntax;
    int32_t numeri[11];   // TriggerCd SoundCd AntiTriggerCd Repeat BackColor FadeTime EndWait DelaySeconds Duration MediaCode Level
};

inline std::string Bytes(const Record& r) {
    std::string s = I32(r.typeFlags) + I32(r.options) + Stringa(r.mediaFile) + Stringa(r.soundFile);
    for (int32_t v : r.formato) s += I32(v);
    s += Stringa(r.text) + Stringa(r.syntax);
    for (int32_t v : r.numeri) s += I32(v);
    return s;
}

const std::string Riservati("\x01\x02\x03\x04\x05\x06\x07\x08\x09\x0A\x0B\x0C\x0D\x0E\x0F\xF0", 16);

inline Record PrimoRecord() {
    return {0x180, 0x2000 | 0x1000000, "intro.bmp", "music.wav",
            {0xFFFFFF, 2, 3, 50, 100, 950, 900, 2, 4, 30, 1000, 0x40, 12},
            "<ENGLISH>Hello\r\n<END_ENGLISH>", "<TEXT>#FLAGS#=64\r\n<END_TEXT>",
            {12, 13, 14, 1, 0x102030, 3, 4, 5, 10, 101, -1}};
}

inline Record SecondoRecord() {
    return {0x8000000, 0x20000 | 0x1, "", "beep.wav",
            {0, 0, 0, 0, 0, 1000, 1000, 0, 0, 0, 0, 0, 0},
            "Alert!", "<ALERT>#CODE#=7\r\n<END_ALERT>",
            {999, 0, 0, 0, 0, 0, 0, 0, 0, 202, 3}};
}

// Header with two media files and two records.
inline std::string FileCompleto() {
    return "VER1.5" + I32(2) + Riservati + I32(static_cast<int32_t>(0xA000D03Bu)) + I32(3) + I32(123456) +
           I32(-7) + Stringa("Level by hand") + I32(2) + Stringa("intro.bmp") + I32(1) + Stringa("music.wav") +
           I32(2) + Bytes(PrimoRecord()) + Bytes(SecondoRecord());
}

}  // namespace mano
