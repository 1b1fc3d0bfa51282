#include "eventlogger/LoggerLog.h"

#include <cstdio>

#include "core/FileUtils.h"
#include "eventlogger/LoggerProtocol.h"
#include "eventlogger/LoggerState.h"
#include "platform/Clock.h"

std::string LogPath;
bool LogEnabled = false;
bool ExtendedLog = false;
uint32_t TempoBaseLog = 0;

namespace {
std::string buffer;
bool bufferPronto = false;
}  // namespace

std::string StampaLogger(uint32_t tick, uint32_t base) {
    char testo[32];
    std::snprintf(testo, sizeof testo, "%7ld: ", static_cast<long>(static_cast<int32_t>(tick - base)));
    return testo;
}

void InitLoggerLog(const std::string& cartella) {
    buffer.clear();
    buffer.reserve(DimensioneBufferLog);
    bufferPronto = true;
    LogEnabled = true;
    LogPath = cartella + "\\tomb4_log.txt";
    std::remove(LogPath.c_str());
}

void AppendToLogFile(const std::string& testo) {
    if (LogPath.empty()) return;
    FILE* f = ApriFile(LogPath, "ab");
    if (!f) return;
    std::fwrite(testo.data(), 1, testo.size(), f);
    std::fclose(f);
}

void FlushLogBuffer() {
    if (!bufferPronto) return;
    AppendToLogFile("\tLOGGER: ---------------- Write buffer log on disk -----------------\r\n" + buffer);
    buffer.clear();
}

void LogWrite(const std::string& testo, bool rigaLogger) {
    if (!bufferPronto || !LogEnabled) return;
    if (buffer.size() + MargineBufferLog >= DimensioneBufferLog) FlushLogBuffer();
    char stampa[32];
    std::snprintf(stampa, sizeof stampa, "%7ld: ", static_cast<long>(static_cast<int32_t>(ClockTick() - TempoBaseLog)));
    if (rigaLogger) buffer += '\t';
    buffer += stampa;
    if (rigaLogger) buffer += "LOGGER: ";
    buffer += testo;
    buffer += "\r\n";
    // Once the first real level has loaded the log stops, unless asked for.
    if (!ExtendedLog && StatoCorrente.Livello != NessunValore && StatoCorrente.Livello != 0 &&
        !HaFase(StatoCorrente.Fasi, LoggerFase::LoadingLevel)) {
        FlushLogBuffer();
        AppendToLogFile(
            "\tLOGGER: Reached end loading of first level different than title. Suspend logging operations\r\n");
        LogEnabled = false;
    }
}

void FreeLoggerLog() {
    buffer.clear();
    buffer.shrink_to_fit();
    bufferPronto = false;
}
