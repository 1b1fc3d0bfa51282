#include "core/Utf8Text.h"

#include "core/AnsiCodePage.h"

namespace {

bool Alto(char32_t u) { return u >= 0xD800 && u <= 0xDBFF; }
bool Basso(char32_t u) { return u >= 0xDC00 && u <= 0xDFFF; }

void Accoda(std::string& s, char32_t c) {
    if (c < 0x80) {
        s += static_cast<char>(c);
    } else if (c < 0x800) {
        s += static_cast<char>(0xC0 | c >> 6);
        s += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        s += static_cast<char>(0xE0 | c >> 12);
        s += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        s += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        s += static_cast<char>(0xF0 | c >> 18);
        s += static_cast<char>(0x80 | (c >> 12 & 0x3F));
        s += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        s += static_cast<char>(0x80 | (c & 0x3F));
    }
}

}  // namespace

std::string Utf8DaUtf16(const std::u16string& testo) {
    std::string s;
    s.reserve(testo.size());
    for (size_t i = 0; i < testo.size(); ++i) {
        char32_t c = testo[i];
        if (Alto(c) && i + 1 < testo.size() && Basso(testo[i + 1])) {
            c = 0x10000 + ((c - 0xD800) << 10) + (testo[i + 1] - 0xDC00);
            ++i;
        }
        Accoda(s, c);
    }
    return s;
}

std::u16string Utf16DaUtf8(const std::string& testo) {
    std::u16string s;
    s.reserve(testo.size());
    const size_t n = testo.size();
    auto byte = [&](size_t i) { return static_cast<unsigned char>(testo[i]); };
    auto seguito = [&](size_t i) { return i < n && (byte(i) & 0xC0) == 0x80; };
    for (size_t i = 0; i < n;) {
        const unsigned char b = byte(i);
        char32_t c = 0xFFFD;
        size_t lunghezza = 1;
        if (b < 0x80) {
            c = b;
        } else if (b >= 0xC2 && b <= 0xDF && seguito(i + 1)) {
            c = (b & 0x1Fu) << 6 | (byte(i + 1) & 0x3Fu);
            lunghezza = 2;
        } else if (b >= 0xE0 && b <= 0xEF && seguito(i + 1) && seguito(i + 2)) {
            const char32_t v = (b & 0x0Fu) << 12 | (byte(i + 1) & 0x3Fu) << 6 | (byte(i + 2) & 0x3Fu);
            // Surrogates are taken: they are how a lone one is held.
            if (v >= 0x800) {
                c = v;
                lunghezza = 3;
            }
        } else if (b >= 0xF0 && b <= 0xF4 && seguito(i + 1) && seguito(i + 2) && seguito(i + 3)) {
            const char32_t v = (b & 0x07u) << 18 | (byte(i + 1) & 0x3Fu) << 12 | (byte(i + 2) & 0x3Fu) << 6 |
                               (byte(i + 3) & 0x3Fu);
            if (v >= 0x10000 && v <= 0x10FFFF) {
                c = v;
                lunghezza = 4;
            }
        }
        if (c >= 0x10000) {
            s += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
            s += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            s += static_cast<char16_t>(c);
        }
        i += lunghezza;
    }
    return s;
}

std::string AnsiDaUtf8(const std::string& testo) { return AnsiDaUtf16(Utf16DaUtf8(testo)); }

std::string Utf8DaAnsi(const std::string& testo) { return Utf8DaUtf16(Utf16DaAnsi(testo)); }
