#pragma once
// Start of a game run.

// True when the game runs and the timer loop is on; False when the run was
// abandoned and already undone.
bool StartGame();
