#pragma once
// Image files as bytes: the image sequence file of the old configuration
// format, and 24-bit Windows bitmap files.
#include <cstdint>
#include <string>
#include <vector>

// The media's list of pictures has a record of the same name: a namespace
// of its own keeps the two types, and their library code, apart at link
// time.
namespace FileVecchio {
struct ImmagineSequenza {
    std::string FileName;  // exactly 256 characters, blank padded
    int32_t Value = 0;
};
}  // namespace FileVecchio

struct FileSequenzaImmagini {
    int32_t Count = 0;
    int16_t SequenceWord = 0;
    std::vector<FileVecchio::ImmagineSequenza> Immagini;  // Count + 1, the last one spare
};

constexpr size_t LunghezzaNomeSequenza = 256;
constexpr size_t LunghezzaRecordSequenza = 260;

// False for a negative count or a count the bytes do not hold.
bool LeggiImageSequence(const std::string& dati, FileSequenzaImmagini& sequenza);
std::string ComponiImageSequence(const FileSequenzaImmagini& sequenza);

// A bottom-up 24-bit bitmap file from rows of blue, green, red bytes, top
// row first, each row exactly 3 x width bytes.
std::string ComponiBmp24(int32_t larghezza, int32_t altezza, const std::string& pixelBgr);
