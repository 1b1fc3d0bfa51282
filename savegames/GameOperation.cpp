#include "savegames/GameOperation.h"

OperazioneGiocoCorrente OperazioneGioco;

void CaricaPartitaConMacro(bool) { OperazioneGioco = OperazioneGiocoCorrente{}; }

bool EseguiOperazioneGioco() { return false; }

bool VerificaCaricamento() { return false; }
