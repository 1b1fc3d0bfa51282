// Builds the demo's game folder: the programs, the game stand-in as
// tomb4.exe playing the title and one level, script.dat, a language file,
// media.mcf and the store folder, as the whole-run tests build theirs. The
// level has two triggers: an action media on track 5 and a text typed over a
// picture on track 4, both in level 1; the log is on.
//
// Usage: DemoFolder <folder>
#include <cstdint>
#include <cstdio>
#include <string>

#include "core/ImageFormats.h"
#include "tests/support/GameFolder.h"
#include "tests/support/TestFolders.h"

namespace {

// A dusk sky over a dark ground, small: the media stretches it over the screen.
std::string ImmagineDemo() {
    constexpr int32_t larghezza = 320, altezza = 240;
    std::string pixel;
    for (int32_t y = 0; y < altezza; ++y)
        for (int32_t x = 0; x < larghezza; ++x) {
            const bool terra = y > altezza * 2 / 3 + (x % 64 < 32 ? x % 32 : 32 - x % 32) / 4;
            const int32_t r = terra ? 40 : 60 + y * 140 / altezza;
            const int32_t g = terra ? 30 : 40 + y * 60 / altezza;
            const int32_t b = terra ? 20 : 120 - y * 60 / altezza;
            pixel += static_cast<char>(b);
            pixel += static_cast<char>(g);
            pixel += static_cast<char>(r);
        }
    return ComponiBmp24(larghezza, altezza, pixel);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "Usage: DemoFolder <folder>\n");
        return 2;
    }
    OpzioniCartellaGioco opzioni;
    opzioni.condiviso = true;
    opzioni.altreOpzioni = 0x8;  // the log on for the whole run
    opzioni.tracce = {4, 5};
    opzioni.trigger =
        "[Trigger]\r\nTypeFlags=0x1000\r\nMediaCode=1\r\nTriggerCd=5\r\nLevel=1\r\n"
        "[Trigger]\r\nTypeFlags=0x90\r\nMediaCode=2\r\nTriggerCd=4\r\nLevel=1\r\nMediaFile=demo.bmp\r\n"
        "Color=0xFFFFFF\r\nAlign=1\r\nCharRow=39\r\nBoundRect=100:600:900:950\r\nEffect=1\r\nDelayMicros=40\r\n"
        "Duration=3\r\nText=<TEXT>Welcome to the demo level\\r\\nA text typed over a picture<END_TEXT>\r\n";
    opzioni.scriptGioco =
        "boot 1024 768\nload title.tr4 200\ncd 97\nwait 500\nload level1.tr4 200\ncd 3\nwait 1000\n"
        "cd 5\nwait 1200\ncd 4\nwait 8000\nquit\n";
    std::string errore;
    if (!CostruisciCartellaGioco(argv[1], CartellaProgrammi(), opzioni, errore)) {
        std::fprintf(stderr, "DemoFolder: %s\n", errore.c_str());
        return 1;
    }
    if (!ScriviFileProva(std::string(argv[1]) + "\\store\\demo.bmp", ImmagineDemo())) {
        std::fprintf(stderr, "DemoFolder: cannot write the demo picture\n");
        return 1;
    }
    return 0;
}
