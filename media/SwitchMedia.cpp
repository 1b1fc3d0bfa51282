#include "media/SwitchMedia.h"

#include "core/MediaLog.h"

bool EseguiSwitchMedia(bool& TestError) {
    StampaNonCostruito("EseguiSwitchMedia");
    TestError = true;
    return false;
}
