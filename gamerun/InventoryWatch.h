#pragma once
// The game's inventory: recognised from the logger, or without it from the
// grey top row of the game picture; action media are matched there.
#include <cstdint>

// Tick at which an alert's inventory time began.
extern uint32_t TickInizioInventario;

bool IsInventoryMode(bool AcceptBlack, bool& AllBlack, bool ForceScreen);
// Holds the tick while the inventory is open; the ms spent there, 0 when it
// was not open.
int32_t StopInventoryMode();
