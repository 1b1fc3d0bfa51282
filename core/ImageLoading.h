#pragma once
// Conversion of a picture (in practice load.jpg) into a Windows bitmap
// file, and drawing of pictures.
#include <windows.h>

#include <cstdint>
#include <string>

#include "core/ImageFormats.h"

// Decoded by the platform's own picture services; True when the bitmap
// exists afterwards.
bool CaricaImmagineFile(const std::string& sorgente, const std::string& destinazione);

// Decodes the picture file and paints it stretched into the rectangle of
// <dc>; False, with its error line, when it cannot be decoded.
bool DisegnaImmagineFile(HDC dc, const std::string& percorso, int32_t x, int32_t y, int32_t larghezza,
                         int32_t altezza);
// A 24-bit top-down DIB selected into a memory context of the screen.
struct DibMemoria {
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ precedente = nullptr;
    void* bit = nullptr;
};
// False, with nothing left, for a size beyond 1 to 32768 or when the system
// refuses it.
bool CreaDibMemoria(int32_t larghezza, int32_t altezza, DibMemoria& dib);
void LiberaDibMemoria(DibMemoria& dib);
// The picture file decoded into a surface of its own size; False, with its
// error line and nothing left, when it cannot be decoded.
bool CaricaImmagineDib(const std::string& percorso, DibMemoria& dib, int32_t& larghezza, int32_t& altezza);

// The screen's device context, taken once and kept: the watches that read
// the screen on every tick ask the system for no new one each time.
HDC DcSchermo();
// A copy of a rectangle of the screen, whose surface its caller keeps
// between reads of the same size.
struct CopiaSchermo {
    DibMemoria dib;
    int32_t larghezza = 0;
    int32_t altezza = 0;
};
// The rectangle copied in one transfer (a read per pixel costs a trip to
// the display server each); what lies off the screen reads black. False
// when the screen cannot be read.
bool LeggiSchermo(CopiaSchermo& copia, int32_t x, int32_t y, int32_t larghezza, int32_t altezza);
// A pixel of the last copy, (0, 0) its top-left corner.
COLORREF PixelCopia(const CopiaSchermo& copia, int32_t x, int32_t y);
