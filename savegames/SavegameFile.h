#pragma once
// Savegame slot files of the game folder: savegame.0 to savegame.14.
#include <cstdint>
#include <string>

#include "core/PathNames.h"

// The trimmed game folder, "\savegame." and the number.
std::string PercorsoSavegame(int32_t numero);
// True when the path names a slot file; unless <saltaCartella> it must also
// lie in the game folder, and a refusal outside preview mode is logged.
bool IsPathSavegame(const std::string& percorso, bool saltaCartella);
// Deletes the slot files of a folder, where present.
void CancellaSavegameCartella(const std::string& cartella);
// True while another process holds the file open (a sharing violation). A
// missing file is not in use; a read-only one is tested with read access.
bool EsisteFileOpenFile(const std::string& percorso);
