// Builds the demo's game folder: the programs, the game stand-in as
// tomb4.exe playing the title and one level, script.dat, a language file,
// media.mcf and the store folder, as the whole-run tests build theirs. The
// level has two triggers: an action media on track 5 and an image with text
// on track 4, both in level 1; the log is on.
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
    opzioni.condiviso = true;
    opzioni.altreOpzioni = 0x8;  // the log on for the whole run
    opzioni.tracce = {4, 5};
    opzioni.trigger =
        "[Trigger]\r\nTypeFlags=0x1000\r\nMediaCode=1\r\nTriggerCd=5\r\nLevel=1\r\n"
        "[Trigger]\r\nTypeFlags=0x80\r\nMediaCode=2\r\nTriggerCd=4\r\nLevel=1\r\nText=<TEXT>Hi<END_TEXT>\r\n";
    opzioni.scriptGioco =
        "boot 1024 768\nload title.tr4 200\ncd 97\nwait 500\nload level1.tr4 200\ncd 3\nwait 1000\n"
        "cd 5\nwait 1200\ncd 4\nwait 1500\nquit\n";
    std::string errore;
    if (!CostruisciCartellaGioco(argv[1], CartellaProgrammi(), opzioni, errore)) {
        std::fprintf(stderr, "DemoFolder: %s\n", errore.c_str());
        return 1;
    }
    return 0;
}
