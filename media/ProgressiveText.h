#pragma once
// The progressive text: the rows of a media's text shown one after the other
// in one rectangle of the cover window, at a fixed pace; in counter mode the
// rows are counted from StartCount to the number the player typed last.
#include <cstdint>
#include <string>
#include <vector>

#include "core/SharedState.h"

struct DatiTestoProgressivoMedia {
    int32_t Flags = 0;
    int32_t Time = 1000;  // ms
    int32_t StartCount = 1;
    std::vector<std::string> Rows;
    int32_t RowCount = 0;
    uint32_t LastTick = 0;  // when the last row was shown; 0 after the layout
    int32_t RowTime = 0;    // ms each row stays
    int32_t NextRow = 0;
    int32_t BackColour = -1;  // -1: taken from the cover at the first row
    Rettangolo Rect{};        // pixels of the cover
};
extern DatiTestoProgressivoMedia DatiTestoProgressivo;

// Flags.
constexpr int32_t CounterRows = 0x1;
constexpr int32_t TimeIsTotal = 0x2;
constexpr int32_t SoundEachRow = 0x4;

// A typed number beyond this many rows is refused: a count to a huge number
// would build rows without end.
constexpr int32_t MassimoRigheContatore = 1000;

// The "PROGR_TEXT" section into DatiTestoProgressivo (defaults first); False
// at the first value that is no number, with what was read before it kept.
bool LeggiChunkTestoProgressivo(const std::string& sezione);
// The rows, the cover's font and the rectangle from MediaCorrente; the font
// height in pixels into altezzaFont. False, with its error line, when there
// is nothing to show.
bool InitProgressiveText(int32_t& altezzaFont);
// Shows the next row when it is due; completo once every row has been shown
// and the last one's time has passed.
void MostraTestoProgressivo(bool& completo);
