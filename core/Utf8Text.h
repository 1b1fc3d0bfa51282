#pragma once
// The texts a level author writes (trigger texts, the header text, packet
// names) are UTF-8 in memory and UTF-16LE in the files. These convert
// between the two without loss, and toward the ANSI code page at the edges
// where such a text meets the log or an ANSI file.
#include <string>

// A lone surrogate becomes the three-byte form of its own value, as the
// generalised UTF-8 (WTF-8) writes it, so that a stored text that is not
// well-formed UTF-16 still comes back unchanged.
std::string Utf8DaUtf16(const std::u16string& testo);
// The reverse, three-byte surrogates included. A byte that starts no valid
// sequence becomes U+FFFD.
std::u16string Utf16DaUtf8(const std::string& testo);

// Through the code page: a character it cannot show becomes "?".
std::string AnsiDaUtf8(const std::string& testo);
std::string Utf8DaAnsi(const std::string& testo);
