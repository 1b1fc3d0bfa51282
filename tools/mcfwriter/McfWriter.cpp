// McfWriter <description> <media.mcf>   writes the configuration described
// McfWriter --dump <media.mcf>          prints a configuration's description
// The description's form is in McfDescription.h. Exit code 0 on success.
#include <cstdio>
#include <string>

#include "core/MediaConfig.h"
#include "core/SharedState.h"
#include "tools/mcfwriter/McfDescription.h"

int main(int argc, char** argv) {
    // Errors go to the standard error stream, not to message boxes.
    ProcessoGioco.hProcess = reinterpret_cast<void*>(1);
    if (argc == 3 && std::string(argv[1]) == "--dump") {
        if (!CaricaMediaMcf(argv[2])) {
            std::fprintf(stderr, "%s\n", UltimoErrore.c_str());
            return 1;
        }
        const std::string testo = DescriviMcf();
        std::fwrite(testo.data(), 1, testo.size(), stdout);
        return 0;
    }
    if (argc != 3) {
        std::fprintf(stderr, "usage: McfWriter <description> <media.mcf> | McfWriter --dump <media.mcf>\n");
        return 2;
    }
    std::string descrizione;
    std::FILE* f = std::fopen(argv[1], "rb");
    if (!f) {
        std::fprintf(stderr, "cannot read %s\n", argv[1]);
        return 1;
    }
    char blocco[4096];
    size_t letti;
    while ((letti = std::fread(blocco, 1, sizeof blocco, f)) > 0) descrizione.append(blocco, letti);
    std::fclose(f);
    std::string errore;
    if (!LeggiDescrizioneMcf(descrizione, errore)) {
        std::fprintf(stderr, "%s: %s\n", argv[1], errore.c_str());
        return 1;
    }
    std::string percorso = argv[2];
    if (!SalvaMediaConfig(percorso)) {
        std::fprintf(stderr, "%s\n", UltimoErrore.c_str());
        return 1;
    }
    return 0;
}
