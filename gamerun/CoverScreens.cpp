#include "gamerun/CoverScreens.h"

bool CoverVisibile() { return false; }
void NascondiCover() {}
