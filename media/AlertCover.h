#pragma once
// The alert's loop while the game runs in shared (windowed) mode: its text,
// progressive text, countdown or life bar in the cover window placed over
// the game, with a look at the game every half second.
#include <cstdint>

// The alert and countdown sections as EseguiAlertMedia read them. True when
// its time completed; the reason it ended in esito.
bool DisegnaTestoAlert(int32_t& esito);
