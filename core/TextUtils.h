#pragma once
// Text and number routines.
#include <string>

// Removes leading and trailing blanks (spaces only, as the program's texts use).
std::string Trim(const std::string& testo);
std::string MaiuscoloAnsi(const std::string& testo);
bool UgualeSenzaCaso(const std::string& a, const std::string& b);
