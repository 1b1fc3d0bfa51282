#pragma once
// Text layout rectangles: the bound rectangle of the working text format,
// horizontal centring, the lettered layouts and the alert's cover rectangle.
#include <cstdint>
#include <string>

#include "core/SharedState.h"

// The arithmetic, on sizes given by the caller.
// Each coordinate in thousandths times the width or height, to the nearest
// pixel (halves to even).
Rettangolo ScalaMillesimi(const Rettangolo& millesimi, int32_t larghezza, int32_t altezza);
// Every corner of <millesimi> scaled to the screen that thousandths count in.
Rettangolo ScalaSchermo(const Rettangolo& millesimi);
// Centred on <larghezza>, keeping its width and its vertical place.
void CentraOrizzontale(Rettangolo& rettangolo, int32_t larghezza);
// The rectangle in thousandths of a window of <larghezza> x <altezza>
// pixels as X, Y, width and height in twips (Left, Top, Right, Bottom).
Rettangolo ScalaRettangoloTwips(const Rettangolo& millesimi, int32_t larghezza, int32_t altezza, int32_t twipsX,
                                int32_t twipsY);
// The cover window's rectangle (left, top, right, bottom on the screen) for
// the alert text at <testo> in screen pixels; <testo> becomes its place
// inside the cover.
Rettangolo RettangoloCover(Rettangolo& testo, int32_t larghezzaExtra, int32_t bordo);
// The layout letter of a file: the 8th character of its name, upper case;
// 0 when the name is shorter.
char LetteraLayout(const std::string& fileLayout);

// The screen the rectangles in thousandths are scaled on: the desktop's at
// start while a run keeps the game in exclusive full screen, else the
// screen's now. Centring uses the same width, so that a centred rectangle
// lies where the scaled one would.
void DimensioniScala(int32_t& larghezza, int32_t& altezza);

void CentraRettangoloTesto(Rettangolo& rettangolo, bool inPixel);
// In thousandths; -1, -1, -1, -1 when the layout has no such place.
Rettangolo RettangoloPredefinito(const std::string& fileLayout, int32_t posto, int32_t secondo);
// On the media window, which covers the scaling screen.
Rettangolo ScalaRettangoloTwips(const Rettangolo& millesimi);
void InitFormattazioneTesto();
// "left,top - right,bottom", as the log writes a rectangle.
std::string TestoRettangolo(const Rettangolo& r);
// Pixels of one character when CharRow + 1 characters fill SchermoX (halves
// to even); a CharRow of -1 or less counts as one character.
int32_t LarghezzaCarattere(int32_t charRow);
void CalcolaRettangoloTesto(Rettangolo& rettangolo, int32_t larghezzaExtra);
void DisegnaRettangolo();
