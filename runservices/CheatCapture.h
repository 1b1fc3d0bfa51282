#pragma once
// The letters the player types, kept for the cheat guardian. The keyboard
// hook and the inventory watch both feed them; the guardian acts on what was
// found later, from the run's own checks.
#include <cstdint>
#include <string>

// The last letters A to Z captured, at most 7, never one twice in a row.
extern std::string TastiCatturati;
// Tick of the last letter captured.
extern uint32_t TickUltimoTasto;
// The cheat word found, "" none; nothing is captured while it is set.
extern std::string TruccoRilevato;
// The media code performed when each word is found; -1 none.
extern int32_t CodiceDozy, CodiceGuns, CodiceHelp, CodiceWeapons;

// Adds one letter the player typed to the captured ones. Least form: the
// words are not tested yet.
void AggiungiTastoCatturato(std::string& lettera);
