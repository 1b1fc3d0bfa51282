#include "media/ExecMedia.h"

#include "core/MediaLog.h"

bool EseguiExecMedia() {
    StampaNonCostruito("EseguiExecMedia");
    return false;
}
