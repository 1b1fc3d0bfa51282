#pragma once
// The Windows display mode, the game window's place over the screen in
// shared mode, and rectangles given in thousandths of the screen.
#include <windows.h>

#include <cstdint>

#include "runservices/RunState.h"

// A rectangle as position and size.
struct RettangoloDim {
    int32_t X = 0;
    int32_t Y = 0;
    int32_t Larghezza = 0;
    int32_t Altezza = 0;
    bool operator==(const RettangoloDim&) const = default;
};

// The mode in force, as last read.
extern DEVMODEA ModoVideoCorrente;

bool IsModoFinestra();
bool LeggiModoVideo();
bool EsisteModoVideo(DEVMODEA& modo, int32_t larghezza, int32_t altezza, int32_t bits);
bool CambiaModoVideo(int32_t larghezza, int32_t altezza, int32_t bits);
void RipristinaModoVideo();
void ScanRisoluzioneCorrente(int32_t& larghezza, int32_t& altezza, int32_t& bits);
// The desktop's screen as InitModMedia records it at start-up
// (ScanSchermoIniziale): its size in pixels and twips, and the cover
// rectangle on it.
void ScanSchermoDesktop();
void LeggiClientRectTomb();
void DisegnaBoxNero();
void AllineaFinestraTomb(bool ForzaBox);
bool AttendiRisoluzioneIniziale();
bool IsHdcValido();
void RisvegliaFinestraTomb();
// The screen that thousandths of a media's rectangles count in: the game's
// own in full screen, else the one the run shows.
void SchermoMillesimi(int32_t& larghezza, int32_t& altezza);
void ScalaRettangolo(RettangoloDim& risultato, const RettangoloDim& riferimento);
// The rectangle (thousandths) moved just outside the nearest border of the
// 1000 x 1000 area, its size kept.
Rettangolo RettangoloFuoriSchermo(const Rettangolo& millesimi);

// Twips per pixel of the screen, as the forms runtime measures sizes.
int32_t TwipsPerPixel();
