#pragma once
// The level's private variables and the running alert's code and time, kept
// in the last bytes of the savegames while the logger tells saves and loads.
#include <cstdint>

// The alert shown now (set by the alert while it runs in the cover window).
extern int32_t CodeAlertCorrente;
extern int32_t TimeAlertCorrente;
// The alert state read back from the savegame the game loaded.
extern int32_t CodeAlertCaricato;
extern int32_t TimeAlertCaricato;

// Stamps the variables into the newest cached savegame, once per new save.
void SetVariablesSaved();
// Loads the variables from the savegame the game loaded, or clears them for
// a new game.
void GetVariablesLoading();
