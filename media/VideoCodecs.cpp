#include "media/VideoCodecs.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>

#include "core/ByteStream.h"
#include "core/FileUtils.h"
#include "core/MediaLog.h"
#include "core/PathNames.h"
#include "core/SharedState.h"
#include "core/TextUtils.h"

std::vector<VideoCodecRecord> ElencoVideoCodec;

std::string NomeFilmatoFisso(const std::string& nome) {
    std::string fisso = nome.substr(0, LunghezzaNomeFilmato);
    fisso.resize(LunghezzaNomeFilmato, ' ');
    return fisso;
}

bool LeggiVideoCodecBin(const std::string& dati, std::vector<VideoCodecRecord>& elenco, std::string& motivo) {
    elenco.clear();
    motivo.clear();
    LettoreByte lettore(dati);
    int32_t numero = 0;
    if (!lettore.LeggiI32(numero)) {
        motivo = "the file has " + std::to_string(dati.size()) + " bytes, no record count";
        return false;
    }
    if (numero < 0) {
        motivo = "its record count is " + std::to_string(numero);
        return false;
    }
    const size_t interi = lettore.Rimanenti() / LunghezzaRecordVideoCodec;
    if (static_cast<size_t>(numero) > interi) {
        motivo = "its record count is " + std::to_string(numero) + " but it holds " + std::to_string(interi) +
                 " whole records";
        return false;
    }
    elenco.reserve(static_cast<size_t>(numero) + 1);
    for (int32_t i = 0; i < numero; ++i) {
        VideoCodecRecord r;
        r.NomeFilmato.assign(reinterpret_cast<const char*>(lettore.Prendi(LunghezzaNomeFilmato)), LunghezzaNomeFilmato);
        lettore.LeggiI32(r.StatoCodec);
        elenco.push_back(std::move(r));
    }
    return true;
}

std::string ScriviVideoCodecBin(const std::vector<VideoCodecRecord>& elenco) {
    ScrittoreByte scrittore;
    scrittore.ScriviI32(static_cast<int32_t>(elenco.size()));
    for (const VideoCodecRecord& r : elenco) {
        const std::string nome = NomeFilmatoFisso(r.NomeFilmato);
        scrittore.ScriviByte(nome.data(), nome.size());
        scrittore.ScriviI32(r.StatoCodec);
    }
    return scrittore.Dati();
}

std::string PercorsoVideoCodecBin() { return NellaCartella(PercorsoStore, "VideoCodec.bin"); }

bool CaricaVideoCodecBin() {
    ElencoVideoCodec.clear();
    const std::string percorso = PercorsoVideoCodecBin();
    if (!EsisteFile(percorso)) {
        StampaLog("Missing info video codec file: first execution");
        return true;
    }
    std::string dati;
    if (!LeggiFileIntero(percorso, dati))
        return RigaErrore("Error reading info video codec file: " + percorso + "; no movie is taken as verified");
    std::string motivo;
    if (!LeggiVideoCodecBin(dati, ElencoVideoCodec, motivo))
        return RigaErrore("Damaged info video codec file: " + percorso + " (" + motivo +
                          "); no movie is taken as verified");
    StampaLog("Loaded Info Video Codec file: " + std::to_string(ElencoVideoCodec.size()) + " records");
    return true;
}

bool SalvaVideoCodecBin() {
    const std::string percorso = PercorsoVideoCodecBin();
    if (!RiscriviConBackup(percorso, ScriviVideoCodecBin(ElencoVideoCodec)))
        return RigaErrore("Error saving info video codec file: " + percorso);
    return true;
}

namespace {

constexpr size_t OffsetLunghezzaIntestazione = 16;

std::string Minuscolo(std::string testo) {
    for (char& c : testo)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return testo;
}

}  // namespace

bool LunghezzaIntestazioneWindowsMedia(const std::string& inizio, uint64_t lunghezzaFile, uint32_t& lunghezza,
                                       std::string& motivo) {
    lunghezza = 0;
    motivo.clear();
    const uint64_t disponibili = std::min<uint64_t>(inizio.size(), lunghezzaFile);
    if (disponibili < OffsetLunghezzaIntestazione + 4) {
        motivo = "the file has " + std::to_string(lunghezzaFile) + " bytes, no header length";
        return false;
    }
    uint32_t valore = 0;
    for (size_t k = 0; k < 4; ++k)
        valore |= static_cast<uint32_t>(static_cast<uint8_t>(inizio[OffsetLunghezzaIntestazione + k])) << (8 * k);
    if (valore == 0) {
        motivo = "its header length is 0";
        return false;
    }
    if (valore >= lunghezzaFile) {
        motivo = "its header length " + std::to_string(valore) + " reaches past the file's " +
                 std::to_string(lunghezzaFile) + " bytes";
        return false;
    }
    if (valore > MassimaIntestazioneWindowsMedia) {
        motivo = "its header length " + std::to_string(valore) + " is over the " +
                 std::to_string(MassimaIntestazioneWindowsMedia) + " bytes a header may have";
        return false;
    }
    lunghezza = valore;
    return true;
}

bool FormatoDaIntestazioneWindowsMedia(const std::string& intestazione, std::string& video, std::string& audio) {
    video.clear();
    audio.clear();
    const std::string testo = Minuscolo(intestazione);
    struct Nome {
        const char* nome;
        std::string* formato;
        const char* valore;
    };
    const Nome nomi[] = {{"Windows Media Audio V7", &audio, "WMA7"},
                         {"Windows Media Audio V8", &audio, "WMA8"},
                         {"Windows Media Video V7", &video, "WMV7"},
                         {"Windows Media Video V8", &video, "WMV8"}};
    for (const Nome& n : nomi)
        if (testo.find(Minuscolo(ConvertiInWide(n.nome))) != std::string::npos) *n.formato = n.valore;
    if (audio.empty() && !video.empty()) audio = SostituisciSenzaCaso(video, "WMV", "WMA");
    return !video.empty() && !audio.empty();
}

bool LeggiFormatoWindowsMedia(const std::string& percorso, std::string& video, std::string& audio) {
    video.clear();
    audio.clear();
    if (!EsisteFile(percorso)) return RigaErrore("Not found movie file: " + percorso);
    std::FILE* f = ApriFile(percorso, "rb");
    if (!f) return RigaErrore("Error reading movie file: " + percorso);
    std::string inizio(OffsetLunghezzaIntestazione + 4, '\0');
    inizio.resize(std::fread(inizio.data(), 1, inizio.size(), f));
    uint64_t lunghezzaFile = 0;
    if (std::fseek(f, 0, SEEK_END) == 0) {
        const long fine = std::ftell(f);
        if (fine > 0) lunghezzaFile = static_cast<uint64_t>(fine);
    }
    uint32_t lunghezza = 0;
    std::string motivo;
    if (!LunghezzaIntestazioneWindowsMedia(inizio, lunghezzaFile, lunghezza, motivo)) {
        std::fclose(f);
        return RigaErrore("Damaged Windows Media header in " + percorso + ": " + motivo);
    }
    std::string intestazione(lunghezza, '\0');
    const bool letta = std::fseek(f, 0, SEEK_SET) == 0 &&
                       std::fread(intestazione.data(), 1, intestazione.size(), f) == intestazione.size();
    std::fclose(f);
    if (!letta) return RigaErrore("Error reading movie file: " + percorso);
    return FormatoDaIntestazioneWindowsMedia(intestazione, video, audio);
}

int32_t ParteVersione(const std::string& versione, size_t indice) {
    size_t k = 0;
    for (size_t parte = 0; parte < indice; ++parte) {
        k = versione.find_first_of(".,", k);
        if (k == std::string::npos) return 0;
        ++k;
    }
    k = versione.find_first_not_of(' ', k);
    int64_t numero = 0;
    for (; k < versione.size() && versione[k] >= '0' && versione[k] <= '9'; ++k) {
        numero = numero * 10 + (versione[k] - '0');
        if (numero > INT32_MAX) return INT32_MAX;
    }
    return static_cast<int32_t>(numero);
}
