#pragma once
// Path and name texts, split and rewritten without asking the file system.
#include <cstdint>
#include <string>

// Zero characters become blanks, then the text is trimmed.
std::string PulisciStringa(const std::string& testo);

std::string NomeFileDaPercorso(const std::string& percorso);
std::string CartellaDaPercorso(const std::string& percorso);
// <nome> inside <cartella>. An empty folder gives the name alone, never
// "\name" at the root of the drive; a folder that ends in "\" (a drive's
// root) gets no second one.
std::string NellaCartella(const std::string& cartella, const std::string& nome);
std::string EstensioneFile(const std::string& nomeFile);
std::string TogliEstensione(const std::string& nomeFile);
std::string NomeSenzaEstensione(const std::string& percorso);
std::string CambiaEstensione(const std::string& nomeFile, const std::string& estensione);

constexpr int32_t NumSlotSavegame = 15;
// True when the name part of the path is a savegame slot's: "savegame.",
// any case, and a number 0 to 14 (leading zeros allowed).
bool IsNomeSavegame(const std::string& percorso);
