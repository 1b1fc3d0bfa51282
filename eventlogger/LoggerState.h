#pragma once
// The game state as the logger sees it: the fragments of the game's debug
// messages, the record cache and its copy into "SWAPMEDIADAT". No Windows
// header: the program's window code hands the views in.
#include <cstdint>
#include <string>
#include <vector>

#include "eventlogger/LoggerProtocol.h"

extern LoggerStructure StatoCorrente;
extern LoggerStructure StatoPrecedente;
extern bool WindowedModePending;
extern bool QuitPending;
extern int32_t LastOffset;
extern std::vector<std::string> NomiLivelli;

// The "SWAPMEDIADAT" view the records go to (none until mapped).
extern SwapMediaView* VistaMedia;
// Posts the quit message; set by the window code.
extern void (*RichiediUscita)();

constexpr int DimensioneCache = 100;
struct StructureCache {
    LoggerStructure Record[DimensioneCache];
    int Count = 0;
    int Lettura = 0;
    int Scrittura = 0;
};
extern StructureCache Cache;
extern bool CachePronta;

constexpr int NumeroFrammenti = 17;
extern const char* const TabellaFrammenti[NumeroFrammenti];

// Logger.bin of <cartella> into NomiLivelli and TempoBaseLog; False after
// its error line when the file is missing or damaged.
bool LeggiFileLivelli(const std::string& cartella);
// Resets the state, the cache and the offsets to their start values.
void InitLoggerState();
// 1..17, or 0 when no fragment occurs; <argomento> gets the fragment's argument.
int FindTombFragment(const std::string& messaggio, std::string& argomento);
void ParseTombMessage(const std::string& messaggio);
void PushStructure();
void SendStructures();
// Posts the quit once the game's last record has left the cache.
void VerificaUscitaPendente();
// The game's WM_NULL: reads the messages that end before <fine> in the
// debug-log view of <dimensione> bytes.
void LeggiMessaggiTomb(const char* vista, uint32_t dimensione, uint32_t fine);
