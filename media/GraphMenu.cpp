// The graph menu's syntax and its performance in the media window.
#include "media/GraphMenu.h"

#include <windows.h>

#include <algorithm>
#include <exception>

#include "core/LevelVariables.h"
#include "core/MediaLog.h"
#include "core/MediaSyntax.h"
#include "core/MediaTrigger.h"
#include "core/SystemUtils.h"
#include "core/TextUtils.h"
#include "core/Utf8Text.h"
#include "platform/Clock.h"
#include "runservices/DisplayModes.h"
#include "runservices/GameControls.h"
#include "runservices/GameWindow.h"
#include "runservices/PlayerKeys.h"
#include "runservices/Sounds.h"
#include "runservices/TombSettings.h"
#include "media/MediaText.h"
#include "media/MediaWindow.h"

GraphMenuParams ParametriGraphMenu;

namespace {

constexpr int32_t FlagLampeggio = 0x1;
constexpr int32_t FlagSuoni = 0x2;
constexpr int32_t FlagRettangolo = 0x8;
constexpr int32_t FlagEllisse = 0x10;
constexpr int32_t FlagInverti = 0x20;
constexpr int32_t FlagHotKeySceglie = 0x40;
constexpr int32_t FlagSalvaScelta = 0x80;

constexpr int32_t EffettoMossa = 6;
constexpr int32_t EffettoRifiuto = 3;
constexpr int32_t EffettoScelta = 10;

constexpr int32_t TastoInvio = 13;
constexpr int32_t TastoEscape = 27;

// A held direction moves again after this long; a new push moves at once,
// so the loop looks at the controls more often than that.
constexpr uint32_t RipetizioneDirezione = 100;
constexpr uint32_t PassoAttesa = 10;

bool Numero(std::string& testo, const char* tag, int32_t& campo, const char* errore) {
    int32_t valore = 0;
    if (!ValoreIntero32(EstraiTag(testo, tag), valore)) return RigaErrore(errore);
    campo = valore;
    return true;
}

bool LeggiBound(const std::string& valore, Rettangolo& bound) {
    const std::vector<std::string> parti = DividiTesto(valore, ':');
    if (parti.size() != 4) return false;
    int32_t v[4] = {};
    for (int i = 0; i < 4; ++i)
        if (!ValoreIntero32(parti[static_cast<size_t>(i)], v[i])) return false;
    bound = Rettangolo{v[0], v[1], v[2], v[3]};
    return true;
}

// The key's character as the keyboard writes it without Shift, upper-cased;
// 0 for keys that write none (function keys, arrows).
char CarattereTasto(int32_t tasto) {
    const UINT c = MapVirtualKeyA(static_cast<UINT>(tasto), 2) & 0x7FFF;
    if (c == 0 || c > 0x7F) return 0;
    return static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
}

// The rest of a step of the menu's loop. A key message ends it at once, and
// while the thread waits for messages the system puts what was drawn on
// the screen.
void AttendiPasso(uint32_t inizio) {
    const uint32_t passati = ClockTick() - inizio;
    const uint32_t resto = passati >= PassoAttesa ? 0 : PassoAttesa - passati;
    // A step that took its whole time still waits once, for no time at all:
    // the screen is brought up to date only while the thread waits.
    if (ClockIsManual())
        ClockSleep(resto);
    else
        MsgWaitForMultipleObjects(0, nullptr, FALSE, resto, QS_ALLINPUT);
}

// The direction whose game control is bound to the virtual key, or 0.
int32_t DirezioneDaTasto(int32_t tasto) {
    for (const ControlloDirezione& c : ControlliDirezione) {
        const int32_t vk = ScanCodeDaTasto(TastoAssegnato(ImpostazioniTombCorrenti, c.tasto));
        if (vk != 0 && vk == tasto) return c.bit;
    }
    return 0;
}

}  // namespace

bool SintassiGraphMenu(const std::string& sezione) {
    GraphMenuParams& p = ParametriGraphMenu;
    p = GraphMenuParams{};
    // Whatever was read, the selection and the grid stay inside the items.
    const auto fine = [&p](bool esito) {
        p.Columns = std::max(p.Columns, 1);
        p.SMenu = std::clamp(p.SMenu, 0, std::max(p.TotMenu - 1, 0));
        return esito;
    };
    if (sezione.empty()) return fine(true);
    std::string testo = sezione;
    if (!Numero(testo, "#FLAGS#=", p.Flags, "ERROR in Graph-Menu: missing #flags# value") ||
        !Numero(testo, "#PEN_COLOR#=", p.PenColor, "ERROR in Graph-Menu: missing #Pen_Color# value") ||
        !Numero(testo, "#PEN_SIZE#=", p.PenSize, "ERROR in Graph-Menu: missing #Pen_Size# value") ||
        !Numero(testo, "#BLINK_DELAY#=", p.BlinkDelay, "ERROR in Graph-Menu: missing #Blink_Delay# value"))
        return fine(false);
    int32_t totale = 0;
    if (!ValoreIntero32(EstraiTag(testo, "#TOT_MENU#="), totale) || totale < 0 || totale > MassimoVociGraphMenu)
        return fine(RigaErrore("ERROR in Graph-Menu: missing #Tot_Menu# value"));
    p.TotMenu = totale;
    p.Items.assign(static_cast<size_t>(totale) + 1, GraphMenuItem{});
    if (!Numero(testo, "#COLUMNS#=", p.Columns, "ERROR in Graph-Menu: missing #Columns# value") ||
        !Numero(testo, "#S_MENU#=", p.SMenu, "ERROR in Graph-Menu: missing #S_Menu# value"))
        return fine(false);
    for (int32_t n = 1; n <= totale; ++n) {
        const std::string nome = "MENU" + std::to_string(n);
        std::string dati = EstraiSezione(sezione, nome);
        GraphMenuItem& voce = p.Items[static_cast<size_t>(n - 1)];
        if (!LeggiBound(EstraiTag(dati, "#BOUND#="), voce.Bound))
            return fine(RigaErroreUtf8("ERROR in Graph-Menu: missing #Bound# values for " + nome));
        voce.HotKey = EstraiTag(dati, "#HOTKEY#=");
        if (voce.HotKey == "~") voce.HotKey.clear();
        int32_t codice = 0;
        if (!ValoreIntero32(EstraiTag(dati, "#MEDIA_CODE#="), codice))
            return fine(RigaErroreUtf8("ERROR in Graph-Menu: missing #Media_Code# value for " + nome));
        voce.MediaCode = codice;
    }
    return fine(true);
}

int32_t VoceDopoMossa(int32_t voce, int32_t dx, int32_t dy, int32_t colonne, int32_t totale) {
    colonne = std::max(colonne, 1);
    const int32_t riga = voce / colonne;
    const int32_t colonna = voce % colonne + dx;
    const int32_t destinazione = colonne * (riga + dy) + colonna;
    if (colonna < 0 || colonna >= colonne || destinazione < 0 || destinazione >= totale) return voce;
    return destinazione;
}

void Dialog_Titoli::ShowGraphMenu() {
    const GraphMenuParams& p = ParametriGraphMenu;
    bool ok = false;
    CaricaImmagineMedia(0, ok);
    CreaMemoryDC();
    FormatoTestoCorrente = MediaCorrente.Formato;
    SintassiGraphMenu(EstraiSezione(MediaCorrente.Syntax, "GRAPH_MENU"));
    FlagMenuGrafico = p.Flags;

    const std::string testo = TestoMedia(MediaCorrente.Text);
    if (LogAbilitato) StampaLog("Text to show:\r\n" + AnsiDaUtf8(testo));
    bool completato = false;
    MostraTestoDinamico(testo, completato);
    if (!completato) {
        EsitoMedia = false;
        return;
    }

    SalvaSfondo();
    if (ImpostazioniTombCorrenti.TastiDefault[0] == 0) ReadTombSettings();

    VoceSelezionata = p.SMenu;
    if (HaBit(p.Flags, FlagLampeggio)) {
        Timer_Dinamico.SetInterval(static_cast<uint32_t>(std::max(p.BlinkDelay, 0)));
        MenuGraficoFinito = false;
        Timer_Dinamico.SetEnabled(true);
    }
    DisegnaCursoreGraphMenu();
    ValoreMenu = -1;
    CursoreMostrato = true;

    StampaLog("Wait end Action key");
    while (TastoAzioneAttivo() != 0 && RichiestaAbort() && !scaricata_) {
        DoEvents();
        ClockSleep(100);
    }
    StampaLog("Remove keyboard messages");
    RimuoviMessaggiTastiera();
    StampaLog("Removed messages");

    const int16_t azione = ImpostazioniTombCorrenti.Tasti[static_cast<int>(TastoGioco::Action)];
    const int16_t azioneDefault = ImpostazioniTombCorrenti.TastiDefault[static_cast<int>(TastoGioco::Action)];
    MenuGraficoAttivo = true;
    MenuGraficoFinito = false;
    TickMossaGraphMenu = ClockTick() - RipetizioneDirezione;
    TickSceltaGraphMenu = ClockTick() - RipetizioneDirezione;
    DirezioniLetteGraphMenu = 0;
    while (!MenuGraficoFinito) {
        const uint32_t inizioPasso = ClockTick();
        DoEvents();
        if (MenuGraficoFinito) break;
        // Closed from outside: nothing is left to choose in.
        if (scaricata_) {
            EsitoMedia = false;
            break;
        }
        const int32_t direzioni = LeggiDirezioniGioco();
        if (TastoGiocoPremuto(azione, azioneDefault) != 0 && ClockTick() - TickSceltaGraphMenu >= RipetizioneDirezione)
            SceltaGraphMenu();
        // A held direction moves at the menu's pace; the press itself has
        // moved at once through its key message.
        if (!MenuGraficoFinito && direzioni != 0 && ClockTick() - TickMossaGraphMenu >= RipetizioneDirezione)
            MuoviGraphMenu(direzioni, true);

        if (!RichiestaAbort()) {
            EsitoMedia = false;
            AbortEscape = true;
            break;
        }
        AttendiPasso(inizioPasso);
    }
    MenuGraficoAttivo = false;
    Timer_Dinamico.SetEnabled(false);
}

void Dialog_Titoli::MuoviGraphMenu(int32_t direzioni, bool daControlli) {
    const GraphMenuParams& p = ParametriGraphMenu;
    int32_t dx = 0, dy = 0;
    if (HaBit(direzioni, DirezioneSinistra)) dx = -1;
    if (HaBit(direzioni, DirezioneDestra)) dx = 1;
    if (HaBit(direzioni, DirezioneSu))
        dy = -1;
    else if (HaBit(direzioni, DirezioneGiu))
        dy = 1;
    if (dx == 0 && dy == 0) return;
    TickMossaGraphMenu = ClockTick();
    DirezioniLetteGraphMenu = daControlli ? direzioni : 0;
    if (HaBit(p.Flags, FlagSuoni)) SuonaEffetto(EffettoMossa, true, false);
    const int32_t destinazione = VoceDopoMossa(VoceSelezionata, dx, dy, p.Columns, p.TotMenu);
    if (destinazione == VoceSelezionata) return;
    VoceSelezionata = destinazione;
    DisegnaCursoreGraphMenu();
    CursoreMostrato = true;
}

void Dialog_Titoli::DisegnaCursoreGraphMenu() {
    const GraphMenuParams& p = ParametriGraphMenu;
    RipristinaSfondo(false);
    HDC dc = Picture1.hDC();
    if (!dc || VoceSelezionata < 0 || VoceSelezionata >= p.TotMenu ||
        static_cast<size_t>(VoceSelezionata) >= p.Items.size())
        return;
    const Rettangolo& b = p.Items[static_cast<size_t>(VoceSelezionata)].Bound;
    RettangoloDim millesimi{}, pixel{};
    millesimi.X = b.Left;
    millesimi.Y = b.Top;
    millesimi.Larghezza = b.Right - b.Left;
    millesimi.Altezza = b.Bottom - b.Top;
    ScalaRettangolo(pixel, millesimi);
    const RECT area{pixel.X, pixel.Y, pixel.X + pixel.Larghezza, pixel.Y + pixel.Altezza};
    bool disegnato = false;
    if (HaBit(p.Flags, FlagInverti)) {
        InvertRect(dc, &area);
        disegnato = true;
    }
    if (HaBit(p.Flags, FlagRettangolo | FlagEllisse)) {
        HPEN penna = CreatePen(PS_SOLID, std::max(p.PenSize, 0), static_cast<COLORREF>(p.PenColor) & 0xFFFFFF);
        HGDIOBJ pennaPrima = SelectObject(dc, penna);
        HGDIOBJ pennelloPrima = SelectObject(dc, GetStockObject(HOLLOW_BRUSH));
        if (HaBit(p.Flags, FlagRettangolo))
            Rectangle(dc, area.left, area.top, area.right, area.bottom);
        else
            Ellipse(dc, area.left, area.top, area.right, area.bottom);
        SelectObject(dc, pennelloPrima);
        SelectObject(dc, pennaPrima);
        DeleteObject(penna);
        disegnato = true;
    }
    if (!disegnato) return;
    // Only where the cursor was and is now goes to the screen again.
    const int32_t margine = std::max(p.PenSize, 1);
    RECT aggiornare = area;
    InflateRect(&aggiornare, margine, margine);
    const RECT prima = AreaCursoreGraphMenu;
    AreaCursoreGraphMenu = aggiornare;
    if (IsRectEmpty(&prima) || !Picture1.hWnd()) {
        Picture1.Refresh();
        return;
    }
    InvalidateRect(Picture1.hWnd(), &prima, FALSE);
    InvalidateRect(Picture1.hWnd(), &aggiornare, FALSE);
    UpdateWindow(Picture1.hWnd());
}

void Dialog_Titoli::GestioneFineGraphMenu() {
    const GraphMenuParams& p = ParametriGraphMenu;
    const bool suoni = HaBit(p.Flags, FlagSuoni);
    // No item there, or one its section never gave a code: nothing to choose.
    if (VoceSelezionata < 0 || VoceSelezionata >= p.TotMenu ||
        static_cast<size_t>(VoceSelezionata) >= p.Items.size()) {
        if (suoni) SuonaEffetto(EffettoRifiuto, true, false);
        return;
    }
    const GraphMenuItem& voce = p.Items[static_cast<size_t>(VoceSelezionata)];
    if (voce.MediaCode == MediaCodeNonScegliere) {
        if (suoni) SuonaEffetto(EffettoRifiuto, true, false);
        return;
    }
    if (voce.MediaCode == MediaCodeEsciMenu) {
        AbortEscape = true;
        MenuGraficoFinito = true;
        EsitoMedia = false;
        return;
    }
    if (suoni) SuonaEffetto(EffettoScelta, true, false);
    ValoreMenu = voce.MediaCode;
    if (HaBit(p.Flags, FlagSalvaScelta))
        SalvaVariabile(IdUltimoInput, voce.HotKey.empty() ? std::to_string(VoceSelezionata + 1) : voce.HotKey);
    EsitoMedia = true;
    MenuGraficoFinito = true;
    AbortEscape = false;
}

void Dialog_Titoli::SceltaGraphMenu() {
    TickSceltaGraphMenu = ClockTick();
    GestioneFineGraphMenu();
}

void Dialog_Titoli::TastoGraphMenu(int32_t tasto, bool ripetuto) {
    if (!MenuGraficoAttivo || MenuGraficoFinito) return;
    const GraphMenuParams& p = ParametriGraphMenu;
    // A direction control's key moves at once, so that a tap shorter than
    // the loop's look at the controls is not lost; its repeats are the
    // loop's.
    if (const int32_t direzione = DirezioneDaTasto(tasto); direzione != 0) {
        // A press the loop has just moved for is not moved for again.
        const bool giaMosso = HaBit(DirezioniLetteGraphMenu, direzione) &&
                              ClockTick() - TickMossaGraphMenu < RipetizioneDirezione;
        if (!ripetuto && !giaMosso) MuoviGraphMenu(direzione, false);
        return;
    }
    if (tasto == TastoInvio) {
        if (!ripetuto || ClockTick() - TickSceltaGraphMenu >= RipetizioneDirezione) SceltaGraphMenu();
        return;
    }
    if (tasto == TastoEscape) {
        if (!HaBit(MediaCorrente.Options, EscapeBreaks)) return;
        AbortEscape = true;
        EsitoMedia = false;
        MenuGraficoFinito = true;
        ValoreMenu = -1;
        return;
    }
    const char carattere = CarattereTasto(tasto);
    if (carattere == 0) return;
    // Letters compared upper-cased: a "z" hot key is the Z key.
    const std::string cercato(1, carattere);
    const int32_t voci = std::min<int32_t>(p.TotMenu, static_cast<int32_t>(p.Items.size()));
    for (int32_t i = 0; i < voci; ++i) {
        if (MaiuscoloAscii(p.Items[static_cast<size_t>(i)].HotKey) != cercato) continue;
        VoceSelezionata = i;
        DisegnaCursoreGraphMenu();
        CursoreMostrato = true;
        if (HaBit(p.Flags, FlagHotKeySceglie))
            GestioneFineGraphMenu();
        else if (HaBit(p.Flags, FlagSuoni))
            SuonaEffetto(EffettoRifiuto, true, false);
        return;
    }
}
