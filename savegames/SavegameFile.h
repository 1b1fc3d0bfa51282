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
