#include "savegames/SavegameCache.h"

bool AggiornaCacheRichiesto = true;
