#include "core/MediaExtraction.h"

#include "core/FileUtils.h"
#include "core/MediaConfig.h"
#include "core/MediaLog.h"
#include "core/MediaPacket.h"
#include "core/SharedState.h"
#include "core/SystemUtils.h"
#include "core/TextUtils.h"
#include "core/Utf8Files.h"
#include "core/Utf8Text.h"

namespace {
std::string Estensione(const std::string& percorso) { return MaiuscoloAscii(EstensioneFile(percorso)); }

bool TrovaAudio(std::string& percorso, bool (*esiste)(const std::string&)) {
    if (esiste(percorso)) return true;
    const std::string est = Estensione(percorso);
    std::string alternativa;
    if (est == ".MP3")
        alternativa = percorso.substr(0, percorso.size() - 4) + ".wav";
    else if (est == ".WAV")
        alternativa = percorso.substr(0, percorso.size() - 4) + ".mp3";
    else
        return false;
    if (!esiste(alternativa)) return false;
    percorso = alternativa;
    return true;
}

// A trigger's name is UTF-8, so are the paths built from it; the caller gets
// the path found in the form its A functions take. A name that has none is
// reported and counts as not found.
std::string PerChiamante(const std::string& trovato, bool silenzioso) {
    const std::string ansi = PercorsoAnsi(trovato);
    if (ansi.empty() && !silenzioso) StampaLog("ERROR: no ANSI path for file: " + AnsiDaUtf8(trovato), true);
    return ansi;
}
}  // namespace

bool TrovaFileAudio(std::string& percorso) { return TrovaAudio(percorso, EsisteFile); }

std::string NomeWavNumero(int32_t numero) { return FormatoZeri(numero, 3) + ".wav"; }

std::string NomeWavTraccia(int32_t numero) { return Trim(CartellaTrle) + "\\audio\\" + NomeWavNumero(numero); }

std::string EstraiFileMedia(const std::string& nomeFile, bool& temporaneo, bool conserva, bool silenzioso) {
    temporaneo = false;
    const std::string m = NomeFileDaPercorso(nomeFile);
    const std::string trle = Utf8DaAnsi(Trim(CartellaTrle));
    const std::string store = Utf8DaAnsi(PercorsoStore);
    if (nomeFile.find(":\\") != std::string::npos) {
        std::string p = nomeFile;
        if (TrovaAudio(p, EsisteFileUtf8)) return PerChiamante(p, silenzioso);
        if (!silenzioso) RigaErroreUtf8("ERROR: Not found file: " + nomeFile);
        return "";
    }
    const bool stessaCartella = UgualeSenzaCaso(Trim(CartellaTrle), HeaderMcf.CartellaMcf);
    const std::string pacchetto = NellaCartella(Utf8DaAnsi(HeaderMcf.CartellaMcf), "media.mpf");
    if (!m.empty() && EsisteFileUtf8(pacchetto)) {
        MediaPacketHeader h;
        std::string estratto = NellaCartella(store, m);
        if (GestionePacchettoMedia(pacchetto, EstraiFile, m, estratto, h, false)) {
            if (TrovaAudio(estratto, EsisteFileUtf8)) {
                const std::string p = PerChiamante(estratto, silenzioso);
                if (!conserva) {
                    if (p.empty())
                        CancellaFileUtf8(estratto);
                    else
                        temporaneo = true;
                }
                return p;
            }
            if (!silenzioso) RigaErroreUtf8("ERROR: Extracting from .mcf file not found : " + m);
            return "";
        }
    }
    if (IsVersione14() && stessaCartella && EsisteFileUtf8(NellaCartella(trle, m)))
        return PerChiamante(NellaCartella(trle, m), silenzioso);
    if (stessaCartella) {
        std::string p = NellaCartella(store, m);
        if (TrovaAudio(p, EsisteFileUtf8)) return PerChiamante(p, silenzioso);
    }
    if (Estensione(m) == ".WAV") {
        for (const char* cartella : {"audio\\", "sound\\samples\\"}) {
            std::string p = NellaCartella(trle, cartella + m);
            if (TrovaAudio(p, EsisteFileUtf8)) return PerChiamante(p, silenzioso);
        }
    }
    if (!silenzioso) StampaLog(AnsiDaUtf8("ERROR: not found file: " + nomeFile), true);
    return "";
}

std::string PercorsoFileAudio(const std::string& nomeFile) {
    const std::string nome = NomeFileDaPercorso(nomeFile);
    std::string p = NellaCartella(HeaderMcf.CartellaMcf, nome);
    if (TrovaFileAudio(p)) return p;
    const std::string est = Estensione(nomeFile);
    if (est == ".MP3" || est == ".WAV") {
        for (const char* cartella : {"AUDIO\\", "SOUND\\SAMPLES\\"}) {
            p = NellaCartella(HeaderMcf.CartellaMcf, cartella + nome);
            if (TrovaFileAudio(p)) return p;
        }
    }
    if (nomeFile.find(':') != std::string::npos) {
        p = nomeFile;
        if (TrovaFileAudio(p)) return p;
    }
    return "";
}

void CartellaVirtuale() {
    const std::string p = NellaCartella(HeaderMcf.CartellaMcf, "media.mpf");
    if (!EsisteFile(p)) return;
    const std::string pu = Utf8DaAnsi(p);
    // The manager puts the packet's own V_FOLDER in place of any other
    // stored folder; the stored one is read here to see whether it moved.
    MediaPacketHeader grezzo, h;
    if (!CaricaHeaderPacchetto(pu, grezzo) || !grezzo.IsVirtual) return;
    if (!GestionePacchettoMedia(pu, CaricaHeader, "", "", h, false)) return;
    if (UgualeSenzaCaso(grezzo.Folder, h.Folder) && EsisteCartellaUtf8(h.Folder)) return;
    const std::string v = NellaCartella(HeaderMcf.CartellaMcf, "V_FOLDER");
    if (EsisteCartella(v)) {
        h.Folder = Utf8DaAnsi(v);
        GestionePacchettoMedia(pu, SalvaHeader, "", "", h, false);
    } else {
        Messaggio("ERROR: not found virtual folder for media packet file \"" + p + "\"", StileErroreCritico);
    }
}
