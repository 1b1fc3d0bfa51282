#pragma once
// Countdown media and the "COUNTDOWN" syntax, which the alerts' countdown
// reads too.
#include <cstdint>
#include <string>

extern int32_t ContatoreIniziale;
extern int32_t ContatoreFinale;
extern int32_t FlagCountDown;

bool LeggiSintassiCountDown(const std::string& sezione);
std::string FormattaContatore(int32_t valore);
