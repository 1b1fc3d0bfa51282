#pragma once
// One pass of the main tick asks the game and the keys the same questions
// many times, once for every working media it polls: while a
// PassaggioCondiviso lives, an answer read in the pass serves the later
// questions of that pass. It is forgotten once the pass waits, performs a
// media or reads new game events, so that a loop that waits reads anew on
// every cycle; and it never serves for long. The media a pass performs read
// for themselves.
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
    uint32_t attese = 0;
};

// True while answers are shared: a pass is open and no media list runs.
bool CondivisioneAttiva();
// The stamp of an answer read now.
TimbroCondiviso TimbraCondiviso();
// True while an answer so stamped still serves.
bool CondivisoValido(const TimbroCondiviso& timbro);
// A media performed may change every answer.
void DimenticaCondivisi();
