#pragma once
// The splash screen: the cover over the game with a picture, a text and
// animations while one operation drives the game (a save, a load, a CD track
// awaited, the titles, a media between a save and a load, the player's
// input). It sits with the game operations it drives.
#include <cstdint>

#include "media/SplashScreen.h"

// True when the splash did its work; TestError tells the dispatcher that it
// failed, BreakEscape that the player broke it.
bool EseguiSplashScreen(bool& BreakEscape, bool& TestError);

// The operation of the splash, by ParametriSplash.Modo: its start, the input
// box's pass of one frame and the poll of one frame. Each returns False when
// the splash must end; the poll's <esci> leaves the frame loop instead.
bool AvviaOperazioneSplash(bool& TestError);
bool PassaggioInputSplash(bool& risultato, bool& TestError);
bool ControllaOperazioneSplash(uint32_t inizioCiclo, bool& risultato, bool& esci, bool& TestError);
