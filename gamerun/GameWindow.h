#pragma once
// The game's process and window during a run: liveness tests and the way to
// end the game. Only what the logger client needs exists so far.

// False when the logger is not in use; else True while it runs.
bool IsLoggerAlive();
// Ends the game's process; the next main tick ends the run.
void ChiudiGioco();
