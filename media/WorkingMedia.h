#pragma once
// Keyboard and sensory working media, polled by the main tick. Least form of the pollers: not performed yet.
#include <cstdint>

// The waits on the player's keys, which the run's services use too.
#include "runservices/PlayerKeys.h"

bool EseguiWorkingMedia(int32_t indice, bool& BreakEscape);
#include <string>
// The log text of a command code: unless <senzaConteggio>, its count with
// " secs" or " hits" and three blanks, then the names of its keys joined
// by "+".
std::string NomeAzioneTasto(int32_t codice, bool senzaConteggio);
