#pragma once
// Equipment and check media, which edit or test the player's savegame.
#include <cstdint>
#include <string>

#include "savegames/EquipCommands.h"

// Runs the command list of MediaCorrente on the newest savegame and writes
// it back; nothing is written when a command fails.
bool EseguiEquipmentMedia();
// Evaluates the list as a condition and performs the media of its branch;
// the result tells whether the rest of the sequence runs.
bool EseguiCheckMedia(bool& TestError);
// Switches the monitor on when the sequence had switched it off; True then.
bool RiaccendiMonitorPerMedia();
