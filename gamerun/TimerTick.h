#pragma once
// The main timer tick of a game run. Its switches and IsPreviewMode live with
// the run state, below the performers that use them.
#include "runservices/RunState.h"

// One pass of the trigger loop.
void GestioneTriggerCD();

// True when the run has just been ended.
bool ControllaFineGioco();
