#include "media/ActionMedia.h"

#include "core/MediaLog.h"

bool CatturaRettangolo(ImmagineAzione&) {
    StampaNonCostruito("CatturaRettangolo");
    return false;
}

bool ConfrontaActionMedia(int32_t, const ImmagineAzione&) {
    StampaNonCostruito("ConfrontaActionMedia");
    return false;
}
