#pragma once
#include <cstdint>
#include <string>

// The cheat guardian. Least form: no guardian media is watched yet, so no
// cheat is ever found and nothing is set up for a new level.

// True when no watched cheat word was typed.
bool RilevaTrucchi();
void ControllaStopSalvataggio();
void ImpostaGuardian();
// The guardian media's flags ("#FLAGS#=", default 1).
extern int32_t FlagGuardian;
// Reads "#FLAGS#=" of a GUARDIAN section into FlagGuardian.
void LeggiCodiceGuardian(const std::string& sezione);
