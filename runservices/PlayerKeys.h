#pragma once
// The player's keys as the run waits on them: paced waits, key messages of
// the program's own queue, the quit-request test and the waits for a silent
// keyboard and for the end of Escape.
#include <cstdint>

// Loops that must run every N ms mark the time at their top and wait to N
// ms after the mark at their bottom.
void SegnaTempo();
void AttendiDaSegno(int32_t millisecondi);
// Removes the next keyboard message of the thread's queue; True with its
// key when it was a key-down.
bool PeekTastoPremuto(int32_t& tasto);
void RimuoviMessaggiTastiera();
// True when a quit or close message waits in the program's queue.
bool TastoSistemaInCoda();
// Waits until the player presses no key for a while, or a time-out; False
// only when the game ended meanwhile. True at once while user input is
// suspended.
bool AttendiTastieraSilenziosa();
// Returns when Escape is up.
void AttendiFineEscape(bool metodoLungo);
