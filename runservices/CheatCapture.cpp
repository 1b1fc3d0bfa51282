#include "runservices/CheatCapture.h"

#include "core/MediaLog.h"

std::string TastiCatturati;
uint32_t TickUltimoTasto = 0;
std::string TruccoRilevato;
int32_t CodiceDozy = -1, CodiceGuns = -1, CodiceHelp = -1, CodiceWeapons = -1;

void AggiungiTastoCatturato(std::string&) { StampaNonCostruito("AggiungiTastoCatturato"); }
