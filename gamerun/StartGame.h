#pragma once
// Start of a game run.

// True when the game runs and the timer loop is on; False when the run was
// abandoned and already undone.
bool StartGame();
// The run's state reset, its log started, the game folder checked and the
// media configuration loaded, then the media preparation; False when the
// start must be abandoned.
bool InitGameConfig();
// The media preparation InitGameConfig ends with; tests put their own here,
// since the real one changes the desktop and starts the logger.
extern bool (*PreparazioneMediaRun)();
