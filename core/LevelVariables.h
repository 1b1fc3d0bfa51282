#pragma once
// Level variables. Least form: the level load only, without the guardian.
#include <cstdint>

void LivelloInCaricamento(int32_t livello);
