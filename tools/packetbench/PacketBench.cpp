// Extracts one large entry from a media packet and copies the same bytes
// with the system's plain file copy, in the same run, and reports the
// throughput ratio and the peak memory of the process.
//   PacketBench.exe [megabytes] [folder]
#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <algorithm>
#include <string>
#include <vector>

#include "core/FileUtils.h"
#include "core/MediaPacket.h"
#include "core/SharedState.h"
#include "core/Utf8Text.h"

namespace {

double Secondi(LARGE_INTEGER a, LARGE_INTEGER b, LARGE_INTEGER f) {
    return static_cast<double>(b.QuadPart - a.QuadPart) / static_cast<double>(f.QuadPart);
}

double PiccoMb() {
    PROCESS_MEMORY_COUNTERS pmc{};
    pmc.cb = sizeof pmc;
    GetProcessMemoryInfo(GetCurrentProcess(), &pmc, sizeof pmc);
    return static_cast<double>(pmc.PeakWorkingSetSize) / (1024.0 * 1024.0);
}

}  // namespace

int main(int argc, char** argv) {
    const int mb = argc > 1 ? std::atoi(argv[1]) : 200;
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    const std::string cartella = argc > 2 ? argv[2] : std::string(temp) + "packetbench";
    CreateDirectoryA(cartella.c_str(), nullptr);
    ProcessoGioco.hProcess = reinterpret_cast<void*>(1);  // errors to the log, never a box

    const std::string sorgente = cartella + "\\big.bin";
    const std::string pacchetto = cartella + "\\media.mpf";
    {
        std::FILE* f = std::fopen(sorgente.c_str(), "wb");
        if (!f) return 2;
        std::vector<char> blocco(1 << 20);
        for (size_t i = 0; i < blocco.size(); ++i) blocco[i] = static_cast<char>(i * 31 + 7);
        for (int i = 0; i < mb; ++i) {
            blocco[0] = static_cast<char>(i);
            std::fwrite(blocco.data(), 1, blocco.size(), f);
        }
        std::fclose(f);
    }
    MediaPacketHeader h;
    // The packet manager takes UTF-8 paths.
    if (!GestionePacchettoMedia(Utf8DaAnsi(pacchetto), CreaPacchetto, "", "", h, false) ||
        !GestionePacchettoMedia(Utf8DaAnsi(pacchetto), AggiungiFile, Utf8DaAnsi(sorgente), "", h, false)) {
        std::printf("packet could not be built\n");
        return 1;
    }
    const double piccoPrima = PiccoMb();

    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    const std::string estratto = cartella + "\\extracted.bin";
    const std::string copia = cartella + "\\copied.bin";
    // Rounds in turn, the best time of each kept, so that the disk cache
    // favours neither.
    bool ok = true;
    double tEstrai = 1e9, tCopia = 1e9;
    for (int giro = 0; giro < 5; ++giro) {
        LARGE_INTEGER a, b, c;
        DeleteFileA(estratto.c_str());
        DeleteFileA(copia.c_str());
        QueryPerformanceCounter(&a);
        ok = GestionePacchettoMedia(Utf8DaAnsi(pacchetto), EstraiFile, "big.bin", Utf8DaAnsi(estratto), h, false) && ok;
        QueryPerformanceCounter(&b);
        ok = CopyFileA(sorgente.c_str(), copia.c_str(), FALSE) && ok;
        QueryPerformanceCounter(&c);
        tEstrai = std::min(tEstrai, Secondi(a, b, f));
        tCopia = std::min(tCopia, Secondi(b, c, f));
    }
    const bool ok2 = ok;
    const double mbs = static_cast<double>(mb);
    std::printf("bytes: %d MB, extraction %s\n", mb, ok && ok2 ? "ok" : "FAILED");
    std::printf("extraction: %.3f s (%.1f MB/s)\n", tEstrai, mbs / tEstrai);
    std::printf("plain copy: %.3f s (%.1f MB/s)\n", tCopia, mbs / tCopia);
    std::printf("ratio extraction/copy throughput: %.0f%%\n", 100.0 * tCopia / tEstrai);
    std::printf("peak working set: %.1f MB (after building the packet: %.1f MB)\n", PiccoMb(), piccoPrima);

    for (const std::string& p : {sorgente, pacchetto, estratto, copia, cartella + "\\backup_media.mpf"})
        DeleteFileA(p.c_str());
    RemoveDirectoryA(cartella.c_str());
    return ok && ok2 ? 0 : 1;
}
