#pragma once
// Key macros: timed lists of set-1 scan codes, kept by name for the run and
// sent to the game: by the key-injection driver on 98 and Me, one synthetic
// input at a time on the NT family.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

struct MacroEvent {
    uint8_t Tipo = 0;   // 1 key event, 0 end of the macro
    int32_t Tempo = 0;  // ms: the delay after it while a list is built, its time once stored
    uint8_t Codice = 0; // 0x80 = released; 224 = the extended-key prefix, an event of its own
};

struct MacroCacheEntry {
    std::string Nome;  // compared without regard to case
    std::vector<MacroEvent> Eventi;
    int32_t NumEventi = 0;
    int32_t Durata = 0;
};

extern int32_t NumMacro;
extern std::vector<MacroCacheEntry> MacroCache;
extern uint8_t TabellaScanVk[128];
extern void* HandleDriverTasti;
extern void* EventoDriverTasti;
extern std::string BufferDriverTasti;

constexpr uint8_t PrefissoEsteso = 224;
constexpr int32_t CodiceControlloDriver = 3;
extern const char* const PercorsoDriverTasti;  // "\\.\Vantrek.vxd"

// The scan-code table and, on 98 and Me, the driver and its event.
bool InitSendKeys();
void TerminateSendKeys();

// Stores <conteggio> events with absolute times, an end event added when
// missing; a name already cached is replaced.
bool SalvaMacro(const std::string& nome, int32_t conteggio, const std::vector<MacroEvent>& eventi);
// Stores a list of delays: the first event at 50 ms, each next one after
// the delay of the one before.
bool SaveAdMacro(const std::string& nome, int32_t conteggio, const std::vector<MacroEvent>& eventi);
bool CaricaMacro(const std::string& nome, MacroCacheEntry& entry);
// The driver's buffer: 6 bytes an event (kind, time u32, code), then two
// zero bytes; the macro's length in <info>.
std::string CaricaBufferCodici(const std::string& nome, int32_t& info);
std::string DescriviMacro(const std::string& nome);

// Pairs (scan code, delay ms) sent as "Temp.mcr", each key released after
// its delay when <conRilascio>; waits for the macro's end.
bool InviaCodici(bool conRilascio, const std::vector<std::pair<int32_t, int32_t>>& tasti);
// A cached macro by name.
bool InviaCodici(const std::string& nome);
bool InviaMacroXp(const std::string& nome);

// Builders: each stores its macro and returns the name.
std::string CreateMacroRilascio(int32_t scan, const std::string& nome);
std::string CreateMacroTastoSingolo(int32_t scan, const std::string& nome);
std::string CreateMacroSequenza(const std::string& nome, int32_t scan);
std::string CreateMacroDirection(int32_t scan, int32_t n, const std::string& nome);

// Appends a key event (with its prefix event for an extended key) that
// waits <ritardo> ms before the next one.
void AggiungiEventoTasto(int32_t scan, std::vector<MacroEvent>& eventi, int32_t& conteggio, int32_t ritardo);
// Appends <valore> to the list; with <senzaDoppi> a value already there
// leaves it unchanged.
void AggiungiTastoPremuto(int32_t valore, std::vector<int32_t>& lista, int32_t& conteggio, bool senzaDoppi);
// The keys sent behind the extended-key prefix, tested on the low 7 bits.
bool IsTastoEsteso(int32_t scan);
