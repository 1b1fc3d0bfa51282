// Times the trigger loop of a whole run for a level with 5 and with 1000
// triggers, on both roads of a run: with the logger (a game whose built-in
// fixes are in place) and without it (an executable whose fixes cannot be
// recognised, the road of most players on the NT family): from the game's
// start of a CD track to the start of the trigger's performer, and the
// processor time Ludovane.exe spends while the game stands in a level with
// nothing to do.
//
// Usage: LoopBench [--dry] [--logger | --nologger] [events]
//        (default both roads, 24 events, at least 20)
// It builds a game folder under the temporary folder as RunBench does, with
// a windowed (shared mode) level whose triggers are texts over the game on
// the tracks the game starts, and runs Ludovane.exe there with no options.
// A text needs the game's stand-by, which hides the game's window in shared
// mode just before the performer starts: the stand-in's "window hidden
// clock" line is that start, and its "cd <n> clock" line the game's event,
// both on the performance counter, one clock for every process. The other
// triggers of the level wait on tracks that never play. The processor time
// is read with GetProcessTimes over 20 s in which the stand-in only waits
// (the system counts it in steps of 10 ms).
// --dry builds the folders and prints the configuration and the script
// without running. The game's registry key is given back afterwards.
// Exit code 0 when every event and every idle figure was measured and no
// run wrote an ERROR line to its log.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "tests/support/GameFolder.h"
#include "tests/support/TestFolders.h"
#include "tests/support/TestRegistry.h"
#include "tools/benchsupport/BenchProcess.h"

namespace {

constexpr int PrimaTracciaEvento = 10;
constexpr int TracceEvento = 5;
constexpr int PrimaTracciaMuta = 100;
constexpr int TracceMute = 100;
constexpr DWORD IntervalloEventi = 1500;
constexpr DWORD MisuraRiposo = 20000;

int TracciaEvento(int evento) { return PrimaTracciaEvento + evento % TracceEvento; }

std::string Trigger(int traccia, int codice) {
    return "[Trigger]\r\nTypeFlags=0x80\r\nColor=0xFFFFFF\r\nBoundRect=100:700:900:950\r\nText=<TEXT>Track " +
           std::to_string(traccia) + "<END_TEXT>\r\nTriggerCd=" + std::to_string(traccia) +
           "\r\nDuration=1\r\nMediaCode=" + std::to_string(codice) + "\r\nLevel=1\r\n";
}

// A shared-mode level: one trigger on each track of the events, the rest on
// tracks that never play. The stand-in holds none of the game's bytes that
// the built-in fixes look for: on the logger's road the level says its
// executable has them (TombExePatched), so that the run follows the game
// through the logger as on a patched game; on the other road the fixes find
// the executable unrecognised and the run goes on without the logger.
std::string DescrizioneLivello(int triggers, bool logger) {
    std::string d = std::string("Version=VER1.5\r\nHeaderOptions=") + (logger ? "0x1800" : "0x1000") +
                    "\r\nVideoMode=3\r\nHeaderText=Loop bench\r\n";
    for (int i = 0; i < triggers; ++i)
        d += Trigger(i < TracceEvento ? PrimaTracciaEvento + i : PrimaTracciaMuta + i % TracceMute, i + 1);
    return d;
}

std::string ScriptGioco(int eventi) {
    std::string s = "boot 1024 768\nload title.tr4 300\ncd 97\nwait 1500\nload level1.tr4 300\ncd 3\nwait 3000\n";
    for (int e = 0; e < eventi; ++e)
        s += "cd " + std::to_string(TracciaEvento(e)) + "\nwait " + std::to_string(IntervalloEventi) + "\n";
    // The idle level: the bench measures while the game waits between the marks.
    return s + "wait 2000\nwrite idle start\nwait " + std::to_string(MisuraRiposo + 2000) + "\nwrite idle end\nquit\n";
}

bool CostruisciCartella(const std::string& trle, int triggers, bool logger, int eventi, std::string& errore) {
    const std::string programmi = CartellaProgrammi();
    OpzioniCartellaGioco opzioni;
    opzioni.condiviso = true;
    opzioni.scriptGioco = ScriptGioco(eventi);
    if (!CostruisciCartellaGioco(trle, programmi, opzioni, errore)) return false;
    std::vector<int> tracce;
    for (int i = 0; i < TracceEvento; ++i) tracce.push_back(PrimaTracciaEvento + i);
    for (int i = 0; i < TracceMute; ++i) tracce.push_back(PrimaTracciaMuta + i);
    for (int t : tracce) {
        char nome[32];
        std::snprintf(nome, sizeof nome, "\\audio\\%03d.wav", t);
        if (!ScriviFileProva(trle + nome, WavVuoto())) {
            errore = std::string("cannot write ") + nome;
            return false;
        }
    }
    if (!ScriviMcfDaDescrizione(programmi, trle, DescrizioneLivello(triggers, logger), trle + "\\media.mcf")) {
        errore = "McfWriter failed on the level's description";
        return false;
    }
    return true;
}

struct Evento {
    int traccia = 0;
    long long cd = -1;
    long long nascosta = -1;
};

// The events of the stand-in's log: each start of a trigger's track, with
// the first hiding of the game window after it and before the next track.
std::vector<Evento> EventiDelLog(const std::string& log) {
    std::vector<Evento> eventi;
    for (const std::string& riga : banco::Righe(log)) {
        int traccia = 0;
        long long us = 0;
        if (std::sscanf(riga.c_str(), "cd %d clock %lld us", &traccia, &us) == 2) {
            // Other tracks (the title's, the level's first) only close the event before.
            const bool evento = traccia >= PrimaTracciaEvento && traccia < PrimaTracciaEvento + TracceEvento;
            eventi.push_back({evento ? traccia : 0, us, -1});
        } else if (std::sscanf(riga.c_str(), "window hidden clock %lld us", &us) == 1) {
            if (!eventi.empty() && eventi.back().nascosta < 0) eventi.back().nascosta = us;
        } else if (riga.find("WinClose") != std::string::npos) {
            break;
        }
    }
    eventi.erase(std::remove_if(eventi.begin(), eventi.end(), [](const Evento& e) { return e.traccia == 0; }),
                 eventi.end());
    // A hiding after an event whose own never came may be that one's, late.
    for (size_t k = eventi.size(); k-- > 1;)
        if (eventi[k - 1].nascosta < 0) eventi[k].nascosta = -1;
    return eventi;
}

struct Esito {
    std::vector<double> latenze;
    int mancati = 0;
    int nelLog = 0;  // events the game reached
    int errori = 0;  // ERROR lines of Ludovane's log
    bool logger = false;  // the run followed the game through the logger
    double cpu = -1;  // % of one core while idle
    double cpuMs = 0, secondi = 0, cpuTotaleMs = 0;
};

bool Misura(const std::string& trle, int eventi, Esito& esito) {
    const DWORD limite = 90000 + static_cast<DWORD>(eventi) * IntervalloEventi + MisuraRiposo;
    banco::Riposo riposo;
    const bool finito = banco::EseguiLudovane(trle, limite, MisuraRiposo, riposo);
    esito.cpu = riposo.cpu;
    esito.cpuMs = riposo.cpuMs;
    esito.secondi = riposo.secondi;
    esito.cpuTotaleMs = riposo.cpuTotaleMs;

    const std::string log = LeggiFileProva(trle + "\\gamesim_log.txt");
    // The game's stand-by hides its window only in shared mode.
    if (log.find("\nstart windowed\n") == std::string::npos) std::printf("  the game did not start windowed\n");
    const std::vector<Evento> visti = EventiDelLog(log);
    esito.nelLog = static_cast<int>(visti.size());
    for (const Evento& e : visti)
        if (e.nascosta >= 0) esito.latenze.push_back(static_cast<double>(e.nascosta - e.cd) / 1000.0);
    // Events without a performer, and those the game never reached.
    esito.mancati = eventi - static_cast<int>(esito.latenze.size());
    esito.errori = banco::StampaErrori(trle);
    const std::string registro = LeggiFileProva(trle + "\\store\\media_log.txt");
    esito.logger = registro.find("Found window handle of logger program") != std::string::npos &&
                   registro.find("Disable usage of logger functions") == std::string::npos;
    return finito;
}

void Riassunto(int triggers, bool logger, int eventi, Esito esito) {
    std::printf("%-9s triggers %4d: ", logger ? "logger" : "no logger", triggers);
    if (esito.latenze.empty()) {
        std::printf("no performer started on %d events (%d in the game's log)", eventi, esito.nelLog);
    } else {
        std::vector<double>& v = esito.latenze;
        std::sort(v.begin(), v.end());
        const size_t p95 = (v.size() * 95 + 99) / 100 - 1;
        std::printf("cd -> performer over %zu events: median %7.1f  p95 %7.1f  max %7.1f ms", v.size(), v[v.size() / 2],
                    v[p95], v.back());
        if (esito.mancati) std::printf(" (%d events without performer)", esito.mancati);
    }
    if (esito.cpu >= 0)
        std::printf("; idle CPU %5.2f %% of one core (%.0f ms in %.1f s; %.0f ms since its start)\n", esito.cpu,
                    esito.cpuMs, esito.secondi, esito.cpuTotaleMs);
    else
        std::printf("; idle CPU not measured\n");
    if (esito.logger != logger)
        std::printf("  the run went %s the logger\n", esito.logger ? "through" : "without");
    if (esito.errori) std::printf("  %d ERROR lines in the log\n", esito.errori);
}

}  // namespace

int main(int argc, char** argv) {
    bool prova = false;
    bool conLogger = true, senzaLogger = true;
    int eventi = 24;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--dry") == 0)
            prova = true;
        else if (std::strcmp(argv[i], "--logger") == 0)
            senzaLogger = false;
        else if (std::strcmp(argv[i], "--nologger") == 0)
            conLogger = false;
        else
            eventi = std::max(20, std::atoi(argv[i]));
    }
    ChiaveGiocoSalvata chiave;
    bool tutti = true;
    struct Corsa {
        bool logger;
        int triggers;
    };
    std::vector<std::pair<Corsa, Esito>> esiti;
    for (const Corsa corsa : {Corsa{true, 5}, Corsa{true, 1000}, Corsa{false, 5}, Corsa{false, 1000}}) {
        if (!(corsa.logger ? conLogger : senzaLogger)) continue;
        const int triggers = corsa.triggers;
        CartellaProva trle("loopbench");
        std::string errore;
        if (!CostruisciCartella(trle.Percorso(), triggers, corsa.logger, eventi, errore)) {
            std::fprintf(stderr, "LoopBench: %s\n", errore.c_str());
            return 2;
        }
        std::printf("game folder %s, %s, %d triggers, %d events %lu ms apart\n", trle.Percorso().c_str(),
                    corsa.logger ? "with the logger" : "without the logger", triggers, eventi,
                    static_cast<unsigned long>(IntervalloEventi));
        if (prova) {
            const std::string d = DescrizioneLivello(triggers, corsa.logger);
            size_t fine = 0;
            for (int n = 0; n < 7 && fine != std::string::npos; ++n) fine = d.find("[Trigger]", fine + 1);
            std::printf("media.mcf (%zu bytes) from:\n%s%s\ngamesim.txt:\n%s\n", LeggiFileProva(trle / "media.mcf").size(),
                        d.substr(0, fine).c_str(), fine == std::string::npos ? "" : "...\r\n",
                        LeggiFileProva(trle / "gamesim.txt").c_str());
            continue;
        }
        ScriviRegistroDelGioco(ChiaveGiocoRegistro);
        Esito esito;
        tutti = Misura(trle.Percorso(), eventi, esito) && tutti;
        Riassunto(triggers, corsa.logger, eventi, esito);
        std::fflush(stdout);
        tutti = tutti && esito.mancati == 0 && esito.cpu >= 0 && esito.errori == 0 && esito.logger == corsa.logger;
        esiti.push_back({corsa, esito});
    }
    if (!prova) {
        std::printf("\nsummary:\n");
        for (const auto& [corsa, esito] : esiti) Riassunto(corsa.triggers, corsa.logger, eventi, esito);
    }
    return tutti ? 0 : 1;
}
