#pragma once
// The savegame cache. Least form: the refresh request only.

extern bool AggiornaCacheRichiesto;
