#pragma once
// The text typing engine: texts typed character by character or word by
// word, with line-end pauses and a cursor.
#include <cstdint>
#include <string>

// The first <conteggio> characters followed by the cursor, by the working
// format's flags.
std::string TestoConCursore(const std::string& testo, int32_t conteggio);
bool IsSeparatore(char carattere);
