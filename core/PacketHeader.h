#pragma once
// The header of media.mpf as bytes: count, virtual flag, virtual folder,
// then per entry its name, size, file date and date added.
#include <cstdint>
#include <string>
#include <vector>

#include "core/ByteStream.h"

struct MediaPacketHeader {
    int32_t Count = 0;
    int16_t IsVirtual = 0;  // -1 virtual, 0 absolute
    std::string Folder;
    std::vector<int32_t> FileSizes;
    std::vector<std::string> FileNames;
    std::vector<double> FileDates;   // OLE Automation dates, local time
    std::vector<double> AddedDates;
    int32_t DataStart = 0;           // never stored: the header's length
};

// Why a read of the header stopped.
enum class EsitoHeader { Valido, Troncato, NonValido };

// Reads the header from the start of <dati>. Troncato when the bytes end
// inside the header (more of the file may complete it); NonValido for a
// negative count or size, or an entry name that is not a bare file name.
// The arrays end with one free slot.
EsitoHeader LeggiHeaderPacchetto(const std::string& dati, MediaPacketHeader& header);
// The header's bytes; DataStart is set to their length. False when a text
// is too long for its count field.
bool ComponiHeaderPacchetto(MediaPacketHeader& header, std::string& dati);

// A name without folder, drive or "..": the only kind an entry may have.
bool IsNomeFileSemplice(const std::string& nome);

// Sum of the entries' sizes.
int64_t TotaleDimensioni(const MediaPacketHeader& header);

struct DataOraOle {
    int32_t Anno = 0, Mese = 0, Giorno = 0, Ora = 0, Minuto = 0, Secondo = 0;
};
double DataOle(const DataOraOle& d);
DataOraOle DaDataOle(double data);
// "dd/mm/yyyy hh:mm:ss".
std::string TestoDataOle(double data);
