#include "media/MovieChecks.h"

#include <windows.h>
#include <wininet.h>

#include <vector>

#include "core/FileUtils.h"
#include "core/MediaExtraction.h"
#include "core/MediaSyntax.h"
#include "core/MediaTrigger.h"
#include "core/SharedState.h"
#include "core/Utf8Text.h"
#include "core/MediaLog.h"
#include "core/PathNames.h"
#include "core/SystemUtils.h"
#include "core/TextUtils.h"
#include "media/LinkDownload.h"
#include "media/MovieWindow.h"
#include "media/VideoCodecs.h"
#include "platform/Clock.h"

namespace {

constexpr int32_t CartellaSistema = 37;
constexpr int32_t VersioneMinimaCodec = 7;

// The version text of the player control; "" when neither file is there.
std::string VersioneControlloMediaPlayer() {
    const std::string sistema = CartellaSpeciale(CartellaSistema);
    std::string file = sistema + "\\msdxm.ocx";
    if (!EsisteFile(file)) file = sistema + "32\\msdxm.ocx";
    return VersioneFile(file);
}

bool VersioneMediaPlayerSufficiente(const std::string& versione) {
    if (versione.empty()) return false;
    const int32_t principale = ParteVersione(versione, 0);
    return principale >= 7 || (principale == 6 && ParteVersione(versione, 1) >= 4);
}

}  // namespace

bool VersioneMediaPlayer() { return VersioneMediaPlayerSufficiente(VersioneControlloMediaPlayer()); }

bool VerificaMediaPlayer() {
    const std::string versione = VersioneControlloMediaPlayer();
    std::string rapporto;
    bool bassa = true;
    if (versione.empty()) {
        rapporto = "Media Player (msdxm.ocx): not found\r\n"
                   "----> It's necessary download and install Windows Media Player 7.1 for Windows98";
    } else {
        rapporto = "Media Player (msdxm.ocx): " + versione + "\r\n";
        bassa = !VersioneMediaPlayerSufficiente(versione);
        rapporto += bassa ? "----> Too low version. It's necessary download and install Windows Media Player 7.1 for "
                            "Windows98"
                          : "----> Current version is correct to show Windows Media Video (wmv) movies with codec "
                            "versions 7 and 8";
    }
    if (bassa) {
        StampaLog("WARNING: Media Player version too low: asked to user to download Windows Media Player 7.1 for "
                  "windows98\r\n" +
                  rapporto);
        Messaggio(rapporto + "\r\nClick [ok] to go to Microsoft website where download Windows Media Player 7.1",
                  StileOk);
        ApriDocumento(IndirizzoMediaPlayer, "", false, "");
        return false;
    }
    rapporto += "\r\n";
    std::string codec;
    const bool sufficienti = VerificaCodecMovie("", codec);
    rapporto += codec + "\r\n";
    if (sufficienti) return true;
    rapporto += "Codec video for Windows Media Wideo are missing or have too low version";
    StampaLog("WARNING: Missing codec video or audio: asked to user to download and install video codec\r\n" +
              rapporto);
    Messaggio("It's necessary download and install video codec to show correctly movies present in current level\r\n"
              "Click over link starting with 'All video codec ...' in next window",
              StileOk);
    Dialog_LinkDownload& finestra = DialogLinkDownload();
    finestra.ImpostaValori();
    finestra.MostraModale();
    return false;
}

namespace {

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

namespace {

// Indices into ListaMedia of the movies the codec check disabled for this
// run only.
std::vector<size_t> movieDisabilitati;

// For good, the bit stays in the configuration saved at the end: the check
// runs only at a level's first execution, which empties the store, and
// VideoCodec.bin with it, so no later run would disable the movie again.
void DisabilitaMovie(size_t indice, bool perSempre) {
    MediaTrigger& m = ListaMedia[indice];
    if (m.Options & Disabled) return;
    m.Options |= Disabled;
    if (!perSempre) movieDisabilitati.push_back(indice);
}

std::string NomeMovie(const MediaTrigger& m) { return AnsiDaUtf8(NomeFileDaPercorso(m.MediaFile)); }

// The first movie media of that file name; ListaMedia.size() when none.
size_t CercaMovie(const std::string& nome) {
    for (size_t i = 0; i < ListaMedia.size(); ++i)
        if ((ListaMedia[i].TypeFlags & BitMovie) && UgualeSenzaCaso(NomeMovie(ListaMedia[i]), nome)) return i;
    return ListaMedia.size();
}

bool VerificaConMovie(size_t indice, bool& connessione) {
    const MediaTrigger& m = ListaMedia[indice];
    if (m.Options & HasCodec) {
        const std::string nome = NomeMovie(m);
        if (m.Options & CodecSetupFile) {
            Messaggio("Now it's necessary to install video codec for Movie: " + nome +
                          AnsiDaUtf8(NomeFileDaPercorso(m.SoundFile)) + "\r\nClick on [OK] button to start setup",
                      StileOk);
            bool temporaneo = false;
            const std::string setup = EstraiFileMedia(m.SoundFile, temporaneo, false, false);
            if (!setup.empty()) EseguiEAttendi(setup, "", false);
            if (temporaneo) CancellaFile(setup);
            return Messaggio("Video coded has been installed correctly?", StileSiNo) == RispostaSi;
        }
        Messaggio("Movie " + nome + " requires to download and install video codec: \r\n" +
                      AnsiDaUtf8(EstraiSezione(m.Syntax, "CODEC")) + "\r\nClick on [OK] button to go to download page:\r\n" +
                      AnsiDaUtf8(m.SoundFile),
                  StileOk);
        ApriDocumento(AnsiDaUtf8(m.SoundFile), "", false, "");
        ClockSleep(10000);
        return Messaggio("Have you downloaded and installed requested video codec?", StileSiNo) == RispostaSi;
    }
    if (StatoGioco & CodecGiaRichiesto) return true;
    MediaCorrente = m;
    if (!UgualeSenzaCaso(EstensioneFile(NomeMovie(m)), ".wmv")) connessione = true;
    Dialog_Movie& finestra = DialogMovie();
    finestra.MessaggioDownload =
        "Please open your internet connection NOW\r\nIt's necessary download a codec for current movie\r\n"
        "Click on [OK] button in this window only after you opened internet connection";
    finestra.ImpostaValori(true, false);
    return finestra.Risultato;
}

}  // namespace

bool VerificaCodecFilmati() {
    CaricaVideoCodecBin();
    bool daVerificare = false;
    bool connessione = false;
    for (size_t i = 0; i < ListaMedia.size(); ++i) {
        MediaTrigger& m = ListaMedia[i];
        if (!(m.TypeFlags & BitMovie)) continue;
        StampaLog("Found movie: " + AnsiDaUtf8(m.MediaFile));
        const std::string nome = NomeMovie(m);
        VideoCodecRecord* trovato = nullptr;
        for (VideoCodecRecord& r : ElencoVideoCodec)
            if (UgualeSenzaCaso(Trim(r.NomeFilmato), nome)) {
                trovato = &r;
                break;
            }
        if (!trovato) {
            ElencoVideoCodec.push_back({NomeFilmatoFisso(nome), CodecDaVerificare});
            SalvaVideoCodecBin();
            daVerificare = true;
        } else if (trovato->StatoCodec == CodecPresente) {
            StampaLog("Alread verified movie: " + nome + ". Video codec is present");
        } else if (trovato->StatoCodec == CodecDisabilitato) {
            StampaLog("Video codec missing for Movie " + nome + ". This movie will be disabled");
            DisabilitaMovie(i, true);
        } else {
            StampaLog("Video codec for movie " + nome + " not yet verified");
            daVerificare = true;
        }
    }
    if (!daVerificare) {
        StampaLog("Not necessary further controls for movies");
        return true;
    }
    for (size_t r = 0; r < ElencoVideoCodec.size(); ++r) {
        if (ElencoVideoCodec[r].StatoCodec != CodecDaVerificare) continue;
        const std::string nome = Trim(ElencoVideoCodec[r].NomeFilmato);
        // A record of another level of this game folder waits for its own.
        const size_t indice = CercaMovie(nome);
        if (indice == ListaMedia.size()) continue;
        if (VerificaConMovie(indice, connessione)) {
            ElencoVideoCodec[r].StatoCodec = CodecPresente;
            SalvaVideoCodecBin();
            continue;
        }
        const bool perSempre =
            Messaggio("Unluky, it's missing codec to play movie in this level.\r\nDo you want disable permanently movie: " +
                          nome,
                      StileSiNo) == RispostaSi;
        if (perSempre) {
            ElencoVideoCodec[r].StatoCodec = CodecDisabilitato;
            SalvaVideoCodecBin();
        }
        DisabilitaMovie(indice, perSempre);
    }
    if (connessione) Messaggio("Codec verify is complete, now you may close the connection", StileOk);
    return true;
}

void RipristinaMovieDisabilitati() {
    for (const size_t i : movieDisabilitati)
        if (i < ListaMedia.size()) ListaMedia[i].Options &= ~Disabled;
    movieDisabilitati.clear();
}

void ApriConnessioneInternet() { InternetAutodial(INTERNET_AUTODIAL_FORCE_ONLINE, nullptr); }
