#include "input/Guardian.h"

bool RilevaTrucchi() { return true; }
void ControllaStopSalvataggio() {}
void ImpostaGuardian() {}
