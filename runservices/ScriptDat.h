#pragma once
// The readers of the game's script.dat in the game folder: the level files,
// the title level's CD track and the checksum. The bytes are taken apart in
// ScriptDatFile.
#include <cstdint>
#include <string>
#include <vector>

// The script file of the game folder.
std::string PercorsoScriptDat();
// The level file paths (game folder, stored path, ".tr4"), index = level
// number, and their count in <numero>; none, after an error line, when the
// file is missing, cannot be read or is damaged.
std::vector<std::string> LeggiScriptDat(int32_t& numero);
// "" when the number is not a level of the list.
std::string PercorsoFileTr4(int32_t livello);
// The title level's CD track; -1 after an error line.
int32_t CercaCdTitolo();
// The checksum; 0 with <errore> True when the file is missing (a box),
// empty or cannot be read (an error line).
int32_t ComputeCheckSumScriptDat(bool& errore);
