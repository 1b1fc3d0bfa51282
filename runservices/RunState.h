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

// The alerts: the CD track taken as the start of the alert media (-1
// none), the tick the player entered the inventory at, the alert shown now
// in the cover window and its milliseconds (kept into savegames), and the
// same two as read back from the savegame the game loaded.
extern int32_t CdAvvioAlert;
extern uint32_t TickInizioInventario;
extern int32_t CodeAlertCorrente;
extern int32_t TimeAlertCorrente;
extern int32_t CodeAlertCaricato;
extern int32_t TimeAlertCaricato;

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
