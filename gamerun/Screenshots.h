#pragma once
// The player's screenshots from the clipboard, and captures of the game
// screen for the media that show it as background.
#include <cstdint>
#include <string>

extern uint32_t TickUltimaCatturaClipboard;

void CatturaImageClipboard(std::string& percorso);
// The first free numbered name: folder\name_NNNN.ext.
std::string CreaCartellaImmagini(const std::string& percorso);
// True when the captured picture is not black.
bool CatturaSchermoGioco(std::string& percorso);
void CopiaSchermoInImmagine(const std::string& percorso);
bool TestPixelSchermo();
