#include "core/TextUtils.h"

#include <cctype>

std::string Trim(const std::string& testo) {
    const size_t inizio = testo.find_first_not_of(' ');
    if (inizio == std::string::npos) return std::string();
    const size_t fine = testo.find_last_not_of(' ');
    return testo.substr(inizio, fine - inizio + 1);
}

std::string MaiuscoloAnsi(const std::string& testo) {
    std::string s = testo;
    for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

bool UgualeSenzaCaso(const std::string& a, const std::string& b) {
    return MaiuscoloAnsi(a) == MaiuscoloAnsi(b);
}
