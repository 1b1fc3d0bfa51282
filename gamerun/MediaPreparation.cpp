#include "gamerun/MediaPreparation.h"

#include "core/MediaLog.h"

bool InitMediaMcf() {
    StampaNonCostruito("InitMediaMcf");
    return true;
}

void InizializzaRandom() {}
