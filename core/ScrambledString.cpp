#include "core/ScrambledString.h"

#include <limits>

#include "core/Utf8Text.h"

std::array<uint8_t, LunghezzaChiaveStringhe> ChiaveStringhe() {
    std::array<uint8_t, LunghezzaChiaveStringhe> chiave{};
    uint32_t seme = 0x4C75646Fu;
    for (auto& byte : chiave) {
        seme = seme * 1103515245u + 12345u;
        byte = static_cast<uint8_t>(seme >> 16);
    }
    return chiave;
}

namespace {

void Combina(uint8_t* byte, size_t n) {
    const auto chiave = ChiaveStringhe();
    size_t k = 0;
    for (size_t i = 0; i < n; ++i) {
        byte[i] ^= chiave[k];
        if (++k == LunghezzaChiaveStringhe) k = 0;
    }
}

}  // namespace

bool ScriviStringaCodificata(const std::string& testo, ScrittoreByte& file) {
    const std::u16string utf16 = Utf16DaUtf8(testo);
    if (utf16.size() > static_cast<size_t>(std::numeric_limits<int32_t>::max()) / 2) return false;
    const auto n = static_cast<int32_t>(utf16.size() * 2);
    file.ScriviI32(n);
    if (n == 0) return true;
    std::string byte(static_cast<size_t>(n), '\0');
    for (size_t i = 0; i < utf16.size(); ++i) {
        byte[2 * i] = static_cast<char>(utf16[i] & 0xFF);
        byte[2 * i + 1] = static_cast<char>(utf16[i] >> 8);
    }
    Combina(reinterpret_cast<uint8_t*>(byte.data()), byte.size());
    file.ScriviByte(byte.data(), byte.size());
    return true;
}

bool LeggiStringaCodificata(std::string& testo, LettoreByte& file) {
    int32_t n = 0;
    if (!file.LeggiI32(n)) return false;
    if (n == 0) {
        testo.clear();
        return true;
    }
    if (n < 0 || n % 2 != 0 || static_cast<size_t>(n) > file.Rimanenti()) return false;
    const uint8_t* sorgente = file.Prendi(static_cast<size_t>(n));
    if (!sorgente) return false;
    std::string byte(reinterpret_cast<const char*>(sorgente), static_cast<size_t>(n));
    Combina(reinterpret_cast<uint8_t*>(byte.data()), byte.size());
    std::u16string utf16(byte.size() / 2, u'\0');
    for (size_t i = 0; i < utf16.size(); ++i)
        utf16[i] = static_cast<char16_t>(static_cast<uint8_t>(byte[2 * i]) |
                                         static_cast<uint8_t>(byte[2 * i + 1]) << 8);
    testo = Utf8DaUtf16(utf16);
    return true;
}
