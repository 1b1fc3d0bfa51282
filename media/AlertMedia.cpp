#include "media/AlertMedia.h"

#include "core/MediaLog.h"

bool EseguiAlertMedia(bool& TestError) {
    StampaNonCostruito("EseguiAlertMedia");
    TestError = true;
    return false;
}

int32_t LeggiElapsedSospeso(int32_t) {
    StampaNonCostruito("LeggiElapsedSospeso");
    return 0;
}
