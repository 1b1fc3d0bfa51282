#include "gamerun/Uninstall.h"

#include "core/MediaLog.h"

void DisinstallaLivello() {
    StampaLog("Uninstall of the level (/u) is not built yet; nothing was changed");
}

void MostraListaMedia() {
    StampaLog("List of the media triggers (/l) is not built yet");
}
