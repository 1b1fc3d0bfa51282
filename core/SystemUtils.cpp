#include "core/SystemUtils.h"

#include <windows.h>

const char* const TitoloProgramma = "Vorn Media Module";

int32_t Messaggio(const std::string& testo, uint32_t stile, std::string titolo) {
    if (titolo.empty()) titolo = TitoloProgramma;
    return MessageBoxA(nullptr, testo.c_str(), titolo.c_str(), stile | MB_SETFOREGROUND);
}

int32_t PiattaformaWindows() {
    OSVERSIONINFOA v{};
    v.dwOSVersionInfoSize = sizeof v;
    if (!GetVersionExA(&v)) return 0;
    if (v.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS) return v.dwMinorVersion < 10 ? 1 : 4;
    if (v.dwPlatformId == VER_PLATFORM_WIN32_NT) return v.dwMajorVersion == 5 ? 5 : 6;
    return 0;
}

bool IsWindowsNT() { return PiattaformaWindows() >= 5; }

char SeparatoreDecimale() {
    char buffer[8] = {};
    if (GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, buffer, sizeof buffer) > 0 && buffer[0] != '\0')
        return buffer[0];
    return '.';
}
