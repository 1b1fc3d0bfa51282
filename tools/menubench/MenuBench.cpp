// Times a text menu as the player sees it, from the screen's pixels: from a
// key pressed to the prompt redrawn with its letter (target under 50 ms),
// over a row of keys. The menu is performed in this process as the
// dispatcher does in a run, outside a configured game; a player thread
// presses the keys and reads the screen meanwhile, and ends the menu with
// Escape.
//
// Usage: MenuBench [keys]   (default 20)
// Exit code 0 when every key was seen on screen within the target.
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
constexpr COLORREF ColoreSfondo = RGB(40, 90, 160);

void Premi(WORD vk, wchar_t carattere) {
    INPUT in[2]{};
    for (INPUT& i : in) {
        i.type = INPUT_KEYBOARD;
        i.ki.wVk = vk;
        i.ki.wScan = vk ? static_cast<WORD>(MapVirtualKeyA(vk, 0)) : carattere;
        i.ki.dwFlags = vk ? 0 : KEYEVENTF_UNICODE;
    }
    in[1].ki.dwFlags |= KEYEVENTF_KEYUP;
    SendInput(2, in, sizeof(INPUT));
}

}  // namespace

int main(int argc, char** argv) {
    const int tasti = argc > 1 ? std::clamp(std::atoi(argv[1]), 1, 30) : 20;
    NomiFont = {"Courier New", "Arial"};
    LogAbilitato = false;
    FuoriGioco = true;
    SchermoX = GetSystemMetrics(SM_CXSCREEN);
    SchermoY = GetSystemMetrics(SM_CYSCREEN);
    if (SchermoX != Larghezza || SchermoY != Altezza)
        std::printf("note: the screen is %dx%d, not %dx%d\n", SchermoX, SchermoY, Larghezza, Altezza);

    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string immagine = std::string(temp) + "menubench.bmp";
    if (!Scrivi(immagine, ImmagineTinta(Larghezza, Altezza, ColoreSfondo))) {
        std::printf("cannot write %s\n", immagine.c_str());
        return 1;
    }
    MediaCorrente = MediaTrigger{};
    MediaCorrente.TypeFlags = static_cast<int32_t>(BitTextMenu) | FixedText | BackgroundImage;
    MediaCorrente.MediaFile = immagine;
    MediaCorrente.Options = EscapeBreaks;
    MediaCorrente.TriggerCd = TriggerCdNessuno;
    MediaCorrente.Text = "<TEXT>Password: #PROMPT#<END_TEXT>";
    MediaCorrente.Syntax =
        "<TEXT_MENU>#ATTEMPTS#=0\r\n#FLAGS#=64\r\n#FAILURE_MEDIA#=-1\r\n#MAX_CHARS#=40\r\n#TOT_MENU#=1\r\n"
        "<MENU1>#VALUE#=never\r\n#MEDIA_CODE#=1\r\n<END_MENU1><END_TEXT_MENU>";
    MediaCorrente.Formato.Color = static_cast<int32_t>(ColoreTesto);
    MediaCorrente.Formato.CharRow = 39;
    MediaCorrente.Formato.BoundRect = {50, 600, 950, 950};

    std::vector<double> tempi;
    std::atomic<bool> finito{false};
    std::thread giocatore([&] {
        Lettore testo(RECT{40, 450, 1000, 740});
        // The text on screen: the menu waits for keys.
        const long long limite = Microsecondi() + 20000000LL;
        while (!finito && testo.Conta(ColoreTesto) == 0 && Microsecondi() < limite) Sleep(1);
        Sleep(200);
        {
            const long long t = Microsecondi();
            for (int i = 0; i < 10; ++i) testo.Conta(ColoreTesto);
            std::printf("one screen read: %.1f ms\n", (Microsecondi() - t) / 10000.0);
        }
        for (int i = 0; i < tasti && !finito; ++i) {
            const long prima = testo.Conta(ColoreTesto);
            const long long t0 = Microsecondi();
            Premi(0, L'W');
            while (!finito && Microsecondi() - t0 < 2000000LL) {
                if (testo.Conta(ColoreTesto) != prima) {
                    tempi.push_back((Microsecondi() - t0) / 1000.0);
                    break;
                }
            }
            // Keys at a player's pace, each landing at another point of the poll.
            Sleep(37 + 13 * (i % 7));
        }
        Premi(VK_ESCAPE, 0);
    });
    bool escape = false, errore = false;
    ShowMedia(escape, errore);
    finito = true;
    giocatore.join();
    DeleteFileA(immagine.c_str());

    for (size_t i = 0; i < tempi.size(); ++i) std::printf("key %zu: %.1f ms\n", i + 1, tempi[i]);
    const banco::Sintesi s = banco::MedianaMassimo(tempi);
    const bool ok = static_cast<int>(tempi.size()) == tasti && s.massimo < 50;
    std::printf("text menu, key to redrawn prompt: %d of %d keys seen, median %.1f ms, max %.1f ms (target < 50 ms): %s\n",
                static_cast<int>(tempi.size()), tasti, s.mediana, s.massimo, ok ? "met" : "NOT met");
    return ok ? 0 : 1;
}
