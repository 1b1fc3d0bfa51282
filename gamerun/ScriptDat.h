#pragma once
// The readers of the game's script.dat. Least form: the level file of a
// level number from the list already read.
#include <cstdint>
#include <string>

// "" when the number is not a level of the list.
std::string PercorsoFileTr4(int32_t livello);
