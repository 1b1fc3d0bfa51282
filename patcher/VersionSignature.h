#pragma once
// Program recognition: the version signature of the game executable and of
// the level editor's programs, from the file's bytes.
#include <cstdint>
#include <string>

#include "core/DateTime.h"

// The reference size of the game executable.
constexpr int64_t DimensioneTomb4 = 0xC1000;

// The signature of the program named <nomeFile> (the name part of a path,
// any letter case) whose whole file is <dati>. False, with the reason in
// <errore>, when the file is too short for its PE header.
bool FirmaDaDati(const std::string& nomeFile, const std::string& dati, std::string& firma, std::string& errore);

// The PE build time stamp as a date (seconds after 1 January 1970, no
// time-zone conversion). False with the reason when the header is not there.
bool DataEseguibileDaDati(const std::string& dati, DataOra& data, std::string& errore);
DataOra DataDaSecondi(int64_t secondi);
// "9-Jun-2003  14:05".
std::string FormattaDataMese(const DataOra& data);

// How far <trovato> lies from <atteso>: "M" when not found (npos), "0" in
// place, else the hexadecimal distance, "N" in front of a negative one when
// <segnoNegativo>.
std::string SegnoDeviazione(size_t trovato, int64_t atteso, bool segnoNegativo);
