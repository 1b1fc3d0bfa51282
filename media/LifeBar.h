#pragma once
// The life bar of an alert: a framed bar near a top corner of the game's
// screen, in the cover window placed over it, that empties (or fills) as the
// alert's time runs out.
#include <windows.h>

#include <cstdint>
#include <string>

#include "core/ImageLoading.h"
#include "media/AlertSyntax.h"

// Valid from InitLifeBar to DistruggiLifeBar; the handles are null when
// not made.
struct StatoLifeBar {
    RECT RettBarra{};
    HBRUSH PennelloBarra = nullptr;
    int32_t OrigineX = 0, OrigineY = 0;
    int32_t LarghezzaBarra = 0, AltezzaBarra = 0;
    double UltimaPercentuale = -1.0;
    uint32_t UltimoTick = 0;
    int32_t Progresso = 0;   // counted milliseconds
    int32_t TempoPieno = 0;  // seconds
    int32_t FlagCorrenti = 0, RiduzioneCorrente = 0, BlinkCorrente = 0;
    // The bar is composed here, then copied to the cover.
    HDC DCBarra = nullptr;
    HBITMAP BitmapBarra = nullptr;
    HGDIOBJ BitmapPrecedente = nullptr;
    bool StatoBlink = false;  // the fill is hidden in this frame
    std::string FileImmagineTemp;
    // The picture of an image fill, decoded at its own size.
    DibMemoria Immagine;
    int32_t LarghezzaImmagine = 0, AltezzaImmagine = 0;
};
extern StatoLifeBar LifeBarStato;

// The bar and the cover window from LifeBarParametri; False when it cannot.
bool InitLifeBar();
// One progress step and its frame; False when the bar is complete.
bool AggiornaLifeBar();
void DisegnaLifeBar(double percentuale, bool& blink);
void CancellaRettangolo(HDC dc, const RECT& rett);
void CopyBar();
// The end effect when the alert's CD sound has ended; True when the CD track
// started again meanwhile and the bar goes on where the effect left it.
bool ChiudiLifeBar(int32_t cd);
// Frees only what InitLifeBar made; harmless when repeated or without it.
void DistruggiLifeBar();
