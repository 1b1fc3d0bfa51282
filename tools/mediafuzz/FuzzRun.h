#pragma once
// Performs fuzz cases through the media dispatcher, in preview on the
// manual clock beside the game stand-in, and judges each media: it must
// end within its bound, wait on the clock while it lasts, and leave no GDI
// object, handle or window behind. A watchdog thread plays the player who,
// after a long while, holds Escape and closes the media's window, and
// stops the run when a media spins or outlives its bound.
#include <cstdint>
#include <string>

#include "tools/mediafuzz/FuzzConfig.h"

struct LimitiFuzz {
    // On the manual clock: then the player steps in, and after that the
    // media must end.
    uint32_t TempoGiocatore = 3 * 60 * 1000;
    uint32_t TempoDopo = 60 * 1000;
    // Real time, for performers slowed by emulation: the player steps in
    // early, but only a media that outlives this long after him fails on
    // real time, so that a loaded machine fails no case.
    uint32_t RealeGiocatore = 30 * 1000;
    uint32_t RealeDopo = 5 * 60 * 1000;
    // Real time without one sleep on the clock: a loop that spins.
    uint32_t RealeSenzaAttesa = 20 * 1000;
};

// The folder of the cases with the files they name, the game stand-in
// started from <gioco> (GameSim.exe) and the exec media's program
// <programma>; "" on success, else what failed.
std::string PreparaFuzz(const std::string& cartella, const std::string& gioco, const std::string& programma,
                        const LimitiFuzz& limiti = LimitiFuzz{});
void ChiudiFuzz();

// Performs the case's codes in order as nested lists; "" when every media
// passed, else the report of the first fault with the seed, the index and
// the offending trigger.
std::string EseguiCasoFuzz(const CasoFuzz& caso);

// What the watchdog does with a media that spins or does not end: by
// default it prints the report to stderr and ends the process with 3.
extern void (*FermoFuzz)(const std::string& rapporto);
// Set by the watchdog once it has called FermoFuzz, for a performer that
// stands in for a faulty one and must be let go.
bool FuzzFermato();
