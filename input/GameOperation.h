#pragma once
// Least form of the game operations driven by key macros. No macro is sent
// yet: loading the last savegame reports that its level cannot be found.
#include <cstdint>

struct OperazioneGiocoCorrente {
    int32_t Flags = 0;               // option bits of the splash's input
    int32_t LivelloDaCaricare = -1;  // -1: the level file of the savegame is missing
    bool InCorso = false;
    int32_t PassiRimasti = 0;
    uint32_t TickUltimoPasso = 0;
};

extern OperazioneGiocoCorrente OperazioneGioco;

void CaricaPartitaConMacro(bool silenzioso);
bool EseguiOperazioneGioco();
bool VerificaCaricamento();
// A whole save of the running game; True when the game was saved.
bool EseguiSalvataggioPartita();
