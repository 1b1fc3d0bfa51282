#include "media/ProgressiveText.h"

#include <windows.h>

#include <cmath>
#include <cstdlib>
#include <string>

#include "core/LevelVariables.h"
#include "core/MediaLog.h"
#include "core/MediaSyntax.h"
#include "core/MediaTrigger.h"
#include "core/ModuleInit.h"
#include "core/TextUtils.h"
#include "core/Utf8Text.h"
#include "media/MediaText.h"
#include "media/TextLayout.h"
#include "platform/Clock.h"
#include "runservices/Desktop.h"
#include "runservices/Sounds.h"

DatiTestoProgressivoMedia DatiTestoProgressivo;

namespace {

constexpr int32_t EffettoRiga = 6;

bool LeggiValore(std::string& sezione, const char* tag, int32_t& campo, const char* nome) {
    if (ValoreIntero32(EstraiTag(sezione, tag), campo)) return true;
    RigaErrore(std::string("ERROR: not numeric value for ") + nome + " field of Progressive Text chunk");
    return false;
}

std::vector<std::string> DividiRighe(const std::string& testo) {
    std::vector<std::string> righe;
    size_t inizio = 0;
    for (;;) {
        const size_t fine = testo.find("\r\n", inizio);
        if (fine == std::string::npos) {
            righe.push_back(testo.substr(inizio));
            return righe;
        }
        righe.push_back(testo.substr(inizio, fine - inizio));
        inizio = fine + 2;
    }
}

bool RigheContatore(const std::string& testo, std::vector<std::string>& righe) {
    bool errore = false;
    const std::string ultimo = LeggiVariabile(IdUltimoInput, errore, false, false);
    if (errore) return false;
    int32_t fine = 0;
    if (!ValoreIntero32(ultimo, fine)) {
        RigaErrore("Error: the last text typed is not a number for the progressive text's counter: " + ultimo);
        return false;
    }
    const int32_t inizio = DatiTestoProgressivo.StartCount;
    StampaLog("Counter from: " + std::to_string(inizio) + " to: " + std::to_string(fine));
    if (std::llabs(static_cast<int64_t>(fine) - inizio) >= MassimoRigheContatore) {
        RigaErrore("Error: the progressive text's counter from " + std::to_string(inizio) + " to " +
                   std::to_string(fine) + " passes " + std::to_string(MassimoRigheContatore) + " rows");
        return false;
    }
    const int32_t passo = inizio <= fine ? 1 : -1;
    for (int32_t n = inizio;; n += passo) {
        righe.push_back(SostituisciSenzaCaso(testo, "#COUNTER#", std::to_string(n)));
        StampaLog("Row" + std::to_string(righe.size()) + ": " + righe.back());
        if (n == fine) break;
    }
    return true;
}

SIZE MisuraRiga(HDC dc, const std::string& riga) {
    const std::u16string testo = Utf16DaUtf8(riga);
    SIZE misura{};
    GetTextExtentPoint32W(dc, reinterpret_cast<LPCWSTR>(testo.c_str()), static_cast<int>(testo.size()), &misura);
    return misura;
}

}  // namespace

bool LeggiChunkTestoProgressivo(const std::string& sezione) {
    DatiTestoProgressivoMedia& d = DatiTestoProgressivo;
    d.Flags = 0;
    d.Time = 1000;
    d.StartCount = 1;
    if (sezione.empty()) return true;
    std::string testo = sezione;
    return LeggiValore(testo, "#FLAGS#=", d.Flags, "#flags#") && LeggiValore(testo, "#TIME#=", d.Time, "#Time#") &&
           LeggiValore(testo, "#START_COUNT#=", d.StartCount, "#Start_Count#");
}

bool InitProgressiveText(int32_t& altezzaFont) {
    DatiTestoProgressivoMedia& d = DatiTestoProgressivo;
    // A faulty section has its error line and lays out on the defaults and
    // what was read before the fault.
    LeggiChunkTestoProgressivo(EstraiSezione(MediaCorrente.Syntax, "PROGR_TEXT"));
    const std::string testo = TestoMedia(MediaCorrente.Text);
    d.Rows.clear();
    d.RowCount = 0;
    if (HaBit(d.Flags, CounterRows)) {
        if (!RigheContatore(testo, d.Rows)) return false;
    } else if (!testo.empty()) {
        d.Rows = DividiRighe(testo);
    }
    d.RowCount = static_cast<int32_t>(d.Rows.size());
    if (d.RowCount == 0) {
        RigaErrore("Error: no texts to show");
        return false;
    }

    const TextFormat& formato = MediaCorrente.Formato;
    altezzaFont = LarghezzaCarattere(formato.CharRow);
    StampaLog("Size_Font=" + std::to_string(altezzaFont) + " pixels");
    Dialog_Cover& cover = DialogCover();
    cover.Load();
    cover.ImpostaFontCover(NomeFontDaIndice(formato.Font), altezzaFont, true);
    cover.ForeColor = static_cast<COLORREF>(formato.Color);

    int32_t larghezza = 0, altezza = 0;
    DimensioniScala(larghezza, altezza);
    Rettangolo r = ScalaMillesimi(formato.BoundRect, larghezza, altezza);
    int32_t massima = 0;
    SIZE ultima{};
    if (HDC dc = cover.DCCover()) {
        for (const std::string& riga : d.Rows) {
            ultima = MisuraRiga(dc, riga);
            if (ultima.cx > massima) massima = ultima.cx;
        }
    }
    StampaLog("Max width row: " + std::to_string(massima) + " pixels");
    if (massima < r.Right - r.Left) {
        StampaLog("Resize bound rect: width=" + std::to_string(massima) + " height=" + std::to_string(ultima.cy));
        r.Right = r.Left + massima;
        r.Bottom = r.Top + ultima.cy;
    }
    d.Rect = r;
    d.NextRow = 0;
    d.BackColour = -1;
    d.RowTime = HaBit(d.Flags, TimeIsTotal) ? static_cast<int32_t>(std::nearbyint(
                                                  static_cast<double>(d.Time) / static_cast<double>(d.RowCount)))
                                            : d.Time;
    StampaLog("Show time for single text: " + std::to_string(d.RowTime) + " m.s.");
    d.LastTick = 0;
    return true;
}

void MostraTestoProgressivo(bool& completo) {
    DatiTestoProgressivoMedia& d = DatiTestoProgressivo;
    completo = false;
    Dialog_Cover& cover = DialogCover();
    HDC dc = cover.DCCover();
    bool dovuta = false;
    const uint32_t ora = ClockTick();
    if (d.BackColour == -1) {
        const COLORREF colore = dc ? GetPixel(dc, d.Rect.Left, d.Rect.Top) : CLR_INVALID;
        d.BackColour = colore == CLR_INVALID ? 0 : static_cast<int32_t>(colore);
        dovuta = true;
    } else {
        // The first row is due at once: LastTick holds no row's tick yet, and
        // a tick count past 2^31 (a system up 25 to 50 days) read against it
        // would never be due. Signed: a start moved forward by a pause is not
        // due yet.
        dovuta = d.NextRow == 0 || static_cast<int32_t>(ora - d.LastTick) >= d.RowTime;
    }
    if (!dovuta) return;
    if (d.NextRow >= d.RowCount) {
        completo = true;
        return;
    }
    const std::string& riga = d.Rows[static_cast<size_t>(d.NextRow)];
    if (dc) {
        RECT r{d.Rect.Left, d.Rect.Top, d.Rect.Right, d.Rect.Bottom};
        if (HBRUSH pennello = CreateSolidBrush(static_cast<COLORREF>(d.BackColour))) {
            FillRect(dc, &r, pennello);
            DeleteObject(pennello);
        }
        const std::u16string testo = Utf16DaUtf8(riga);
        DrawTextW(dc, reinterpret_cast<LPCWSTR>(testo.c_str()), static_cast<int>(testo.size()), &r,
                  DT_CENTER | DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX);
        cover.RidisegnaCover();
    }
    if (HaBit(d.Flags, SoundEachRow)) SuonaEffetto(EffettoRiga, true, false);
    d.LastTick = ora;
    StampaLog("Show progressive text: \"" + riga + "\"");
    ++d.NextRow;
}
