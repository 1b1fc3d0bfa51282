#pragma once
// Paths, log lines and system texts are single-byte texts of the system's
// ANSI code page. These two convert them to and from UTF-16. A code unit the
// code page cannot show becomes "?".
#include <string>

std::u16string Utf16DaAnsi(const std::string& testo);
std::string AnsiDaUtf16(const std::u16string& testo);
