#include "gamerun/Screenshots.h"

uint32_t TickUltimaCatturaClipboard = 0;

void CatturaImageClipboard(std::string&) {}

std::string CreaCartellaImmagini(const std::string& percorso) { return percorso; }

bool CatturaSchermoGioco(std::string&) { return false; }

void CopiaSchermoInImmagine(const std::string&) {}

bool TestPixelSchermo() { return false; }
