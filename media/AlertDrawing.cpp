#include "media/AlertDrawing.h"

#include <windows.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "core/MediaLog.h"
#include "core/MediaTrigger.h"
#include "core/ModuleInit.h"
#include "core/SharedState.h"
#include "core/TextUtils.h"
#include "core/MediaSyntax.h"
#include "core/Utf8Text.h"
#include "media/AlertMedia.h"
#include "media/AlertSyntax.h"
#include "media/CountdownMedia.h"
#include "media/MediaText.h"
#include "media/TextLayout.h"
#include "platform/Clock.h"
#include "runservices/GameWindow.h"
#include "runservices/KeyboardHook.h"
#include "runservices/RunHooks.h"
#include "runservices/RunState.h"
#include "runservices/Sounds.h"

namespace {

void* CreaFontGdi(int32_t altezza, int32_t larghezza, const char* faccia) {
    return CreateFontA(altezza, larghezza, 0, 0, 900, FALSE, FALSE, FALSE, 1, 0, 0, 0, 0, faccia);
}

}  // namespace

void* (*CreaFontSchermoGioco)(int32_t altezza, int32_t larghezza, const char* faccia) = CreaFontGdi;

int32_t LarghezzaCarattereAlert() { return LarghezzaCarattere(FormatoTestoCorrente.CharRow); }

void ImpostaFontSchermoGioco(void*& dc, StatoDCSchermo& saved) {
    saved = StatoDCSchermo{};
    const int32_t larghezza = LarghezzaCarattereAlert();
    const int32_t altezza = Arrotonda(PercentualeDi(larghezza, 120));
    const std::string faccia = NomeFontDaIndice(FormatoTestoCorrente.Font);
    void* font = CreaFontSchermoGioco(altezza, larghezza, faccia.c_str());
    if (!font) {
        RigaErrore("Error creating font for tomb raider screen");
        return;
    }
    HDC hdc = static_cast<HDC>(dc);
    const COLORREF colore = static_cast<COLORREF>(FormatoTestoCorrente.Color);
    saved.VecchioColoreTesto = SetTextColor(hdc, colore);
    saved.VecchioColoreSfondo = SetBkColor(hdc, static_cast<COLORREF>(BloccoAlert.ColoreSfondoAlert));
    HPEN penna = CreatePen(PS_SOLID, 1, colore);
    saved.PennaCreata = penna;
    saved.VecchiaPenna = penna ? SelectObject(hdc, penna) : nullptr;
    saved.VecchioModoSfondo = static_cast<uint32_t>(SetBkMode(hdc, OPAQUE));
    saved.FontCreato = font;
    saved.VecchioFont = SelectObject(hdc, static_cast<HFONT>(font));
    saved.Salvato = true;
}

void RipristinaDCSchermo(void* dc, StatoDCSchermo& saved) {
    if (!saved.Salvato) return;
    HDC hdc = static_cast<HDC>(dc);
    if (saved.VecchioFont) SelectObject(hdc, static_cast<HGDIOBJ>(saved.VecchioFont));
    if (saved.VecchiaPenna) SelectObject(hdc, static_cast<HGDIOBJ>(saved.VecchiaPenna));
    if (saved.VecchioModoSfondo) SetBkMode(hdc, static_cast<int>(saved.VecchioModoSfondo));
    SetTextColor(hdc, saved.VecchioColoreTesto);
    SetBkColor(hdc, saved.VecchioColoreSfondo);
    if (saved.FontCreato) DeleteObject(static_cast<HGDIOBJ>(saved.FontCreato));
    if (saved.PennaCreata) DeleteObject(static_cast<HGDIOBJ>(saved.PennaCreata));
    saved = StatoDCSchermo{};
}

Rettangolo RettangoloAlertSchermo(int32_t destra, int32_t basso) {
    return ScalaMillesimi(FormatoTestoCorrente.BoundRect, destra, basso);
}

void DisegnaTestoSchermo(void* dc, const std::string& testo, const Rettangolo& rettangolo) {
    if (!dc || rettangolo.Right <= rettangolo.Left || rettangolo.Bottom <= rettangolo.Top) return;
    RECT r{rettangolo.Left, rettangolo.Top, rettangolo.Right, rettangolo.Bottom};
    const std::u16string testo16 = Utf16DaUtf8(testo);
    DrawTextW(static_cast<HDC>(dc), reinterpret_cast<LPCWSTR>(testo16.c_str()), static_cast<int>(testo16.size()), &r,
              static_cast<UINT>(FormatoTestoCorrente.Align) | DT_NOPREFIX | DT_EXPANDTABS | DT_WORDBREAK);
}

namespace {

constexpr int32_t EffettoSecondo = 5;
constexpr int32_t EffettoFine = 3;

// A life bar needs a window over the game, which exclusive mode cannot show.
bool RifiutaLifeBar(int32_t& esito) {
    RigaErrore("ERROR in Alert Media: Life-Bar effect is not available in Exclusive Video Mode: abort media");
    esito = AlertAbortito;
    const int32_t indice = IndiceMediaDaCodice(MediaCorrente.MediaCode);
    if (indice >= 0) {
        MediaTrigger& media = ListaMedia[static_cast<size_t>(indice)];
        if (media.TriggerCd != TriggerCdNessuno && !HaBit(media.Options, RequiresAction)) {
            StampaLog("Set as 'Already showed' alert media to avoid infinite loop");
            ImpostaBit(media.Options, AlreadyShown);
        }
    }
    return false;
}

}  // namespace

bool DisegnaAlert(int32_t& esito) {
    const int32_t flag = BloccoAlert.FlagAlert;
    bool suonoFine = HaBit(flag, ConCountDown) && HaBit(FlagCountDown, 0x1);
    if (HaBit(flag, ConLifeBar)) return RifiutaLifeBar(esito);
    if (HaBit(flag, BeepSecondi)) suonoFine = true;
    const int32_t cdControllo = HaBit(MediaCorrente.Options, WhileCdSounds) ? MediaCorrente.TriggerCd : -1;

    void* dc = GetDC(nullptr);
    const std::string base = TestoMedia(MediaCorrente.Text);
    FormatoTestoCorrente = MediaCorrente.Formato;
    StatoDCSchermo salvato;
    ImpostaFontSchermoGioco(dc, salvato);
    // RefreshAlert is never below 1 once read.
    const int32_t intervallo =
        Arrotonda(1000.0 / static_cast<double>(BloccoAlert.RefreshAlert > 0 ? BloccoAlert.RefreshAlert : 80));
    RECT finestra{};
    if (FinestraGioco) GetWindowRect(static_cast<HWND>(FinestraGioco), &finestra);
    const Rettangolo rett = RettangoloAlertSchermo(finestra.right, finestra.bottom);
    const int64_t durataMs = static_cast<int64_t>(DurataAlertSecondi()) * 1000;
    // The guardian's hook would hold every key while this loop pumps no messages.
    SospendiHookTastiera();

    bool risultato = false;
    uint32_t inizio = ClockTick();
    int32_t ripresa = 0;
    if (TempoRipresaSospeso(ripresa, true)) {
        inizio -= static_cast<uint32_t>(ripresa);
        int32_t ultimoSecondo = -1;
        bool completo = false;
        bool fine = false;
        std::string testo = base;
        for (;;) {
            bool abort = false;
            const int32_t codice = Ganci.AnalisiGameProgress(abort, cdControllo, false);
            if (HaBit(ModificheAvvio, TempoInventarioInCorso))
                SalvaTempoInventario(TickTrascorsi(TickInizioInventario, inizio));
            if (abort) {
                esito = codice == 3 ? AlertInterrotto : AlertAbortito;
                fine = true;
                break;
            }
            if (codice > 0) inizio += static_cast<uint32_t>(codice);
            const int32_t trascorsi = TrascorsiDa(inizio);
            testo = HaBit(flag, ConCountDown) ? TestoContatoreAlert(base, trascorsi, completo) : base;
            DisegnaTestoSchermo(dc, testo, rett);
            int32_t attesa = intervallo;
            const int32_t secondo = Arrotonda(trascorsi / 1000.0);
            if (secondo != ultimoSecondo && HaBit(flag, BeepSecondi)) {
                SuonaEffetto(EffettoSecondo, true, false);
                attesa -= 50;
            }
            ultimoSecondo = secondo;
            if (attesa > 0) ClockSleep(static_cast<uint32_t>(attesa));
            const bool finito = TrascorsiDa(inizio) < durataMs ? completo : (HaBit(flag, ConCountDown) ? completo : true);
            if (!RichiestaAbort() || finito) break;
        }
        if (!fine && !RichiestaAbort()) {
            // The game ended: nothing is complete, no follow-up runs.
            esito = AlertAbortito;
        } else if (!fine) {
            if (suonoFine && completo) {
                SuonaEffetto(EffettoFine, true, false);
                for (int i = 0; i < 10; ++i) {
                    DisegnaTestoSchermo(dc, testo, rett);
                    ClockSleep(5);
                }
            }
            risultato = true;
            esito = AlertTempoCompleto;
        }
    }
    RipristinaHookTastiera();
    RipristinaDCSchermo(dc, salvato);
    ReleaseDC(nullptr, static_cast<HDC>(dc));
    return risultato;
}
