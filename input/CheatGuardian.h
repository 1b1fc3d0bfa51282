#pragma once
// The cheat guardian: acts on a cheat word the player typed, and on the
// traces of cheats and editors in the savegames.
#include <cstdint>
#include <string>

// How long the guardian waits for the game to let a cheated savegame go
// before it leaves the file for its next look.
constexpr uint32_t AttesaSavegameOccupato = 10000;
constexpr uint32_t PassoAttesaSavegame = 100;

// True when no watched cheat was acted on; False once the game was closed.
bool RilevaTrucchi();
// Removes the savegames with cheat or editor traces; True when it removed
// one and closed the game.
bool ParseSavegameXCheats();
// The number the savegame's extension gives; 0 when it is not a number.
int32_t EstensioneSavegame(const std::string& percorso);
