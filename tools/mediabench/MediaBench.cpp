// Times the media window as the player sees it, from the screen's pixels:
// - first frame: from ShowMedia to the moment a 1024x768 picture and its
//   text are both on screen (target under 50 ms), over several runs after
//   a first one that is shown but not counted;
// - typing pace: 2000 characters typed at 1 ms each ("x " repeated, no
//   cursor), the time from the first letter on screen to the last against
//   the intended one (target within 2%).
// The media are performed in this process as the dispatcher does in a run,
// outside a configured game. A watcher thread reads the screen meanwhile.
//
// Usage: MediaBench [runs]   (default 5)
// Exit code 0 when every figure was measured and met its target.
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "core/MediaLog.h"
#include "core/MediaTrigger.h"
#include "core/ModuleInit.h"
#include "core/SharedState.h"
#include "gamerun/MediaDispatcher.h"
#include "tools/benchsupport/BenchScreen.h"

namespace {

using banco::ImmagineTinta;
using banco::Lettore;
using banco::Microsecondi;
using banco::Scrivi;

constexpr int32_t Larghezza = 1024, Altezza = 768;
constexpr COLORREF ColoreTesto = RGB(255, 255, 255);

void Esegui() {
    bool escape = false, errore = false;
    ShowMedia(escape, errore);
}

// Milliseconds from ShowMedia to picture and text on screen; -1 when they
// never were both there.
double PrimoFotogramma(const std::string& immagine, COLORREF colore) {
    MediaCorrente = MediaTrigger{};
    MediaCorrente.TypeFlags = FixedText | BackgroundImage;
    MediaCorrente.MediaFile = immagine;
    MediaCorrente.Text = "<TEXT>A text over a picture of 1024 x 768 pixels<END_TEXT>";
    MediaCorrente.Duration = 1;
    MediaCorrente.TriggerCd = TriggerCdNessuno;
    MediaCorrente.Formato.Color = static_cast<int32_t>(ColoreTesto);
    MediaCorrente.Formato.CharRow = 39;
    MediaCorrente.Formato.BoundRect = {100, 600, 900, 950};
    std::atomic<long long> inizio{0};
    std::atomic<bool> finito{false};
    double risultato = -1;
    std::thread osservatore([&] {
        Lettore testo(RECT{102, 461, 922, 730});
        Lettore sfondo(RECT{0, 0, 64, 64});
        while (!finito) {
            const long long t0 = inizio;
            if (t0 != 0 && sfondo.Conta(colore) == 64 * 64 && testo.Conta(ColoreTesto) > 0) {
                risultato = (Microsecondi() - t0) / 1000.0;
                return;
            }
            Sleep(0);
        }
    });
    inizio = Microsecondi();
    Esegui();
    finito = true;
    osservatore.join();
    return risultato;
}

// Actual against intended time of the typing, or -1.
double Ritmo(int32_t caratteri) {
    std::string testo;
    while (static_cast<int32_t>(testo.size()) < caratteri) testo += "x ";
    testo.resize(static_cast<size_t>(caratteri));
    MediaCorrente = MediaTrigger{};
    MediaCorrente.TypeFlags = FixedText;
    MediaCorrente.BackColor = 0;
    MediaCorrente.Text = "<TEXT>" + testo + "<END_TEXT>";
    MediaCorrente.Duration = 1;
    MediaCorrente.TriggerCd = TriggerCdNessuno;
    MediaCorrente.Formato.Color = static_cast<int32_t>(ColoreTesto);
    MediaCorrente.Formato.CharRow = 99;
    MediaCorrente.Formato.BoundRect = {0, 0, 1000, 1000};
    MediaCorrente.Formato.Effect = 1;
    MediaCorrente.Formato.DelayMicros = 1;
    MediaCorrente.Formato.Flags = 0x10;  // no cursor: the ink only grows
    std::atomic<bool> finito{false};
    struct Campione {
        long long t;
        long n;
    };
    std::vector<Campione> campioni;
    campioni.reserve(100000);
    std::thread osservatore([&] {
        Lettore schermo(RECT{0, 0, Larghezza, Altezza});
        // A pause between reads, so that the reading does not slow the typing.
        while (!finito) {
            campioni.push_back({Microsecondi(), schermo.Conta(ColoreTesto)});
            Sleep(2);
        }
    });
    Esegui();
    finito = true;
    osservatore.join();
    if (campioni.empty()) return -1;
    // The ink during the hold is the whole text; typing ran from the first
    // sample with ink to the first with all of it.
    long finale = 0;
    for (const Campione& c : campioni) finale = std::max(finale, c.n);
    if (finale == 0) return -1;
    long long primo = -1, ultimo = -1;
    for (const Campione& c : campioni) {
        if (primo < 0 && c.n > 0) primo = c.t;
        if (c.n == finale) {
            ultimo = c.t;
            break;
        }
    }
    if (primo < 0 || ultimo <= primo) return -1;
    // The first letter is drawn at the end of the first step, the last
    // visible one (the text ends in a blank) at the end of the last but one.
    const double previsto = (caratteri - 2) * 1.0;
    return (ultimo - primo) / 1000.0 / previsto;
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    NomiFont = {"Courier New", "Arial"};
    LogAbilitato = false;
    FuoriGioco = true;
    SchermoX = GetSystemMetrics(SM_CXSCREEN);
    SchermoY = GetSystemMetrics(SM_CYSCREEN);
    if (SchermoX != Larghezza || SchermoY != Altezza)
        std::printf("note: the screen is %dx%d, not %dx%d\n", SchermoX, SchermoY, Larghezza, Altezza);

    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    std::vector<double> tempi;
    // Run 0 is the program's first window (classes, fonts, picture loader
    // met for the first time): shown, not counted.
    for (int i = 0; i <= runs; ++i) {
        // A new colour each run, so that no earlier frame counts.
        const COLORREF colore = RGB(30 + 20 * i % 200, 90, 160);
        const std::string immagine = std::string(temp) + "mediabench_" + std::to_string(i) + ".bmp";
        if (!Scrivi(immagine, ImmagineTinta(Larghezza, Altezza, colore))) {
            std::printf("cannot write %s\n", immagine.c_str());
            return 1;
        }
        const double t = PrimoFotogramma(immagine, colore);
        DeleteFileA(immagine.c_str());
        std::printf("first frame, run %d%s: %.1f ms\n", i, i == 0 ? " (cold, not counted)" : "", t);
        if (t >= 0 && i > 0) tempi.push_back(t);
    }
    const banco::Sintesi s = banco::MedianaMassimo(tempi);
    const bool primoOk = static_cast<int>(tempi.size()) == runs && s.massimo < 50;
    std::printf("first frame of a 1024x768 picture with text: median %.1f ms, max %.1f ms (target < 50 ms): %s\n",
                s.mediana, s.massimo, primoOk ? "met" : "NOT met");

    const double ritmo = Ritmo(2000);
    const bool ritmoOk = ritmo > 0 && ritmo >= 0.98 && ritmo <= 1.02;
    std::printf("typing pace of 2000 characters at 1 ms: actual/intended %.4f (target 0.98 to 1.02): %s\n", ritmo,
                ritmoOk ? "met" : "NOT met");
    return primoOk && ritmoOk ? 0 : 1;
}
