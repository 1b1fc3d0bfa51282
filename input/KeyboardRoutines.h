#pragma once
// Keyboard and timing routines of the key macros: the player's input held
// off while keys are sent, the waits on a level load and the guardian's
// cheat letters.
#include <cstdint>

// The paced waits and the queue's key messages serve the media and the run's
// services too: they live below them.
#include "runservices/PlayerKeys.h"

// NT family only: blocks the player's input and releases the game keys
// still held, so that the game sees none stuck down.
void SospendiInputUtente();
void AbilitaInputUtente();
void BloccaInput(bool blocca);
// Sends the release of a bound key (bit 0x100: its default) when it is down.
void RilasciaTastiGiu(int32_t tasto);
// Waits up to <millisecondi> while no level load begins: True then; False
// as soon as a load begins (after the start-CD check of the new level).
// With 0 it only looks once.
bool SorvegliaCaricamento(int32_t millisecondi);
// Waits until the level being loaded is known and its loading has ended.
// A logger in use has AttesaLivelloDalLogger ms to name the level.
constexpr uint32_t AttesaLivelloDalLogger = 2000;
void AttendiCaricamentoLivello();
void CatturaTastiGuardian();
