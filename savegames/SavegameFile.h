#pragma once
// Savegame slot files of the game folder: savegame.0 to savegame.14.
#include <cstdint>
#include <string>

#include "core/FileUtils.h"
#include "core/PathNames.h"

// PercorsoSavegame and EsisteFileOpenFile, the slot's path and the in-use
// test, are with the file routines in core/FileUtils.h, whose IsFileOccupato
// uses them.

// True when the path names a slot file; unless <saltaCartella> it must also
// lie in the game folder, and a refusal outside preview mode is logged.
bool IsPathSavegame(const std::string& percorso, bool saltaCartella);
// Deletes the slot files of a folder, where present.
void CancellaSavegameCartella(const std::string& cartella);

constexpr int32_t DimensioneSavegame = 15954;
constexpr int32_t OffsetLivelloSavegame = 487;
constexpr int32_t OffsetNumeroSavegame = 75;

// The little-endian value of <dimensione> bytes (1 unsigned, 2 and 4
// signed) at <offset>; 0 outside the bytes or for another width.
int32_t LeggiValoreSavegame(const std::string& dati, int32_t dimensione, int32_t offset);
// The savegame for the log: file name, " [", number, ": ", title, "]".
std::string VerificaFileSavegame(const std::string& percorso);
