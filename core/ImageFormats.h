#pragma once
// Image files as bytes: the image sequence file of the old configuration
// format, and 24-bit Windows bitmap files.
#include <cstdint>
#include <string>
#include <vector>

// A record of the image sequence file (the media window's own list of
// pictures is another type).
struct ImmagineFileSequenza {
    std::string FileName;  // exactly 256 characters, blank padded
    int32_t Value = 0;
};

struct FileSequenzaImmagini {
    int32_t Count = 0;
    int16_t SequenceWord = 0;
    std::vector<ImmagineFileSequenza> Immagini;  // Count + 1, the last one spare
};

constexpr size_t LunghezzaNomeSequenza = 256;
constexpr size_t LunghezzaRecordSequenza = 260;

// False for a negative count or a count the bytes do not hold.
bool LeggiImageSequence(const std::string& dati, FileSequenzaImmagini& sequenza);
std::string ComponiImageSequence(const FileSequenzaImmagini& sequenza);
// The file read; False, with its error line, when it is missing or damaged.
bool CaricaImageSequence(const std::string& percorso, FileSequenzaImmagini& sequenza);

// A bottom-up 24-bit bitmap file from rows of blue, green, red bytes, top
// row first, each row exactly 3 x width bytes.
std::string ComponiBmp24(int32_t larghezza, int32_t altezza, const std::string& pixelBgr);

// Where the parts of a bitmap file lie, for a file that the platform's DIB
// drawing takes as it is.
struct StrutturaBmp {
    size_t InizioInfo = 14;  // the info header, then its colour table or masks
    size_t LunghezzaInfo = 0;
    size_t InizioPixel = 0;
    size_t LunghezzaPixel = 0;
    int32_t Larghezza = 0;
    int32_t Altezza = 0;  // negative for rows top first
};
// True for an info header of 40 bytes or more, 1, 4, 8, 16, 24 or 32 bits
// a pixel, no compression (or bit fields) and every part inside the bytes;
// anything else is left to the platform's picture loader.
bool StrutturaBmpDisegnabile(const std::string& dati, StrutturaBmp& bmp);
