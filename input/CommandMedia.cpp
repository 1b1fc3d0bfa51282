#include "input/CommandMedia.h"

#include "core/MediaLog.h"

bool EseguiCommandMedia() {
    StampaNonCostruito("EseguiCommandMedia");
    return false;
}
