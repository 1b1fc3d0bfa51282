#pragma once
// The game executable patcher: the built-in fixes and the level's user
// patch files applied to the game folder's tomb4.exe before a run.
#include <cstdint>
#include <string>
#include <vector>

// The user patch files applied (or found applied) at the start of the run,
// in application order; the end of the run takes them out.
extern std::vector<std::string> PatchUtente;
extern int32_t NumPatchUtente;
// Beside PatchUtente, the signature each one was applied with: a patch bound
// to the executable's signature is taken out under the same one, whatever
// the built-in fixes made of the file since.
extern std::vector<std::string> FirmaPatchUtente;

// The built-in sets: the file's path and the remove flag; an EsitoPatch.
int32_t ApplicaFastPatchUE(const std::string& percorso, bool rimuovi);
int32_t ApplicaFastPatchLEInt4(const std::string& percorso, bool rimuovi);
int32_t PatchMappaturaUK(const std::string& percorso, bool rimuovi);
int32_t PatchMappaturaInt4(const std::string& percorso, bool rimuovi);
int32_t PatchCaricamentoUK(const std::string& percorso, bool rimuovi);
int32_t PatchCaricamentoInt4(const std::string& percorso, bool rimuovi);
int32_t PatchAltEnterV1(const std::string& percorso, bool rimuovi);
int32_t PatchAltEnterV2(const std::string& percorso, bool rimuovi);

// Patches the game folder's tomb4.exe of signature <firma>: the built-in
// sets, then every .ptc of the store folder. Reports through the log and
// the state (the patch bits of StatoGioco, PatchUtente).
void PatchTomb4(const std::string& firma);

// The end of the run: every user patch of PatchUtente taken out of the game
// folder's tomb4.exe, the last applied first; a patch that cannot be taken
// out is an error line. Empties the list.
void RimuoviPatchUtente();
