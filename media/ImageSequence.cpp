#include "media/ImageSequence.h"

#include "media/MediaWindow.h"

#include <algorithm>
#include <cmath>

#include "core/MediaExtraction.h"
#include "core/MediaLog.h"
#include "core/MediaSyntax.h"
#include "core/MediaTrigger.h"
#include "core/PathNames.h"
#include "core/SystemUtils.h"
#include "core/TextUtils.h"
#include "core/Utf8Text.h"
#include "gamerun/GameWindow.h"
#include "media/MediaText.h"
#include "media/WorkingMedia.h"
#include "platform/Clock.h"

int32_t FlagSequenza = 0;
int32_t NumImmagini = 0;
std::vector<ImmagineSequenza> ListaImmagini;

bool LeggiSequenzaImmagini(const std::string&) { return false; }
std::string ComponiSequenzaImmagini() { return std::string(); }
void IndiceImmagineCasuale(int32_t, std::vector<int32_t>&, int32_t&, int32_t& prossimo) { prossimo = -1; }
std::string CercaSezioneImmagine(const std::string&) { return std::string(); }

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
    for (int32_t i = 0; i < NumImmagini; ++i) {
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
