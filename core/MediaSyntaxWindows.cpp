// The window side of the media syntax: the system's language and fonts.
#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "core/MediaSyntax.h"
#include "core/SharedState.h"
#include "core/SystemUtils.h"

namespace {

// The fonts made here, each shared by the windows given the same one and
// freed when the last of them is given another.
struct FontSezione {
    HFONT font;
    LOGFONTA dati;
    int32_t finestre;
};
std::vector<FontSezione> FontCreati;

bool StessoFont(const LOGFONTA& a, const LOGFONTA& b) {
    return a.lfHeight == b.lfHeight && a.lfWidth == b.lfWidth && a.lfEscapement == b.lfEscapement &&
           a.lfOrientation == b.lfOrientation && a.lfWeight == b.lfWeight && a.lfItalic == b.lfItalic &&
           a.lfUnderline == b.lfUnderline && a.lfStrikeOut == b.lfStrikeOut && a.lfCharSet == b.lfCharSet &&
           a.lfOutPrecision == b.lfOutPrecision && a.lfClipPrecision == b.lfClipPrecision &&
           a.lfQuality == b.lfQuality && a.lfPitchAndFamily == b.lfPitchAndFamily &&
           strncmp(a.lfFaceName, b.lfFaceName, LF_FACESIZE) == 0;
}

void CambiaCharset(HWND finestra, BYTE charset) {
    const auto font = reinterpret_cast<HFONT>(SendMessageA(finestra, WM_GETFONT, 0, 0));
    if (!font) return;
    LOGFONTA dati;
    if (GetObjectA(font, sizeof dati, &dati) != sizeof dati) return;
    if (dati.lfCharSet == charset) return;
    dati.lfCharSet = charset;
    auto nuovo = std::find_if(FontCreati.begin(), FontCreati.end(),
                              [&](const FontSezione& f) { return StessoFont(f.dati, dati); });
    if (nuovo == FontCreati.end()) {
        HFONT creato = CreateFontIndirectA(&dati);
        if (!creato) return;
        FontCreati.push_back({creato, dati, 0});
        nuovo = FontCreati.end() - 1;
    }
    SendMessageA(finestra, WM_SETFONT, reinterpret_cast<WPARAM>(nuovo->font), TRUE);
    ++nuovo->finestre;
    // Only a font made here is freed: the others belong to whoever made them.
    const auto vecchio =
        std::find_if(FontCreati.begin(), FontCreati.end(), [&](const FontSezione& f) { return f.font == font; });
    if (vecchio != FontCreati.end() && --vecchio->finestre <= 0) {
        DeleteObject(vecchio->font);
        FontCreati.erase(vecchio);
    }
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
