#pragma once
// The input box of a splash screen: the keys the player types replace its
// "#PROMPT#".
#include <cstdint>
#include <string>

#include "runservices/InputBox.h"

// Input option bits of OperazioneGioco.Flags.
enum BitFlagInput : int32_t {
    InputSenzaCursore = 0x40,  // single-key mode: no echo
    InputTastoSingolo = 0x80,
    InputSenzaCursoreBackspace = 0x100,
    InputSuoniTasti = 0x4000,
};

void SostituisciPrompt(int16_t tasto);
