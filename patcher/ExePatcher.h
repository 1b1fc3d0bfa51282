#pragma once
// The game executable patcher as the start and the end of a run use it.
// Least form: the signature is the file's name, and nothing is patched.
#include <cstdint>
#include <string>
#include <vector>

// The user patch files applied at the start of the run.
extern std::vector<std::string> PatchUtente;
extern int32_t NumPatchUtente;

std::string FirmaEseguibile(const std::string& programma);
bool PatchTomb4(bool applica, const std::string& testo, const std::string& firma, const std::string& altro);
bool ApplicaPatch(const std::string& patch, const std::string& eseguibile, bool& annulla, const std::string& testo);
