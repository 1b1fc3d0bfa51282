#pragma once
// The "ACTION" section of an action media, and the item name of the game's
// inventory read as pixels: the box of its yellow text and the comparison of
// two such boxes grid by grid. Bytes and values only.
#include <cstdint>
#include <string>
#include <vector>

#include "core/SharedState.h"

struct ParametriActionMedia {
    int32_t Flags = 0;
    int32_t MediaCode = -1;
    int32_t Tollerance = 10;  // accepted matching error, percent
    int32_t MPoints = 0;
    int32_t ScreenX = 0;
    int32_t ScreenY = 0;
    int32_t Resolution = 0;  // video mode of the reference image
    std::string Image;
    Rettangolo Bound{-1, -1, -1, -1};  // the text inside the reference image
};
extern ParametriActionMedia ParametriAction;

// Flags.
constexpr int32_t ActionSuonoMatch = 0x1;
constexpr int32_t ActionAllineaDestra = 0x2;

// The section into ParametriAction; False at the first faulty tag.
bool SintassiActionMedia(const std::string& sezione);

// A colour as the screen's pixel reads give it (0x00BBGGRR); the value of a
// pixel outside its surface.
constexpr uint32_t ColoreNonValido = 0xFFFFFFFF;
// Yellow of the game's item names: strict for the box of the captured text,
// lax for the comparison.
bool IsPixelTesto(uint32_t colore, bool stretto);

// A picture, rows from the top.
struct ImmaginePixel {
    int32_t Larghezza = 0;
    int32_t Altezza = 0;
    std::vector<uint32_t> Colori;
    uint32_t Pixel(int32_t x, int32_t y) const;
};

// "l,t - r,b", as the log writes boxes.
std::string TestoBordi(const Rettangolo& r);
// The box of the strict text pixels, right and bottom inclusive; False with
// every field -1 when there is none.
bool TrovaBordiTesto(Rettangolo& bordi, const ImmaginePixel& immagine);
// Where the game writes the selected item's name on a picture of this size.
Rettangolo StrisciaNomeOggetto(int32_t larghezza, int32_t altezza);

// The share of equal positions, in percent, of the two grids laid over each
// other with the reference moved by the shift; 0 for an empty grid.
double PercentualeGriglia(const ImmaginePixel& catturata, const Rettangolo& c, const ImmaginePixel& azione,
                          const Rettangolo& a, int32_t spostaX, int32_t spostaY);
// One comparison against ParametriAction.Tollerance, logged.
bool ConfrontaGrigliaPixel(const ImmaginePixel& catturata, const Rettangolo& c, const ImmaginePixel& azione,
                           const Rettangolo& a, int32_t spostaX, int32_t spostaY);
// The grids aligned by their left and top edges, then by the other edges
// where the sizes differ; True at the first match.
bool ConfrontaAllineamenti(const ImmaginePixel& catturata, const Rettangolo& c, const ImmaginePixel& azione,
                           const Rettangolo& a);
