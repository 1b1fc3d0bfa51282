#include "core/MediaExtraction.h"

#include "core/FileUtils.h"
#include "core/MediaConfig.h"
#include "core/MediaLog.h"
#include "core/MediaPacket.h"
#include "core/SystemUtils.h"
#include "core/TextUtils.h"
#include "gamerun/RunState.h"

namespace {
std::string Estensione(const std::string& percorso) { return MaiuscoloAnsi(EstensioneFile(percorso)); }
}  // namespace

bool TrovaFileAudio(std::string& percorso) {
    if (EsisteFile(percorso)) return true;
    const std::string est = Estensione(percorso);
    std::string alternativa;
    if (est == ".MP3")
        alternativa = percorso.substr(0, percorso.size() - 4) + ".wav";
    else if (est == ".WAV")
        alternativa = percorso.substr(0, percorso.size() - 4) + ".mp3";
    else
        return false;
    if (!EsisteFile(alternativa)) return false;
    percorso = alternativa;
    return true;
}

std::string NomeWavNumero(int32_t numero) { return FormatoZeri(numero, 3) + ".wav"; }

std::string NomeWavTraccia(int32_t numero) { return Trim(CartellaTrle) + "\\audio\\" + NomeWavNumero(numero); }

std::string EstraiFileMedia(const std::string& nomeFile, bool& temporaneo, bool conserva, bool silenzioso) {
    temporaneo = false;
    const std::string m = NomeFileDaPercorso(nomeFile);
    const std::string trle = Trim(CartellaTrle);
    if (nomeFile.find(":\\") != std::string::npos) {
        std::string p = nomeFile;
        if (TrovaFileAudio(p)) return p;
        if (!silenzioso) {
            UltimoErrore = "ERROR: Not found file: " + nomeFile;
            StampaLog(UltimoErrore, true);
        }
        return "";
    }
    const bool stessaCartella = UgualeSenzaCaso(trle, HeaderMcf.CartellaMcf);
    const std::string pacchetto = HeaderMcf.CartellaMcf + "\\media.mpf";
    if (!m.empty() && EsisteFile(pacchetto)) {
        MediaPacketHeader h;
        std::string estratto = PercorsoStore + "\\" + m;
        if (GestionePacchettoMedia(pacchetto, EstraiFile, m, estratto, h, false)) {
            if (TrovaFileAudio(estratto)) {
                if (!conserva) temporaneo = true;
                return estratto;
            }
            if (!silenzioso) {
                UltimoErrore = "ERROR: Extracting from .mcf file not found : " + m;
                StampaLog(UltimoErrore, true);
            }
            return "";
        }
    }
    if (IsVersione14() && stessaCartella && EsisteFile(trle + "\\" + m)) return trle + "\\" + m;
    if (stessaCartella) {
        std::string p = PercorsoStore + "\\" + m;
        if (TrovaFileAudio(p)) return p;
    }
    if (Estensione(m) == ".WAV") {
        for (const char* cartella : {"\\audio\\", "\\sound\\samples\\"}) {
            std::string p = trle + cartella + m;
            if (TrovaFileAudio(p)) return p;
        }
    }
    if (!silenzioso) StampaLog("ERROR: not found file: " + nomeFile, true);
    return "";
}

std::string PercorsoFileAudio(const std::string& nomeFile) {
    const std::string nome = NomeFileDaPercorso(nomeFile);
    std::string p = HeaderMcf.CartellaMcf + "\\" + nome;
    if (TrovaFileAudio(p)) return p;
    const std::string est = Estensione(nomeFile);
    if (est == ".MP3" || est == ".WAV") {
        for (const char* cartella : {"\\AUDIO\\", "\\SOUND\\SAMPLES\\"}) {
            p = HeaderMcf.CartellaMcf + cartella + nome;
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
    const std::string p = HeaderMcf.CartellaMcf + "\\media.mpf";
    if (!EsisteFile(p)) return;
    // The manager puts the packet's own V_FOLDER in place of any other
    // stored folder; the stored one is read here to see whether it moved.
    MediaPacketHeader grezzo, h;
    if (!CaricaHeaderPacchetto(p, grezzo) || !grezzo.IsVirtual) return;
    if (!GestionePacchettoMedia(p, CaricaHeader, "", "", h, false)) return;
    if (UgualeSenzaCaso(grezzo.Folder, h.Folder) && EsisteCartella(h.Folder)) return;
    const std::string v = HeaderMcf.CartellaMcf + "\\V_FOLDER";
    if (EsisteCartella(v)) {
        h.Folder = v;
        GestionePacchettoMedia(p, SalvaHeader, "", "", h, false);
    } else {
        Messaggio("ERROR: not found virtual folder for media packet file \"" + p + "\"", StileErroreCritico);
    }
}
