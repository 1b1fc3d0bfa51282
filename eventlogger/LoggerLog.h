#pragma once
// The logger's own log, tomb4_log.txt: lines stamped against the main
// program's log start, held in memory and appended to the file in blocks.
#include <cstdint>
#include <string>

extern std::string LogPath;
extern bool LogEnabled;
extern bool ExtendedLog;
extern uint32_t TempoBaseLog;

constexpr size_t DimensioneBufferLog = 10000;
constexpr size_t MargineBufferLog = 300;

// Prepares the buffer and forgets the previous file of <cartella>.
void InitLoggerLog(const std::string& cartella);
// A game line (the stamp and the text) or a logger line (a tab, the stamp,
// "LOGGER: " and the text); both end with CR LF.
void LogWrite(const std::string& testo, bool rigaLogger = true);
void FlushLogBuffer();
// Straight to the file, past the buffer; a file that cannot be opened is skipped.
void AppendToLogFile(const std::string& testo);
void FreeLoggerLog();

// "<7-character signed ms>: "
std::string StampaLogger(uint32_t tick, uint32_t base);
