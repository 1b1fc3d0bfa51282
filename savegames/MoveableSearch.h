#pragma once
// Finds Lara's or an enemy's moveable structure in a savegame image: every
// position that could start one is parsed, rejected by hard rules or scored
// for plausibility, and the clear winner, or the earliest of near-equal
// ones, is chosen.
#include <cstdint>

#include "savegames/SavegameValues.h"

// The score of the moveable found last (TipoMoveable tells whose it is).
extern int32_t PunteggioMoveable;

struct RiferimentiLaraSavegame {
    int32_t W251 = 0;
    int32_t W99 = 0;
    int32_t W127 = 0;
    int32_t W337 = 0;
    int32_t L339 = 0;
};
extern RiferimentiLaraSavegame RiferimentiLara;

// The offset of the chosen structure, parsed into MoveableCorrente; -1 when
// none. <stanza> -1 accepts any room.
int32_t CercaMoveableInRoom(const SavegameBin& immagine, bool isLara, int32_t stanza);
// Parse the structure at <offset>: False when it is rejected, else True
// with its score.
bool PunteggioLara(const SavegameBin& immagine, int32_t offset, int32_t& punteggio, int32_t stanza);
bool PunteggioEnemy(const SavegameBin& immagine, int32_t offset, int32_t& punteggio, int32_t stanza);
