#include "core/MediaLog.h"

#include <cstdio>
#include <set>

#include "core/FileUtils.h"
#include "core/MediaTrigger.h"
#include "core/SharedState.h"
#include "core/SystemUtils.h"
#include "core/Utf8Text.h"
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
bool AvvisoLogNonScrivibile = false;
std::vector<std::string> RigheErroreLog;

namespace {
int64_t AccodaConStdio(const std::string& percorso, const std::string& dati) {
    std::FILE* f = std::fopen(percorso.c_str(), "ab");
    if (!f) return -1;
    // Unbuffered, so that the count is what reached the file.
    std::setvbuf(f, nullptr, _IONBF, 0);
    const size_t scritti = std::fwrite(dati.data(), 1, dati.size(), f);
    std::fclose(f);
    return static_cast<int64_t>(scritti);
}

// The last write of the buffer failed: the buffer is kept within its limit.
bool ScritturaLogFallita = false;

// Past the limit the oldest whole lines go, down to three quarters of it,
// so that the lines that follow do not each move the whole buffer.
void LimitaBufferLog() {
    if (BufferLog.size() <= MassimoBufferLog) return;
    const size_t tenuti = MassimoBufferLog / 4 * 3;
    const size_t fine = BufferLog.find("\r\n", BufferLog.size() - tenuti);
    BufferLog.erase(0, fine == std::string::npos ? BufferLog.size() - tenuti : fine + 2);
}
}  // namespace

int64_t (*AccodaFileLog)(const std::string& percorso, const std::string& dati) = AccodaConStdio;

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
    ScritturaLogFallita = false;
    RigheErroreLog.clear();
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

namespace {
void ScriviRigaLog(const std::string& testo, bool errore, bool box) {
    if (!errore && !LogAbilitato) return;
    if (errore) {
        ErroreLoggato = true;
        ++NumErroriLog;
        if (RigheErroreLog.size() < MassimoRigheErroreLog) RigheErroreLog.push_back(testo);
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
    if (ScritturaLogFallita) LimitaBufferLog();

    if (box && errore && ProcessoGioco.hProcess == nullptr) Messaggio(testo, StileErroreCritico, "");
    if (tabNegativo) ScriviRigaLog("ERROR: in StampaLog() function tabultator was negative", true, box);
    ScriviBufferLog(false);
}
}  // namespace

void StampaLog(const std::string& testo, bool errore) { ScriviRigaLog(testo, errore, true); }

void RiportaRigheErrore(std::vector<std::string> righe) {
    for (const std::string& riga : righe) ScriviRigaLog(riga, true, false);
}

bool RigaErrore(const std::string& testo) {
    UltimoErrore = testo;
    StampaLog(testo, true);
    return false;
}

bool RigaErroreUtf8(const std::string& testo) { return RigaErrore(AnsiDaUtf8(testo)); }

void CambiaTabulatoreLog(int32_t passo) { LivelloTab += passo; }

bool ScriviBufferLog(bool forza) {
    if (BufferLog.empty()) return true;
    // While the log is off only error lines are kept; they reach the file
    // on a forced write, so that a copy made for an error holds it.
    if (!LogAbilitato && !forza) return true;
    if (!forza && ClockTick() - TickUltimaScritturaLog < IntervalloScritturaLog) return true;
    const int64_t scritti = AccodaFileLog(PercorsoFileLog, BufferLog);
    // What reached the file leaves the buffer, so that no line is written twice.
    if (scritti > 0) BufferLog.erase(0, static_cast<size_t>(scritti));
    ScritturaLogFallita = !BufferLog.empty();
    if (!ScritturaLogFallita) {
        TickUltimaScritturaLog = ClockTick();
        return true;
    }
    LimitaBufferLog();
    // One box for the whole process; while the game runs no box is shown.
    if (!AvvisoLogNonScrivibile && ProcessoGioco.hProcess == nullptr) {
        AvvisoLogNonScrivibile = true;
        Messaggio("The log file cannot be written: " + PercorsoFileLog, StileAttenzione, "");
    }
    return false;
}

void CopiaLogNumerato() {
    ScriviBufferLog(true);
    const std::string base = NellaCartella(PercorsoStore, NomeSenzaEstensione(PercorsoFileLog));
    int32_t n = 1;
    while (EsisteFile(base + std::to_string(n) + ".txt")) ++n;
    NumeroCopiaLog = n;
    PercorsoCopiaLog = base + std::to_string(n) + ".txt";
    CopiaFile(PercorsoFileLog, PercorsoCopiaLog);
}

void StampaNonCostruito(const char* routine) {
    static std::set<std::string> detti;
    // A line the log drops is not said: it is said once the log is on.
    if (!LogAbilitato) return;
    if (detti.insert(routine).second) StampaLog(std::string(routine) + ": not performed yet");
}
