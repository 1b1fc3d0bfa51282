#pragma once
// Text of an alert drawn straight on the screen's device context over a game
// that runs full screen, from the sections as EseguiAlertMedia read them.
#include <cstdint>
#include <string>

#include "core/SharedState.h"

// What ImpostaFontSchermoGioco replaced on the device context, with the font
// and pen it made, so that RipristinaDCSchermo gives back exactly that.
struct StatoDCSchermo {
    void* VecchiaPenna = nullptr;  // handles at full width for the 64-bit test build
    uint32_t VecchioModoSfondo = 0;
    uint32_t VecchioColoreTesto = 0;
    uint32_t VecchioColoreSfondo = 0;
    void* VecchioFont = nullptr;
    // Made here, deleted by RipristinaDCSchermo; none when the font failed.
    void* FontCreato = nullptr;
    void* PennaCreata = nullptr;
    bool Salvato = false;
};

// Pixels of one character of an alert's text on either road: SchermoX shared
// by CharRow + 1 characters, halves to even; a CharRow of -1 or less counts as
// one character on the whole width.
int32_t LarghezzaCarattereAlert();

// The font sized so that CharRow + 1 characters fill SchermoX (a CharRow of
// -1 or less counts as one character), the colours of FormatoTestoCorrente and
// ColoreSfondoAlert, a pen of the text colour, an opaque background. When the
// font cannot be made an error line is written and the device context is left
// as it was (saved.Salvato stays False).
void ImpostaFontSchermoGioco(void*& dc, StatoDCSchermo& saved);
// Gives back font, pen, background mode, text and background colour, in that
// order, and deletes what ImpostaFontSchermoGioco made; nothing when it saved
// nothing. Call it before releasing the device context.
void RipristinaDCSchermo(void* dc, StatoDCSchermo& saved);

// The alert's rectangle on the screen: BoundRect of FormatoTestoCorrente in
// thousandths of the game window's right and bottom edges (the window covers
// the screen from 0, 0 in exclusive mode).
Rettangolo RettangoloAlertSchermo(int32_t destra, int32_t basso);
// One drawing of the text in the rectangle of a device context (the screen,
// or the cover on the windowed road), Align of FormatoTestoCorrente with
// no prefix characters, expanded tabs and word break; no measuring, no
// clearing. An empty or upside-down rectangle draws nothing.
void DisegnaTestoSchermo(void* dc, const std::string& testo, const Rettangolo& rettangolo);

// The alert's loop while the game runs in exclusive full screen: the text,
// with its countdown, drawn RefreshAlert times a second straight on the
// screen. True when its time completed; the reason it ended in esito.
bool DisegnaAlert(int32_t& esito);

// Tests put a failing maker here; null handle: the font was not made.
extern void* (*CreaFontSchermoGioco)(int32_t altezza, int32_t larghezza, const char* faccia);
