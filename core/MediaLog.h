#pragma once
// The program's log: time-stamped, indented lines collected in a buffer and
// appended to media_log.txt in the store folder at most every 2000 ms.
#include <cstdint>
#include <string>
#include <vector>

extern bool LogAbilitato;
extern bool LogFileRichiesto;
extern std::string PercorsoFileLog;
extern int32_t LivelloTab;
extern uint32_t TickInizioLog;
extern bool ErroreLoggato;
extern int32_t NumErroriLog;
extern std::string BufferLog;
extern std::string BufferLogCaricamento;
extern uint32_t TickUltimaScritturaLog;
extern int32_t NumeroCopiaLog;
extern std::string PercorsoCopiaLog;

constexpr uint32_t IntervalloScritturaLog = 2000;
// The most the buffer keeps, its newest lines, while the file cannot be
// written.
constexpr size_t MassimoBufferLog = 1u << 20;
// The user has been told once that the log file cannot be written.
extern bool AvvisoLogNonScrivibile;
// Appends <dati> to the file: the bytes that reached it, which may be fewer,
// or -1 when it cannot be opened. Tests put a writer of their own here.
extern int64_t (*AccodaFileLog)(const std::string& percorso, const std::string& dati);

void InitMediaLog();
// The texts of the error lines since the log was started (the first
// MassimoRigheErroreLog), so that a restart of the log can carry them over.
extern std::vector<std::string> RigheErroreLog;
constexpr size_t MassimoRigheErroreLog = 100;
// Writes them again into a restarted log: counted as errors, without a box,
// since the user has seen each once.
void RiportaRigheErrore(std::vector<std::string> righe);
// One line, the first time a routine that is not built yet is asked for
// while the log is on: "<routine>: not performed yet".
void StampaNonCostruito(const char* routine);
void StampaLog(const std::string& testo, bool errore = false);
void CambiaTabulatoreLog(int32_t passo);
// A failure of a loader, writer or parser: the text goes to UltimoErrore and
// is written as an error line; False, for the caller to return. The text is
// ANSI, as every log line.
bool RigaErrore(const std::string& testo);
// The same for a text in UTF-8 (paths and names of the packet, texts of a
// level author).
bool RigaErroreUtf8(const std::string& testo);
// False when the file could not be written; the buffer is then kept.
bool ScriviBufferLog(bool forza);

// Keeps the log of a run as the first free media_log<N>.txt of the store folder.
void CopiaLogNumerato();

// The stamp of a line: elapsed seconds with three decimals, right-aligned in
// six characters.
std::string StampaTempoLog(int32_t millisecondi, char separatoreDecimale);
