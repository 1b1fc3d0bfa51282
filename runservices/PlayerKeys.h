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
// Waits until the player has left the game's controls alone for 100 ms, or
// 4000 ms have passed; False only when the game ended meanwhile. While user
// input is blocked on NT it does not wait, and is True.
bool AttendiTastieraSilenziosa();
// Returns when Escape is up. The long method also wants it up for a whole
// second once it was seen down, and throws its key-downs away.
void AttendiFineEscape(bool metodoLungo);
