// Arbitrary bytes as VideoCodec.bin and as the start of a Windows Media
// file: a table is read only when every record is there, and written back
// it gives the bytes it came from.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "media/VideoCodecs.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* dati, size_t n) {
    const std::string file(reinterpret_cast<const char*>(dati), n);
    std::vector<VideoCodecRecord> elenco;
    std::string motivo;
    if (LeggiVideoCodecBin(file, elenco, motivo)) {
        const std::string scritto = ScriviVideoCodecBin(elenco);
        if (scritto.size() != 4 + elenco.size() * LunghezzaRecordVideoCodec) std::abort();
        if (file.compare(0, scritto.size(), scritto) != 0) std::abort();
    } else if (!elenco.empty() || motivo.empty()) {
        std::abort();
    }
    uint32_t lunghezza = 0;
    if (LunghezzaIntestazioneWindowsMedia(file, n, lunghezza, motivo)) {
        if (lunghezza == 0 || lunghezza >= n || lunghezza > MassimaIntestazioneWindowsMedia) std::abort();
        std::string video, audio;
        const bool noto = FormatoDaIntestazioneWindowsMedia(file.substr(0, lunghezza), video, audio);
        if (noto != (!video.empty() && !audio.empty())) std::abort();
    } else if (lunghezza != 0 || motivo.empty()) {
        std::abort();
    }
    return 0;
}
