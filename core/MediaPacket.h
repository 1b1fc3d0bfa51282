#pragma once
// The media packet media.mpf: created, changed, verified, converted and
// extracted through the one entry point GestionePacchettoMedia.
#include <cstdint>
#include <string>

#include "core/MediaPacketHeader.h"
#include "core/PacketEntries.h"

enum OperazionePacchetto : int32_t {
    CreaPacchetto = 1,
    AggiungiFile = 2,
    RimuoviFile = 3,
    EstraiFile = 4,
    EstraiTutto = 5,
    AggiornaFile = 6,
    CaricaHeader = 7,
    VerificaPacchetto = 8,
    CreaPacchettoVirtuale = 9,
    InVirtuale = 10,
    InAssoluto = 11,
    AggiungiCartella = 12,
    CancellaPacchetto = 13,
    SalvaHeader = 14,
};

// Paths and entry names are UTF-8 (Utf8Text.h), so that an entry named
// outside the ANSI code page is found, added and extracted like any other;
// a caller converts an ANSI path with Utf8DaAnsi.
bool GestionePacchettoMedia(const std::string& pacchetto, int32_t operazione, const std::string& file,
                            const std::string& destinazione, MediaPacketHeader& header, bool rinomina);

// The packet's header, checked against the file before any use: bare entry
// names, sizes inside the file. A virtual folder other than the packet's own
// V_FOLDER is taken as that folder. The error line on failure. Without
// <contenutiNelFile> the sizes need not fit in the file.
bool CaricaHeaderControllato(const std::string& pacchetto, MediaPacketHeader& header, bool contenutiNelFile = true);

// A CD-track sound such as 012.wav or 012.mp3.
bool IsFileTracciaAudio(const std::string& percorso);

// Window side: file dates as OLE dates, local time; UTF-8 paths.
bool DataModificaFile(const std::string& percorso, double& data);
double DataOraCorrente();
bool ImpostaDataFileOle(const std::string& percorso, double data);

