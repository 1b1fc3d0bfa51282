#include "gamerun/InputPrompt.h"

std::string TestoPromptSplash;
std::string InputSplash;
bool InputSplashConcluso = false;
int32_t LunghezzaMaxInput = 0;

void SostituisciPrompt(int16_t) {}
