#pragma once
// trdata.bin, the record an exec media leaves for the program it starts so
// that it can find the running game. Bytes and values only.
#include <cstdint>
#include <string>

struct TrData {
    uint32_t ProcessoGioco = 0;  // handles, as this program holds them
    uint32_t ThreadGioco = 0;
    uint32_t FinestraGioco = 0;
    uint32_t IdProcesso = 0;
    uint32_t IdThread = 0;
    int32_t TriggerCd = 0;
    std::string Eseguibile;  // ANSI path of the game's executable
};

constexpr size_t LunghezzaTrData = 280;
constexpr size_t LunghezzaPercorsoTrData = 256;

// The 280 bytes, little-endian: the six numbers, then the path, one zero
// byte and blanks up to its 256 bytes. False, with an error line, when the
// path and its zero do not fit.
bool ComponiTrData(const TrData& dati, std::string& bytes);
