#include "gamerun/StartGame.h"

#include "core/MediaLog.h"

bool StartGame() {
    StampaLog("StartGame(): starting a game run is not built yet; the program ends");
    return false;
}
