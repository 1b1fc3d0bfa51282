#pragma once
// The one source of time of the program. Tests switch it to a manual clock
// so that long waits run at once.
#include <cstdint>

uint32_t ClockTick();              // milliseconds, wraps like the system tick count
void ClockSleep(uint32_t ms);      // a real sleep, or an advance of the manual clock
uint32_t ClockAttese();            // the sleeps of some length made so far: what was read before one may be old

void ClockUseManual(bool manual, uint32_t start = 0);
bool ClockIsManual();
void ClockAdvance(uint32_t ms);
