#include "media/TypingEngine.h"

#include <windows.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <vector>

#include "core/MediaTrigger.h"
#include "core/ModuleInit.h"
#include "core/SharedState.h"
#include "core/Utf8Text.h"
#include "runservices/Sounds.h"
#include "media/MediaWindow.h"
#include "platform/Clock.h"

namespace {

constexpr int32_t FlagSegnaleFineRiga = 0x2;
constexpr int32_t FlagSenzaCursore = 0x10;
constexpr int32_t FlagSpaziRiservati = 0x20;
constexpr int32_t FlagParole = 0x40;
constexpr int32_t PausaFineRigaMs = 400;
constexpr uint32_t IntervalloCursoreMs = 200;
const std::string SpazioNonSeparabile = "\xC2\xA0";

// Where each character of a UTF-8 text starts, and the text's end last.
std::vector<size_t> InizioCaratteri(const std::string& testo) {
    std::vector<size_t> inizi;
    for (size_t i = 0; i < testo.size(); ++i)
        if ((static_cast<unsigned char>(testo[i]) & 0xC0) != 0x80 || i == 0) inizi.push_back(i);
    inizi.push_back(testo.size());
    return inizi;
}

int32_t NumeroCaratteri(const std::string& testo) { return static_cast<int32_t>(InizioCaratteri(testo).size()) - 1; }

uint32_t Millisecondi(int64_t valore) { return static_cast<uint32_t>(std::clamp<int64_t>(valore, 0, UINT32_MAX)); }

// The rest of a step paced from its start.
void AttendiDa(uint32_t inizio, uint32_t durata) {
    const uint32_t passati = ClockTick() - inizio;
    if (passati < durata) ClockSleep(durata - passati);
}

// Milliseconds from <da> to now, negative while <da> lies ahead; safe
// across the wrap of the tick count.
int32_t TrascorsiDa(uint32_t da) { return static_cast<int32_t>(ClockTick() - da); }

// Each character is due at its own time on the clock, counted from the
// first one, so that the slowness of a drawing or of a sleep is not added
// to every step: when the machine falls behind, the characters whose time
// has come go on screen together in one drawing.
bool BattiCaratteri(const std::string& testo, const AzioniTesto& azioni) {
    const TextFormat& formato = FormatoTestoCorrente;
    const uint32_t passo = Millisecondi(formato.DelayMicros);
    const std::vector<size_t> inizi = InizioCaratteri(testo);
    const int32_t n = static_cast<int32_t>(inizi.size()) - 1;
    // Positions count characters from 1, as the cursor text does.
    const auto carattere = [&](int32_t p) { return testo.substr(inizi[p - 1], inizi[p] - inizi[p - 1]); };
    const auto fineRiga = [](const std::string& c) { return c == "\r" || c == "\n" || c == " "; };
    uint32_t dovuto = ClockTick();
    for (int32_t p = 1; p <= n;) {
        const std::string c = carattere(p);
        azioni.Eventi();
        if (azioni.Escape()) return false;
        if (c != "\r") {
            // The characters after this one whose time has come as well, up
            // to a line end, which has steps of its own.
            const int32_t ritardo = TrascorsiDa(dovuto);
            int32_t ultimo = p;
            bool clic = c != " ";
            while (ultimo < n && ritardo > 0 &&
                   (passo == 0 || static_cast<int64_t>(ultimo - p + 1) * passo <= ritardo)) {
                const std::string dopo = carattere(ultimo + 1);
                if (dopo == "\r") break;
                clic = clic || dopo != " ";
                ++ultimo;
            }
            azioni.Scrivi(TestoConCursore(testo, ultimo));
            if (clic) azioni.Suona(1, false);
            dovuto += static_cast<uint32_t>(ultimo - p + 1) * passo;
            p = ultimo + 1;
        } else {
            int32_t dopo = p + 1;
            while (dopo <= n && fineRiga(carattere(dopo))) ++dopo;
            if (dopo > n) break;
            bool pausa = false;
            // The first character has no line before it to end.
            if (p > 1 && carattere(p - 1) != "\n") {
                const std::string riga = testo.substr(0, inizi[p - 1]);
                const std::string rigaCursore = TestoConCursore(riga, p - 1);
                azioni.Scrivi(riga);
                azioni.Suona(5, false);
                if (azioni.Escape()) return false;
                azioni.Scrivi(rigaCursore);
                if (azioni.Escape()) return false;
                ClockSleep(PausaFineRigaMs);
                if (HaBit(formato.Flags, FlagSegnaleFineRiga)) {
                    azioni.Scrivi(riga);
                    ClockSleep(PausaFineRigaMs);
                    if (azioni.Escape()) return false;
                    azioni.Scrivi(rigaCursore);
                    ClockSleep(PausaFineRigaMs);
                    if (azioni.Escape()) return false;
                    azioni.Suona(2, false);
                }
                pausa = true;
            }
            // The line feed after it goes with this step.
            p += 2;
            dovuto += passo;
            // The next line's time runs from the end of the pause.
            if (pausa && TrascorsiDa(dovuto) > 0) dovuto = ClockTick();
        }
        const int32_t attesa = -TrascorsiDa(dovuto);
        if (attesa > 0) ClockSleep(static_cast<uint32_t>(attesa));
    }
    azioni.Scrivi(testo);
    azioni.Suona(5, false);
    return true;
}

bool BattiParole(const std::string& testo, const AzioniTesto& azioni) {
    const TextFormat& formato = FormatoTestoCorrente;
    const uint32_t passo = Millisecondi(formato.DelayMicros);
    const bool cursore = !HaBit(formato.Flags, FlagSenzaCursore);
    // A blank before each line break, so that a new line begins a word.
    std::string spaziato;
    for (size_t i = 0; i < testo.size(); ++i) {
        if (testo.compare(i, 2, "\r\n") == 0) spaziato += ' ';
        spaziato += testo[i];
    }
    std::vector<std::string> parole;
    for (size_t da = 0;;) {
        const size_t blank = spaziato.find(' ', da);
        parole.push_back(spaziato.substr(da, blank == std::string::npos ? std::string::npos : blank - da));
        if (blank == std::string::npos) break;
        da = blank + 1;
    }
    std::string riga;
    bool cursoreMostrato = false;
    uint32_t ultimoCambio = 0;
    // Holds the line on screen for <durata> from <da>, blinking the cursor.
    const auto tieni = [&](uint32_t da, uint32_t durata) {
        for (;;) {
            const uint32_t passati = ClockTick() - da;
            if (passati >= durata) return true;
            azioni.Eventi();
            if (azioni.Escape()) return false;
            if (cursore && ClockTick() - ultimoCambio > IntervalloCursoreMs) {
                cursoreMostrato = !cursoreMostrato;
                azioni.Scrivi(cursoreMostrato ? riga + "_" : riga);
                ultimoCambio = ClockTick();
            }
            ClockSleep(std::min<uint32_t>(10, durata - passati));
        }
    };
    for (size_t n = 1; n <= parole.size(); ++n) {
        const uint32_t inizio = ClockTick();
        const std::string& parola = parole[n - 1];
        riga = n == 1 ? parola : riga + " " + parola;
        azioni.Scrivi(cursore ? riga + "_" : riga);
        cursoreMostrato = cursore;
        ultimoCambio = ClockTick();
        const uint32_t disegnata = ultimoCambio;
        if (parola.empty())
            ClockSleep(5);
        else if (HaBit(formato.Flags, 0x1))
            azioni.Suona(8, true);
        else
            ClockSleep(100);
        if (azioni.Escape()) return false;
        if (!tieni(disegnata, Millisecondi(static_cast<int64_t>(passo) * NumeroCaratteri(parola)))) return false;
        if (n < parole.size() && !parole[n].empty() && parole[n][0] == '\r') {
            if (!tieni(ClockTick(), Millisecondi(static_cast<int64_t>(passo) * 15))) return false;
            if (HaBit(formato.Flags, FlagSegnaleFineRiga)) azioni.Suona(2, false);
        }
        AttendiDa(inizio, passo);
    }
    azioni.Scrivi(testo);
    azioni.Suona(5, false);
    return true;
}

}  // namespace

std::string TestoConCursore(const std::string& testo, int32_t conteggio) {
    const std::vector<size_t> inizi = InizioCaratteri(testo);
    const int32_t n = static_cast<int32_t>(inizi.size()) - 1;
    const int32_t fatti = std::clamp(conteggio, 0, n);
    std::string risultato = testo.substr(0, inizi[fatti]);
    if (!HaBit(FormatoTestoCorrente.Flags, FlagSenzaCursore)) return risultato + "_";
    // The word being typed keeps its place on the line, so that it does not
    // jump to the next one when it has grown too long for this one.
    if (HaBit(FormatoTestoCorrente.Flags, FlagSpaziRiservati) && FormatoTestoCorrente.Font < 1) {
        for (int32_t i = fatti; i < n; ++i) {
            if (inizi[i + 1] - inizi[i] == 1 && IsSeparatore(testo[inizi[i]])) break;
            risultato += SpazioNonSeparabile;
        }
    }
    return risultato;
}

bool IsSeparatore(char carattere) {
    return carattere == ' ' || carattere == '\r' || carattere == '\n' || carattere == '\t';
}

bool MostraTestoEffetto(const std::string& testo, const AzioniTesto& azioni) {
    switch (FormatoTestoCorrente.Effect) {
    case 0:
        azioni.Scrivi(testo);
        return true;
    case 1:
        if (testo.empty()) return true;
        return HaBit(FormatoTestoCorrente.Flags, FlagParole) ? BattiParole(testo, azioni)
                                                              : BattiCaratteri(testo, azioni);
    case 2:
        azioni.Scrivi(testo);
        azioni.Lampeggia(testo);
        return true;
    default:
        return true;
    }
}

double DimensioneFontTesto(int32_t larghezza, int32_t charRow, int32_t dpi, bool pixelInteri, double& carattere) {
    // A CharRow of -1 or less would divide by zero or give a negative size.
    const int64_t caratteriRiga = std::max<int64_t>(static_cast<int64_t>(charRow) + 1, 1);
    carattere = static_cast<double>(larghezza) / static_cast<double>(caratteriRiga);
    if (pixelInteri) carattere = std::nearbyint(carattere);
    return carattere * dpi / 72.0;
}

FontTesto::~FontTesto() { Rilascia(); }

void FontTesto::Seleziona(void* dc, void* font) {
    Rilascia();
    if (!dc || !font) {
        if (font) DeleteObject(static_cast<HFONT>(font));
        return;
    }
    precedente_ = SelectObject(static_cast<HDC>(dc), static_cast<HFONT>(font));
    dc_ = dc;
    font_ = font;
}

void FontTesto::Rilascia() {
    if (!font_) return;
    // A surface destroyed first has let the font go already.
    if (dc_ && GetCurrentObject(static_cast<HDC>(dc_), OBJ_FONT) == font_)
        SelectObject(static_cast<HDC>(dc_), static_cast<HGDIOBJ>(precedente_));
    DeleteObject(static_cast<HFONT>(font_));
    dc_ = font_ = precedente_ = nullptr;
}

namespace {

int32_t RisoluzioneSchermo() {
    HDC schermo = GetDC(nullptr);
    const int dpi = schermo ? GetDeviceCaps(schermo, LOGPIXELSY) : 96;
    if (schermo) ReleaseDC(nullptr, schermo);
    return dpi > 0 ? dpi : 96;
}

// The character set that the language gave the box's window, else its form's.
BYTE CharsetPicture(HWND box, HWND form) {
    for (HWND finestra : {box, form}) {
        if (!finestra) continue;
        const auto font = reinterpret_cast<HFONT>(SendMessageA(finestra, WM_GETFONT, 0, 0));
        LOGFONTA dati;
        if (font && GetObjectA(font, sizeof dati, &dati) == sizeof dati) return dati.lfCharSet;
    }
    return DEFAULT_CHARSET;
}

void* CreaFontTesto(const std::string& nome, double punti, int32_t dpi, BYTE charset) {
    LOGFONTW dati{};
    dati.lfHeight = -static_cast<LONG>(std::lround(punti * dpi / 72.0));
    dati.lfWeight = FW_NORMAL;
    dati.lfCharSet = charset;
    const std::u16string faccia = Utf16DaUtf8(nome);
    const size_t lunghezza = std::min<size_t>(faccia.size(), LF_FACESIZE - 1);
    std::copy_n(faccia.begin(), lunghezza, dati.lfFaceName);
    return CreateFontIndirectW(&dati);
}

}  // namespace

void Dialog_Titoli::MostraTestoDinamico(const std::string& testo, bool& completato) {
    ImpostaFontTesto();
    AzioniTesto azioni;
    azioni.Scrivi = [this](const std::string& t) { ScriviTestoRect(t); };
    azioni.Suona = [](int32_t effetto, bool attendi) { SuonaEffetto(effetto, false, attendi); };
    azioni.Escape = [this] {
        bool fine = false;
        return ControllaTastoEscape(fine);
    };
    azioni.Eventi = [] { DoEvents(); };
    azioni.Lampeggia = [this](const std::string& t) {
        TestoDinamico = t;
        Timer_Dinamico.SetInterval(static_cast<uint32_t>(std::max(FormatoTestoCorrente.DelayMicros, 0)));
        TestoMostrato = true;
        Timer_Dinamico.SetEnabled(true);
    };
    completato = MostraTestoEffetto(testo, azioni);
}

void Dialog_Titoli::ImpostaFontTesto() {
    const int32_t dpi = RisoluzioneSchermo();
    const double punti = DimensioneFontTesto(LarghezzaFinestra, FormatoTestoCorrente.CharRow, dpi, false,
                                             DimensioneCarattere);
    FontPicture.Seleziona(Picture1.hDC(),
                          CreaFontTesto(NomeFontDaIndice(FormatoTestoCorrente.Font), punti, dpi, CharsetPicture(Picture1.hWnd(), hWnd())));
    Picture1.ForeColor = static_cast<COLORREF>(FormatoTestoCorrente.Color);
    if (Picture1.hDC()) SetTextColor(Picture1.hDC(), Picture1.ForeColor);
}

void Dialog_Titoli::ImpostaFontFormattazione() {
    const int32_t dpi = RisoluzioneSchermo();
    const double punti = DimensioneFontTesto(LarghezzaFinestra, FormatoTestoCorrente.CharRow, dpi, true,
                                             DimensioneCarattere);
    FontPicture.Seleziona(Picture1.hDC(),
                          CreaFontTesto(NomeFontDaIndice(FormatoTestoCorrente.Font), punti, dpi, CharsetPicture(Picture1.hWnd(), hWnd())));
}
