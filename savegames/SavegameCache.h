#pragma once
// The savegame cache. Least form: the refresh request only; the savegames
// stay in the game folder as the game wrote them.
#include <cstdint>

extern bool AggiornaCacheRichiesto;

void AnalizzaSavegameTrle();
void AggiornaCacheSavegame(int32_t intervallo);
void RipristinaSavegames();
bool ScriviCacheSavegame();
