#pragma once
// The cheat guardian. Least form: no guardian media is watched yet, so no
// cheat is ever found and nothing is set up for a new level.

// True when no watched cheat word was typed.
bool RilevaTrucchi();
void ControllaStopSalvataggio();
void ImpostaGuardian();
