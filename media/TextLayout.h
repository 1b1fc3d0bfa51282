#pragma once
// Text layout rectangles: the bound rectangle of the working text format,
// horizontal centring, the lettered layouts and the alert's cover rectangle.
#include <cstdint>
#include <string>

#include "core/SharedState.h"

void CentraRettangoloTesto(Rettangolo& rettangolo, bool inPixel);
Rettangolo RettangoloPredefinito(const std::string& fileLayout, int32_t posto, int32_t secondo);
// The rectangle in thousandths as X, Y, width and height in twips.
Rettangolo ScalaRettangoloTwips(const Rettangolo& millesimi);
void InitFormattazioneTesto();
void CalcolaRettangoloTesto(Rettangolo& rettangolo, int32_t larghezzaExtra);
void DisegnaRettangolo();
