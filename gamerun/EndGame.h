#pragma once
// End of a run: everything the start changed is given back.
#include <cstdint>

#include "core/SharedState.h"

// The bits of ModificheAvvio that record a change the end gives back.
constexpr int32_t ModificheDaRipristinare = RisoluzioneCambiata | ImpostazioniCambiate | DriverTastiCaricato |
                                            CoverMostrata | TaskBarNascosta | AnimazioniDisattivate |
                                            SchermoNeroMostrato | MouseNascosto | FlagSuoniLogger;

// True while the run has changed something that its end has not given back:
// a configured run, or a start closed before it was configured.
bool FineRunInSospeso();

// True while EndGameConfig runs: a close of the main window meanwhile waits
// for it instead of ending the run a second time.
bool FineRunInCorso();

bool EndGameConfig();
bool EndMediaMcf();
