#pragma once
// The game's process and window during a run: liveness, the window found
// among the game thread's windows, its display mode, size, focus and
// border, and the processor priorities of the game and of the program.
#include <cstdint>
#include <string>
#include <vector>

#include "core/SharedState.h"

// Tick of the last wake of the game window from a stand-by.
extern uint32_t TickRisveglio;

// True while the run may go on: in preview, or while the game's process runs
// and no quit is asked of the program (a quit request closes the game).
bool RichiestaAbort();
// The game's window among its thread's windows into FinestraGioco (with
// FinestreGioco and HdcGioco); False when none has a placement.
bool CercaFinestraGioco();
// Puts Dialog_Cover on RettCover.
void PosizionaCover();
// The game at level 4 once, and back to LivelloPrioritaGioco.
void RiduciPrioritaGioco(bool scriviLog);
bool RipristinaPrioritaGioco(bool scriviLog);

// False when the logger is not in use; else True while it runs.
bool IsLoggerAlive();
// Ends the game's process and closes its handles; the next main tick ends
// the run.
void ChiudiGioco();
// The same without the log line, for callers that write their own.
void TerminaGioco();

// The game thread's windows as the search found them.
struct FinestraThreadGioco {
    void* Handle = nullptr;
    std::string Titolo;
};
extern std::vector<FinestraThreadGioco> FinestreGioco;
extern int32_t NumFinestreGioco;
extern void* HdcGioco;
// Priority levels given back when a priority is restored.
extern int32_t LivelloPrioritaGioco;
extern int32_t LivelloPrioritaModulo;

// From the game window's client coordinates to the screen's.
void RettangoloClientGioco(Rettangolo& rettangolo);
void MostraFinestraGioco();
// Until the logger shows the game hanged, at most 3000 ms.
void AttendiBloccoGioco();
// Once per run: the game window's width against the required one.
void VerificaRisoluzioneGioco();
// Every tick: display mode, focus and bottom border of the game window.
void ControllaModoVideo();
// True when the screen is wide enough for the cover, or the cover's device
// context is ready past the screen's edge.
bool VerificaSpostamentoSchermo();
// Levels 1 to 14 of ClassiPriorita and PrioritaThread.
bool ClassePriorita(int32_t livello, int32_t& classe, int32_t& prioritaThread);
bool ImpostaPriorita(void* processo, void* thread, int32_t livello);
// The program itself at level 9 while a media shows, and back.
void VelocizzaModulo();
void RallentaModulo();
// A screen test that began at <tickInizio> and took over 1000 ms slows the
// game for the rest of the run.
void RallentaInventario(uint32_t tickInizio);
