#pragma once
// The game's inventory: recognised from the logger, or without it from the
// grey top row of the game picture; action media are matched there.
#include <cstdint>

// TickInizioInventario lives with the run's state, where the alert reads it.
#include "runservices/RunState.h"

bool IsInventoryMode(bool AcceptBlack, bool& AllBlack, bool ForceScreen);
// Holds the tick while the inventory is open; the ms spent there, 0 when it
// was not open.
int32_t StopInventoryMode();
