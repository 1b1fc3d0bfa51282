#pragma once
// The game window given back to the player after the program's own windows
// had the focus: shown without activation, woken from a stand-by in shared
// mode, its process made the foreground application; the stand-by that
// hides the game while a media plays.

#include <cstdint>

void FocusFinestraTomb();
// Stand-by and wake of the game.
bool SospendiTomb();
void RiattivaTomb();
bool NascondiFinestraTomb();
void RipristinaFinestraTomb();
// The application of the process becomes the foreground one; failures are
// left to the caller's next look.
void AttivaApplicazione(uint32_t pid);
