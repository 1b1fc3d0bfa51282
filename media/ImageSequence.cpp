#include "media/ImageSequence.h"

#include <algorithm>

#include "core/MediaLog.h"
#include "core/MediaSyntax.h"
#include "core/MediaTrigger.h"
#include "core/PathNames.h"
#include "core/TextUtils.h"
#include "core/Utf8Text.h"
#include "media/MediaWindow.h"

int32_t FlagSequenza = 0;
int32_t NumImmagini = 0;
std::vector<ImmagineSequenza> ListaImmagini;

namespace {

bool LeggiBound(const std::string& valore, Rettangolo& bound) {
    int32_t parti[4];
    size_t inizio = 0;
    for (int i = 0; i < 4; ++i) {
        const size_t fine = valore.find(':', inizio);
        if ((fine == std::string::npos) != (i == 3)) return false;
        if (!ValoreIntero32(valore.substr(inizio, fine == std::string::npos ? std::string::npos : fine - inizio),
                            parti[i]))
            return false;
        inizio = fine + 1;
    }
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

void Dialog_Titoli::CaricaSequenzaImmagini(bool& ok) { ok = false; }
void Dialog_Titoli::MostraFormattazione() {}
