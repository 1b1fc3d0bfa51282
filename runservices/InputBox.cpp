#include "runservices/InputBox.h"

std::string TestoPromptSplash;
std::string InputSplash;
bool InputSplashConcluso = false;
int32_t LunghezzaMaxInput = 0;
std::string TestoPromptMostrato;
