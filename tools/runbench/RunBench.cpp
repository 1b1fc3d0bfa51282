// Times the two waits of a whole run that the player sees around the game:
// from Ludovane.exe's start to the game's process start, and from the
// game's exit to Ludovane.exe's exit.
//
// Usage: RunBench [runs]   (default 5)
// It builds a game folder under the temporary folder (the stand-in as
// tomb4.exe, script.dat, a language file, media.mcf, a cached video list in
// the store folder), runs Ludovane.exe there with no options as a player's
// double-click does, and reads the game's start and end from the
// stand-in's log: both sides use the performance counter, one clock for
// every process. The game's registry key is given back afterwards. Prints
// each run and min/median/max; exit code 0 when every run played the game.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/support/GameFolder.h"
#include "tests/support/TestFolders.h"
#include "tests/support/TestRegistry.h"

namespace {

long long Microsecondi() {
    LARGE_INTEGER f, t;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&t);
    return t.QuadPart / f.QuadPart * 1000000LL + t.QuadPart % f.QuadPart * 1000000LL / f.QuadPart;
}

// The stand-in's "<quando> clock <us> us" line, or -1.
long long Orologio(const std::string& log, const std::string& quando) {
    const std::string chiave = quando + " clock ";
    size_t i = log.rfind(chiave, 0) == 0 ? 0 : log.find("\n" + chiave);
    if (i == std::string::npos) return -1;
    if (log[i] == '\n') ++i;
    return std::strtoll(log.c_str() + i + chiave.size(), nullptr, 10);
}

void Riassunto(const char* nome, std::vector<double> v) {
    if (v.empty()) {
        std::printf("%-34s no figures\n", nome);
        return;
    }
    std::sort(v.begin(), v.end());
    std::printf("%-34s min %8.1f  median %8.1f  max %8.1f ms\n", nome, v.front(), v[v.size() / 2], v.back());
}

}  // namespace

int main(int argc, char** argv) {
    const int giri = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    const std::string programmi = CartellaProgrammi();
    ChiaveGiocoSalvata chiave;
    ScriviRegistroDelGioco(ChiaveGiocoRegistro);

    CartellaProva trle("runbench");
    OpzioniCartellaGioco opzioni;
    opzioni.scriptGioco = "boot 1024 768\nload title.tr4 50\ncd 97\nquit\n";
    std::string errore;
    if (!CostruisciCartellaGioco(trle.Percorso(), programmi, opzioni, errore)) {
        std::fprintf(stderr, "RunBench: %s\n", errore.c_str());
        return 2;
    }
    std::printf("game folder %s, %d runs\n", trle.Percorso().c_str(), giri);

    std::vector<double> avvio, fine;
    bool tutti = true;
    for (int giro = 1; giro <= giri; ++giro) {
        DeleteFileA((trle / "gamesim_log.txt").c_str());
        const std::string exe = trle / "Ludovane.exe";
        std::string riga = "\"" + exe + "\"";
        STARTUPINFOA si{};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi{};
        const long long t0 = Microsecondi();
        if (!CreateProcessA(exe.c_str(), riga.data(), nullptr, nullptr, FALSE, 0, nullptr, trle.Percorso().c_str(),
                            &si, &pi)) {
            std::fprintf(stderr, "RunBench: cannot start %s\n", exe.c_str());
            return 2;
        }
        const bool finito = WaitForSingleObject(pi.hProcess, 120000) == WAIT_OBJECT_0;
        const long long t1 = Microsecondi();
        if (!finito) TerminateProcess(pi.hProcess, 99);
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);

        const std::string log = LeggiFileProva(trle / "gamesim_log.txt");
        const long long inizioGioco = Orologio(log, "start");
        const long long fineGioco = Orologio(log, "end");
        if (!finito || inizioGioco < 0 || fineGioco < 0) {
            std::printf("run %d: %s\n", giro,
                        !finito ? "Ludovane.exe did not end within 120 s" : "the game did not start");
            tutti = false;
            continue;
        }
        avvio.push_back((inizioGioco - t0) / 1000.0);
        fine.push_back((t1 - fineGioco) / 1000.0);
        std::printf("run %d: start to game %8.1f ms, game end to end %8.1f ms\n", giro, avvio.back(), fine.back());
    }
    Riassunto("Ludovane start -> game start", avvio);
    Riassunto("game exit -> Ludovane exit", fine);
    return tutti ? 0 : 1;
}
