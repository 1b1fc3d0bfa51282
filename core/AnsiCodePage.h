#pragma once
// The program's texts are single-byte texts of the system's ANSI code page;
// its files store UTF-16LE. These two convert between them. A code unit the
// code page cannot show becomes "?".
#include <string>

std::u16string Utf16DaAnsi(const std::string& testo);
std::string AnsiDaUtf16(const std::u16string& testo);
