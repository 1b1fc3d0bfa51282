#pragma once
// The savegames of the game folder held in memory, read by the media, the
// guardian and the save and load operations instead of the files.
#include <array>
#include <cstdint>
#include <string>

#include "runservices/RunState.h"
#include "savegames/SavegameValues.h"

constexpr int32_t MaxSavegameCache = 16;

struct SavegameCacheEntry {
    SavegameBin Bytes;
    std::string Path;
    // The program changed the image after it was read from the file: the
    // end of the run writes it back.
    bool ModificataDaSistema = false;
};

struct SavegameCache {
    uint32_t LastUpdateTick = 0;
    int32_t Count = 0;
    int32_t LastMaxInternalNumber = 0;
    std::array<SavegameCacheEntry, MaxSavegameCache> Entries;
};

// The live cache.
extern SavegameCache CacheSavegame;
// Its refresh flag, AggiornaCacheRichiesto, is the run state's: the logger
// client below the savegames raises it.
// Set by every refresh; the guardian reads and clears it.
extern bool CacheAggiornata;

// Rereads the slot files of the game folder when the cache is older than
// <intervallo> ms or, with the logger, only when a refresh was requested.
void AggiornaCacheSavegame(int32_t intervallo);
// Stores an image for a path, replacing the entry of that path or adding
// one; the entry is marked as changed by the program, unless <suDisco>
// tells that the file already holds it.
bool InserisciSavegameCache(const std::string& percorso, const SavegameBin& immagine, bool suDisco = false);
// The cached image of a path; the file when the path is not cached.
bool LeggiSavegameCache(const std::string& percorso, SavegameBin& immagine);
// Writes the cached image of one path to its file.
bool SalvaSavegameDaCache(const std::string& percorso);
// True when the program changed the cached image of a path since it was read
// from its file.
bool SavegameCambiatoInCache(const std::string& percorso);
// Writes the cache back to the game folder. <intera> (a deliberate restore
// of a backup or of the normalised slots) makes the folder hold exactly the
// cached savegames, deleting the other slot files; otherwise only the
// entries the program changed are written and no file is deleted, so that
// a save the game made since the last refresh is kept.
bool ScriviCacheSavegame(bool intera = false);

// The newest savegame of the game folder: its path ("" none), its number
// (-1 with no savegame, 0 when none has a number above 0) and its
// description for the log. The number is the game's save counter.
std::string UltimoSavegame(int32_t& numero, std::string& descrizione, bool forzaAggiornamento = false);
// The CD track stored in a savegame; -1 when it is missing.
int32_t TrovaCdForSavegame(const std::string& percorso);
// The level stored in a savegame; 255 when it is not a level of script.dat.
int32_t LivelloSavegame(const std::string& percorso);
// The level of the newest savegame; -1 with none.
int32_t LivelloUltimoSavegame();

// The savegame an equipment or check media works on, for the commands of
// EquipmentHeader: the newest one's path, number and description. With
// none, True when a command needs a savegame; <primoSlot> then tells that a
// restore of a whole backup makes it, in slot 0, whose path it gives.
bool TrovaSavegameEquip(std::string& percorso, int32_t& numero, bool& primoSlot, std::string& descrizione);

// The index of the cached entry with the highest number above 0 (the first
// of equals); -1 when none.
int32_t IndiceSavegamePiuRecente(const SavegameCache& cache);
// The index of a path among the valid entries, without regard to case; -1.
int32_t IndiceSavegameCache(const SavegameCache& cache, const std::string& percorso);
