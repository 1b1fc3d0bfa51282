// Plays the main program toward the logger: writes Logger.bin and starts
// Scrivane through the logger client, starts the game (tomb4.exe in its own
// folder), hands the game's handle to the logger, and every 50 ms takes the
// next CD track from the client's buffer, until the game ends. Then it
// flushes and closes the logger as the end of a run does.
//
// Its folder holds levels.txt (one level file path per line) and receives
// harness.txt (the tracks handed out and the final state); the client's
// log goes to store\media_log.txt. Arguments: -L asks for the logger's
// extended log.
#include <windows.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "core/MediaConfig.h"
#include "core/MediaLog.h"
#include "gamerun/Startup.h"
#include "runservices/LoggerClient.h"
#include "runservices/RunState.h"
#include "platform/Clock.h"
#include "platform/Forms.h"

namespace {
FILE* uscita = nullptr;
void Scrivi(const std::string& riga) {
    std::fprintf(uscita, "%s\n", riga.c_str());
    std::fflush(uscita);
}
}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR rigaComando, int) {
    char percorso[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, percorso, MAX_PATH);
    std::string cartella = percorso;
    cartella = cartella.substr(0, cartella.find_last_of('\\'));
    uscita = std::fopen((cartella + "\\harness.txt").c_str(), "wb");
    if (!uscita) return 2;

    // The logger client reaches the run's control (Alt+Enter, inventory) as in the program.
    CollegaServiziRun();
    AzzeraStatoRun();
    AzzeraLoggerClient();
    CartellaTrle = cartella;
    HeaderMcf.CartellaMcf = cartella;
    PercorsoStore = cartella + "\\store";
    SistemaNT = true;
    LogAbilitato = true;
    InitMediaLog();
    LogFileRichiesto = std::string(rigaComando).find("-L") != std::string::npos;
    std::ifstream livelli(cartella + "\\levels.txt");
    for (std::string riga; std::getline(livelli, riga);) {
        if (!riga.empty() && riga.back() == '\r') riga.pop_back();
        if (!riga.empty()) FileLivelli.push_back(cartella + "\\" + riga);
    }
    NumLivelli = static_cast<int32_t>(FileLivelli.size());

    AvviaScrivane();
    Scrivi(std::string("logger ") + (LoggerAttivo() ? "in use" : "not in use"));

    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    const std::string gioco = cartella + "\\tomb4.exe";
    std::string riga = "\"" + gioco + "\"";
    if (!CreateProcessA(gioco.c_str(), riga.data(), nullptr, nullptr, FALSE, 0, nullptr, cartella.c_str(), &si, &pi)) {
        Scrivi("game not started");
        return 3;
    }
    CloseHandle(pi.hThread);
    ProcessoGioco.hProcess = pi.hProcess;
    ProcessoGioco.dwProcessId = pi.dwProcessId;
    TickAvvioGioco = static_cast<int32_t>(ClockTick());
    if (LoggerAttivo()) {
        HANDLE copia = nullptr;
        if (DuplicateHandle(GetCurrentProcess(), pi.hProcess, hProcessLogger, &copia, 0, TRUE, DUPLICATE_SAME_ACCESS))
            InviaComandoLogger(CmdTombProcessHandle, reinterpret_cast<intptr_t>(copia));
    }

    int32_t ultimo = -1;
    for (;;) {
        // The client may have closed the game itself (ChiudiGioco).
        const bool finito =
            ProcessoGioco.hProcess == nullptr || WaitForSingleObject(ProcessoGioco.hProcess, 0) == WAIT_OBJECT_0;
        // Everything the logger announced is taken before the end is noticed.
        for (;;) {
            const int32_t cd = GetActiveCDFromBuffer();
            if (cd != -1 && cd != ultimo) Scrivi("cd " + std::to_string(cd));
            if (cd != -1) ultimo = cd;
            if (TotCdBuffer == 0) break;
        }
        if (finito) break;
        DoEvents();
        Sleep(50);
    }
    Scrivi(std::string("end ") + (LoggerAttivo() ? "logger in use" : "logger left") +
           (FineGiocoSegnalata ? ", game end reported" : "") + (LoggerChiuso ? ", logger closed" : ""));
    Scrivi("last " + TestoStrutturaLogger().substr(8));
    if (HaBit(ModificheAvvio, FlagSuoniLogger)) {
        InviaComandoLogger(CmdWriteLog, 0);
        ChiudiLogger();
    }
    if (ProcessoGioco.hProcess) CloseHandle(ProcessoGioco.hProcess);
    AzzeraLoggerClient();
    ProcessoGioco.hProcess = reinterpret_cast<void*>(1);
    ScriviBufferLog(true);
    std::fclose(uscita);
    return 0;
}
