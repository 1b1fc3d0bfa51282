#pragma once
// The game's settings key for tests: values read raw, written, and the whole
// key saved and given back, so that a test leaves the registry as it was.
#include <windows.h>

#include <map>
#include <string>
#include <vector>

// The key the game and Ludovane use, under HKEY_CURRENT_USER.
inline const char* const ChiaveGiocoRegistro = "Software\\Core Design\\Tomb Raider Level Editor";

void CancellaAlberoRegistro(HKEY radice, const std::string& chiave);

struct ValoreGrezzo {
    DWORD tipo = 0;
    std::string dati;
    bool operator==(const ValoreGrezzo&) const = default;
};

// Every value of <radice>\Game and <radice>\System as the registry holds it,
// named "Game\Key0" and the like.
std::map<std::string, ValoreGrezzo> FotografiaRegistro(const std::string& radice);
// Writes the values back, keys created as needed.
bool RipristinaFotografiaRegistro(const std::string& radice, const std::map<std::string, ValoreGrezzo>& f);

// <radice>\<sotto> value <nome> := <valore> as REG_DWORD.
bool MettiValoreRegistro(const std::string& radice, const std::string& sotto, const std::string& nome, DWORD valore);

// A registry as the game might leave it, with values a 16-bit reader would
// cut: a volume of -1, a window off the left edge and one far away.
void ScriviRegistroDelGioco(const std::string& radice);

// The game's own key, emptied for a test and given back after it.
class ChiaveGiocoSalvata {
public:
    ChiaveGiocoSalvata();
    ~ChiaveGiocoSalvata();
    ChiaveGiocoSalvata(const ChiaveGiocoSalvata&) = delete;
    ChiaveGiocoSalvata& operator=(const ChiaveGiocoSalvata&) = delete;

private:
    bool esisteva_ = false;
    std::map<std::string, ValoreGrezzo> valori_;
};
