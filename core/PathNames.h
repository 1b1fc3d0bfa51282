#pragma once
// Path and name texts, split and rewritten without asking the file system.
#include <string>

// Zero characters become blanks, then the text is trimmed.
std::string PulisciStringa(const std::string& testo);

std::string NomeFileDaPercorso(const std::string& percorso);
std::string CartellaDaPercorso(const std::string& percorso);
std::string EstensioneFile(const std::string& nomeFile);
std::string TogliEstensione(const std::string& nomeFile);
std::string NomeSenzaEstensione(const std::string& percorso);
std::string CambiaEstensione(const std::string& nomeFile, const std::string& estensione);
