#pragma once
// The input box of a splash screen: the keys the player types replace its
// "#PROMPT#".
#include <cstdint>
#include <string>

// The splash text that holds "#PROMPT#", the text typed so far (UTF-8), the
// end of the input and the most characters it may hold.
extern std::string TestoPromptSplash;
extern std::string InputSplash;
extern bool InputSplashConcluso;
extern int32_t LunghezzaMaxInput;
// The splash text as last drawn, with the typed text in place of "#PROMPT#".
extern std::string TestoPromptMostrato;

// Input option bits of OperazioneGioco.Flags.
enum BitFlagInput : int32_t {
    InputSenzaCursore = 0x40,  // single-key mode: no echo
    InputTastoSingolo = 0x80,
    InputSenzaCursoreBackspace = 0x100,
    InputSuoniTasti = 0x4000,
};

void SostituisciPrompt(int16_t tasto);
