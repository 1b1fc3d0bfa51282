#pragma once
// The game's compiled script, script.dat, as this program reads it: the
// level file paths, the title level's CD track and the checksum. Bytes in,
// values out; no Windows header. Every count and offset is checked against
// the bytes that are there, so a damaged file gives a reason, never a read
// outside its tables.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The fixed header before the path offset table.
constexpr size_t LunghezzaHeaderScriptDat = 56;
constexpr size_t OffsetNumLivelliScriptDat = 9;
constexpr size_t OffsetNumPercorsiScriptDat = 10;
constexpr size_t OffsetBloccoPercorsiScriptDat = 12;
// Bytes of the title level's block that are read, and where its CD track is.
constexpr size_t LunghezzaInizioTitolo = 37;
constexpr size_t OffsetCdTitolo = 36;
constexpr uint8_t CodiceInizioTitolo = 0x91;
constexpr int32_t MassimoCdTitolo = 111;

// Where the tables of a script file lie.
struct TabelleScriptDat {
    int32_t NumLivelli = 0;   // L, level blocks
    int32_t NumPercorsi = 0;  // N, level paths
    int32_t LunghezzaPercorsi = 0;  // P
    size_t InizioOffsetPercorsi = 0;
    size_t InizioPercorsi = 0;
    size_t InizioOffsetLivelli = 0;
    size_t InizioLivelli = 0;
};

// The tables of <dati>; False with the reason in <motivo> when a count or an
// offset does not fit the file: N of 0 or more than L, a negative P, a table
// or the path block past the end, a path offset outside its block, level
// block offsets that do not ascend.
bool AnalizzaScriptDat(const std::string& dati, TabelleScriptDat& tabelle, std::string& motivo);

// The level paths as stored (folder and base name, no extension), index =
// level number; empty with the reason when the file is damaged.
bool PercorsiScriptDat(const std::string& dati, std::vector<std::string>& percorsi, std::string& motivo);

// The title level's CD track, or -1 with the reason.
int32_t CdTitoloScriptDat(const std::string& dati, std::string& motivo);

// First byte in bits 16-23, the low byte of the byte sum in bits 8-15 and
// that byte XOR 0x55 in bits 0-7. False for an empty file, which has no
// first byte.
bool ChecksumScriptDat(const std::string& dati, int32_t& checksum);
