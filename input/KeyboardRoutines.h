#pragma once
// Keyboard and timing routines of the key macros: the player's input held
// off while keys are sent, paced waits, the quit-request test, the wait for
// a level load and the guardian's cheat letters.
#include <cstdint>

void SospendiInputUtente();
void AbilitaInputUtente();
// Loops that must run every N ms mark the time at their top and wait to N
// ms after the mark at their bottom.
void SegnaTempo();
void AttendiDaSegno(int32_t millisecondi);
// True when a quit or close message waits in the program's queue.
bool TastoSistemaInCoda();
// Waits until the level being loaded is known and its loading has ended.
void AttendiCaricamentoLivello();
void CatturaTastiGuardian();
