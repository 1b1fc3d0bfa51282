#include "media/TextLayout.h"

#include <windows.h>

#include <algorithm>
#include <cctype>
#include <climits>
#include <cmath>

#include "core/MediaLog.h"
#include "core/MediaTrigger.h"
#include "core/PathNames.h"
#include "core/TextUtils.h"
#include "runservices/Desktop.h"
#include "runservices/DisplayModes.h"
#include "runservices/GameWindow.h"
#include "runservices/RunState.h"
#include "media/AlertMedia.h"
#include "media/MediaWindow.h"

namespace {

constexpr int32_t CentraTesto = 0x80;

struct RettRiferimento {
    int16_t Left, Top, Right, Bottom;
};
constexpr RettRiferimento Nessuno{-1, -1, -1, -1};
// Place 5 is the speaker's picture: place 3 for the second person, else 1.
constexpr RettRiferimento ComeChiParla{-2, -2, -2, -2};

// Layouts A to J, places 1 to 7, on a 640 x 480 screen.
constexpr RettRiferimento TabellaLayout[10][7] = {
    {{37, 30, 206, 194}, {17, 242, 298, 460}, {438, 30, 606, 195}, {341, 242, 622, 460}, ComeChiParla,
     {37, 199, 204, 216}, {438, 200, 605, 217}},
    // Place 5 of B is set apart below: its second speaker's right edge is not place 3's.
    {{33, 30, 185, 187}, {244, 22, 619, 192}, {33, 296, 184, 453}, {244, 286, 619, 458}, ComeChiParla,
     {34, 193, 184, 207}, {34, 459, 184, 474}},
    {{26, 24, 148, 150}, {202, 18, 617, 130}, {26, 24, 148, 150}, {202, 18, 617, 130}, {198, 172, 619, 453},
     {27, 154, 148, 166}, {27, 154, 148, 166}},
    {{24, 18, 128, 121}, {30, 166, 609, 452}, {512, 18, 616, 121}, {30, 166, 609, 452}, ComeChiParla,
     {23, 126, 129, 137}, {511, 126, 616, 136}},
    {Nessuno, {348, 9, 614, 119}, {221, 340, 295, 396}, {13, 155, 279, 265}, {221, 340, 295, 396}, Nessuno, Nessuno},
    {Nessuno, {390, 25, 630, 127}, Nessuno, {126, 0, 366, 102}, Nessuno, Nessuno, Nessuno},
    {{297, 169, 541, 353}, {259, 105, 585, 348}, {297, 169, 541, 353}, {259, 105, 585, 348}, {297, 169, 541, 353},
     Nessuno, Nessuno},
    {Nessuno, {26, 26, 344, 164}, {220, 334, 388, 450}, {26, 26, 344, 164}, {220, 334, 388, 450}, Nessuno, Nessuno},
    {Nessuno, {48, 331, 595, 443}, {213, 53, 431, 266}, {48, 331, 595, 443}, {213, 53, 431, 266}, Nessuno, Nessuno},
    {Nessuno, {48, 331, 595, 443}, {203, 48, 430, 263}, {48, 331, 595, 443}, {203, 48, 430, 263}, Nessuno, Nessuno},
};
constexpr RettRiferimento ParlaSecondoB{33, 296, 185, 453};

}  // namespace

Rettangolo ScalaMillesimi(const Rettangolo& millesimi, int32_t larghezza, int32_t altezza) {
    return Rettangolo{Arrotonda(static_cast<double>(millesimi.Left) * larghezza / 1000.0),
                      Arrotonda(static_cast<double>(millesimi.Top) * altezza / 1000.0),
                      Arrotonda(static_cast<double>(millesimi.Right) * larghezza / 1000.0),
                      Arrotonda(static_cast<double>(millesimi.Bottom) * altezza / 1000.0)};
}

Rettangolo ScalaSchermo(const Rettangolo& millesimi) {
    int32_t larghezza = 0, altezza = 0;
    SchermoMillesimi(larghezza, altezza);
    return ScalaMillesimi(millesimi, larghezza, altezza);
}

void CentraOrizzontale(Rettangolo& rettangolo, int32_t larghezza) {
    const int64_t w = static_cast<int64_t>(rettangolo.Right) - rettangolo.Left;
    rettangolo.Left = Arrotonda((static_cast<double>(larghezza) - static_cast<double>(w)) / 2.0);
    rettangolo.Right = static_cast<int32_t>(rettangolo.Left + w);
}

Rettangolo ScalaRettangoloTwips(const Rettangolo& millesimi, int32_t larghezza, int32_t altezza, int32_t twipsX,
                                int32_t twipsY) {
    const auto di = [](double millesimi, int32_t dimensione) { return millesimi * dimensione / 1000.0; };
    return Rettangolo{
        Arrotonda(di(millesimi.Left, larghezza) * twipsX),
        Arrotonda(di(millesimi.Top, altezza) * twipsY),
        // The extra pixels cover the edge that the stretch would leave unpainted.
        Arrotonda((di(static_cast<double>(millesimi.Right) - millesimi.Left, larghezza) + 2) * twipsX),
        Arrotonda((di(static_cast<double>(millesimi.Bottom) - millesimi.Top, altezza) + 1) * twipsY)};
}

Rettangolo RettangoloCover(Rettangolo& testo, int32_t larghezzaExtra, int32_t bordo) {
    // Wide arithmetic, so that no rectangle overflows.
    const int64_t larghezza = static_cast<int64_t>(testo.Right) - testo.Left + 1;
    const int64_t altezza = static_cast<int64_t>(testo.Bottom) - testo.Top + 1;
    const Rettangolo cover{testo.Left, testo.Top,
                           static_cast<int32_t>(testo.Left + larghezza + larghezzaExtra + 2 * int64_t{bordo}),
                           static_cast<int32_t>(testo.Top + altezza + 2 * int64_t{bordo})};
    testo.Left = larghezzaExtra / 2 + bordo;
    testo.Top = bordo;
    testo.Right = static_cast<int32_t>(testo.Left + larghezza);
    testo.Bottom = static_cast<int32_t>(bordo + altezza);
    return cover;
}

char LetteraLayout(const std::string& fileLayout) {
    const std::string nome = NomeFileDaPercorso(fileLayout);
    // Characters, not bytes: a name may hold UTF-8 sequences before the letter.
    int32_t carattere = 0;
    for (unsigned char c : nome) {
        if ((c & 0xC0) == 0x80) continue;
        if (++carattere == 8) return c < 0x80 ? static_cast<char>(std::toupper(c)) : '\0';
    }
    return '\0';
}

void DimensioniScala(int32_t& larghezza, int32_t& altezza) {
    const bool schermoOriginale = !IsModoFinestra() && !IsPreviewMode();
    larghezza = schermoOriginale ? SchermoOrigX : SchermoX;
    altezza = schermoOriginale ? SchermoOrigY : SchermoY;
}

Rettangolo Dialog_Titoli::CalcolaBoundRect(bool centra) {
    int32_t larghezza = 0, altezza = 0;
    DimensioniScala(larghezza, altezza);
    Rettangolo r = ScalaMillesimi(FormatoTestoCorrente.BoundRect, larghezza, altezza);
    if (centra && HaBit(FormatoTestoCorrente.Flags, CentraTesto) && !HaBit(MediaCorrente.TypeFlags, BitComunicator))
        CentraRettangoloTesto(r, true);
    return r;
}

void CentraRettangoloTesto(Rettangolo& rettangolo, bool inPixel) {
    int32_t larghezza = 1000, altezza = 0;
    if (inPixel) DimensioniScala(larghezza, altezza);
    if (LogAbilitato)
        StampaLog("Original bound rect before centering: (" + std::to_string(rettangolo.Left) + "," +
                  std::to_string(rettangolo.Top) + ") - (" + std::to_string(rettangolo.Right) + "," +
                  std::to_string(rettangolo.Bottom) + ")");
    CentraOrizzontale(rettangolo, larghezza);
    if (LogAbilitato)
        StampaLog("New bound rect after centering: (" + std::to_string(rettangolo.Left) + "," +
                  std::to_string(rettangolo.Top) + ") - (" + std::to_string(rettangolo.Right) + "," +
                  std::to_string(rettangolo.Bottom) + ")");
}

Rettangolo RettangoloPredefinito(const std::string& fileLayout, int32_t posto, int32_t secondo) {
    const char lettera = LetteraLayout(fileLayout);
    if (lettera < 'A' || lettera > 'J' || posto < 1 || posto > 7) return Rettangolo{-1, -1, -1, -1};
    RettRiferimento r = TabellaLayout[lettera - 'A'][posto - 1];
    if (r.Left == ComeChiParla.Left) {
        if (lettera == 'B')
            r = secondo != 0 ? ParlaSecondoB : TabellaLayout[1][0];
        else
            r = TabellaLayout[lettera - 'A'][secondo != 0 ? 2 : 0];
    }
    if (r.Left == Nessuno.Left) return Rettangolo{-1, -1, -1, -1};
    return Rettangolo{Arrotonda(r.Left * 1000.0 / 640.0), Arrotonda(r.Top * 1000.0 / 480.0),
                      Arrotonda(r.Right * 1000.0 / 640.0), Arrotonda(r.Bottom * 1000.0 / 480.0)};
}

Rettangolo ScalaRettangoloTwips(const Rettangolo& millesimi) {
    int32_t larghezza = 0, altezza = 0;
    DimensioniScala(larghezza, altezza);
    const int32_t tpp = TwipsPerPixel();
    return ScalaRettangoloTwips(millesimi, larghezza, altezza, tpp, tpp);
}

void InitFormattazioneTesto() {
    RettCover = RettangoloDim{0, 0, SchermoX, SchermoY};
    PosizionaCover();
    Dialog_Cover& cover = DialogCover();
    cover.BackColor = RGB(0, 0, 0);
    // Without its surface the cover paints itself black.
    cover.LiberaSuperficie();
    if (cover.Loaded()) InvalidateRect(cover.hWnd(), nullptr, TRUE);
}

int32_t LarghezzaCarattere(int32_t charRow) {
    // A CharRow of -1 or less would divide by zero or give a negative size.
    const int64_t caratteri = std::max<int64_t>(static_cast<int64_t>(charRow) + 1, 1);
    return static_cast<int32_t>(std::nearbyint(static_cast<double>(SchermoX) / static_cast<double>(caratteri)));
}

void CalcolaRettangoloTesto(Rettangolo& rettangolo, int32_t larghezzaExtra) {
    if (LogAbilitato) StampaLog("Bound text rect: " + TestoRettangolo(rettangolo));
    const int32_t bordo = HaBit(BloccoAlert.FlagAlert, ConBordo) ? BloccoAlert.SpessoreBordo : 0;
    Rettangolo cover = RettangoloCover(rettangolo, larghezzaExtra, bordo);
    if (LogAbilitato) StampaLog("Text Format Rect: " + TestoRettangolo(rettangolo));
    // The media's own format decides: the working copy may have been changed by tags.
    if (HaBit(MediaCorrente.Formato.Flags, CentraTesto)) CentraRettangoloTesto(cover, true);
    RettCover = RettangoloDim{cover.Left, cover.Top, cover.Right - cover.Left, cover.Bottom - cover.Top};
    PosizionaCover();
}

void DisegnaRettangolo() {
    if (!HaBit(BloccoAlert.FlagAlert, ConBordo)) return;
    HDC dc = DialogCover().DCCover();
    if (!dc) return;
    const int32_t b = BloccoAlert.SpessoreBordo;
    if (HPEN penna = CreatePen(PS_SOLID, b, static_cast<COLORREF>(BloccoAlert.ColoreBordo))) {
        HGDIOBJ pennaPrima = SelectObject(dc, penna);
        HGDIOBJ pennelloPrima = SelectObject(dc, GetStockObject(NULL_BRUSH));
        Rectangle(dc, b - 1, b - 1, RettCover.Larghezza, RettCover.Altezza);
        SelectObject(dc, pennelloPrima);
        SelectObject(dc, pennaPrima);
        DeleteObject(penna);
    }
}

std::string TestoRettangolo(const Rettangolo& r) {
    return std::to_string(r.Left) + "," + std::to_string(r.Top) + " - " + std::to_string(r.Right) + "," +
           std::to_string(r.Bottom);
}
