#pragma once
// Random media configurations for the performers' fuzz run: triggers of
// every kind with random options and presentation bits, and kind sections
// built from each kind's tags with odd values (0, negative, huge, missing,
// not numeric, a code list naming its own trigger). One case is one seed
// and an index, so that a case is made again alone from the two numbers.
#include <cstdint>
#include <string>
#include <vector>

#include "core/MediaTrigger.h"

// The files a configuration names, written into the case's folder by
// ScriviFileFuzz: pictures, a wave, a file that is no picture and a
// program that ends at once.
struct FileFuzz {
    std::string Nome;
    std::string Byte;
};

struct CasoFuzz {
    uint32_t Seme = 0;
    uint32_t Indice = 0;
    std::vector<MediaTrigger> Media;  // ListaMedia of the case
    std::vector<int32_t> Ordine;      // the codes performed, in order
};

// The case <indice> of the run <seme>; ListaMedia's codes are 1 to the
// count. A trigger whose time is huge also lets Escape end it.
CasoFuzz GeneraCasoFuzz(uint32_t seme, uint32_t indice);
// The files every case may name.
std::vector<FileFuzz> FileDeiCasi(const std::string& programma);
// A trigger as an author would read it back: kind, bits, times and both
// texts, for the report of a failure.
std::string DescriviMedia(const MediaTrigger& media);
