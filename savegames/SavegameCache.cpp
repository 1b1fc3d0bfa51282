#include "savegames/SavegameCache.h"

#include "core/FileUtils.h"
#include "core/MediaLog.h"
#include "core/SharedState.h"
#include "core/TextUtils.h"
#include "runservices/LoggerClient.h"
#include "platform/Clock.h"
#include "savegames/EquipCommands.h"
#include "savegames/OffsetValues.h"
#include "savegames/PrivateVariables.h"
#include "savegames/SavegameFile.h"

SavegameCache CacheSavegame;
bool CacheAggiornata = false;

int32_t IndiceSavegameCache(const SavegameCache& cache, const std::string& percorso) {
    for (int32_t i = 0; i < cache.Count; ++i)
        if (UgualeSenzaCaso(cache.Entries[static_cast<size_t>(i)].Path, percorso)) return i;
    return -1;
}

int32_t IndiceSavegamePiuRecente(const SavegameCache& cache) {
    int32_t indice = -1;
    int32_t massimo = 0;
    std::string titolo;
    for (int32_t i = 0; i < cache.Count; ++i) {
        const int32_t numero = LeggiNumeroTitoloSavegame(cache.Entries[static_cast<size_t>(i)].Bytes, titolo);
        if (numero > massimo) {
            massimo = numero;
            indice = i;
        }
    }
    return indice;
}

void AggiornaCacheSavegame(int32_t intervallo) {
    if (LoggerAttivo()) {
        LeggiLogger();
        if (!AggiornaCacheRichiesto) return;
        intervallo = 0;
    }
    if (HaBit(StatoSequenza, SavegameNormalizzati)) {
        // The slots hold copies of one savegame; the cache keeps the real ones.
        if (LogAbilitato)
            StampaLog("WARNING: required to update savegame cache while savegames are normalized. Refused the updating");
        return;
    }
    if (intervallo > 0 && ClockTick() - CacheSavegame.LastUpdateTick < static_cast<uint32_t>(intervallo)) return;
    StampaLog("Update savegame cache");
    int32_t conteggio = 0;
    const std::vector<std::string> elenco = ElencoSavegameCartella(Trim(CartellaTrle), conteggio);
    CacheSavegame.Count = std::min(conteggio, MaxSavegameCache);
    for (int32_t i = 0; i < CacheSavegame.Count; ++i) {
        SavegameCacheEntry& voce = CacheSavegame.Entries[static_cast<size_t>(i)];
        voce.Path = elenco[static_cast<size_t>(i)];
        voce.Bytes.clear();
        voce.ModificataDaSistema = false;
        CaricaSavegameBin(voce.Path, voce.Bytes);
    }
    for (size_t i = static_cast<size_t>(CacheSavegame.Count); i < CacheSavegame.Entries.size(); ++i)
        CacheSavegame.Entries[i] = SavegameCacheEntry{};
    CacheSavegame.LastUpdateTick = ClockTick();
    AggiornaCacheRichiesto = false;
    SetVariablesSaved();
    CacheAggiornata = true;
}

bool InserisciSavegameCache(const std::string& percorso, const SavegameBin& immagine, bool suDisco) {
    int32_t i = IndiceSavegameCache(CacheSavegame, percorso);
    if (i >= 0) {
        if (LogAbilitato) StampaLog("Update savegame " + percorso + " in savegame cache");
    } else {
        if (LogAbilitato) StampaLog("Add new savegame " + percorso + " in savegame cache");
        if (CacheSavegame.Count >= MaxSavegameCache) {
            StampaLog("ERROR: savegame cache full: not added " + percorso, true);
            return false;
        }
        i = CacheSavegame.Count++;
        CacheSavegame.Entries[static_cast<size_t>(i)].Path = percorso;
    }
    SavegameCacheEntry& voce = CacheSavegame.Entries[static_cast<size_t>(i)];
    voce.Bytes = immagine;
    voce.ModificataDaSistema = !suDisco;
    CacheSavegame.LastUpdateTick = ClockTick();
    return true;
}

bool LeggiSavegameCache(const std::string& percorso, SavegameBin& immagine) {
    AggiornaCacheSavegame(1000);
    const int32_t i = IndiceSavegameCache(CacheSavegame, percorso);
    if (i >= 0) {
        immagine = CacheSavegame.Entries[static_cast<size_t>(i)].Bytes;
        return true;
    }
    StampaLog("ERROR: not found savegame " + percorso + " in savegame cache", true);
    return CaricaSavegameBin(percorso, immagine);
}

bool SalvaSavegameDaCache(const std::string& percorso) {
    const int32_t i = IndiceSavegameCache(CacheSavegame, percorso);
    if (i < 0) {
        StampaLog("ERROR: not found in cache savegame: " + percorso, true);
        return false;
    }
    SavegameCacheEntry& voce = CacheSavegame.Entries[static_cast<size_t>(i)];
    const bool ok = SalvaSavegameBin(voce.Path, voce.Bytes, false);
    if (ok) voce.ModificataDaSistema = false;
    CacheSavegame.LastUpdateTick = ClockTick();
    return ok;
}

bool SavegameCambiatoInCache(const std::string& percorso) {
    const int32_t i = IndiceSavegameCache(CacheSavegame, percorso);
    return i >= 0 && CacheSavegame.Entries[static_cast<size_t>(i)].ModificataDaSistema;
}

bool ScriviCacheSavegame(bool intera) {
    StampaLog("Write savegames from cache to trle folder");
    bool ok = true;
    // The cached images first, so that a failure in between never leaves a
    // slot without its savegame.
    for (int32_t i = 0; i < CacheSavegame.Count; ++i) {
        SavegameCacheEntry& voce = CacheSavegame.Entries[static_cast<size_t>(i)];
        if (!intera && !voce.ModificataDaSistema) continue;
        if (SalvaSavegameBin(voce.Path, voce.Bytes, false))
            voce.ModificataDaSistema = false;
        else
            ok = false;
    }
    if (intera && ok && !Trim(CartellaTrle).empty()) {
        for (int32_t n = 0; n < NumSlotSavegame; ++n) {
            const std::string slot = PercorsoSavegame(n);
            if (IndiceSavegameCache(CacheSavegame, slot) < 0 && EsisteFile(slot)) CancellaFile(slot);
        }
    }
    CacheSavegame.LastUpdateTick = ClockTick();
    return ok;
}

std::string UltimoSavegame(int32_t& numero, std::string& descrizione, bool forzaAggiornamento) {
    AggiornaCacheSavegame(forzaAggiornamento ? 0 : 1000);
    if (CacheSavegame.Count == 0) {
        numero = -1;
        descrizione = "<NO SAVEGAMES>";
        return std::string();
    }
    const int32_t i = IndiceSavegamePiuRecente(CacheSavegame);
    if (i < 0) {
        numero = 0;
        descrizione.clear();
        return std::string();
    }
    const SavegameCacheEntry& voce = CacheSavegame.Entries[static_cast<size_t>(i)];
    std::string titolo;
    numero = LeggiNumeroTitoloSavegame(voce.Bytes, titolo);
    descrizione = DescrizioneSavegameBin(voce.Path, voce.Bytes);
    return voce.Path;
}

bool TrovaSavegameEquip(std::string& percorso, int32_t& numero, bool& primoSlot, std::string& descrizione) {
    primoSlot = false;
    percorso = UltimoSavegame(numero, descrizione, false);
    if (!percorso.empty()) return true;
    const IntestazioneEquipment& h = EquipmentHeader;
    for (int32_t i = 0; i < h.TotRecords && static_cast<size_t>(i) < h.Records.size(); ++i) {
        const EquipCommand& r = h.Records[static_cast<size_t>(i)];
        switch (r.CommandType) {
            case StandardCommand:
                // Only the level variables live outside the savegame.
                if (r.Offset >= PrimoCodiceVariabile && r.Offset <= UltimoCodiceVariabile) continue;
                return true;
            case IsMediaEnabled:
            case IsLastInputTextEqualTo:
            case IsComputerLanguageEqual: continue;
            case RestoreFile:
                // Only a whole restore makes a savegame where there was none.
                if (r.RestoreFlags == RipristinaTutto) {
                    primoSlot = true;
                    percorso = PercorsoSavegame(0);
                }
                return true;
            default: return true;
        }
    }
    return false;
}

int32_t TrovaCdForSavegame(const std::string& percorso) {
    int32_t i = IndiceSavegameCache(CacheSavegame, percorso);
    if (i >= 0) return LeggiValore(CacheSavegame.Entries[static_cast<size_t>(i)].Bytes, OffsetCdSavegame, 1);
    StampaLog("ERROR: not found savegame " + percorso + " in savegame cache", true);
    AggiornaCacheSavegame(0);
    SavegameBin dati;
    if (!EsisteFile(percorso) || !LeggiFileIntero(percorso, dati, 16 * 1024 * 1024) ||
        dati.size() <= OffsetCdSavegame) {
        StampaLog("ERROR in TrovaCdForSavegame: not found savegame: " + percorso, true);
        return -1;
    }
    return LeggiValore(dati, OffsetCdSavegame, 1);
}

int32_t LivelloSavegame(const std::string& percorso) {
    int32_t livello = 255;
    bool trovato = false;
    if (IsPathSavegame(percorso, false)) {
        AggiornaCacheSavegame(1000);
        int32_t i = IndiceSavegameCache(CacheSavegame, percorso);
        if (i < 0) {
            StampaLog("ERROR: not found savegame: " + percorso + " in savegame cache", true);
            AggiornaCacheRichiesto = true;
            AggiornaCacheSavegame(0);
            i = IndiceSavegameCache(CacheSavegame, percorso);
        }
        if (i >= 0) {
            livello = LeggiValore(CacheSavegame.Entries[static_cast<size_t>(i)].Bytes, OffsetLivelloSavegame, 1);
            trovato = true;
        }
    }
    if (!trovato) {
        SavegameBin dati;
        if (CaricaSavegameBin(percorso, dati) && dati.size() > OffsetLivelloSavegame)
            livello = LeggiValore(dati, OffsetLivelloSavegame, 1);
    }
    return livello < NumLivelli ? livello : 255;
}

int32_t LivelloUltimoSavegame() {
    int32_t numero = 0;
    std::string descrizione;
    const std::string percorso = UltimoSavegame(numero, descrizione);
    if (percorso.empty()) {
        StampaLog("ERROR: No savegame in trle folder", true);
        return -1;
    }
    return LivelloSavegame(percorso);
}
