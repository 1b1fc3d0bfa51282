#pragma once
// CD track and level tracking: which track plays, which level loads, the
// re-arming of the triggers at a new level and the L+G and Shift+F8 keys.
#include <cstdint>

// IsLoadingMode lives with the loading state, below the performers.
#include "runservices/LoadingState.h"

// CdAvvioAlert lives with the run's state, where the alert reads it.
#include "runservices/RunState.h"

// True while the title track plays; the level is then the title.
bool IsCdTitoliInCorso();
// One look at the game's progress: 1 a level loads, 2 the title track plays,
// 3 the watched track ended, 4 the game ended or a cheat stopped it (with
// BreakFlag set); otherwise the ms spent in the inventory. In a pass of the
// tick (PassaggioCondiviso) a look that lets the media go on serves the
// later looks with the same track; the tester mark is made on every look.
int32_t AnalisiGameProgress(bool& BreakFlag, int32_t cd, bool IgnoraTitoli);
// The reaction to the start of a level load.
void ControllaStartCd();
void ImpostaSospeso(int32_t cd);
void ImpostaMediaCdGiaMostrati(int32_t cd);
// Every record loses its shown mark, and alert and sensory media their
// working mark, so that the configuration saved at the end starts clean.
void RimuoviFlagWorking();
void AvviaCdAlert(int32_t cd);
// L and G together switch the log on.
void AbilitaLogDaTastiera();
