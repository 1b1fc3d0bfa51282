#include "core/PassaggioCondiviso.h"

#include "core/SharedState.h"
#include "platform/Clock.h"

namespace {
// Also a pass that waits on no clock, only pumping events, reads anew.
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

TimbroCondiviso TimbraCondiviso() { return {Generazione, ClockTick(), ClockAttese()}; }

bool CondivisoValido(const TimbroCondiviso& timbro) {
    return CondivisioneAttiva() && timbro.generazione == Generazione && timbro.attese == ClockAttese() &&
           ClockTick() - timbro.tick < DurataCondivisa;
}

void DimenticaCondivisi() {
    // Never 0: that is no answer.
    if (++Generazione == 0) ++Generazione;
}
