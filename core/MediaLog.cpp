#include "core/MediaLog.h"

#include <cstdio>

#include "core/FileUtils.h"
#include "core/SystemUtils.h"
#include "gamerun/RunState.h"
#include "platform/Clock.h"

bool LogAbilitato = false;
bool LogFileRichiesto = false;
std::string PercorsoFileLog;
int32_t LivelloTab = 0;
uint32_t TickInizioLog = 0;
bool ErroreLoggato = false;
int32_t NumErroriLog = 0;
std::string BufferLog;
std::string BufferLogCaricamento;
uint32_t TickUltimaScritturaLog = 0;
int32_t NumeroCopiaLog = 0;
std::string PercorsoCopiaLog;

void InitMediaLog() {
    PercorsoFileLog = PercorsoStore + "\\media_log.txt";
    CancellaFile(PercorsoFileLog);
    LivelloTab = 0;
    BufferLog.clear();
    BufferLogCaricamento.clear();
    LogFileRichiesto = LogAbilitato;
    TickInizioLog = ClockTick();
    TickUltimaScritturaLog = TickInizioLog;
    ErroreLoggato = false;
    NumErroriLog = 0;
}

std::string StampaTempoLog(int32_t millisecondi, char separatoreDecimale) {
    const int64_t ms = millisecondi;
    const int64_t assoluto = ms < 0 ? -ms : ms;
    char cifre[32];
    std::snprintf(cifre, sizeof cifre, "%s%lld%c%03lld", ms < 0 ? "-" : "",
                  static_cast<long long>(assoluto / 1000), separatoreDecimale,
                  static_cast<long long>(assoluto % 1000));
    std::string stampa = cifre;
    if (stampa.size() < 6) stampa.insert(0, 6 - stampa.size(), ' ');
    return stampa;
}

void StampaLog(const std::string& testo, bool errore) {
    if (!errore && !LogAbilitato) return;
    if (errore) {
        ErroreLoggato = true;
        ++NumErroriLog;
    }
    const auto trascorsi = static_cast<int32_t>(ClockTick() - TickInizioLog);
    const std::string stampa = StampaTempoLog(trascorsi, SeparatoreDecimale());

    const bool tabNegativo = LivelloTab < 0;
    if (tabNegativo) LivelloTab = 0;
    const std::string tab(static_cast<size_t>(LivelloTab), '\t');
    const std::string continuazione = std::string(stampa.size(), '.') + ":  " + tab;

    std::string corpo;
    corpo.reserve(testo.size());
    for (size_t i = 0; i < testo.size(); ++i) {
        corpo += testo[i];
        if (testo[i] == '\r' && i + 1 < testo.size() && testo[i + 1] == '\n') {
            corpo += '\n';
            ++i;
            corpo += continuazione;
        }
    }
    BufferLog += stampa + ":  " + tab + corpo + "\r\n";

    if (errore && ProcessoGioco.hProcess == nullptr) Messaggio(testo, StileErroreCritico, "");
    if (tabNegativo) StampaLog("ERROR: in StampaLog() function tabultator was negative", true);
    ScriviBufferLog(false);
}

void CambiaTabulatoreLog(int32_t passo) { LivelloTab += passo; }

bool ScriviBufferLog(bool forza) {
    if (BufferLog.empty()) return true;
    // While the log is off only error lines are kept; they reach the file
    // on a forced write, so that a copy made for an error holds it.
    if (!LogAbilitato && !forza) return true;
    if (!forza && ClockTick() - TickUltimaScritturaLog < IntervalloScritturaLog) return true;
    std::FILE* f = std::fopen(PercorsoFileLog.c_str(), "ab");
    if (!f) return false;
    const bool scritto = std::fwrite(BufferLog.data(), 1, BufferLog.size(), f) == BufferLog.size();
    const bool chiuso = std::fclose(f) == 0;
    if (!scritto || !chiuso) return false;
    BufferLog.clear();
    TickUltimaScritturaLog = ClockTick();
    return true;
}

void CopiaLogNumerato() {
    ScriviBufferLog(true);
    const std::string base = PercorsoStore + "\\" + NomeSenzaEstensione(PercorsoFileLog);
    int32_t n = 1;
    while (EsisteFile(base + std::to_string(n) + ".txt")) ++n;
    NumeroCopiaLog = n;
    PercorsoCopiaLog = base + std::to_string(n) + ".txt";
    CopiaFile(PercorsoFileLog, PercorsoCopiaLog);
}
