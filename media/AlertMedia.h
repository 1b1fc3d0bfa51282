#pragma once
// Alert media (alerts, countdowns, life bars). Least form: not performed yet.
#include <cstdint>

#include "media/AlertSyntax.h"

bool EseguiAlertMedia(bool& TestError);

// An interrupted alert keeps the milliseconds it had shown in a "SUSPENDED"
// section of its trigger's syntax in ListaMedia, with Options Suspended.
// The stored time of the trigger at the index; 0 when the section, the tag or
// a whole non-negative number is missing.
int32_t LeggiElapsedSospeso(int32_t indice);
// Stores the time in the trigger with the code and marks it Suspended; False
// when no trigger has the code or its section is damaged.
bool ScriviElapsedSospeso(int32_t codice, int32_t elapsed);
// Takes the section and Suspended away from the trigger with the code (and
// from MediaCorrente when it is that trigger): an alert that ended, or one
// that starts from zero, has nothing left to resume.
bool CancellaElapsedSospeso(int32_t codice);
// The same for every loaded trigger, so that media.mcf is saved without them.
bool CancellaTuttiSospesi();
// Milliseconds from inizio to ora on the wrapping tick count; 0 when ora
// comes before inizio.
int32_t TickTrascorsi(uint32_t ora, uint32_t inizio);
