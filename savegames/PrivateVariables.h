#pragma once
// The level's private variables and the running alert's code and time, kept
// in the last bytes of the savegames while the logger tells saves and loads.
#include <cstdint>

// CodeAlertCorrente and the other alert times live with the run's state.
#include "runservices/RunState.h"

// Stamps the variables into the newest cached savegame, once per new save.
void SetVariablesSaved();
// The savegames the start of the run finds hold the variables of their own
// saves: the newest of them is taken as stamped, so that only a save made
// during this run takes this run's variables.
void SegnaSavegameIniziali();
// Loads the variables from the savegame the game loaded, or clears them for
// a new game.
void GetVariablesLoading();
