#pragma once
// Keyboard and sensory working media, polled by the main tick while their
// record is working.
#include <cstdint>

#include "media/WorkingSyntax.h"
// The waits on the player's keys, which the run's services use too.
#include "runservices/PlayerKeys.h"

// One poll of the working trigger at <indice> of ListaMedia; a trigger of
// another level is left alone (True).
bool EseguiWorkingMedia(int32_t indice, bool& BreakEscape);
// Performs its media while the hot key is down; stays working.
bool EseguiKeyboardMedia(int32_t indice, bool& BreakEscape);
// Performs its media once the player's movements pass its checks, then
// stops working.
bool EseguiSensoryMedia(int32_t indice, bool& BreakEscape);
// One pass of the movement checks that ParametriSensory.Flags asks for.
bool ControllaMovimentiLara();
