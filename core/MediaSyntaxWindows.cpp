// The window side of the media syntax: the system's language and fonts.
#include <windows.h>

#include <cstdlib>
#include <vector>

#include "core/MediaSyntax.h"
#include "gamerun/RunState.h"

namespace {

// Stands for LinguaSistema of the utility library: the default locale's
// language identifier, low 8 bits.
int32_t LinguaSistema() {
    const int n = GetLocaleInfoA(0, LOCALE_SLANGUAGE, nullptr, 0);
    if (n <= 0) return 0;
    std::vector<char> buffer(static_cast<size_t>(n) + 8, '\0');
    if (GetLocaleInfoA(0, LOCALE_ILANGUAGE, buffer.data(), static_cast<int>(buffer.size())) <= 0) return 0;
    buffer[4] = '\0';
    return static_cast<int32_t>(std::strtol(buffer.data(), nullptr, 16) & 0xFF);
}

void CambiaCharset(HWND finestra, BYTE charset) {
    const auto font = reinterpret_cast<HFONT>(SendMessageA(finestra, WM_GETFONT, 0, 0));
    if (!font) return;
    LOGFONTA dati;
    if (GetObjectA(font, sizeof dati, &dati) != sizeof dati) return;
    if (dati.lfCharSet == charset) return;
    dati.lfCharSet = charset;
    // The new font stays alive as long as the window may draw with it.
    HFONT nuovo = CreateFontIndirectA(&dati);
    if (nuovo) SendMessageA(finestra, WM_SETFONT, reinterpret_cast<WPARAM>(nuovo), TRUE);
}

BOOL CALLBACK SuControllo(HWND controllo, LPARAM charset) {
    CambiaCharset(controllo, static_cast<BYTE>(charset));
    return TRUE;
}

}  // namespace

std::string NomeLingua() {
    if (!LinguaForzata.empty()) return LinguaForzata;
    return NomeLinguaDaIdentificatore(LinguaSistema());
}

void ImpostaFontSezione(void* finestra, int32_t charset) {
    if (!finestra) return;
    const BYTE valore = static_cast<BYTE>(charset == -1 ? DEFAULT_CHARSET : charset);
    const auto hwnd = static_cast<HWND>(finestra);
    CambiaCharset(hwnd, valore);
    EnumChildWindows(hwnd, SuControllo, valore);
}
