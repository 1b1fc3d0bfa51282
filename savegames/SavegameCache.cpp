#include "savegames/SavegameCache.h"

#include "core/MediaLog.h"

bool AggiornaCacheRichiesto = true;

void AnalizzaSavegameTrle() { StampaNonCostruito("AnalizzaSavegameTrle"); }

void AggiornaCacheSavegame(int32_t) {
    StampaNonCostruito("AggiornaCacheSavegame");
    AggiornaCacheRichiesto = false;
}

void RipristinaSavegames() { StampaNonCostruito("RipristinaSavegames"); }

bool ScriviCacheSavegame() {
    StampaNonCostruito("ScriviCacheSavegame");
    return true;
}
