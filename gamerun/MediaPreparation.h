#pragma once
// The second half of the start of a run: the level's media, the lists the
// tick consults, the game's settings, the desktop, the executable and the
// logger, prepared before the game is launched.
#include <cstdint>
#include <vector>

// A CD track bound to a level (-1: any level).
struct CdLivello {
    int32_t Cd = 0;
    int32_t Livello = 0;
    bool operator==(const CdLivello&) const = default;
};

// Indexes into ListaMedia of the keyboard and sensory media.
extern std::vector<int32_t> ListaMediaWorking;
extern int32_t NumMediaWorking;
// CD tracks of the guardian media that inherit the saving of the game.
extern std::vector<int32_t> ListaCdGuardian;
extern int32_t NumCdGuardian;
// Alert media that run while their CD sounds (duplicates kept).
extern std::vector<CdLivello> ListaCdAlert;
extern int32_t NumCdAlert;
// Distinct tracks and levels of the common CD triggers.
extern std::vector<CdLivello> ListaCdTrigger;
extern int32_t NumCdTrigger;
// Every CD track in use, highest first.
extern std::vector<int32_t> ListaCdSuoni;
extern int32_t NumCdSuoni;

bool InitMediaMcf();
void InizializzaRandom();

// The game's video mode for a required size: the size, lowered to a mode
// the video list has, and its depth; the index in ListaModiVideo, -1 for an
// empty list.
int32_t ScegliModoGioco(int32_t& larghezza, int32_t& altezza, int32_t& bits);
// The CD tables of the loaded configuration, from CdTitoli and the wav
// files of the special tracks.
void CostruisciTabelleCd();
