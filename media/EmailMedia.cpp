#include "media/EmailMedia.h"

#include "core/MediaLog.h"
#include "core/SharedState.h"

void EseguiEmailFinale(std::string& errore) {
    errore.clear();
    if (IndiceEmailFinale == -1) return;
    IndiceEmailFinale = -1;
    StampaNonCostruito("EseguiEmailFinale");
    errore = "e-mail media are not performed yet";
}
