#pragma once
// What the benches that time the media window from the screen's pixels
// share: a microsecond clock, a reader of a screen rectangle, and the files
// they lay down for ShowMedia. Header only, so that each bench stays one
// source file.
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "core/ImageFormats.h"

namespace banco {

// The performance counter in microseconds, split so that a long uptime
// does not overflow the product.
inline long long Microsecondi() {
    LARGE_INTEGER f, t;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&t);
    return t.QuadPart / f.QuadPart * 1000000LL + t.QuadPart % f.QuadPart * 1000000LL / f.QuadPart;
}

// Reads a screen rectangle into 32-bit pixels, again and again: the DC and
// the DIB section are made once, so that a read costs only the copy.
class Lettore {
public:
    explicit Lettore(const RECT& r) : r_(r) {
        schermo_ = GetDC(nullptr);
        memoria_ = CreateCompatibleDC(schermo_);
        BITMAPINFO bi{};
        bi.bmiHeader.biSize = sizeof bi.bmiHeader;
        bi.bmiHeader.biWidth = r.right - r.left;
        bi.bmiHeader.biHeight = -(r.bottom - r.top);
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        bitmap_ = CreateDIBSection(memoria_, &bi, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_), nullptr, 0);
        vecchia_ = SelectObject(memoria_, bitmap_);
    }
    ~Lettore() {
        SelectObject(memoria_, vecchia_);
        DeleteObject(bitmap_);
        DeleteDC(memoria_);
        ReleaseDC(nullptr, schermo_);
    }
    Lettore(const Lettore&) = delete;
    Lettore& operator=(const Lettore&) = delete;

    // Pixels of the colour in the rectangle, as the screen shows it now.
    long Conta(COLORREF colore) {
        BitBlt(memoria_, 0, 0, r_.right - r_.left, r_.bottom - r_.top, schermo_, r_.left, r_.top, SRCCOPY);
        GdiFlush();
        const uint32_t cercato = GetRValue(colore) << 16 | GetGValue(colore) << 8 | GetBValue(colore);
        long n = 0;
        const size_t tutti = static_cast<size_t>(r_.right - r_.left) * (r_.bottom - r_.top);
        for (size_t i = 0; i < tutti; ++i)
            if ((bits_[i] & 0xFFFFFF) == cercato) ++n;
        return n;
    }

private:
    RECT r_;
    HDC schermo_, memoria_;
    HBITMAP bitmap_;
    HGDIOBJ vecchia_;
    uint32_t* bits_ = nullptr;
};

// A whole file at once; false when it could not be written in full.
inline bool Scrivi(const std::string& percorso, const std::string& dati) {
    HANDLE h = CreateFileA(percorso.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    DWORD scritti = 0;
    const bool ok = WriteFile(h, dati.data(), static_cast<DWORD>(dati.size()), &scritti, nullptr) &&
                    scritti == dati.size();
    CloseHandle(h);
    return ok;
}

// A BMP of one colour: a background the reader can tell from the text.
inline std::string ImmagineTinta(int32_t larghezza, int32_t altezza, COLORREF colore) {
    std::string pixel;
    pixel.reserve(static_cast<size_t>(larghezza) * altezza * 3);
    for (int32_t i = 0; i < larghezza * altezza; ++i) {
        pixel += static_cast<char>(GetBValue(colore));
        pixel += static_cast<char>(GetGValue(colore));
        pixel += static_cast<char>(GetRValue(colore));
    }
    return ComponiBmp24(larghezza, altezza, pixel);
}

// A black window of <larghezza> x <altezza> at the screen's origin, titled
// as the game, for the performers that draw over the game's window.
inline HWND FinestraGiocoProva(const char* classe, int32_t larghezza, int32_t altezza) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    wc.lpszClassName = classe;
    RegisterClassA(&wc);
    return CreateWindowExA(0, classe, "Tomb Raider", WS_POPUP | WS_VISIBLE, 0, 0, larghezza, altezza, nullptr, nullptr,
                           wc.hInstance, nullptr);
}

// Median and maximum of the times measured; -1 for both when none was.
struct Sintesi {
    double mediana = -1, massimo = -1;
};
inline Sintesi MedianaMassimo(std::vector<double> tempi) {
    Sintesi s;
    if (tempi.empty()) return s;
    std::sort(tempi.begin(), tempi.end());
    s.mediana = tempi[tempi.size() / 2];
    s.massimo = tempi.back();
    return s;
}

}  // namespace banco
