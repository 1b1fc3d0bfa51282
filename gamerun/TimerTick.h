#pragma once
// The main timer tick of a game run.

// Switch the trigger loop of the tick on and off.
void AbilitaTimerPrincipale();
void DisabilitaTimerPrincipale();

// One pass of the trigger loop.
void GestioneTriggerCD();

// True when the run has just been ended.
bool ControllaFineGioco();

// True outside a configured run.
bool IsPreviewMode();
