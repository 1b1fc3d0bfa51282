#include "input/GameOperation.h"

#include "core/MediaLog.h"

OperazioneGiocoCorrente OperazioneGioco;

void CaricaPartitaConMacro(bool) { OperazioneGioco = OperazioneGiocoCorrente{}; }

bool EseguiOperazioneGioco() { return false; }

bool VerificaCaricamento() { return false; }

bool EseguiSalvataggioPartita() {
    StampaNonCostruito("EseguiSalvataggioPartita");
    return false;
}
