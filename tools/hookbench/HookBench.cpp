// Times the keys the program sends to the game, from the call that sends
// them to the game's window receiving them, with and without the guardian's
// low-level keyboard hook installed in this process, in one run.
//
// Usage: HookBench [presses]   (per configuration; default 120, at least 20)
// The game stand-in runs in a folder of its own with its window in front and
// writes a clock line on each key-down ("keyclock on"); the keys go out as
// the program sends them, a key macro through InviaCodici (a letter held
// 100 ms, so that the hook has a letter to capture). This thread waits for
// the game's line as the main window's does, pumping its messages, which
// is when the system can call the hook. The configurations alternate in
// blocks of 10 presses, so that a slow stretch of the machine weighs on
// both. Both clocks are the performance counter, one for every process.
// It prints the median and the maximum latency of each configuration in ms.
// Exit code 0 when every press reached the game and the hook saw the
// letters of its blocks.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "core/SharedState.h"
#include "input/KeyMacros.h"
#include "runservices/CheatCapture.h"
#include "runservices/KeyboardHook.h"
#include "tests/support/TestFolders.h"
#include "tests/support/TestProcesses.h"
#include "tools/benchsupport/BenchScreen.h"

namespace {

constexpr int Blocco = 10;
constexpr DWORD AttesaTasto = 5000;
// Letters that form no watched word in any order.
struct Lettera {
    int scan, vk;
};
constexpr Lettera Lettere[] = {{48, 'B'}, {46, 'C'}, {33, 'F'}};

void Pompa(DWORD ms) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, ms, QS_ALLINPUT);
    MSG m;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&m);
        DispatchMessageA(&m);
    }
}

// Reads the stand-in's log from where the last read stopped.
class LogGioco {
public:
    explicit LogGioco(std::string percorso) : percorso_(std::move(percorso)) {}
    // The clock of the next key-down of <vk>, -1 while there is none. The
    // clock line comes before its key's line; a macro's end also reaches the
    // game as a key of its own, which is passed over.
    long long ProssimoTasto(int vk) {
        const std::string testo = LeggiFileProva(percorso_);
        const std::string tasto = "key down vk " + std::to_string(vk) + " ";
        long long orologio = -1;
        for (size_t i = da_; i < testo.size();) {
            const size_t fine = testo.find('\n', i);
            if (fine == std::string::npos) return -1;
            const std::string riga = testo.substr(i, fine - i);
            if (riga.rfind("key clock ", 0) == 0) orologio = std::strtoll(riga.c_str() + 10, nullptr, 10);
            if (riga.rfind(tasto, 0) == 0 && orologio >= 0) {
                da_ = fine + 1;
                return orologio;
            }
            i = fine + 1;
        }
        return -1;
    }
    void Salta() { da_ = LeggiFileProva(percorso_).size(); }

private:
    std::string percorso_;
    size_t da_ = 0;
};

struct Misure {
    std::vector<double> ms;
    int persi = 0;
};

void Stampa(const char* nome, Misure m) {
    if (m.ms.empty()) {
        std::printf("%-22s no press reached the game (%d lost)\n", nome, m.persi);
        return;
    }
    std::sort(m.ms.begin(), m.ms.end());
    const double mediana = m.ms[m.ms.size() / 2];
    std::printf("%-22s presses %3zu  median %7.2f ms  max %7.2f ms  lost %d\n", nome, m.ms.size(), mediana,
                m.ms.back(), m.persi);
}

}  // namespace

int main(int argc, char** argv) {
    int presse = argc > 1 ? std::atoi(argv[1]) : 120;
    if (presse < 20) presse = 20;
    presse = (presse + Blocco - 1) / Blocco * Blocco;

    SistemaNT = true;
    if (!InitSendKeys()) {
        std::fprintf(stderr, "cannot set up the key sender\n");
        return 2;
    }
    CartellaProva cartella("hb");
    const std::string gioco = cartella / "tomb4.exe";
    if (!CopyFileA((CartellaProgrammi() + "\\GameSim.exe").c_str(), gioco.c_str(), FALSE) ||
        !ScriviFileProva(cartella / "gamesim.txt", "title HookBench\nkeyclock on\nwait 3600000\n")) {
        std::fprintf(stderr, "cannot build the game folder\n");
        return 2;
    }
    ProcessoProva processo;
    if (!AvviaProva(processo, gioco, "", cartella.Percorso())) {
        std::fprintf(stderr, "cannot start the game stand-in\n");
        return 2;
    }
    HWND finestra = nullptr;
    for (DWORD t0 = GetTickCount(); !finestra && GetTickCount() - t0 < 20000; Sleep(50))
        finestra = FindWindowA("TombSimWindow", nullptr);
    if (!finestra) {
        std::fprintf(stderr, "the stand-in's window did not come\n");
        return 2;
    }
    SetForegroundWindow(finestra);
    for (DWORD t0 = GetTickCount(); GetForegroundWindow() != finestra && GetTickCount() - t0 < 5000; Sleep(50))
        SetForegroundWindow(finestra);

    LogGioco log(cartella / "gamesim_log.txt");
    for (DWORD t0 = GetTickCount(); LeggiFileProva(cartella / "gamesim_log.txt").find("keyclock on") ==
                                        std::string::npos &&
                                    GetTickCount() - t0 < 10000;)
        Pompa(20);
    log.Salta();

    // The guardian's state while the fly cheat is watched.
    StatoGioco = GuardiaDozy;
    Misure senza, con;
    int lettera = 0;
    int blocchiMuti = 0;
    for (int blocco = 0; blocco < 2 * presse / Blocco; ++blocco) {
        const bool agganciato = blocco % 2 == 1;
        if (agganciato && !InstallaHookTastiera()) {
            std::fprintf(stderr, "cannot install the keyboard hook\n");
            return 2;
        }
        Misure& m = agganciato ? con : senza;
        for (int i = 0; i < Blocco; ++i) {
            // A rest between presses, so that the game idles when the key comes.
            for (int k = 0; k < 4; ++k) Pompa(10);
            const Lettera l = Lettere[lettera++ % 3];
            const long long inviato = banco::Microsecondi();
            InviaCodici(true, {{l.scan, 100}});
            long long ricevuto = -1;
            for (DWORD t0 = GetTickCount(); ricevuto < 0 && GetTickCount() - t0 < AttesaTasto;) {
                ricevuto = log.ProssimoTasto(l.vk);
                if (ricevuto < 0) Pompa(1);
            }
            if (ricevuto < 0) {
                ++m.persi;
                log.Salta();
                continue;
            }
            m.ms.push_back(static_cast<double>(ricevuto - inviato) / 1000.0);
        }
        // The hook must have seen the letters, or nothing was measured.
        if (agganciato && TastiCatturati.empty()) ++blocchiMuti;
        if (agganciato) RimuoviHookTastiera();
    }
    PostMessageA(finestra, WM_CLOSE, 0, 0);
    processo.Attendi(10000);

    std::printf("Key-to-game latency of a sent key macro (key down), %d presses each:\n", presse);
    Stampa("without the hook", senza);
    Stampa("with the guardian hook", con);
    if (blocchiMuti) std::printf("the hook captured no letter in %d blocks\n", blocchiMuti);
    return senza.persi == 0 && con.persi == 0 && blocchiMuti == 0 ? 0 : 1;
}
