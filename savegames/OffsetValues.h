#pragma once
// Values reached by an offset code: a savegame offset (0 to 762), a level
// variable (763 to 767) or a field of Lara's or an enemy's moveable (768 and
// above). Both forms of the game time are kept consistent when either is
// written, and a moveable is clamped to legal values before it is stored.
#include <cstdint>

#include "savegames/SavegameValues.h"

constexpr int32_t PrimoCodiceVariabile = 763;
constexpr int32_t UltimoCodiceVariabile = 767;
constexpr int32_t PrimoCodiceMoveable = 768;

// <fallito> is set when the value could not be read (a variable without a
// value, no moveable found, a width other than 1, 2 or 4).
double LeggiValorePerCodice(int32_t codice, int32_t dimensione, int32_t stanza, const SavegameBin& immagine,
                            bool& fallito);
bool ScriviValorePerCodice(int32_t codice, int32_t dimensione, int32_t stanza, SavegameBin& immagine, double valore);
void TempoRelativoInAssoluto(SavegameBin& immagine);
void TempoAssolutoInRelativo(SavegameBin& immagine);
// Clamps illegal values of a moveable record in place.
void ControllaValoriMoveable(MoveableStruct& s, bool isLara);
