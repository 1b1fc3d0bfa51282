#pragma once
// Least form of the game window and priority control: what the desktop,
// display-mode and logger code call. The game-window watch completes it.
#include <cstdint>

// Tick of the last wake of the game window from a stand-by.
extern uint32_t TickRisveglio;

// True while the run may go on: in preview, or while the game's process runs.
bool RichiestaAbort();
// The game's top-level window into FinestraGioco; False when none.
bool CercaFinestraGioco();
// Puts Dialog_Cover on RettCover.
void PosizionaCover();
void RiduciPrioritaGioco(bool scriviLog);
bool RipristinaPrioritaGioco(bool scriviLog);

// False when the logger is not in use; else True while it runs.
bool IsLoggerAlive();
// Ends the game's process and closes its handles; the next main tick ends
// the run.
void ChiudiGioco();
// The same without the log line, for callers that write their own.
void TerminaGioco();
