#include "input/Guardian.h"

#include "core/MediaLog.h"
#include "core/MediaSyntax.h"

void ControllaStopSalvataggio() { StampaNonCostruito("ControllaStopSalvataggio"); }
int32_t MediaStopSave = -1;
void ImpostaGuardian() { StampaNonCostruito("ImpostaGuardian"); }

int32_t FlagGuardian = 1;
int32_t CodiceGuardian = -1;

void LeggiCodiceGuardian(const std::string& sezione) {
    std::string testo = sezione;
    int32_t flag = 1;
    const std::string valore = EstraiTag(testo, "#FLAGS#=");
    if (!valore.empty() && valore != "~" && !ValoreIntero32(valore, flag)) flag = 1;
    FlagGuardian = flag;
    int32_t codice = -1;
    CodiceGuardian = ValoreIntero32(EstraiTag(testo, "#CODE#="), codice) ? codice : -1;
}

std::string LeggiFlagGuardian() {
    return "#FLAGS#=" + std::to_string(FlagGuardian) + "\r\n#CODE#=" + std::to_string(CodiceGuardian) + "\r\n";
}

std::string SintassiGuardianVecchia() {
    FlagGuardian = 1;
    return LeggiFlagGuardian();
}

bool ControllaSavegameBloccati() {
    StampaNonCostruito("ControllaSavegameBloccati");
    return false;
}
