#pragma once
// The cheat guardian: acts on a cheat word the player typed, and on the
// traces of cheats and editors in the savegames. Least form: nothing is
// found yet; each check says once that it was not performed.

// True when no watched cheat was acted on.
bool RilevaTrucchi();
void ParseSavegameXCheats();
