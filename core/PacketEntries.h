#pragma once
// What the packet manager asks of a loaded media.mpf header before it
// touches any file, and the dates the header stores.
#include <cstdint>
#include <string>

#include "core/DateTime.h"
#include "core/MediaPacketHeader.h"

// A name without folder, drive or "..", device name (CON, COM1, nul.txt)
// or a character the file system refuses: the only kind an entry may have.
bool IsNomeFileSemplice(const std::string& nome);
// Every entry a bare name with a size of 0 or more; in absolute format the
// contents all inside a file of <lunghezzaFile> bytes.
bool ControllaVociPacchetto(const MediaPacketHeader& header, int64_t lunghezzaFile);
// Sum of the entries' sizes.
int64_t TotaleDimensioni(const MediaPacketHeader& header);

double DataOle(const DataOra& d);
DataOra DaDataOle(double data);
// "dd/mm/yyyy hh:mm:ss".
std::string TestoDataOle(double data);
