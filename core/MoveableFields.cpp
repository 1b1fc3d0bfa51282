#include "core/MoveableFields.h"

#include <cstdio>

namespace {
const char* const CampiMoveable[NumCampiMoveable] = {
    "w:Mark",          "w:PosX",           "w:PosY",          "w:PosZ",
    "b:Room",          "w:Orientation",    "w:ew_0002",       "w:ew_0001",
    "w:ew_0020",       "w:ew_0040",        "b:CurrentAnimation", "b:NextAnimation",
    "b:SpecialAnimation", "w:AnimationId", "w:AnimationFrame", "w:ew_4000",
    "w:TriggerStatus", "b:Flags",          "w:ew_0080",       "w:ew_0100",
    "w:ew_0200",       "w:ew_0400",        "w:ew_0800",       "w:ew_1000",
};
}  // namespace

std::string NomeCampoMoveable(int32_t codice) {
    const int32_t indice = codice & 255;
    if (indice >= NumCampiMoveable) return std::string();
    const std::string campo = CampiMoveable[indice];
    char esadecimale[16];
    std::snprintf(esadecimale, sizeof esadecimale, "%04X", static_cast<unsigned>(codice & 0xFFFF));
    const char* prefisso = (codice & 0x700) == 0x400 ? "Enemy." : "Lara.";
    return std::string(esadecimale) + ":" + campo.substr(0, 1) + ":" + prefisso + campo.substr(2);
}
