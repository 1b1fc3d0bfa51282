#include "media/MovieChecks.h"

#include "core/FileUtils.h"
#include "core/MediaLog.h"
#include "core/PathNames.h"
#include "core/SystemUtils.h"
#include "core/TextUtils.h"
#include "media/VideoCodecs.h"

bool VerificaMediaPlayer() {
    StampaNonCostruito("VerificaMediaPlayer");
    return true;
}

bool VerificaCodecFilmati() {
    StampaNonCostruito("VerificaCodecFilmati");
    return true;
}

namespace {

constexpr int32_t CartellaSistema = 37;
constexpr int32_t VersioneMinimaCodec = 7;

void Riga(std::string& rapporto, const std::string& testo) {
    StampaLog(testo);
    rapporto += testo + "\r\n";
}

// False with the failure lines when the file has no version or too low one.
bool VersioneSufficiente(const std::string& file, const std::string& titolo, std::string& rapporto) {
    const std::string versione = VersioneFile(file);
    if (versione.empty()) {
        Riga(rapporto, "Not found version of file: " + file);
        return false;
    }
    Riga(rapporto, titolo + versione + " of file: " + file);
    const int32_t principale = NumeroPrincipaleVersione(versione);
    if (principale < VersioneMinimaCodec) {
        Riga(rapporto, "Too low version number: " + std::to_string(principale));
        return false;
    }
    return true;
}

}  // namespace

bool VerificaCodecMovie(const std::string& percorso, std::string& rapporto) {
    rapporto.clear();
    std::string video, audio;
    if (!percorso.empty()) {
        Riga(rapporto, "Check for version of WMV format");
        CambiaTabulatoreLog(1);
        if (!LeggiFormatoWindowsMedia(percorso, video, audio)) {
            StampaLog("Internal format not recognized");
            CambiaTabulatoreLog(-1);
            return false;
        }
        Riga(rapporto, "Video=" + video + "  Audio=" + audio);
        CambiaTabulatoreLog(-1);
    }
    const std::string sistema = CartellaSpeciale(CartellaSistema);
    if (percorso.empty() || UgualeSenzaCaso(video, "wmv8")) {
        const std::string decoder = NellaCartella(sistema, "wmv8ds32.ax");
        if (!EsisteFile(decoder)) {
            Riga(rapporto, "Missing file for codec video 8: " + decoder);
            return false;
        }
        Riga(rapporto, "Codec video 8 is present: " + decoder);
    }
    StampaLog("Check for audio codec " + audio);
    if (!VersioneSufficiente(NellaCartella(sistema, "msadds32.ax"), "Audio codec version ", rapporto)) return false;
    Riga(rapporto, "Check for video codec " + video);
    if (!VersioneSufficiente(NellaCartella(sistema, "wmvds32.ax"), "Video codec version ", rapporto)) return false;
    Riga(rapporto, "Codec video ok");
    return true;
}
