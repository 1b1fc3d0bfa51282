#include "media/CountdownMedia.h"

#include "media/MediaWindow.h"

int32_t ContatoreIniziale = 1;
int32_t ContatoreFinale = 10;
int32_t FlagCountDown = 8;

bool LeggiSintassiCountDown(const std::string&) { return false; }
std::string FormattaContatore(int32_t valore) { return std::to_string(valore); }

void Dialog_Titoli::MostraCountDown() {}
