#include "input/CheatGuardian.h"

#include "core/MediaLog.h"

// False would say that a cheat was acted on, which stops the media and the
// game: none was.
bool RilevaTrucchi() {
    StampaNonCostruito("RilevaTrucchi");
    return true;
}

void ParseSavegameXCheats() { StampaNonCostruito("ParseSavegameXCheats"); }
