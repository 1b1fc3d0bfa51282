#pragma once
// Keyboard and sensory working media, polled by the main tick, and the
// waits on the player's keys. Least form of the pollers: not performed yet.
#include <cstdint>

bool EseguiWorkingMedia(int32_t indice, bool& BreakEscape);
// Waits until the player presses no key for a while, or a time-out; False
// only when the game ended meanwhile. True at once while user input is
// suspended.
bool AttendiTastieraSilenziosa();
// Returns when Escape is up.
void AttendiFineEscape(bool metodoLungo);
#include <string>
// The log text of a command code: unless <senzaConteggio>, its count with
// " secs" or " hits" and three blanks, then the names of its keys joined
// by "+".
std::string NomeAzioneTasto(int32_t codice, bool senzaConteggio);
