#pragma once
// CD track and level tracking. Least form: only the reaction to the first
// track of a level, without the media records it will mark.
#include <cstdint>

void ImpostaSospeso(int32_t cd);
