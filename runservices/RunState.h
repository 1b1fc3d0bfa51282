#pragma once
// The state of the one game run this process serves. What the core and the
// subsystems below the game run share of it is in core/SharedState.h; here
// is what only the game run itself uses.
#include <cstdint>

#include "core/SharedState.h"

// Log and timer switches (LogAbilitato lives with the log writer, FuoriGioco
// with the shared state).
extern bool TimerAbilitato;
// Switch the trigger loop of the main tick on and off.
void AbilitaTimerPrincipale();
void DisabilitaTimerPrincipale();
// True outside a configured run.
bool IsPreviewMode();
extern bool AttesaCaricamentoIniziale;
extern int32_t TickAvvioGioco;
// Tick at which the first level load (and each later one) ended.
extern uint32_t TickFineCaricamento;

// Game window and the screen the game runs at.
extern void* FinestraGioco;
extern Rettangolo RettClientGioco;
extern int32_t OpzioniGioco;
extern int32_t TombSchermoX, TombSchermoY;
extern bool TaskBarAutoNascosta;

// A refresh of the savegame cache is due (the logger client sets it on the
// game's changes).
extern bool AggiornaCacheRichiesto;

// Puts the globals of the run to the values a new run starts from.
void AzzeraStatoRun();

// Screen of the run: an explicit size the game must run at, used when the
// configuration names no resolution (StatoGioco bit RisoluzioneEsplicita).
extern int32_t LarghezzaRichiesta, AltezzaRichiesta;
constexpr int32_t RisoluzioneEsplicita = 0x400;
