#pragma once
// The syntax of media texts: sections <NAME>...<END_NAME>, tags #NAME#=value
// running to the end of their line, language parts and the display tags of
// a shown text. The texts are UTF-8; names are ASCII, matched without
// regard to letter case, and the first occurrence counts.
#include <cstdint>
#include <string>

// The content of the section; up to the end of the text when its closing
// mark is missing; "" when it is absent.
std::string EstraiSezione(const std::string& testo, const std::string& sezione);
// The text with the section's content replaced, or the section appended.
std::string ImpostaSezione(const std::string& testo, const std::string& sezione, const std::string& contenuto);
// The text without every whole occurrence of the section, marks included:
// what ImpostaSezione appended leaves no trace. One without its closing
// mark stays, with an error line, and the result is False.
bool RimuoviSezione(std::string& testo, const std::string& sezione);
// The tag's value ("~" when empty, "" when absent); the tag, its value and
// the line breaks after it leave the text.
std::string EstraiTag(std::string& testo, const std::string& tag);
// The display tags of the text into FormatoTestoCorrente.
bool LeggiFormatoTesto(const std::string& testo);
// The part of the text for the language, else the English part, else the
// whole text; the language becomes the one taken, or "<NONE>".
std::string TestoInLingua(const std::string& testo, std::string& lingua);

// The platform's numeric test: decimal with optional sign, blanks around and
// a decimal point, or &H and hexadecimal digits.
bool IsNumerico(const std::string& testo);
// A number that passes the test, rounded to the nearest whole number (halves
// to the even neighbour); False also when it lies outside 32 bits.
bool ValoreIntero32(const std::string& testo, int32_t& valore);

std::string NomeLinguaDaIdentificatore(int32_t identificatore);
int32_t CharsetLingua(const std::string& lingua);

// Window side.
// The forced language, else the system locale's language.
std::string NomeLingua();
// The charset of the font of the window and of each of its controls; -1
// stands for the platform's default charset.
void ImpostaFontSezione(void* finestra, int32_t charset);
