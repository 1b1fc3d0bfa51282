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

void RettangoloClientGioco(Rettangolo& rettangolo);
void MostraFinestraGioco();
void AttendiBloccoGioco();
void VerificaRisoluzioneGioco();
void ControllaModoVideo();
bool VerificaSpostamentoSchermo();
bool ClassePriorita(int32_t livello, int32_t& classe, int32_t& prioritaThread);
bool ImpostaPriorita(void* processo, void* thread, int32_t livello);
void VelocizzaModulo();
void RallentaModulo();
void RallentaInventario(uint32_t tickInizio);
