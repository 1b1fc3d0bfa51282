#pragma once
// The main timer tick of a game run.

// True when the run has just been ended.
bool ControllaFineGioco();

// True outside a configured run.
bool IsPreviewMode();
