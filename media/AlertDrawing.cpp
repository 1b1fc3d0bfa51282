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
#include "media/AlertSyntax.h"
#include "media/TextLayout.h"

namespace {

int32_t Arrotonda(double v) { return static_cast<int32_t>(std::nearbyint(v)); }

void* CreaFontGdi(int32_t altezza, int32_t larghezza, const char* faccia) {
    return CreateFontA(altezza, larghezza, 0, 0, 900, FALSE, FALSE, FALSE, 1, 0, 0, 0, 0, faccia);
}

std::string FacciaFormato() {
    const int32_t indice = FormatoTestoCorrente.Font;
    if (indice < 0 || indice >= static_cast<int32_t>(NomiFont.size())) return std::string();
    return NomiFont[static_cast<size_t>(indice)];
}

}  // namespace

void* (*CreaFontSchermoGioco)(int32_t altezza, int32_t larghezza, const char* faccia) = CreaFontGdi;

int32_t LarghezzaCarattereAlert() {
    // A CharRow of -1 or less would divide by zero or give a negative size.
    const int64_t caratteri = std::max<int64_t>(static_cast<int64_t>(FormatoTestoCorrente.CharRow) + 1, 1);
    return Arrotonda(static_cast<double>(SchermoX) / static_cast<double>(caratteri));
}

void ImpostaFontSchermoGioco(void*& dc, StatoDCSchermo& saved) {
    saved = StatoDCSchermo{};
    const int32_t larghezza = LarghezzaCarattereAlert();
    const int32_t altezza = Arrotonda(PercentualeDi(larghezza, 120));
    const std::string faccia = FacciaFormato();
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
    DrawTextA(static_cast<HDC>(dc), testo.c_str(), static_cast<int>(testo.size()), &r,
              static_cast<UINT>(FormatoTestoCorrente.Align) | DT_NOPREFIX | DT_EXPANDTABS | DT_WORDBREAK);
}
