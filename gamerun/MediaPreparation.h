#pragma once
// The second half of the start of a run: the level's media, the lists the
// tick consults, the game's settings, the desktop, the executable and the
// logger, prepared before the game is launched.

bool InitMediaMcf();
void InizializzaRandom();
