#pragma once
// The readers of the game's script.dat. Least form: the level file of a
// level number from the list already read.
#include <cstdint>
#include <string>

// "" when the number is not a level of the list.
std::string PercorsoFileTr4(int32_t livello);
// The CD track of the title level, -1 when script.dat does not give it.
int32_t CercaCdTitolo();
// The checksum the configuration keeps of script.dat; <Errore> True (and 0)
// when the file is missing or empty.
int32_t ComputeCheckSumScriptDat(bool& Errore);
