#pragma once
// One pass of the main tick asks the game and the keys the same questions
// many times, once for every working media it polls: while a
// PassaggioCondiviso lives, an answer read in the pass serves the later
// questions of that pass. It is forgotten once a media has been performed or
// new game events have been read, and serves for less than the shortest
// wait cycle of the run, so that a loop that waits reads anew on every
// cycle. The media a pass performs read for themselves.
#include <cstdint>

class PassaggioCondiviso {
public:
    PassaggioCondiviso();
    ~PassaggioCondiviso();
    PassaggioCondiviso(const PassaggioCondiviso&) = delete;
    PassaggioCondiviso& operator=(const PassaggioCondiviso&) = delete;
};

// When an answer was read; generation 0 is no answer.
struct TimbroCondiviso {
    uint32_t generazione = 0;
    uint32_t tick = 0;
};

// True while answers are shared: a pass is open and no media list runs.
bool CondivisioneAttiva();
// The stamp of an answer read now.
TimbroCondiviso TimbraCondiviso();
// True while an answer so stamped still serves.
bool CondivisoValido(const TimbroCondiviso& timbro);
// A media performed may change every answer.
void DimenticaCondivisi();
