// Builds the demo's game folder: the programs, the game stand-in as
// tomb4.exe playing the title and one level, script.dat, a language file,
// media.mcf and the store folder, as the whole-run tests build theirs.
//
// Usage: DemoFolder <folder>
#include <cstdio>
#include <string>

#include "tests/support/GameFolder.h"
#include "tests/support/TestFolders.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "Usage: DemoFolder <folder>\n");
        return 2;
    }
    OpzioniCartellaGioco opzioni;
    opzioni.scriptGioco =
        "boot 1024 768\nload title.tr4 200\ncd 97\nwait 500\nload level1.tr4 200\ncd 3\nwait 500\nquit\n";
    std::string errore;
    if (!CostruisciCartellaGioco(argv[1], CartellaProgrammi(), opzioni, errore)) {
        std::fprintf(stderr, "DemoFolder: %s\n", errore.c_str());
        return 1;
    }
    return 0;
}
