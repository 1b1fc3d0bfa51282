#pragma once
// The string encoding of media.mcf and media.mpf: a 32-bit byte count, then
// the text's UTF-16LE bytes combined by exclusive-or with a 9-byte key whose
// position restarts for every string. In memory the text is UTF-8
// (Utf8Text.h): what a file stores is written back unchanged.
#include <array>
#include <cstdint>
#include <string>

#include "core/ByteStream.h"

constexpr size_t LunghezzaChiaveStringhe = 9;

// The key, built afresh on every call so that it never lies in the program
// as a table.
std::array<uint8_t, LunghezzaChiaveStringhe> ChiaveStringhe();

// False when the text is too long for the count field.
bool ScriviStringaCodificata(const std::string& testo, ScrittoreByte& file);
// False when the count is negative, odd or larger than the bytes that
// remain; the text is then left as it was.
bool LeggiStringaCodificata(std::string& testo, LettoreByte& file);
