#include "gamerun/MediaDispatcher.h"

#include "gamerun/DisplayModes.h"
#include "gamerun/RunState.h"

bool EseguiListaMedia(const std::vector<int32_t>&, int32_t, bool& TestError) {
    TestError = false;
    return false;
}

bool EseguiMediaCode(int32_t, bool& TestError) {
    TestError = true;
    return false;
}

bool ShowMedia(bool& BreakEscape, bool& TestError) {
    BreakEscape = false;
    TestError = true;
    return false;
}

bool PreparaEsecuzioneMedia(int32_t) { return true; }

bool TerminaEsecuzioneMedia() { return true; }

bool SospendiTomb() { return true; }

void RiattivaTomb() {
    if (HaBit(StatoSequenza, StandByAttivo)) RisvegliaFinestraTomb();
}

bool NascondiFinestraTomb() { return true; }

void RipristinaFinestraTomb() {}
