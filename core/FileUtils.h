#pragma once
// Files, folders and paths. No routine here writes to the log or lets an
// error reach its caller: failure shows only in the result.
#include <string>

std::string PulisciStringa(const std::string& testo);

bool EsisteFile(const std::string& percorso);
bool CancellaFile(const std::string& percorso);

bool EsisteCartella(const std::string& percorso);
bool CreaCartella(const std::string& percorso);

std::string NomeFileDaPercorso(const std::string& percorso);
std::string CartellaDaPercorso(const std::string& percorso);
