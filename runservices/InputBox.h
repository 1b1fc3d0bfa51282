#pragma once
// What the input box of a splash holds while the player types: the splash
// sets it up, the prompt above it fills it key by key.
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
