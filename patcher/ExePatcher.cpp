#include "patcher/ExePatcher.h"

#include "core/MediaLog.h"
#include "core/PathNames.h"

std::vector<std::string> PatchUtente;
int32_t NumPatchUtente = 0;

std::string FirmaEseguibile(const std::string& programma) {
    StampaNonCostruito("FirmaEseguibile");
    return NomeFileDaPercorso(programma);
}

bool PatchTomb4(bool, const std::string&, const std::string&, const std::string&) {
    StampaNonCostruito("PatchTomb4");
    return false;
}

bool ApplicaPatch(const std::string&, const std::string&, bool&, const std::string&) {
    StampaNonCostruito("ApplicaPatch");
    return false;
}
