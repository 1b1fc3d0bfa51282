#include "media/ImageSequence.h"

#include <algorithm>

#include "core/MediaLog.h"
#include "core/MediaSyntax.h"
#include "core/MediaTrigger.h"
#include "core/PathNames.h"
#include "core/TextUtils.h"
#include "core/Utf8Text.h"
#include "media/MediaWindow.h"

#include <cmath>

#include "core/MediaExtraction.h"
#include "core/SystemUtils.h"
#include "runservices/GameWindow.h"
#include "media/MediaText.h"
#include "media/WorkingMedia.h"
#include "platform/Clock.h"

int32_t FlagSequenza = 0;
int32_t NumImmagini = 0;
std::vector<ImmagineSequenza> ListaImmagini;

namespace {

bool LeggiBound(const std::string& valore, Rettangolo& bound) {
    const std::vector<std::string> testi = DividiTesto(valore, ':');
    if (testi.size() != 4) return false;
    int32_t parti[4];
    for (int i = 0; i < 4; ++i)
        if (!ValoreIntero32(testi[i], parti[i])) return false;
    bound = Rettangolo{parti[0], parti[1], parti[2], parti[3]};
    return true;
}

}  // namespace

bool LeggiSequenzaImmagini(const std::string& sezione) {
    FlagSequenza = 0;
    NumImmagini = 0;
    // Never a list left over from the previous media, even when this one fails.
    ListaImmagini.assign(1, ImmagineSequenza{});
    std::string testo = sezione;
    int32_t valore = 0;
    if (!ValoreIntero32(EstraiTag(testo, "#FLAGS#="), valore))
        return RigaErrore("Syntax error in text sequence data: missing #FLAGS# field");
    FlagSequenza = valore;
    int32_t totale = 0;
    if (!ValoreIntero32(EstraiTag(testo, "#TOT_IMAGES#="), totale) || totale < 0)
        return RigaErrore("Syntax error in text sequence data: missing #Tot_Images# field");
    // The list grows with the pictures read, so that a failure leaves the
    // count on the pictures really there, and the spare element after them.
    std::vector<ImmagineSequenza> lista;
    const auto fine = [&](bool esito) {
        NumImmagini = static_cast<int32_t>(lista.size());
        lista.emplace_back();
        ListaImmagini = std::move(lista);
        return esito;
    };
    for (int32_t i = 0; i < totale; ++i) {
        std::string dati = EstraiSezione(sezione, "IMAGE" + std::to_string(i + 1));
        ImmagineSequenza immagine;
        immagine.Image = EstraiTag(dati, "#IMAGE#=");
        immagine.Nome = immagine.Image;
        if (!ValoreIntero32(EstraiTag(dati, "#DURATE#="), immagine.Durate))
            return fine(RigaErrore("ERROR in Image Sequence: missing value for #durate# field"));
        if (!ValoreIntero32(EstraiTag(dati, "#I_FLAGS#="), immagine.IFlags))
            return fine(RigaErrore("ERROR in Image Sequence: missing value for #I_Flags# field"));
        if (!LeggiBound(EstraiTag(dati, "#BOUND#="), immagine.Bound))
            return fine(RigaErrore("ERROR in Image Sequence: wrong arguments for #BOUND# field"));
        lista.push_back(std::move(immagine));
    }
    return fine(true);
}

std::string ComponiSequenzaImmagini() {
    std::string testo = "#FLAGS#=" + std::to_string(FlagSequenza) + "\r\n#TOT_IMAGES#=" +
                        std::to_string(NumImmagini) + "\r\n";
    const int32_t presenti = std::min<int32_t>(NumImmagini, static_cast<int32_t>(ListaImmagini.size()));
    for (int32_t i = 0; i < presenti; ++i) {
        const ImmagineSequenza& immagine = ListaImmagini[static_cast<size_t>(i)];
        const Rettangolo& b = immagine.Bound;
        testo = ImpostaSezione(testo, "IMAGE" + std::to_string(i + 1),
                               "#IMAGE#=" + immagine.Image + "\r\n#DURATE#=" + std::to_string(immagine.Durate) +
                                   "\r\n#BOUND#=" + std::to_string(b.Left) + ":" + std::to_string(b.Top) + ":" +
                                   std::to_string(b.Right) + ":" + std::to_string(b.Bottom) +
                                   "\r\n#I_FLAGS#=" + std::to_string(immagine.IFlags) + "\r\n");
    }
    return testo;
}

std::string SequenzaImmaginiVecchia(int32_t flag, const std::vector<ImmagineConvertita>& immagini) {
    FlagSequenza = flag;
    NumImmagini = static_cast<int32_t>(immagini.size());
    ListaImmagini.assign(immagini.size() + 1, ImmagineSequenza{});
    for (size_t i = 0; i < immagini.size(); ++i) {
        ImmagineSequenza& voce = ListaImmagini[i];
        voce.Image = voce.Nome = immagini[i].Nome;
        voce.Durate = immagini[i].Durata;
        voce.IFlags = immagini[i].Flags;
        voce.Bound = immagini[i].Bound;
    }
    return ComponiSequenzaImmagini();
}

void IndiceImmagineCasuale(int32_t corrente, std::vector<int32_t>& mostrati, int32_t& conteggio, int32_t& prossimo) {
    prossimo = corrente;
    // One picture has no other to go to, none has nothing to show.
    if (NumImmagini < 2) return;
    conteggio = std::clamp<int32_t>(conteggio, 0, static_cast<int32_t>(mostrati.size()));
    mostrati.resize(static_cast<size_t>(conteggio));
    if (std::find(mostrati.begin(), mostrati.end(), corrente) == mostrati.end()) mostrati.push_back(corrente);
    // The candidates are counted rather than drawn until one fits, so that no
    // list a caller hands in can keep the choice from ending.
    std::vector<int32_t> liberi;
    const auto raccogli = [&] {
        liberi.clear();
        for (int32_t i = 0; i < NumImmagini && liberi.size() < 32767; ++i)
            if (i != corrente && std::find(mostrati.begin(), mostrati.end(), i) == mostrati.end())
                liberi.push_back(i);
    };
    if (static_cast<int32_t>(mostrati.size()) >= NumImmagini) mostrati.clear();
    raccogli();
    if (liberi.empty()) {
        mostrati.clear();
        raccogli();
    }
    conteggio = static_cast<int32_t>(mostrati.size());
    prossimo = liberi[static_cast<size_t>(NumeroCasuale(static_cast<int16_t>(liberi.size())))];
}

std::string CercaSezioneImmagine(const std::string& nome) {
    const std::string file = NomeFileDaPercorso(nome);
    const std::string sezione = EstraiSezione(MediaCorrente.Text, "IMAGE_" + file);
    if (sezione.empty() && LogAbilitato)
        StampaLog("WARNING: not found image section for image: " + AnsiDaUtf8(file));
    return sezione;
}

namespace {

constexpr int32_t FlagDurateInSecondi = 0x4;

// One pause of a picture's hold; False when the hold must end.
bool PassoAttesaImmagine(Dialog_Titoli& finestra, uint32_t inizio, uint32_t durataMs) {
    DoEvents();
    bool fine = false;
    if (finestra.ControllaTastoEscape(fine)) return false;
    if (durataMs == 0) {
        // Escape alone would leave the window up over a game that is gone.
        if (!RichiestaAbort()) return false;
    } else if (ClockTick() - inizio >= durataMs) {
        return false;
    }
    AttendiDecimi(1, true);
    return true;
}

}  // namespace

void Dialog_Titoli::CaricaSequenzaImmagini(bool& ok) {
    ok = LeggiSequenzaImmagini(EstraiSezione(MediaCorrente.Syntax, "SEQ_IMAGE"));
    const int32_t lette = std::min<int32_t>(std::max<int32_t>(NumImmagini, 0), static_cast<int32_t>(ListaImmagini.size()));
    int32_t disponibili = 0;
    for (; disponibili < lette; ++disponibili) {
        ImmagineSequenza& immagine = ListaImmagini[disponibili];
        immagine.Nome = NomeFileDaPercorso(immagine.Image);
        bool temporaneo = false;
        const std::string percorso =
            immagine.Image.empty() ? std::string() : EstraiFileMedia(immagine.Image, temporaneo, false, false);
        if (percorso.empty()) {
            ok = false;
            break;
        }
        if (temporaneo) FileTemporanei.push_back(percorso);
        immagine.Image = percorso;
    }
    // Only the pictures that can be had take part: the formatted sequence
    // stops before the first missing one, the scrolling one never picks it.
    NumImmagini = disponibili;
    // The share of the media's time only a formatted sequence has; the
    // scrolling one counts its pictures' shares in scroll steps.
    if (TipoMediaDaFlags(MediaCorrente.TypeFlags) == TipoImageSequenceFixed && !HaBit(FlagSequenza, FlagDurateInSecondi)) {
        for (int32_t i = 0; i < disponibili; ++i) {
            ImmagineSequenza& immagine = ListaImmagini[i];
            immagine.Durate = MediaCorrente.Duration > 0
                                  ? static_cast<int32_t>(std::nearbyint(
                                        PercentualeDi(static_cast<double>(MediaCorrente.Duration) * 1000.0, immagine.Durate)))
                                  : 0;
        }
    }
}

void Dialog_Titoli::MostraFormattazione() {
    FormatoTestoCorrente = MediaCorrente.Formato;
    bool ok = false;
    CaricaSequenzaImmagini(ok);
    // A window closed from outside shows no further picture.
    for (int32_t i = 0; i < NumImmagini && !scaricata_; ++i) {
        const ImmagineSequenza immagine = ListaImmagini[i];
        bool dipinta = false;
        CaricaImmagineMedia(i, dipinta);
        if (i == 0) CreaMemoryDC();

        const std::string sezione = CercaSezioneImmagine(immagine.Nome);
        LeggiFormatoTesto(EstraiSezione(sezione, "FORMATTING"));
        ImpostaFontFormattazione();

        const std::string testo = TestoMedia(sezione);
        if (LogAbilitato)
            StampaLog("Text to show for image '" + AnsiDaUtf8(immagine.Nome) + "':\r\n" + AnsiDaUtf8(testo));

        AttendiFineEscape(false);
        bool completato = false;
        MostraTestoDinamico(testo, completato);
        if (completato) {
            const uint32_t durata = HaBit(FlagSequenza, FlagDurateInSecondi)
                                        ? static_cast<uint32_t>(std::max(immagine.Durate, 0)) * 1000u
                                        : static_cast<uint32_t>(std::max(immagine.Durate, 0));
            const uint32_t inizio = ClockTick();
            while (PassoAttesaImmagine(*this, inizio, durata)) {
            }
        }
        TestoMostrato = false;
        // Once the game has gone no later picture is wanted.
        if (!RichiestaAbort()) break;
    }
}
