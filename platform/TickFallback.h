#pragma once
// The 64-bit tick count on systems whose kernel lacks it (Windows XP).
#include <cstdint>

// The 64-bit count after <precedente> for a 32-bit tick read no earlier
// than it: a smaller low part means the 32-bit count wrapped.
uint64_t AllargaTick(uint64_t precedente, uint32_t ora);
