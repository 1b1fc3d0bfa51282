#pragma once
// Loading of the old image sequence files, and conversion of a picture
// (in practice load.jpg) into a Windows bitmap file.
#include <string>

#include "core/ImageFormats.h"

bool CaricaImageSequence(const std::string& percorso, FileSequenzaImmagini& sequenza);
// Decoded by the platform's own picture services; True when the bitmap
// exists afterwards.
bool CaricaImmagineFile(const std::string& sorgente, const std::string& destinazione);
