#include "input/Guardian.h"

#include "core/MediaSyntax.h"

bool RilevaTrucchi() { return true; }
void ControllaStopSalvataggio() {}
int32_t MediaStopSave = -1;
void ImpostaGuardian() {}

int32_t FlagGuardian = 1;

void LeggiCodiceGuardian(const std::string& sezione) {
    std::string testo = sezione;
    int32_t flag = 1;
    const std::string valore = EstraiTag(testo, "#FLAGS#=");
    if (!valore.empty() && valore != "~" && !ValoreIntero32(valore, flag)) flag = 1;
    FlagGuardian = flag;
}

bool ControllaSavegameBloccati() { return true; }

void AggiungiTastoCatturato(std::string&) {}
