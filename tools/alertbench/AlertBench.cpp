// The cost of an alert while the game plays, on the real clock:
// - in the cover window over a windowed game (a countdown, then a life bar,
//   each for the given seconds, 300 by default: 10 minutes in all): the
//   processor time of this process against the wall time (target under 5%
//   of one core), the passes a second against the 2 of its half-second pace,
//   and the GDI objects before and after (target: none more);
// - straight on the screen over a full-screen game, for 10 s: the redraws a
//   second against the alert's refresh of 80, and the processor time.
// The alerts run in this process as the dispatcher runs them in a game run;
// the game's progress is a stand-in that reports nothing, so that only the
// alert's own work is counted. The figures are printed; exit code 0 when
// every one met its target.
//
// Usage: AlertBench [seconds]
#include <windows.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "core/MediaConfig.h"
#include "core/MediaLog.h"
#include "core/MediaTrigger.h"
#include "core/ModuleInit.h"
#include "core/SharedState.h"
#include "gamerun/Startup.h"
#include "media/AlertMedia.h"
#include "runservices/Desktop.h"
#include "runservices/RunHooks.h"
#include "runservices/RunState.h"
#include "tests/support/GdiObjects.h"
#include "tools/benchsupport/BenchScreen.h"

namespace {

long Passi = 0;

int32_t GiocoFermo(bool& abort, int32_t, bool) {
    abort = false;
    ++Passi;
    return 0;
}

bool NessunSeguito(int32_t, bool& errore) {
    errore = false;
    return true;
}

double SecondiProcessore() {
    FILETIME creato, finito, kernel, utente;
    GetProcessTimes(GetCurrentProcess(), &creato, &finito, &kernel, &utente);
    auto valore = [](const FILETIME& f) {
        return static_cast<double>((static_cast<unsigned long long>(f.dwHighDateTime) << 32) | f.dwLowDateTime) / 1e7;
    };
    return valore(kernel) + valore(utente);
}

struct Misura {
    double processore = 0;  // percent of one core
    double passi = 0;       // a second
    double secondi = 0;
};

Misura Esegui(const std::string& sintassi, const std::string& testo, int32_t durata) {
    MediaTrigger m;
    m.TypeFlags = BitAlert;
    m.MediaCode = 5;
    m.TriggerCd = TriggerCdNessuno;
    m.Duration = durata;
    m.Text = testo;
    m.Syntax = sintassi;
    m.Formato.Color = static_cast<int32_t>(RGB(255, 255, 255));
    m.Formato.CharRow = 29;
    m.Formato.BoundRect = Rettangolo{100, 100, 900, 500};
    ListaMedia = {m};
    HeaderMcf.TriggerCount = 1;
    MediaCorrente = m;
    Passi = 0;
    const double cpu0 = SecondiProcessore();
    const DWORD t0 = GetTickCount();
    bool errore = false;
    EseguiAlertMedia(errore);
    Misura r;
    r.secondi = (GetTickCount() - t0) / 1000.0;
    r.processore = r.secondi > 0 ? 100.0 * (SecondiProcessore() - cpu0) / r.secondi : 0;
    r.passi = r.secondi > 0 ? Passi / r.secondi : 0;
    return r;
}

std::string Alert(int32_t flag) {
    return "<ALERT>\r\n#REFRESH#=80\r\n#FLAGS#=" + std::to_string(flag) +
           "\r\n#BACK_COLOR#=16711680\r\n#STOP_PERFORM#=-1\r\n#END_PERFORM#=-1\r\n<END_ALERT>\r\n";
}

bool Stampa(const char* nome, const Misura& m) {
    const bool buono = m.processore < 5.0 && std::fabs(m.passi - 2.0) <= 0.1;
    std::printf("  %-9s %7.1f s  processor %5.2f%% of one core  %4.2f passes/s (pace 2)  %s\n", nome, m.secondi,
                m.processore, m.passi, buono ? "ok" : "MISSED");
    return buono;
}

}  // namespace

int main(int argc, char** argv) {
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    const int32_t secondi = argc > 1 ? std::max(5, std::atoi(argv[1])) : 300;
    CollegaServiziRun();
    Ganci.AnalisiGameProgress = GiocoFermo;
    Ganci.EseguiMediaCode = NessunSeguito;
    LogAbilitato = false;
    FuoriGioco = false;
    ProcessoGioco.hProcess = reinterpret_cast<void*>(1);
    NomiFont = {"Arial"};
    SchermoX = GetSystemMetrics(SM_CXSCREEN);
    SchermoY = GetSystemMetrics(SM_CYSCREEN);
    TombSchermoX = 1024;
    TombSchermoY = 768;
    HeaderMcf.HeaderOptions = ParolaOpzioni(OpzioneHeader::SharedMode);

    HWND gioco = banco::FinestraGiocoProva("AlertBenchGame", 800, 600);
    FinestraGioco = gioco;
    MostraCoverTopMost();

    // The first showing makes the cover's own objects.
    Esegui(Alert(0x20), "<TEXT>warm-up<END_TEXT>", 1);
    const int32_t gdiPrima = OggettiGdi();
    std::printf("Cover window road, %d s each:\n", secondi);
    const Misura contatore =
        Esegui(Alert(0x2) + "<COUNTDOWN>\r\n#START_COUNTER#=" + std::to_string(secondi) +
                   "\r\n#END_COUNTER#=0\r\n#FLAGS#=8\r\n<END_COUNTDOWN>\r\n",
               "<TEXT>Time left: #COUNTER#<END_TEXT>", secondi);
    bool ok = Stampa("countdown", contatore);
    const Misura barra = Esegui(Alert(0x8) + "<LIFE_BAR>\r\n#BAR-COLOR#=200\r\n#D-TIME#=" + std::to_string(secondi) +
                                    "\r\n#FLAGS#=6409\r\n#PERC-BLINK#=10\r\n#PERC-REDUCTION#=0\r\n<END_LIFE_BAR>\r\n",
                                "", 0);
    ok = Stampa("life bar", barra) && ok;
    const int32_t gdiDopo = OggettiGdi();
    std::printf("  GDI objects before %d, after %d  %s\n", gdiPrima, gdiDopo, gdiPrima == gdiDopo ? "ok" : "MISSED");
    ok = ok && gdiPrima == gdiDopo;

    HeaderMcf.HeaderOptions = 0;
    const Misura schermo = Esegui(Alert(0), "<TEXT>Full screen<END_TEXT>", 10);
    const bool buono = std::fabs(schermo.passi - 80.0) <= 80.0 * 0.15;
    std::printf("Full-screen road, 10 s: processor %5.2f%% of one core  %5.1f redraws/s (refresh 80, 12 ms sleeps)  %s\n",
                schermo.processore, schermo.passi, buono ? "ok" : "MISSED");
    ok = ok && buono;
    DestroyWindow(gioco);
    return ok ? 0 : 1;
}
