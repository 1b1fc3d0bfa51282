// Times the graph menu as the player sees it, from the screen's pixels: a
// key press to the cursor redrawn on the next picture (target under 50 ms),
// both for the game's direction controls, which the menu looks at on its
// own, and for a hot key, which reaches it as a key message. The menu is
// performed in this process as the dispatcher does in a run, outside a
// configured game; a second thread presses the keys and reads the screen.
//
// Usage: GraphMenuBench [presses]   (default 20 of each)
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
#include "core/SharedState.h"
#include "gamerun/MediaDispatcher.h"
#include "runservices/TombSettings.h"
#include "tests/media/KeyPresses.h"
#include "tools/benchsupport/BenchScreen.h"

namespace {

using banco::Microsecondi;
using banco::Scrivi;
using tasti::Tasto;

constexpr COLORREF Sfondo = RGB(0, 0, 200), Penna = RGB(255, 255, 0);

// Two pictures side by side: the left edge of each one's cursor.
POINT BordoVoce(int voce) {
    const int x = voce == 0 ? 100 : 600;
    return POINT{static_cast<LONG>(SchermoX * x / 1000), static_cast<LONG>(SchermoY / 2)};
}

int VoceSulloSchermo(HDC schermo) {
    for (int voce = 0; voce < 2; ++voce) {
        const POINT p = BordoVoce(voce);
        if (GetPixel(schermo, p.x, p.y) == Penna) return voce;
    }
    return -1;
}

// One press: held (a direction) or tapped (a hot key) until the screen
// shows the cursor on <voce>; the milliseconds, or -1 after 5 s.
double Pressione(HDC schermo, WORD vk, bool tieni, int voce) {
    const long long t0 = Microsecondi();
    Tasto(vk, true);
    if (!tieni) Tasto(vk, false);
    double t = -1;
    while (Microsecondi() - t0 < 5000000) {
        if (VoceSulloSchermo(schermo) == voce) {
            t = (Microsecondi() - t0) / 1000.0;
            break;
        }
    }
    if (tieni) Tasto(vk, false);
    // Let the menu see the key up before the next press.
    Sleep(30);
    return t;
}

}  // namespace

int main(int argc, char** argv) {
    const int pressioni = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20;
    LogAbilitato = false;
    FuoriGioco = true;
    SchermoX = SchermoOrigX = GetSystemMetrics(SM_CXSCREEN);
    SchermoY = SchermoOrigY = GetSystemMetrics(SM_CYSCREEN);

    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string immagine = std::string(temp) + "graphmenubench.bmp";
    if (!Scrivi(immagine, banco::ImmagineTinta(16, 16, Sfondo))) {
        std::printf("cannot write %s\n", immagine.c_str());
        return 1;
    }
    MediaCorrente = MediaTrigger{};
    MediaCorrente.TypeFlags = static_cast<int32_t>(BitGraphMenu) | BackgroundImage;
    MediaCorrente.MediaFile = immagine;
    MediaCorrente.Options = EscapeBreaks;
    MediaCorrente.TriggerCd = TriggerCdNessuno;
    MediaCorrente.Syntax = "<GRAPH_MENU>#FLAGS#=8\r\n#PEN_COLOR#=" + std::to_string(static_cast<int32_t>(Penna)) +
                           "\r\n#PEN_SIZE#=3\r\n#BLINK_DELAY#=500\r\n#TOT_MENU#=2\r\n#COLUMNS#=2\r\n#S_MENU#=0\r\n"
                           "<MENU1>#BOUND#=100:200:400:800\r\n#HOTKEY#=A\r\n#MEDIA_CODE#=-1\r\n<END_MENU1>"
                           "<MENU2>#BOUND#=600:200:900:800\r\n#HOTKEY#=B\r\n#MEDIA_CODE#=-1\r\n<END_MENU2>"
                           "<END_GRAPH_MENU>";
    const WORD destra = tasti::TastoControllo(TastoGioco::Right), sinistra = tasti::TastoControllo(TastoGioco::Left);

    std::vector<double> direzioni, hotKey;
    std::atomic<bool> finito{false};
    bool pronto = false;
    std::thread giocatore([&] {
        HDC schermo = GetDC(nullptr);
        const long long limite = Microsecondi() + 30000000;
        while (!finito && VoceSulloSchermo(schermo) != 0 && Microsecondi() < limite) Sleep(1);
        pronto = VoceSulloSchermo(schermo) == 0;
        for (int i = 0; pronto && i < pressioni; ++i) {
            for (const double t : {Pressione(schermo, destra, true, 1), Pressione(schermo, sinistra, true, 0)})
                if (t >= 0) direzioni.push_back(t);
            for (const double t : {Pressione(schermo, 'B', false, 1), Pressione(schermo, 'A', false, 0)})
                if (t >= 0) hotKey.push_back(t);
        }
        ReleaseDC(nullptr, schermo);
        Tasto(VK_ESCAPE, true);
        Tasto(VK_ESCAPE, false);
    });
    bool escape = false, errore = false;
    ShowMedia(escape, errore);
    finito = true;
    giocatore.join();
    DeleteFileA(immagine.c_str());
    if (!pronto) {
        std::printf("the menu's cursor never showed\n");
        return 1;
    }
    bool tuttoOk = true;
    for (auto [nome, tempi] : {std::pair<const char*, const std::vector<double>*>{"direction control", &direzioni},
                               std::pair<const char*, const std::vector<double>*>{"hot key", &hotKey}}) {
        const banco::Sintesi s = banco::MedianaMassimo(*tempi);
        const bool ok = static_cast<int>(tempi->size()) == 2 * pressioni && s.massimo < 50;
        tuttoOk = tuttoOk && ok;
        std::printf("%s press to the cursor on screen: %zu of %d measured, median %.1f ms, max %.1f ms "
                    "(target < 50 ms): %s\n",
                    nome, tempi->size(), 2 * pressioni, s.mediana, s.massimo, ok ? "met" : "NOT met");
    }
    return tuttoOk ? 0 : 1;
}
