// The pace of a splash animation on the real clock: a splash in the cover
// window over a windowed game plays a sprite of 250 steps in 10 s (25
// frames a second) that loops until its 10 s have passed. Each drawn frame
// sounds a tone, which this bench takes in place of the tone to note the
// frame's time. Printed: the frames in the first 10 s (target 250 +-5), the
// time between frames (mean against 40 ms within 2%, and the worst
// deviation) and the processor time of this process during the animation
// (percent of one core). Then a splash whose sprite has a step interval of
// 0 (#CYCLE_SECONDS#=0) plays for 5 s: printed, the processor time of this
// process during it (target under 10% of one core). Exit code 0 when the
// pace and the processor time met their targets.
//
// Usage: SplashBench
#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/MediaConfig.h"
#include "core/MediaLog.h"
#include "core/MediaTrigger.h"
#include "core/ModuleInit.h"
#include "core/SharedState.h"
#include "gamerun/Startup.h"
#include "input/SplashRun.h"
#include "runservices/Desktop.h"
#include "runservices/RunHooks.h"
#include "runservices/RunState.h"
#include "runservices/Sounds.h"
#include "tools/benchsupport/BenchProcess.h"
#include "tools/benchsupport/BenchScreen.h"

namespace {

constexpr int32_t Passi = 250;
constexpr int32_t Secondi = 10;
constexpr double Intervallo = 1000.0 * Secondi / Passi;

std::vector<double> Istanti;  // ms of each frame
long long CpuPrimo = 0, CpuUltimo = 0;  // us

// This process's own time needs no walk over its threads, which would cost
// more than what it measures.
long long CpuProcesso() {
    FILETIME creato, finito, kernel, utente;
    GetProcessTimes(GetCurrentProcess(), &creato, &finito, &kernel, &utente);
    return banco::MicrosecondiCpu(kernel, utente);
}

// The tone of each drawn frame.
void Fotogramma(int32_t, int32_t) {
    Istanti.push_back(static_cast<double>(banco::Microsecondi()) / 1000.0);
    CpuUltimo = CpuProcesso();
    if (Istanti.size() == 1) CpuPrimo = CpuUltimo;
}

constexpr int32_t SecondiSenzaPasso = 5;

std::string Splash(int32_t secondiCiclo = Secondi, int32_t secondiAnimazione = Secondi) {
    const std::string animazione =
        "#FLAGS#=" + std::to_string(0x1 | 0x100 | 0x200 | 0x8000) + "\r\n#FRAMES#=" + std::to_string(Passi) +
        "\r\n#SOUND_FRAMES#=1\r\n#IMAGE#=sprite.bmp\r\n#BACK_IMAGE#=~\r\n#CYCLE_SECONDS#=" +
        std::to_string(secondiCiclo) + "\r\n#ANIMATION_SECONDS#=" + std::to_string(secondiAnimazione) +
        "\r\n#DELAY_SPRITE_FRAMES#=-1\r\n#SPRITE_FRAMES#=4\r\n#RECT_START#=0:400:120:560\r\n"
        "#RECT_END#=880:400:1000:560\r\n#RECT_TARGET#=0:0:1000:1000\r\n#TOT_CLIPS#=0\r\n";
    return "<SPLASH>\r\n#FLAGS#=" + std::to_string(0x10 | 0x2000) +
           "\r\n#MODE#=8\r\n#CD_SOUND#=-1\r\n#END_TEXT_TIME#=1\r\n#MEDIA#=-1\r\n#TIME_OUT#=-1\r\n"
           "#TOT_ANIMATIONS#=1\r\n<ANIMATION1>\r\n" +
           animazione + "<END_ANIMATION1>\r\n<END_SPLASH>\r\n";
}

}  // namespace

int main() {
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string cartella = std::string(temp) + "splashbench" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(cartella.c_str(), nullptr);
    // A strip of four pictures, and a picture behind.
    const bool fileScritti =
        banco::Scrivi(cartella + "\\sprite.bmp", banco::ImmagineTinta(256, 64, RGB(60, 200, 255))) &&
        banco::Scrivi(cartella + "\\back.bmp", banco::ImmagineTinta(320, 240, RGB(90, 90, 90)));
    if (!fileScritti) {
        std::printf("cannot write the pictures into %s\n", cartella.c_str());
        return 2;
    }

    CollegaServiziRun();
    LogAbilitato = false;
    FuoriGioco = false;
    ProcessoGioco.hProcess = reinterpret_cast<void*>(1);
    NomiFont = {"Arial"};
    SchermoX = SchermoOrigX = GetSystemMetrics(SM_CXSCREEN);
    SchermoY = SchermoOrigY = GetSystemMetrics(SM_CYSCREEN);
    TombSchermoX = 1024;
    TombSchermoY = 768;
    CartellaTrle = PercorsoStore = HeaderMcf.CartellaMcf = cartella;
    HeaderMcf.HeaderOptions = ParolaOpzioni(OpzioneHeader::SharedMode);
    EmettiTono = Fotogramma;

    HWND gioco = banco::FinestraGiocoProva("SplashBenchGame", 800, 600);
    FinestraGioco = gioco;

    MediaTrigger m;
    m.TypeFlags = int32_t{BitSplash} | BackgroundImage;
    m.MediaFile = "back.bmp";
    m.MediaCode = 5;
    m.TriggerCd = TriggerCdNessuno;
    m.Duration = 0;
    m.Syntax = Splash();
    ListaMedia = {m};
    HeaderMcf.TriggerCount = 1;
    MediaCorrente = m;

    bool escape = false, errore = false;
    const bool risultato = EseguiSplashScreen(escape, errore);
    const std::vector<double> istanti = Istanti;
    const long long cpuPrimo = CpuPrimo, cpuUltimo = CpuUltimo;

    // The same sprite with a step interval of 0: due at every pass.
    m.Syntax = Splash(0, SecondiSenzaPasso);
    ListaMedia = {m};
    MediaCorrente = m;
    Istanti.clear();
    const long long cpuPrima = CpuProcesso();
    const long long muroPrima = banco::Microsecondi();
    const bool risultatoZero = EseguiSplashScreen(escape, errore);
    const double muroZero = static_cast<double>(banco::Microsecondi() - muroPrima) / 1000.0;
    const double processoreZero =
        muroZero > 0 ? 100.0 * static_cast<double>(CpuProcesso() - cpuPrima) / 1000.0 / muroZero : 0;
    const size_t fotogrammiZero = Istanti.size();
    Istanti = istanti;
    CpuPrimo = cpuPrimo;
    CpuUltimo = cpuUltimo;
    DestroyWindow(gioco);
    DeleteFileA((cartella + "\\sprite.bmp").c_str());
    DeleteFileA((cartella + "\\back.bmp").c_str());
    RemoveDirectoryA(cartella.c_str());
    if (!risultato || Istanti.size() < 2) {
        std::printf("the splash failed (result %d, error %d, %u frames)\n", risultato, errore,
                    static_cast<unsigned>(Istanti.size()));
        return 2;
    }

    const double inizio = Istanti.front();
    const auto nei10 = std::count_if(Istanti.begin(), Istanti.end(),
                                     [inizio](double t) { return t - inizio < 1000.0 * Secondi; });
    double peggioPiu = 0, peggioMeno = 0;
    for (size_t i = 1; i < Istanti.size(); ++i) {
        const double scarto = Istanti[i] - Istanti[i - 1] - Intervallo;
        peggioPiu = std::max(peggioPiu, scarto);
        peggioMeno = std::min(peggioMeno, scarto);
    }
    const double durata = Istanti.back() - inizio;
    const double media = durata / static_cast<double>(Istanti.size() - 1);
    const double processore = durata > 0 ? 100.0 * static_cast<double>(CpuUltimo - CpuPrimo) / 1000.0 / durata : 0;
    const bool conteggioBuono = std::labs(static_cast<long>(nei10) - Passi) <= Passi / 50;
    const bool mediaBuona = std::fabs(media - Intervallo) <= Intervallo * 0.02;
    std::printf("Splash animation at %d frames a second in the cover window over a windowed game:\n",
                Passi / Secondi);
    std::printf("  frames drawn %u in %.0f ms; in the first %d s: %ld (target %d +-%d)  %s\n",
                static_cast<unsigned>(Istanti.size()), durata, Secondi, static_cast<long>(nei10), Passi, Passi / 50,
                conteggioBuono ? "ok" : "MISSED");
    std::printf("  time between frames: mean %.2f ms (target %.0f +-2%%)  %s; worst deviation %+.1f ms / %+.1f ms\n",
                media, Intervallo, mediaBuona ? "ok" : "MISSED", peggioPiu, peggioMeno);
    std::printf("  processor during the animation: %.2f%% of one core\n", processore);
    const bool zeroBuono = risultatoZero && processoreZero < 10.0;
    std::printf("The same sprite with a step interval of 0:\n");
    std::printf("  %s, %u frames drawn in %.0f ms; processor during the splash: %.2f%% of one core (target < 10%%)  %s\n",
                risultatoZero ? "ended" : "FAILED", static_cast<unsigned>(fotogrammiZero), muroZero, processoreZero,
                zeroBuono ? "ok" : "MISSED");
    return conteggioBuono && mediaBuona && zeroBuono ? 0 : 1;
}
