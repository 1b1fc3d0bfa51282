#pragma once
// CD track and level tracking. Least form: only the reaction to the first
// track of a level, without the media records it will mark.
#include <cstdint>

void ImpostaSospeso(int32_t cd);
// Every record loses its shown mark, and alert and sensory media their
// working mark, so that the configuration saved at the end starts clean.
void RimuoviFlagWorking();
