#include "savegames/SavegameCache.h"

#include "core/FileUtils.h"
#include "core/MediaLog.h"
#include "savegames/SavegameFile.h"

bool AggiornaCacheRichiesto = true;

void AnalizzaSavegameTrle() { StampaNonCostruito("AnalizzaSavegameTrle"); }

void AggiornaCacheSavegame(int32_t) {
    StampaNonCostruito("AggiornaCacheSavegame");
    AggiornaCacheRichiesto = false;
}

void RipristinaSavegames() { StampaNonCostruito("RipristinaSavegames"); }

bool ScriviCacheSavegame() {
    StampaNonCostruito("ScriviCacheSavegame");
    return true;
}

// Read from the slot files until the cache is built.
std::string UltimoSavegame(int32_t& numero, std::string& descrizione, bool) {
    numero = -1;
    descrizione = "<NO SAVEGAMES>";
    std::string percorso;
    bool trovati = false;
    int32_t massimo = 0;
    for (int32_t n = 0; n < NumSlotSavegame; ++n) {
        const std::string file = PercorsoSavegame(n);
        std::string dati;
        if (!EsisteFile(file) || !LeggiFileIntero(file, dati, DimensioneSavegame)) continue;
        if (!trovati) {
            trovati = true;
            numero = 0;
            descrizione.clear();
        }
        const int32_t valore = LeggiValoreSavegame(dati, 4, OffsetNumeroSavegame);
        if (valore > massimo) {
            massimo = valore;
            numero = valore;
            percorso = file;
            descrizione = VerificaFileSavegame(file);
        }
    }
    return percorso;
}
