#pragma once
// The one source of time of the program. Tests switch it to a manual clock
// so that long waits run at once.
#include <cstdint>

uint32_t ClockTick();              // milliseconds, wraps like the system tick count
void ClockSleep(uint32_t ms);      // a real sleep, or an advance of the manual clock
uint32_t ClockAttese();            // the sleeps of some length made so far: what was read before one may be old

// While set, every wait of the thread also answers what the system sends
// it: a low-level hook of this thread is called that way, and a thread that
// does not answer holds every key of the system until the system drops it.
void ClockServiMessaggi(bool servi);
bool ClockServeMessaggi();
// Waits for a handle (nullptr: none, only the time) up to ms, always in real
// time (0xFFFFFFFF without end); True when it was signalled.
bool ClockAttendiOggetto(void* handle, uint32_t ms);

void ClockUseManual(bool manual, uint32_t start = 0);
bool ClockIsManual();
void ClockAdvance(uint32_t ms);
