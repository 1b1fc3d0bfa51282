#include "runservices/VideoList.h"

#include <cmath>
#include <cstdio>

#include "core/FileUtils.h"
#include "core/MediaConfig.h"
#include "core/MediaExtraction.h"
#include "core/MediaLog.h"
#include "core/SystemUtils.h"
#include "core/TextUtils.h"
#include "runservices/TombSettings.h"

std::vector<VideoMode> ListaModiVideo;
int32_t NumModiVideo = 0;

namespace {

std::string Allinea(int32_t valore, size_t larghezza) {
    std::string s = std::to_string(valore);
    if (s.size() < larghezza) s.insert(0, larghezza - s.size(), ' ');
    return s;
}

// A number as the log shows it: up to 15 significant digits, the user's
// decimal separator.
std::string TestoNumero(double v) {
    char testo[64];
    std::snprintf(testo, sizeof testo, "%.15g", v);
    std::string s = testo;
    for (char& c : s)
        if (c == '.') c = SeparatoreDecimale();
    return s;
}

std::string AbilitatoDisabilitato(int valore) { return valore == 0 ? "Disabled" : "Enabled"; }

}  // namespace

std::string PercorsoVideoList() { return PercorsoStore + "\\videolist.bin"; }

std::vector<VideoMode> GetTombVideoList(bool primoHardware, int32_t& DD, int32_t& D3D, int32_t hardware,
                                        int32_t& numeroModi, bool& esisteHardware, bool& errore) {
    numeroModi = 0;
    esisteHardware = false;
    errore = false;
    std::string percorso = PercorsoVideoList();
    if (!EsisteFile(percorso)) {
        bool temporaneo = false;
        const std::string programma = EstraiFileMedia("Vistrelo.exe", temporaneo, true, false);
        if (programma.empty()) {
            errore = true;
            return {};
        }
        StampaLog("Missing file: " + percorso + " Perform " + programma);
        EseguiEAttendi(programma, "", true);
        percorso = CartellaDaPercorso(programma) + "\\VideoList.bin";
        if (!EsisteFile(percorso)) {
            StampaLog("ERROR: calling " + programma + "  Not found tomb video list file in: " + percorso, true);
            StampaLog("Log of Vistrelo.exe:");
            CambiaTabulatoreLog(1);
            StampaLog(LeggiFileIntero(CartellaDaPercorso(programma) + "\\Log_VideoEnum.txt"));
            CambiaTabulatoreLog(-1);
            errore = true;
            return {};
        }
    }

    std::vector<VideoList> liste;
    std::string difetto;
    if (!LeggiVideoListFile(LeggiFileIntero(percorso), liste, difetto)) {
        // Deleted, so that the next run enumerates again instead of reading it.
        StampaLog("ERROR: damaged video list file " + percorso + ": " + difetto, true);
        CancellaFile(percorso);
        errore = true;
        return {};
    }
    if (!VideoListUsabile(liste)) {
        StampaLog("WARNING: video list file " + percorso + " holds no video mode: deleted");
        CancellaFile(percorso);
    }

    std::vector<VideoMode> modi;
    bool scelta = false;
    for (const VideoList& l : liste) {
        const int32_t n = static_cast<int32_t>(l.Modi.size());
        if (l.Hardware == 1 && n > 0) esisteHardware = true;
        if (scelta || n == 0) continue;
        if (!primoHardware && l.DD == DD && l.D3D == D3D && l.Hardware == hardware) {
            modi = l.Modi;
            numeroModi = n;
            scelta = true;
        } else if (primoHardware && l.Hardware == 1) {
            DD = l.DD;
            D3D = l.D3D;
            numeroModi = n;
            return l.Modi;
        }
    }
    if (!scelta) {
        StampaLog("WARNING: not found any video list with settings: DD=" + std::to_string(DD) +
                  "  D3D=" + std::to_string(D3D) + "   Hardware=" + std::to_string(hardware));
        return {};
    }
    return modi;
}

bool EnumerateVideoMode() {
    ImpostazioniTomb& imp = ImpostazioniTombCorrenti;
    int32_t dd = imp.DD;
    int32_t d3d = imp.D3D;
    int32_t numero = 0;
    bool esisteHardware = false;
    bool errore = false;
    ListaModiVideo = GetTombVideoList(false, dd, d3d, imp.HardWare, numero, esisteHardware, errore);
    NumModiVideo = numero;
    if (errore) {
        NumModiVideo = 0;
        ListaModiVideo.clear();
    } else if (esisteHardware && !(imp.HardWare != 0 && NumModiVideo > 0)) {
        bool e2 = false, h2 = false;
        int32_t n2 = 0;
        std::vector<VideoMode> modi = GetTombVideoList(true, dd, d3d, 1, n2, h2, e2);
        if (n2 > 0) {
            ListaModiVideo = std::move(modi);
            NumModiVideo = n2;
            imp.HardWare = 1;
        }
    }
    if (NumModiVideo == 0) {
        StampaLog("ERROR: in EnumerateVideoMode() not found correct hardware video list", true);
        return false;
    }
    imp.DD = static_cast<uint8_t>(dd);
    imp.D3D = static_cast<uint8_t>(d3d);
    return true;
}

bool DimensioniCodiceRisoluzione(int32_t codice, int32_t& larghezza, int32_t& altezza) {
    switch (codice) {
    case 3: larghezza = 1024; altezza = 768; return true;
    case 2: larghezza = 800; altezza = 600; return true;
    case 1: larghezza = 640; altezza = 480; return true;
    default: return false;
    }
}

bool RequiredResolution(int32_t& larghezza, int32_t& altezza) {
    larghezza = -1;
    altezza = -1;
    if (!DimensioniCodiceRisoluzione(HeaderMcf.VideoMode, larghezza, altezza) && HeaderMcf.VideoMode == 0) {
        const int32_t indice = ImpostazioniTombCorrenti.VMode & 0xFF;
        // An index past the list is an unknown mode, not a read outside it.
        if (indice < NumModiVideo && indice < static_cast<int32_t>(ListaModiVideo.size())) {
            larghezza = ListaModiVideo[indice].Width;
            altezza = ListaModiVideo[indice].Height;
        } else {
            StampaLog("WARNING: video mode VMode=" + std::to_string(indice) + " is not in the video list of " +
                      std::to_string(NumModiVideo) + " modes");
        }
    }
    if (larghezza == -1 && HaBit(StatoGioco, RisoluzioneEsplicita)) {
        larghezza = LarghezzaRichiesta;
        altezza = AltezzaRichiesta;
    }
    StampaLog("Required resolution: " + std::to_string(larghezza) + "x" + std::to_string(altezza));
    return larghezza != -1;
}

void VerificaDifferenzaVideo(int32_t larghezza, int32_t altezza) {
    const double difX = std::fabs(100.0 - PercentualeRapporto(TombSchermoX, larghezza));
    const double difY = std::fabs(100.0 - PercentualeRapporto(TombSchermoY, altezza));
    if (difX > 10 || difY > 20) {
        StampaLog("WARNING: current video mode is too different than foreseen values: DifX=" + TestoNumero(difX) +
                  "%  DifY=" + TestoNumero(difY) + "%");
        bool temporaneo = false;
        const std::string percorso = EstraiFileMedia("videolist.bin", temporaneo, true, true);
        if (!percorso.empty()) {
            CancellaFile(percorso);
            StampaLog("Deleted previous video list file: " + percorso);
        }
    }
}

int32_t VerificaRisoluzione(int32_t larghezza, int32_t altezza, int32_t bits) {
    for (int32_t i = 0; i < NumModiVideo && i < static_cast<int32_t>(ListaModiVideo.size()); ++i) {
        const VideoMode& m = ListaModiVideo[static_cast<size_t>(i)];
        if (m.Width == larghezza && m.Height == altezza && m.Bits == bits) return i;
    }
    StampaLog("WARNING: required resolution: " + std::to_string(larghezza) + "x" + std::to_string(altezza) +
              "  BitPerPixels=" + std::to_string(bits) + "  it's not available");
    return -1;
}

std::string LogVideoList(const std::vector<VideoMode>& modi, int32_t numeroModi) {
    const std::string trattini(25, '-');
    std::string s = "Video Mode List\r\n" + trattini + "\r\n";
    for (int32_t i = 0; i < numeroModi && i < static_cast<int32_t>(modi.size()); ++i) {
        s += Allinea(i, 3) + ":  " + Allinea(modi[i].Width, 4) + " x " + Allinea(modi[i].Height, 4) +
             " Bits=" + std::to_string(modi[i].Bits) + "\r\n";
    }
    return s + trattini + "\r\n";
}

std::string LogImpostazioniVideo(const ImpostazioniTomb& imp) {
    std::string s;
    s += "Current Graph Device  : " + std::to_string(imp.DD) + "\r\n";
    s += "Current Graph Driver  : " + std::to_string(imp.D3D) + "\r\n";
    s += "Hardware accelleration: " + AbilitatoDisabilitato(imp.HardWare) + "\r\n";
    s += std::string("Default Control Method: ") + (imp.ControlMethod != 0 ? "JoyStick" : "KeyBoard") + "\r\n";
    s += "Volumetric Effects    : " + AbilitatoDisabilitato(imp.Volumetric) + "\r\n";
    s += "Bump Mapping Texture  : " + AbilitatoDisabilitato(imp.BumpMap) + "\r\n";
    s += "Current Resolution ...: " + TestoModoVideo(imp.VMode) + " " + (imp.Window == 0 ? "Exclusive" : "Shared") +
         "  VMode=" + std::to_string(imp.VMode) + "\r\n";
    return s;
}

std::string TestoModoVideo(int32_t indice) {
    if (indice < 0 || indice >= NumModiVideo || indice >= static_cast<int32_t>(ListaModiVideo.size())) return " ";
    const VideoMode& m = ListaModiVideo[indice];
    return std::to_string(m.Width) + " x " + std::to_string(m.Height) + " Bits=" + std::to_string(m.Bits);
}

float CalcolaRatioForRect(const Rettangolo& r) {
    const int32_t altezza = r.Bottom - r.Top;
    if (altezza == 0) return 0.0f;
    return static_cast<float>(r.Right - r.Left) / static_cast<float>(altezza);
}
