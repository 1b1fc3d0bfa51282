#pragma once
// The media dispatcher: performs lists of media triggers, preparing the
// game for them (screen capture, save, stand-by) and waking it afterwards.
#include <cstdint>
#include <vector>

#include "core/MediaTrigger.h"
// The requirement bits (BitRequisitiMedia) are the shared state's, which
// the sequence's end reads too.
#include "core/SharedState.h"
// The stand-by and the wake of the game, which the performers and the run's
// services ask for too.
#include "runservices/GameFocus.h"

// Performs the triggers of <indici> (indexes into ListaMedia; the first
// <conteggio> are used); the result of the last ShowMedia, False when none
// ran.
bool EseguiListaMedia(const std::vector<int32_t>& indici, int32_t conteggio, bool& TestError);
// Performs the one trigger with that media code as a nested list.
bool EseguiMediaCode(int32_t codice, bool& TestError);
// Performs MediaCorrente by its kind.
bool ShowMedia(bool& BreakEscape, bool& TestError);
bool PreparaEsecuzioneMedia(int32_t requisiti);
bool TerminaEsecuzioneMedia();

// What a trigger requires of the game (bits above), as EseguiListaMedia
// works it out for each entry; each bit set is logged.
int32_t RequisitiMedia(const MediaTrigger& media);

// The switch performer, the one that runs further media through
// EseguiMediaCode; tests put a performer of their own here.
extern bool (*EsecutoreSwitch)(bool& TestError);
// The save of the running game that a media asks for before it runs;
// tests put one of their own here, since there is no game to save.
extern bool (*SalvataggioPartita)();
