#include "gamerun/MediaDispatcher.h"

#include "gamerun/DisplayModes.h"
#include "gamerun/RunState.h"

void RiattivaTomb() {
    if (HaBit(StatoSequenza, StandByAttivo)) RisvegliaFinestraTomb();
}
