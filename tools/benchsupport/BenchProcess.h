#pragma once
// What the benches that run Ludovane.exe as a whole share: the run with its
// processor time read from outside while the game waits, the lines of the
// logs, and the error lines of its own. Header only, so that each bench
// stays one source file.
#include <windows.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "tests/support/TestFolders.h"
#include "tools/benchsupport/BenchScreen.h"

namespace banco {

inline long long MicrosecondiCpu(const FILETIME& kernel, const FILETIME& utente) {
    const auto n = [](const FILETIME& f) {
        return static_cast<long long>((static_cast<unsigned long long>(f.dwHighDateTime) << 32) | f.dwLowDateTime);
    };
    return (n(kernel) + n(utente)) / 10;
}

// Kernel and user time of a process in us; -1 when it cannot be read.
// Wine gives another process's time only thread by thread, so the larger
// of the process's figure and the sum of its threads is taken.
inline long long TempoProcessore(HANDLE processo, DWORD pid) {
    FILETIME creato, finito, kernel, utente;
    if (!GetProcessTimes(processo, &creato, &finito, &kernel, &utente)) return -1;
    const long long delProcesso = MicrosecondiCpu(kernel, utente);
    long long deiThread = 0;
    HANDLE istantanea = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (istantanea == INVALID_HANDLE_VALUE) return delProcesso;
    THREADENTRY32 t{};
    t.dwSize = sizeof t;
    for (BOOL ok = Thread32First(istantanea, &t); ok; ok = Thread32Next(istantanea, &t)) {
        if (t.th32OwnerProcessID != pid) continue;
        HANDLE thread = OpenThread(THREAD_QUERY_INFORMATION, FALSE, t.th32ThreadID);
        if (!thread) continue;
        if (GetThreadTimes(thread, &creato, &finito, &kernel, &utente)) deiThread += MicrosecondiCpu(kernel, utente);
        CloseHandle(thread);
    }
    CloseHandle(istantanea);
    return std::max(delProcesso, deiThread);
}

// The error lines of Ludovane's log, the first ten printed with the lines
// before them, to tell why a run measured nothing or what went wrong; their
// count.
// The lines of a text, without their ends.
inline std::vector<std::string> Righe(const std::string& testo) {
    std::vector<std::string> righe;
    for (size_t i = 0; i < testo.size();) {
        size_t fine = testo.find('\n', i);
        if (fine == std::string::npos) fine = testo.size();
        righe.push_back(testo.substr(i, fine - i));
        if (!righe.back().empty() && righe.back().back() == '\r') righe.back().pop_back();
        i = fine + 1;
    }
    return righe;
}

inline int StampaErrori(const std::string& trle) {
    const std::vector<std::string> righe = Righe(LeggiFileProva(trle + "\\store\\media_log.txt"));
    constexpr size_t Contesto = 4;
    int n = 0;
    for (size_t r = 0; r < righe.size(); ++r) {
        if (righe[r].find("ERROR") == std::string::npos) continue;
        if (++n > 10) continue;
        for (size_t k = r >= Contesto ? r - Contesto : 0; k <= r; ++k)
            std::printf("  log%s %s\n", k == r ? ":" : " ", righe[k].c_str());
    }
    return n;
}

// Ludovane's processor time while the game waited, as percent of one core;
// -1 when it was not measured.
struct Riposo {
    double cpu = -1;
    double cpuMs = 0, secondi = 0, cpuTotaleMs = 0;
};

// Runs Ludovane.exe of <trle> with no options until it ends, or ends it
// after <limite> ms. Once the stand-in's log has the record "idle start",
// reads the processor time over <misura> ms, kept only when "idle end"
// has not come by then. False when it could not start or did not end.
inline bool EseguiLudovane(const std::string& trle, DWORD limite, DWORD misura, Riposo& riposo) {
    const std::string logGioco = trle + "\\gamesim_log.txt";
    DeleteFileA(logGioco.c_str());
    const std::string exe = trle + "\\Ludovane.exe";
    std::string riga = "\"" + exe + "\"";
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessA(exe.c_str(), riga.data(), nullptr, nullptr, FALSE, 0, nullptr, trle.c_str(), &si, &pi)) {
        std::fprintf(stderr, "cannot start %s\n", exe.c_str());
        return false;
    }
    const DWORD inizio = GetTickCount();
    bool misurato = false;
    bool finito = false;
    while (!(finito = WaitForSingleObject(pi.hProcess, 50) == WAIT_OBJECT_0) && GetTickCount() - inizio < limite) {
        if (misurato || LeggiFileProva(logGioco).find(" idle start\n") == std::string::npos) continue;
        misurato = true;
        const long long t0 = Microsecondi(), c0 = TempoProcessore(pi.hProcess, pi.dwProcessId);
        Sleep(misura);
        const long long t1 = Microsecondi(), c1 = TempoProcessore(pi.hProcess, pi.dwProcessId);
        // Only while the game still waited: its end would be counted too.
        const bool inTempo = LeggiFileProva(logGioco).find(" idle end\n") == std::string::npos;
        if (c0 >= 0 && c1 >= 0 && inTempo) {
            riposo.cpu = 100.0 * static_cast<double>(c1 - c0) / static_cast<double>(t1 - t0);
            riposo.cpuMs = static_cast<double>(c1 - c0) / 1000.0;
            riposo.secondi = static_cast<double>(t1 - t0) / 1e6;
            riposo.cpuTotaleMs = static_cast<double>(c1) / 1000.0;
        }
    }
    if (!finito) {
        std::printf("  Ludovane.exe did not end within %lu s\n", static_cast<unsigned long>(limite / 1000));
        TerminateProcess(pi.hProcess, 99);
    }
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return finito;
}

}  // namespace banco
