#pragma once
// Flags of the main tick's loading watch, raised by the logger client, and
// the record of a level being loaded.
#include <cstdint>

extern bool AttesaCaricamentoGioco;
extern bool AttesaFineCaricamentoGioco;

// True while the level's file is being loaded (the guardian's cheat check
// runs first); the level is then recorded as loading.
bool ControllaCaricamentoLivello(int32_t livello);
// The level becomes the current one, with no CD track and no action key; a
// new level sets the guardian up for it.
void LivelloInCaricamento(int32_t livello);
// True while a level loads (the level is then recorded).
bool IsLoadingMode();
