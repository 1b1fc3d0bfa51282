#pragma once
// The one-time initialiser of the program's shared tables.
#include <cstdint>
#include <string>
#include <vector>

// Language names, indexed as the media texts and the savegame media number them.
extern std::vector<std::string> NomiLingue;
extern int32_t NumLingue;
// Savegame field rows "OFFS:T:Name": fixed offsets, the level variables,
// then the moveable fields of Lara and of an enemy.
extern std::vector<std::string> TabellaCampiSavegame;
extern int32_t TotCampiSavegame;
// Font faces by the font number of a text format.
extern std::vector<std::string> NomiFont;
// The face name of a text format's font number; "" outside the table.
std::string NomeFontDaIndice(int32_t indice);
extern int32_t NumFont;
// Priority levels 1 to 14 (index = level - 1): process class and thread priority.
extern std::vector<int32_t> ClassiPriorita;
extern std::vector<int32_t> PrioritaThread;
extern int32_t NumLivelliPriorita;
// The captured game screen of a media sequence.
extern std::string FileCatturaSchermo;

// Reads the desktop's screen into SchermoX and SchermoY with its size in
// twips (RiferimentoX, RiferimentoY) and puts the cover rectangle on it:
// display-mode work of the game run, which sits above the core and points
// this at its routine before InitModMedia. Unset, the sizes stay as they are.
extern void (*ScanSchermoIniziale)();

// The game folder followed by "\store", created when missing.
bool ImpostaCartellaStore();
// Builds the tables, sets the store folder and starts the log. False stops
// the program.
bool InitModMedia();
// The language names and the savegame field rows, which need no window.
void ImpostaTabelleLingueCampi();
// The index of a language name (any letter case), -1 with an error line
// when it is not known.
int32_t IndiceLingua(const std::string& nome);
