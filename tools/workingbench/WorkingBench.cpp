// Times the working media of a whole run, with 50 of them enabled by the
// level's track and polled on every tick of the main loop: 25 keyboard
// media, each bound to its own hot key, and 25 sensory media waiting for a
// jump or a roll that never comes. It prints
// - the latency from the game's press of one bound key to the start of the
//   media that key performs, over the presses: median and maximum;
// - the processor time Ludovane.exe spends while the game only waits, with
//   all 50 still polled, as percent of one core.
//
// Usage: WorkingBench [--dry] [--log] [presses]   (default 12, at least 10)
// It builds a game folder under the temporary folder as LoopBench does, a
// shared-mode level run with the logger, and runs Ludovane.exe there with
// no options. The bound key performs a text over the game; a text needs the
// game's stand-by, which hides the game's window in shared mode just before
// the performer starts: the stand-in's "window hidden clock" line is that
// start, and its "press clock" line the moment the key went down, both on
// the performance counter, one clock for every process. The processor time
// is read with GetProcessTimes over 20 s in which the stand-in only waits
// (the system counts it in steps of 10 ms). --log writes the run's full log
// (store\media_log.txt), to see every poll; it costs time of its own.
// --dry builds the folder and prints the level and the script without
// running. The game's registry key is given back afterwards.
// Exit code 0 when every press started its media within one tick of the
// main loop plus 20 ms, the idle cost stayed under 1% of one core, and the
// run wrote no ERROR line to its log.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "tests/support/GameFolder.h"
#include "tests/support/TestFolders.h"
#include "tests/support/TestRegistry.h"
#include "tools/benchsupport/BenchProcess.h"
#include "tools/benchsupport/BenchScreen.h"

namespace {

constexpr int MediaTastiera = 25;
constexpr int MediaSensoriali = 25;
constexpr int TracciaLivello = 5;
constexpr int CodiceTesto = 1;
constexpr int CodiceAzione = 2;
// Held longer than a tick, so that one tick sees it down; released before
// the text ends, so that no later tick sees it again.
constexpr DWORD DurataPressione = 300;
// No multiple of the tick: the presses fall on every phase of it.
constexpr DWORD IntervalloPressioni = 3070;
constexpr DWORD MisuraRiposo = 20000;
// Principale's Timer1: the tick that polls the working media.
constexpr double TickPrincipale = 200;
constexpr double ObiettivoLatenza = TickPrincipale + 20;
constexpr double ObiettivoCpu = 1.0;
constexpr int32_t LogForzato = 0x8;
// Jump or roll, one check: no key of the script makes it fire.
constexpr int FlagSensoriale = 0x80 | 0x10;

// The hot key of keyboard media k: the first the game presses, the others
// letters it never touches.
std::string TastoCaldo(int k) { return k == 0 ? "f7" : std::string(1, static_cast<char>('a' + k)); }

std::string DescrizioneTrigger() {
    std::string d;
    const std::string traccia = "TriggerCd=" + std::to_string(TracciaLivello) + "\r\nLevel=1\r\n";
    for (int k = 0; k < MediaTastiera; ++k)
        d += "[Trigger]\r\nTypeFlags=0x2000000\r\nMediaCode=" + std::to_string(100 + k) + "\r\n" + traccia +
             "Syntax=<KEYBOARD>\\r\\n#CODE#=" + std::to_string(k == 0 ? CodiceTesto : CodiceAzione) +
             "\\r\\n#FLAGS#=0\\r\\n#HOTKEY#=" + TastoCaldo(k) + "\\r\\n<END_KEYBOARD>\\r\\n\r\n";
    for (int k = 0; k < MediaSensoriali; ++k)
        d += "[Trigger]\r\nTypeFlags=0x4000000\r\nMediaCode=" + std::to_string(200 + k) + "\r\n" + traccia +
             "Syntax=<SENSORY>\\r\\n#CODE#=" + std::to_string(CodiceAzione) + "\\r\\n#FLAGS#=" +
             std::to_string(FlagSensoriale) + "\\r\\n<END_SENSORY>\\r\\n\r\n";
    // Performed only through the working media: their track never plays.
    d += "[Trigger]\r\nTypeFlags=0x80\r\nColor=0xFFFFFF\r\nBoundRect=100:700:900:950\r\nText=<TEXT>Hot key<END_TEXT>\r\n"
         "TriggerCd=999\r\nDuration=1\r\nMediaCode=" + std::to_string(CodiceTesto) + "\r\nLevel=-1\r\n";
    d += "[Trigger]\r\nTypeFlags=0x1000\r\nMediaCode=" + std::to_string(CodiceAzione) + "\r\nTriggerCd=999\r\nLevel=-1\r\n";
    return d;
}

std::string ScriptGioco(int pressioni) {
    std::string s = "boot 1024 768\nload title.tr4 300\ncd 97\nwait 1500\nload level1.tr4 300\ncd 3\nwait 3000\n";
    s += "cd " + std::to_string(TracciaLivello) + "\nwait 3000\n";
    for (int p = 0; p < pressioni; ++p)
        s += "press f7 " + std::to_string(DurataPressione) + "\nwait " +
             std::to_string(IntervalloPressioni - DurataPressione) + "\n";
    // The idle level: the bench measures while the game waits between the marks.
    return s + "wait 2000\nwrite idle start\nwait " + std::to_string(MisuraRiposo + 2000) + "\nwrite idle end\nquit\n";
}

OpzioniCartellaGioco Opzioni(int pressioni, bool log) {
    OpzioniCartellaGioco o;
    o.condiviso = true;
    o.altreOpzioni = log ? LogForzato : 0;
    o.trigger = DescrizioneTrigger();
    o.tracce = {TracciaLivello};
    o.scriptGioco = ScriptGioco(pressioni);
    return o;
}

struct Pressione {
    long long giu = -1;
    long long nascosta = -1;
};

// Each press of the stand-in's log, with the first hiding of the game
// window after it and before the next press.
std::vector<Pressione> PressioniDelLog(const std::string& log) {
    std::vector<Pressione> pressioni;
    for (const std::string& riga : banco::Righe(log)) {
        long long us = 0;
        if (std::sscanf(riga.c_str(), "press clock %lld us", &us) == 1) {
            pressioni.push_back({us, -1});
        } else if (std::sscanf(riga.c_str(), "window hidden clock %lld us", &us) == 1) {
            if (!pressioni.empty() && pressioni.back().nascosta < 0) pressioni.back().nascosta = us;
        } else if (riga.find("WinClose") != std::string::npos) {
            break;
        }
    }
    // A hiding after a press whose own never came may be that one's, late.
    for (size_t k = pressioni.size(); k-- > 1;)
        if (pressioni[k - 1].nascosta < 0) pressioni[k].nascosta = -1;
    return pressioni;
}

struct Esito {
    std::vector<double> latenze;
    int nelLog = 0;  // presses the game made
    int errori = 0;  // ERROR lines of Ludovane's log
    banco::Riposo riposo;
};

bool Misura(const std::string& trle, int pressioni, Esito& esito) {
    const DWORD limite = 90000 + static_cast<DWORD>(pressioni) * IntervalloPressioni + MisuraRiposo;
    const bool finito = banco::EseguiLudovane(trle, limite, MisuraRiposo, esito.riposo);

    const std::string log = LeggiFileProva(trle + "\\gamesim_log.txt");
    if (log.find("\nstart windowed\n") == std::string::npos) std::printf("  the game did not start windowed\n");
    const std::vector<Pressione> viste = PressioniDelLog(log);
    esito.nelLog = static_cast<int>(viste.size());
    for (const Pressione& p : viste)
        if (p.nascosta >= 0) esito.latenze.push_back(static_cast<double>(p.nascosta - p.giu) / 1000.0);
    esito.errori = banco::StampaErrori(trle);
    const std::string registro = LeggiFileProva(trle + "\\store\\media_log.txt");
    for (const char* riga : {"Perform Keyboard: enabled working flag", "Perform Sensory: enabled working flag",
                             "Perform Sensory Media code = ", "Hot-key is hit"}) {
        int n = 0;
        for (size_t k = registro.find(riga); k != std::string::npos; k = registro.find(riga, k + 1)) ++n;
        if (n) std::printf("  log: %d x \"%s\"\n", n, riga);
    }
    return finito;
}

}  // namespace

int main(int argc, char** argv) {
    bool prova = false;
    bool log = false;
    int pressioni = 12;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--dry") == 0)
            prova = true;
        else if (std::strcmp(argv[i], "--log") == 0)
            log = true;
        else
            pressioni = std::max(10, std::atoi(argv[i]));
    }
    ChiaveGiocoSalvata chiave;
    CartellaProva trle("workingbench");
    std::string errore;
    if (!CostruisciCartellaGioco(trle.Percorso(), CartellaProgrammi(), Opzioni(pressioni, log), errore)) {
        std::fprintf(stderr, "WorkingBench: %s\n", errore.c_str());
        return 2;
    }
    std::printf("game folder %s, %d keyboard and %d sensory media, %d presses %lu ms apart\n",
                trle.Percorso().c_str(), MediaTastiera, MediaSensoriali, pressioni,
                static_cast<unsigned long>(IntervalloPressioni));
    if (prova) {
        const std::string d = DescrizioneMcfGioco(Opzioni(pressioni, log));
        std::printf("media.mcf (%zu bytes) from:\n%s\ngamesim.txt:\n%s\n", LeggiFileProva(trle / "media.mcf").size(),
                    d.c_str(), LeggiFileProva(trle / "gamesim.txt").c_str());
        return 0;
    }
    ScriviRegistroDelGioco(ChiaveGiocoRegistro);
    Esito esito;
    const bool finito = Misura(trle.Percorso(), pressioni, esito);
    const banco::Sintesi s = banco::MedianaMassimo(esito.latenze);
    const int mancate = pressioni - static_cast<int>(esito.latenze.size());
    if (esito.latenze.empty())
        std::printf("key -> media: no media started on %d presses (%d in the game's log)\n", pressioni, esito.nelLog);
    else
        std::printf("key -> media over %zu presses: median %7.1f  max %7.1f ms (target under %.0f ms); %d presses "
                    "without media\n",
                    esito.latenze.size(), s.mediana, s.massimo, ObiettivoLatenza, mancate);
    if (esito.riposo.cpu >= 0)
        std::printf("idle CPU with %d working media polled: %5.2f %% of one core (%.0f ms in %.1f s; target under "
                    "%.0f %%)\n",
                    MediaTastiera + MediaSensoriali, esito.riposo.cpu, esito.riposo.cpuMs, esito.riposo.secondi, ObiettivoCpu);
    else
        std::printf("idle CPU not measured\n");
    if (esito.errori) std::printf("  %d ERROR lines in the log\n", esito.errori);
    const bool latenzaOk = mancate == 0 && s.massimo >= 0 && s.massimo < ObiettivoLatenza;
    const bool cpuOk = esito.riposo.cpu >= 0 && esito.riposo.cpu < ObiettivoCpu;
    std::printf("latency target %s, idle target %s\n", latenzaOk ? "met" : "missed", cpuOk ? "met" : "missed");
    return finito && latenzaOk && cpuOk && esito.errori == 0 ? 0 : 1;
}
