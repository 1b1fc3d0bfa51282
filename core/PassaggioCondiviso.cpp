#include "core/PassaggioCondiviso.h"

#include "core/SharedState.h"
#include "platform/Clock.h"

namespace {
// Well under the 100 ms cycles of the run's waits and the 300 ms between two
// checks of a sensory media.
constexpr uint32_t DurataCondivisa = 50;
bool Aperto = false;
uint32_t Generazione = 1;
}  // namespace

PassaggioCondiviso::PassaggioCondiviso() {
    DimenticaCondivisi();
    Aperto = true;
}

PassaggioCondiviso::~PassaggioCondiviso() {
    Aperto = false;
    DimenticaCondivisi();
}

bool CondivisioneAttiva() { return Aperto && LivelloAnnidamento == 0; }

TimbroCondiviso TimbraCondiviso() { return {Generazione, ClockTick()}; }

bool CondivisoValido(const TimbroCondiviso& timbro) {
    return CondivisioneAttiva() && timbro.generazione == Generazione && ClockTick() - timbro.tick < DurataCondivisa;
}

void DimenticaCondivisi() {
    // Never 0: that is no answer.
    if (++Generazione == 0) ++Generazione;
}
