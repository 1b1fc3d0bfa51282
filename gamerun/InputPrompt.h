#pragma once
// The input box of a splash screen: the keys the player types replace its
// "#PROMPT#".
#include <cstdint>
#include <string>

extern std::string TestoPromptSplash;
extern std::string InputSplash;
extern bool InputSplashConcluso;
extern int32_t LunghezzaMaxInput;

void SostituisciPrompt(int16_t tasto);
