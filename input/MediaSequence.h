#pragma once
// Beginning and end of a global media sequence: what the media of one game
// event required to happen before and after them.

// Begins a sequence unless one is running.
void InitGlobalSequence();
// Ends the sequence; False when a required load of the last savegame failed.
bool EndGlobalSequence();
// Ends the game, once per run, because a failed media requires it.
void AvvisoAbortSuErrore();
