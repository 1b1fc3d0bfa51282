// Image media with a fixed or a scrolling text.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <exception>
#include <string>
#include <vector>

#include "core/MediaLog.h"
#include "core/MediaTrigger.h"
#include "core/SystemUtils.h"
#include "core/TextUtils.h"
#include "core/Utf8Text.h"
#include "runservices/GameWindow.h"
#include "media/ImageSequence.h"
#include "media/MediaText.h"
#include "media/MediaWindow.h"
#include "platform/Clock.h"
#include "runservices/PlayerKeys.h"

namespace {

constexpr int32_t FlagFermaAFineTesto = 0x4;
constexpr UINT FormatoMisura = 0xC50;   // DT_CALCRECT | DT_NOPREFIX | DT_EXPANDTABS | DT_WORDBREAK
constexpr UINT FormatoScrittura = 0x850;  // DT_NOPREFIX | DT_EXPANDTABS | DT_WORDBREAK
constexpr int32_t FlagSequenzaCiclica = 0x2;
constexpr int32_t FlagSequenzaSecondi = 0x4;
constexpr int32_t FlagSequenzaCasuale = 0x8;

// The text in the picture box's font and fore colour, over what is there.
int32_t DisegnaTesto(HDC dc, COLORREF colore, const std::u16string& testo, RECT& rettangolo, UINT formato) {
    if (dc == nullptr) return 0;
    const int modo = SetBkMode(dc, TRANSPARENT);
    const COLORREF precedente = SetTextColor(dc, colore);
    const int altezza = DrawTextW(dc, reinterpret_cast<LPCWSTR>(testo.c_str()), static_cast<int>(testo.size()),
                                  &rettangolo, formato);
    SetTextColor(dc, precedente);
    SetBkMode(dc, modo);
    return altezza;
}

}  // namespace

void Dialog_Titoli::MostraTestoFisso() {
    bool ok = false;
    CaricaImmagineMedia(0, ok);
    CreaMemoryDC();
    FormatoTestoCorrente = MediaCorrente.Formato;
    const std::string testo = TestoMedia(MediaCorrente.Text);
    if (LogAbilitato) StampaLog("Text to show:\r\n" + AnsiDaUtf8(testo));
    bool completato = false;
    MostraTestoDinamico(testo, completato);
    if (!completato) return;
    const uint32_t inizio = ClockTick();
    for (;;) {
        DoEvents();
        bool fine = false;
        if (ControllaTastoEscape(fine)) break;
        if (MediaCorrente.Duration > 0) {
            const int32_t secondi = Arrotonda((ClockTick() - inizio) / 1000.0);
            if (secondi >= MediaCorrente.Duration) break;
        } else if (!RichiestaAbort()) {
            break;
        }
        AttendiDecimi(1, true);
    }
}

void Dialog_Titoli::MostraTestoScorrevole() {
    try {
        FormatoTestoCorrente = MediaCorrente.Formato;
        const Rettangolo r = BoundRect;
        const bool sequenza = TipoMediaDaFlags(MediaCorrente.TypeFlags) == TipoImageSequenceScroll;
        int32_t immagini = 0;
        if (sequenza) {
            bool caricata = false;
            CaricaSequenzaImmagini(caricata);
            immagini = std::min<int32_t>(NumImmagini, static_cast<int32_t>(ListaImmagini.size()));
        }

        bool ok = false;
        CaricaImmagineMedia(0, ok);
        int32_t indice = 0;
        double passoImmagine = 0;
        uint32_t tickImmagine = ClockTick();
        CreaMemoryDC();
        ApplicaBoundRectSalvato();

        const std::string testo = TestoMedia(MediaCorrente.Text);
        if (LogAbilitato) StampaLog("Test to show:\r\n" + AnsiDaUtf8(testo));
        ImpostaFontFormattazione();

        // A step of at least one pixel, whatever the step count says.
        int32_t h = 1;
        if (MediaCorrente.Formato.ScrollStep > 0)
            h = std::max(1, Arrotonda(static_cast<double>(AltezzaFinestra) / MediaCorrente.Formato.ScrollStep));

        // Without the scroll bit no clip is set: the text runs through the
        // bound rectangle itself.
        const Rettangolo area = ClipAttivo ? RettClip : r;
        int32_t y = area.Bottom - 1;

        const std::u16string testo16 = Utf16DaUtf8(testo);
        const UINT allineamento = static_cast<UINT>(FormatoTestoCorrente.Align);
        RECT misura{r.Left, 0, r.Right, 1000000};
        const int32_t altezzaTesto =
            DisegnaTesto(Picture1.hDC(), Picture1.ForeColor, testo16, misura, allineamento | FormatoMisura);

        const double distanza = HaBit(MediaCorrente.Formato.Flags, FlagFermaAFineTesto)
                                    ? std::abs(altezzaTesto)
                                    : static_cast<double>(area.Bottom - area.Top) + altezzaTesto;
        const double passiTotali = distanza / h;

        if (sequenza && !HaBit(FlagSequenza, FlagSequenzaSecondi))
            for (int32_t i = 0; i < immagini; ++i)
                ListaImmagini[i].Durate = Arrotonda(PercentualeDi(passiTotali, ListaImmagini[i].Durate));

        // A word wider than the rectangle passes its sides, by as much on
        // each side as it may be centred.
        const int32_t oltre = std::max<int32_t>(0, (misura.right - misura.left) - (r.Right - r.Left));
        // Where the last step drew: without the scroll bit no clip keeps the
        // text inside r, and what it drew outside must go too.
        Rettangolo disegnato = r;
        const auto cancellaTesto = [&] {
            const Rettangolo da{std::max(0, std::min(r.Left, disegnato.Left)), std::max(0, std::min(r.Top, disegnato.Top)),
                                std::min(LarghezzaFinestra, std::max(r.Right, disegnato.Right)),
                                std::min(AltezzaFinestra, std::max(r.Bottom, disegnato.Bottom))};
            if (da.Right > da.Left && da.Bottom > da.Top) RipristinaSfondoRect(false, da);
        };

        std::vector<int32_t> mostrati;
        int32_t numMostrati = 0;
        double passi = 0;
        while (passi < passiTotali) {
            SegnaTempo();
            cancellaTesto();
            RECT riga{r.Left, y, r.Right, y + std::max(altezzaTesto, r.Bottom - r.Top)};
            DisegnaTesto(Picture1.hDC(), Picture1.ForeColor, testo16, riga, allineamento | FormatoScrittura);
            disegnato = Rettangolo{r.Left - oltre, y, r.Right + oltre, y + std::max(altezzaTesto, 0) + 1};
            Picture1.Refresh();
            y -= h;

            bool fine = false;
            if (ControllaTastoEscape(fine)) break;
            passi += 1;

            bool cambiata = false;
            if (sequenza && immagini > 0) {
                const ImmagineSequenza& corrente = ListaImmagini.at(indice);
                const bool dovuta = HaBit(FlagSequenza, FlagSequenzaSecondi)
                                        ? ClockTick() - tickImmagine > static_cast<uint32_t>(corrente.Durate) * 1000u
                                        : passi - passoImmagine >= corrente.Durate;
                if (dovuta) {
                    int32_t prossimo = indice;
                    if (HaBit(FlagSequenza, FlagSequenzaCasuale)) {
                        // One picture has no other to choose.
                        if (immagini >= 2) IndiceImmagineCasuale(indice, mostrati, numMostrati, prossimo);
                    } else if (indice + 1 < immagini) {
                        prossimo = indice + 1;
                    } else if (HaBit(FlagSequenza, FlagSequenzaCiclica)) {
                        prossimo = 0;
                    }
                    if (prossimo >= 0 && prossimo < immagini && prossimo != indice) {
                        indice = prossimo;
                        // The picture becomes the saved background: not with the text on it.
                        cancellaTesto();
                        disegnato = r;
                        CaricaImmagineMedia(indice, ok);
                        cambiata = true;
                    }
                    passoImmagine = passi;
                    tickImmagine = ClockTick();
                }
            }
            if (!cambiata) DoEvents();
            // A pace of 0 or less scrolls as fast as the drawing goes, yet
            // every step rests, so that the game keeps its processor.
            if (MediaCorrente.Formato.ScrollDelay > 0)
                AttendiDaSegno(MediaCorrente.Formato.ScrollDelay);
            else
                ClockSleep(1);
        }

        if (!AbortEscape && !scaricata_ && HaBit(MediaCorrente.Formato.Flags, FlagFermaAFineTesto))
            AttendiSecondi(2, true);
    } catch (const std::exception& e) {
        StampaLog(std::string("ERROR performing scrolling text: ") + e.what(), true);
        ErroreMedia = true;
    }
}
