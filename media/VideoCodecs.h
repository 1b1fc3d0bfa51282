#pragma once
// Which movies of the game folder have a codec on this computer
// (VideoCodec.bin in the store folder), and the codec generation a Windows
// Media file names in its header. Bytes and files only: no Windows header,
// so that it builds natively too.
#include <cstdint>
#include <string>
#include <vector>

constexpr size_t LunghezzaNomeFilmato = 80;
constexpr size_t LunghezzaRecordVideoCodec = LunghezzaNomeFilmato + 4;

constexpr int32_t CodecPresente = 1;
constexpr int32_t CodecDisabilitato = 2;
constexpr int32_t CodecDaVerificare = 3;

struct VideoCodecRecord {
    // Always LunghezzaNomeFilmato characters, space-padded.
    std::string NomeFilmato;
    int32_t StatoCodec = CodecDaVerificare;
};

// The table of the run; its size is the record count.
extern std::vector<VideoCodecRecord> ElencoVideoCodec;

// The name cut or padded to the fixed field.
std::string NomeFilmatoFisso(const std::string& nome);

// The file's bytes: the count, then the records. False, with the reason and
// the table empty, when the count is negative or the bytes hold fewer whole
// records than it says.
bool LeggiVideoCodecBin(const std::string& dati, std::vector<VideoCodecRecord>& elenco, std::string& motivo);
std::string ScriviVideoCodecBin(const std::vector<VideoCodecRecord>& elenco);

std::string PercorsoVideoCodecBin();
// A missing file is a first execution; a damaged one is taken as empty with
// an error line (False), and stays as the backup at the next save.
bool CaricaVideoCodecBin();
// Through a temporary file, the previous one kept as backup.
bool SalvaVideoCodecBin();

// The most bytes of header read: no real header object comes near it, and
// a damaged length in a large movie must not have the file read whole.
constexpr uint32_t MassimaIntestazioneWindowsMedia = 16u * 1024 * 1024;

// The header object's length at offset 16 of a Windows Media file, from its
// first bytes and the file's length. False, with the reason, for a file
// under 20 bytes, a length 0, one that reaches the file's end or one over
// MassimaIntestazioneWindowsMedia.
bool LunghezzaIntestazioneWindowsMedia(const std::string& inizio, uint64_t lunghezzaFile, uint32_t& lunghezza,
                                       std::string& motivo);
// "WMV7"/"WMV8" and "WMA7"/"WMA8" from the codec names in the header's
// UTF-16 text; V8 wins over V7, and a file with video only gets the audio
// of its video generation. True when both are known.
bool FormatoDaIntestazioneWindowsMedia(const std::string& intestazione, std::string& video, std::string& audio);
bool LeggiFormatoWindowsMedia(const std::string& percorso, std::string& video, std::string& audio);

// Part <indice> (0 the first) of a file's version text ("7.0.0.1850",
// "6, 4, 9, 1125", "7"): "," separates like ".", and a missing part or
// what is no number counts as 0.
int32_t ParteVersione(const std::string& versione, size_t indice);
inline int32_t NumeroPrincipaleVersione(const std::string& versione) { return ParteVersione(versione, 0); }
