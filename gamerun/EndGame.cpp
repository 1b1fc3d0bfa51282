#include "gamerun/EndGame.h"

#include "core/MediaLog.h"
#include "gamerun/LoggerClient.h"
#include "gamerun/RunState.h"

bool EndGameConfig() {
    TimerAbilitato = false;
    TogliBit(ModificheAvvio, GiocoConfigurato);
    FuoriGioco = true;
    ChiudiProcessoLogger();
    LogAbilitato = LogFileRichiesto;
    ScriviBufferLog(true);
    return true;
}

bool EndMediaMcf() {
    StampaNonCostruito("EndMediaMcf");
    return true;
}
