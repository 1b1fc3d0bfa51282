#pragma once
// The log's words for equipment commands: one line per command, the target
// positions, the restore categories and the names of offset codes.
#include <cstdint>
#include <string>

std::string DescriviComandoEquip(int32_t indice);
std::string DescriviPosizione(int32_t indice);
std::string NomeCategoriaRipristino(int32_t flags);
std::string NomeComandoSpeciale(int32_t tipo);
std::string NomeOperatore(int32_t codice);
// The display name of an offset code; <larghezza> becomes the width in bytes
// where the savegame field table knows it, and stays as it is otherwise.
std::string NomeCampoSavegame(int32_t codice, int32_t& larghezza);
// The language table's name at an index, the number itself outside it.
std::string NomeLinguaEquip(int32_t indice);
