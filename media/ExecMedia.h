#pragma once
// Exec media: starts a program of the level's media with trdata.bin, and
// waits for its end when the media asks.
#include "media/ExecData.h"

// True when the program started (and, when waited for, ended).
bool EseguiExecMedia();
