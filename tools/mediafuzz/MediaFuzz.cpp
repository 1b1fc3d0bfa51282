// Performs random media configurations through the dispatcher in preview,
// on the manual clock beside the game stand-in, until a media crashes,
// spins without waiting, outlives its bound or leaves GDI objects, handles
// or windows behind; the fault's report names the seed and the case, which
// the same arguments make again.
//
// Usage: MediaFuzz <seed> <count> [first case [show]]   (run it with
// mediafuzz.sh); "show" prints each case's triggers before performing it.
// Exit code 0 when every case passed, 1 at a fault, 2 when it cannot start.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "tools/mediafuzz/FuzzConfig.h"
#include "tools/mediafuzz/FuzzRun.h"

int main(int argc, char** argv) {
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    if (argc < 3) {
        std::fprintf(stderr, "usage: MediaFuzz <seed> <count> [first case]\n");
        return 2;
    }
    const uint32_t seme = static_cast<uint32_t>(std::strtoul(argv[1], nullptr, 10));
    const uint32_t numero = static_cast<uint32_t>(std::strtoul(argv[2], nullptr, 10));
    const uint32_t primo = argc > 3 ? static_cast<uint32_t>(std::strtoul(argv[3], nullptr, 10)) : 0;
    const bool mostra = argc > 4 && std::string(argv[4]) == "show";

    char percorso[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, percorso, MAX_PATH);
    std::string programmi = percorso;
    programmi = programmi.substr(0, programmi.find_last_of('\\'));
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    const std::string cartella = std::string(temp) + "mediafuzz" + std::to_string(GetCurrentProcessId());

    const std::string errore = PreparaFuzz(cartella, programmi + "\\GameSim.exe", programmi + "\\TestChild.exe");
    if (!errore.empty()) {
        std::fprintf(stderr, "MediaFuzz cannot start: %s\n", errore.c_str());
        ChiudiFuzz();
        return 2;
    }
    const DWORD inizio = GetTickCount();
    int esito = 0;
    for (uint32_t i = primo; i < primo + numero; ++i) {
        const CasoFuzz caso = GeneraCasoFuzz(seme, i);
        std::printf("seed %u case %u: %u media\n", seme, i, static_cast<unsigned>(caso.Media.size()));
        if (mostra)
            for (const MediaTrigger& m : caso.Media) std::printf("- %s\n", DescriviMedia(m).c_str());
        const DWORD inizioCaso = GetTickCount();
        const std::string guasto = EseguiCasoFuzz(caso);
        std::printf("  %lu ms\n", static_cast<unsigned long>(GetTickCount() - inizioCaso));
        if (!guasto.empty()) {
            std::fprintf(stderr, "%s\n", guasto.c_str());
            esito = 1;
            break;
        }
    }
    ChiudiFuzz();
    std::printf("MediaFuzz seed %u: %s after %lu s\n", seme, esito ? "FAULT" : "all cases passed",
                static_cast<unsigned long>((GetTickCount() - inizio) / 1000));
    return esito;
}
