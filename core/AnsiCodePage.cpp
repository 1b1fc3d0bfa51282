#include "core/AnsiCodePage.h"

#include <windows.h>

std::u16string Utf16DaAnsi(const std::string& testo) {
    if (testo.empty()) return {};
    const int n = MultiByteToWideChar(CP_ACP, 0, testo.data(), static_cast<int>(testo.size()), nullptr, 0);
    if (n <= 0) return {};
    std::wstring w(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_ACP, 0, testo.data(), static_cast<int>(testo.size()), w.data(), n);
    return std::u16string(w.begin(), w.end());
}

std::string AnsiDaUtf16(const std::u16string& testo) {
    if (testo.empty()) return {};
    const std::wstring w(testo.begin(), testo.end());
    const int n = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, w.data(), static_cast<int>(w.size()), nullptr, 0, "?", nullptr);
    if (n <= 0) return {};
    std::string s(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, w.data(), static_cast<int>(w.size()), s.data(), n, "?", nullptr);
    return s;
}
