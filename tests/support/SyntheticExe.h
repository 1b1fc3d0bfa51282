#pragma once
// Small stand-ins for the game executable and the level editor's programs:
// a PE header with its build time stamp, the language names, the probes of
// the signature at their offsets and the patch sites of a build holding
// their expected bytes. Bytes only, for the host build as well.
#include <cstdint>
#include <string>
#include <vector>

enum class BuildGioco { Nessuna, LE_UK, LE_INT4 };

struct OpzioniEseguibile {
    int64_t dimensione = 0xC1000;
    uint32_t dataPe = 1055166300;  // 9 June 2003 13:45:00
    std::vector<std::string> lingue = {"uk"};
    bool marchioFilmati = false;   // "fmv\fmv%02d.bik": an "LR" build
    bool sondaA = true;
    int32_t spostamentoB = 0;      // where probe B lies from its place
    bool sondeCD = true;
    BuildGioco build = BuildGioco::LE_UK;  // whose patch sites hold their bytes
};

std::string EseguibileSintetico(const OpzioniEseguibile& o);

// A program of any name: the PE header with the date, <dimensione> bytes,
// <testo> at <offset> (none when offset is negative).
std::string ProgrammaSintetico(int64_t dimensione, const std::string& testo, int64_t offset, uint32_t dataPe);

// Writes <byte> at <offset> of <dati>.
void Poni(std::string& dati, int64_t offset, const std::string& byte);
