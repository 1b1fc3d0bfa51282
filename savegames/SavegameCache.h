#pragma once
// The savegame cache. Least form: the refresh request only; the savegames
// stay in the game folder as the game wrote them.
#include <cstdint>
#include <string>

extern bool AggiornaCacheRichiesto;

void AnalizzaSavegameTrle();
void AggiornaCacheSavegame(int32_t intervallo);
void RipristinaSavegames();
bool ScriviCacheSavegame();

// The newest savegame of the game folder: its path ("" none), its number
// (-1 with no savegame) and its description for the log. The number is the
// game's save counter, which grows with each save.
std::string UltimoSavegame(int32_t& numero, std::string& descrizione, bool forzaAggiornamento = false);
