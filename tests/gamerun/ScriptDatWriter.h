#pragma once
// A small writer of script.dat files for tests: the header fields this
// program reads, the path offsets and strings, the level block offsets and
// a title level block carrying its CD track at byte 36.
#include <cstdint>
#include <string>
#include <vector>

namespace scriptdat {

inline std::string I16(int32_t v) {
    const auto u = static_cast<uint16_t>(v);
    return std::string{static_cast<char>(u & 0xFF), static_cast<char>(u >> 8)};
}

// A title level block: 0x91, the track at byte 36, some bytes after it.
inline std::string BloccoTitolo(uint8_t cd, uint8_t inizio = 0x91) {
    std::string b(40, '\x01');
    b[0] = static_cast<char>(inizio);
    b[36] = static_cast<char>(cd);
    return b;
}

struct Script {
    std::vector<std::string> percorsi;  // stored paths, without NUL
    int32_t livelli = -1;               // L; -1: as many as the paths
    std::string titolo = BloccoTitolo(104);
};

// The file's bytes; the path strings follow each other, each with its NUL.
inline std::string Componi(const Script& s) {
    const int32_t livelli = s.livelli < 0 ? static_cast<int32_t>(s.percorsi.size()) : s.livelli;
    std::string offsetPercorsi, blocco;
    for (const std::string& p : s.percorsi) {
        offsetPercorsi += I16(static_cast<int32_t>(blocco.size()));
        blocco += p + '\0';
    }
    std::string header(56, '\0');
    header[9] = static_cast<char>(livelli);
    header.replace(10, 2, I16(static_cast<int32_t>(s.percorsi.size())));
    header.replace(12, 2, I16(static_cast<int32_t>(blocco.size())));
    // The title's block, then one of 8 bytes for every other level.
    std::string offsetLivelli, blocchi;
    for (int32_t i = 0; i < livelli; ++i) {
        offsetLivelli += I16(static_cast<int32_t>(blocchi.size()));
        blocchi += i == 0 ? s.titolo : std::string(8, '\x02');
    }
    if (livelli == 0) blocchi = s.titolo;
    return header + offsetPercorsi + blocco + offsetLivelli + blocchi;
}

}  // namespace scriptdat
