#include "media/AlertCover.h"

#include <windows.h>

#include <cmath>
#include <string>

#include "core/FileUtils.h"
#include "core/MediaLog.h"
#include "core/MediaSyntax.h"
#include "core/MediaTrigger.h"
#include "core/ModuleInit.h"
#include "core/TextUtils.h"
#include "core/Utf8Text.h"
#include "media/AlertDrawing.h"
#include "media/AlertMedia.h"
#include "media/AlertSyntax.h"
#include "media/CountdownMedia.h"
#include "media/LifeBar.h"
#include "media/MediaText.h"
#include "media/ProgressiveText.h"
#include "media/TextLayout.h"
#include "platform/Clock.h"
#include "platform/Forms.h"
#include "runservices/Desktop.h"
#include "runservices/GameWindow.h"
#include "runservices/KeyboardHook.h"
#include "runservices/LoggerClient.h"
#include "runservices/PlayerKeys.h"
#include "runservices/RunHooks.h"
#include "runservices/RunState.h"
#include "runservices/Sounds.h"

namespace {

constexpr int32_t EffettoBlinkAlto = 6;
constexpr int32_t EffettoBlinkBasso = 5;
constexpr int32_t EffettoSecondo = 6;
constexpr int32_t EffettoFine = 3;
constexpr UINT FormatoAlert = DT_NOPREFIX | DT_EXPANDTABS | DT_WORDBREAK;

// The simple or countdown text laid out and placed; charWidth in larghezza.
void PreparaTesto(const std::string& base, int32_t& larghezza, Rettangolo& rettTesto) {
    Dialog_Cover& cover = DialogCover();
    larghezza = LarghezzaCarattereAlert();
    // The character width taken as points, as the cover's font size.
    HDC schermo = GetDC(nullptr);
    const int32_t dpi = schermo ? GetDeviceCaps(schermo, LOGPIXELSY) : 96;
    if (schermo) ReleaseDC(nullptr, schermo);
    cover.ImpostaFontCover(NomeFontDaIndice(FormatoTestoCorrente.Font), MulDiv(larghezza, dpi, 72), true);
    cover.ForeColor = static_cast<COLORREF>(FormatoTestoCorrente.Color);
    cover.BackColor = static_cast<COLORREF>(BloccoAlert.ColoreSfondoAlert);

    std::string testo = base;
    if (HaBit(BloccoAlert.FlagAlert, ConCountDown))
        testo = SostituisciSenzaCaso(base, "#COUNTER#",
                                     FormattaContatore(std::max(ContatoreIniziale, ContatoreFinale)));
    RECT finestra{};
    if (FinestraGioco) GetWindowRect(static_cast<HWND>(FinestraGioco), &finestra);
    rettTesto = RettangoloAlertSchermo(finestra.right, finestra.bottom);
    if (HDC dc = cover.DCCover()) {
        RECT r{rettTesto.Left, rettTesto.Top, rettTesto.Right, rettTesto.Bottom};
        const std::u16string testo16 = Utf16DaUtf8(testo);
        DrawTextW(dc, reinterpret_cast<LPCWSTR>(testo16.c_str()), static_cast<int>(testo16.size()), &r,
                  static_cast<UINT>(FormatoTestoCorrente.Align) | DT_CALCRECT | FormatoAlert);
        rettTesto = Rettangolo{r.left, r.top, r.right, r.bottom};
        if (testo.find("\r\n") == std::string::npos) {
            SIZE misura{};
            GetTextExtentPoint32W(dc, reinterpret_cast<LPCWSTR>(testo16.c_str()), static_cast<int>(testo16.size()),
                                  &misura);
            rettTesto.Right = rettTesto.Left + misura.cx;
        }
    }
    CalcolaRettangoloTesto(rettTesto,
                           HaBit(BloccoAlert.FlagAlert, RettangoloAllargato) ? larghezza : 0);
    FormatoTestoCorrente.BoundRect = rettTesto;
    cover.DCCover();
    cover.PulisciCover();
    MostraCoverSopraGioco();
    DoEvents();
    if (!base.empty() && HaBit(BloccoAlert.FlagAlert, TestoSemplice)) {
        StampaLog("Operation: simple text: \"" + base + "\"");
        StampaLog("Text Format Rect: " + TestoRettangolo(rettTesto));
        StampaLog("Cover OrgX=" + std::to_string(RettCover.X) + " OrgY=" + std::to_string(RettCover.Y));
        if (HDC dc = cover.DCCover())
            DisegnaTestoSchermo(dc, base, FormatoTestoCorrente.BoundRect);
        cover.RidisegnaCover();
    }
}

}  // namespace

bool DisegnaTestoAlert(int32_t& esito) {
    // A faulty section runs on the defaults and what was read before the fault.
    if (HaBit(BloccoAlert.FlagAlert, ConLifeBar)) SintassiLifeBar(EstraiSezione(MediaCorrente.Syntax, "LIFE_BAR"));
    CodeAlertCorrente = MediaCorrente.MediaCode;
    TimeAlertCorrente = 0;
    const int32_t flag = BloccoAlert.FlagAlert;
    const bool conLifeBar = HaBit(flag, ConLifeBar);
    const bool conContatore = HaBit(flag, ConCountDown);
    const bool progressivo = HaBit(flag, TestoProgressivo) && !conLifeBar;
    bool suono = false;
    if (conContatore) suono = HaBit(FlagCountDown, 0x1);
    if (HaBit(flag, BeepSecondi)) suono = true;
    const int32_t cdControllo = HaBit(MediaCorrente.Options, WhileCdSounds) ? MediaCorrente.TriggerCd : -1;
    const int32_t cdInterruzione = HaBit(flag, ConCdBreak) ? BloccoAlert.CdInterruzione : -1;
    SospendiHookTastiera();

    Dialog_Cover& cover = DialogCover();
    bool risultato = false;
    bool pronto = true;
    Rettangolo rettTesto{};
    std::string base;
    if (conLifeBar) {
        StampaLog("Effect: Life Bar");
        if (!InitLifeBar()) {
            esito = AlertAbortito;
            pronto = false;
        }
    } else {
        FormatoTestoCorrente = MediaCorrente.Formato;
        base = TestoMedia(MediaCorrente.Text);
        StampaLog("Source text: " + base);
        if (progressivo) {
            StampaLog("InitProgressiveText()");
            CambiaTabulatoreLog(1);
            int32_t altezzaFont = 0;
            const bool fatto = InitProgressiveText(altezzaFont);
            CambiaTabulatoreLog(-1);
            if (!fatto) {
                esito = AlertAbortito;
                pronto = false;
            } else {
                DatiTestoProgressivo.BackColour = BloccoAlert.ColoreSfondoAlert;
                rettTesto = DatiTestoProgressivo.Rect;
                CalcolaRettangoloTesto(rettTesto, HaBit(flag, RettangoloAllargato) ? altezzaFont : 0);
                cover.ForeColor = static_cast<COLORREF>(FormatoTestoCorrente.Color);
                cover.BackColor = static_cast<COLORREF>(BloccoAlert.ColoreSfondoAlert);
                cover.DCCover();
                cover.PulisciCover();
                MostraCoverSopraGioco();
                DatiTestoProgressivo.Rect = rettTesto;
                FormatoTestoCorrente.BoundRect = rettTesto;
                bool completo = false;
                MostraTestoProgressivo(completo);
            }
        } else {
            int32_t larghezza = 0;
            PreparaTesto(base, larghezza, rettTesto);
        }
        if (pronto) DisegnaRettangolo();
    }

    int32_t ripresa = 0;
    bool trovato = true;
    if (pronto) {
        const int64_t durataMs = static_cast<int64_t>(DurataAlertSecondi()) * 1000;
        uint32_t inizio = ClockTick();
        if (LoggerAttivo() && HaBit(StatoGioco, PatchLoadingBugApplicata) &&
            CodeAlertCaricato == MediaCorrente.MediaCode) {
            ripresa = TimeAlertCaricato;
            StampaLog("To use suspend time for alert: " + std::to_string(ripresa) + " m.s.");
        } else {
            trovato = TempoRipresaSospeso(ripresa, false);
        }
        if (ripresa > 0) {
            if (conLifeBar)
                LifeBarStato.Progresso = ripresa;
            else
                inizio -= static_cast<uint32_t>(ripresa);
        }
        bool completo = false;
        int32_t ultimoSecondo = -1;
        uint32_t ultimoBlink = ClockTick();
        int32_t suonoBlink = 200;
        std::string testoPrecedente;
        bool fine = false;
        if (trovato) ImpostaBit(ModificheAvvio, AlertInCorso);
        while (trovato) {
            SegnaTempo();
            DoEvents();
            int32_t codice = 0;
            bool abort = false;
            if (!HaBit(flag, IgnoraGioco)) {
                // With a life bar its counted time is what a resume gives back.
                TimeAlertCorrente = conLifeBar ? LifeBarStato.Progresso : TrascorsiDa(inizio);
                codice = Ganci.AnalisiGameProgress(abort, cdControllo, false);
            }
            if (HaBit(ModificheAvvio, TempoInventarioInCorso))
                SalvaTempoInventario(
                    conLifeBar ? LifeBarStato.Progresso + TickTrascorsi(TickInizioInventario, LifeBarStato.UltimoTick)
                               : TickTrascorsi(TickInizioInventario, inizio));
            if (abort) {
                bool riprende = false;
                if (codice == 3 && conLifeBar) {
                    StampaLog("End alert cd sound: perform end effect before remove life bar");
                    CambiaTabulatoreLog(1);
                    riprende = ChiudiLifeBar(cdControllo);
                    CambiaTabulatoreLog(-1);
                }
                if (riprende) {
                    codice = 0;
                } else {
                    esito = codice == 3 && RichiestaAbort() ? AlertInterrotto : AlertAbortito;
                    fine = true;
                    break;
                }
            }
            if (codice > 0) {
                StampaLog("Time lost in inventory mode = " + std::to_string(codice) + " m.s.");
                if (progressivo) DatiTestoProgressivo.LastTick += static_cast<uint32_t>(codice);
            }
            if (cdInterruzione != -1 && IsFileOccupato(cdInterruzione, FileTracciaCd, false)) {
                StampaLog("Detected start of 'break cd' " + std::to_string(cdInterruzione) + " break media alert");
                esito = AlertInterrotto;
                fine = true;
                break;
            }
            if (codice > 0) inizio += static_cast<uint32_t>(codice);
            if (conLifeBar) {
                if (codice > 0) LifeBarStato.UltimoTick += static_cast<uint32_t>(codice);
                if (!AggiornaLifeBar()) completo = true;
            }
            if (progressivo) {
                bool righeFinite = false;
                MostraTestoProgressivo(righeFinite);
            }
            if (conContatore && !conLifeBar) {
                const std::string testo = TestoContatoreAlert(base, TrascorsiDa(inizio), completo);
                if (MaiuscoloAscii(testo) != MaiuscoloAscii(testoPrecedente)) {
                    if (HDC dc = cover.DCCover()) {
                        cover.PulisciCover();
                        DisegnaRettangolo();
                        DisegnaTestoSchermo(dc, testo, rettTesto);
                    }
                    cover.RidisegnaCover();
                }
                testoPrecedente = testo;
                StampaLog("Show countdown text: " + testo);
            } else if (conContatore) {
                TestoContatoreAlert(base, TrascorsiDa(inizio), completo);
            }
            if (HaBit(flag, Lampeggio) && TrascorsiDa(ultimoBlink) >= FormatoTestoCorrente.DelayMicros) {
                if (CoverVisibile())
                    cover.Hide();
                else
                    MostraCoverSopraGioco();
                ultimoBlink = ClockTick();
                if (HaBit(FormatoTestoCorrente.Flags, 0x1)) {
                    SuonaEffetto(suonoBlink == 200 ? EffettoBlinkAlto : EffettoBlinkBasso, true, false);
                    suonoBlink = suonoBlink == 200 ? 400 : 200;
                }
            }
            if (CoverVisibile()) cover.RidisegnaCover();
            const int32_t secondo = Arrotonda(TrascorsiDa(inizio) / 1000.0);
            if (secondo != ultimoSecondo && HaBit(flag, BeepSecondi) && (conContatore || progressivo))
                SuonaEffetto(EffettoSecondo, true, false);
            ultimoSecondo = secondo;
            AttendiDaSegno(500);
            const bool avanti = TrascorsiDa(inizio) < durataMs || (conContatore && !completo) ||
                                (conLifeBar && !completo);
            if (!RichiestaAbort() || !avanti) break;
        }
        if (trovato && !fine) {
            if (!RichiestaAbort()) {
                // The game ended: nothing is complete, no follow-up runs.
                esito = AlertAbortito;
            } else {
                if (suono && completo) SuonaEffetto(EffettoFine, true, false);
                esito = AlertTempoCompleto;
                risultato = true;
            }
        }
    }

    // Hidden where it stands: moved while shown, the cover would carry its
    // text to the screen's corner until the windows below repaint.
    cover.Hide();
    InitFormattazioneTesto();
    if (conLifeBar) DistruggiLifeBar();
    CodeAlertCorrente = -1;
    TimeAlertCorrente = 0;
    if (esito != AlertAbortito) {
        CodeAlertCaricato = -1;
        TimeAlertCaricato = 0;
    }
    TogliBit(ModificheAvvio, AlertInCorso);
    RipristinaHookTastiera();
    return risultato;
}
