#pragma once
// The header of the media packet media.mpf: its file count, the virtual
// flag with the virtual folder, and one entry per packed file.
#include <cstdint>
#include <string>
#include <vector>

#include "core/ByteStream.h"

struct MediaPacketHeader {
    int32_t Count = 0;
    int16_t IsVirtual = 0;  // -1: the files lie in Folder; 0: they follow the header
    std::string Folder;  // UTF-8, as the names
    // Indexed from 0; after a load Count + 1 elements, the last one free.
    std::vector<int32_t> FileSizes;
    std::vector<std::string> FileNames;
    std::vector<double> FileDates;   // OLE Automation dates, local time
    std::vector<double> AddedDates;
    int32_t DataStart = 0;  // the header's length; not stored
};

// The header from the packet's bytes; False when they do not hold it whole.
bool LeggiHeaderPacchetto(LettoreByte& file, MediaPacketHeader& header);
// The header's bytes; False when a count has no entries or a text is too long.
bool ComponiHeaderPacchetto(const MediaPacketHeader& header, std::string& dati);

// The packet's path is UTF-8, as the packet manager's paths are.
bool CaricaHeaderPacchetto(const std::string& percorso, MediaPacketHeader& header);
// Writes the header over the start of the packet without cutting the file.
bool SalvaHeaderPacchetto(const std::string& percorso, MediaPacketHeader& header);
