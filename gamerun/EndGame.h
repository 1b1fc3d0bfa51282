#pragma once
// End of a run: everything the start changed is given back.

bool EndGameConfig();
bool EndMediaMcf();
