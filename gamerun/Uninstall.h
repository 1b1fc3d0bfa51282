#pragma once
// The "/u" road (uninstall the level) and the "/l" road (list the media
// triggers).
#include <cstdint>
#include <string>
#include <vector>

extern int32_t NumFileInstallati;
extern std::vector<std::string> FileInstallati;
extern std::string CartellaBackupCorrente;
// The paths outside the game folder that the restores of this uninstall
// left alone, each logged once when met.
extern std::vector<std::string> PercorsiSaltati;

void DisinstallaLivello();
void MostraListaMedia();

// Fills NumFileInstallati and FileInstallati from the text of an Extract.txt.
bool LeggiExtractTxt(const std::string& testo);
bool RipristinaBackup(const std::string& percorsoExtract, const std::string& cartellaBackup);
std::string RigaListaMedia(int32_t indice);
// The whole text of the media list of the loaded configuration.
std::string TestoListaMedia(const std::string& nomeMcf);
void RimuoviLinkDesktop(const std::string& percorsoEseguibile);
void CreaRemoveLevelBat();
// True for a path inside the game folder, the only kind the uninstall
// deletes or restores.
bool DentroCartellaGioco(const std::string& percorso);
