#pragma once
// Alert media (alerts, countdowns, life bars). Least form: not performed yet.
#include <cstdint>

#include "media/AlertSyntax.h"

bool EseguiAlertMedia(bool& TestError);
// The elapsed time stored in the "SUSPENDED" section of a trigger; 0 none.
int32_t LeggiElapsedSospeso(int32_t indice);
