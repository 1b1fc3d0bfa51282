// Arbitrary bytes as the moveable area of a savegame: the search finds a
// structure that lies inside the image or none, and a field written through
// an offset code keeps the image's size and the level's variables at its end.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/MediaLog.h"
#include "core/SharedState.h"
#include "savegames/MoveableSearch.h"
#include "savegames/OffsetValues.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* dati, size_t n) {
    // Error lines are kept while the log is off: one run's must not pile up.
    BufferLog.clear();
    // As in a run: an error line raises no message box while the game runs.
    ProcessoGioco.hProcess = reinterpret_cast<void*>(1);
    if (n < 4) return 0;
    SavegameBin immagine(DimensioneSavegame, '\0');
    // The first bytes choose the field, the room and the value; the rest is
    // laid from offset 99 on, over Lara's references and the moveables.
    const int32_t campo = dati[0] % 26;
    const int32_t stanza = dati[1] == 255 ? -1 : dati[1];
    const int32_t valore = static_cast<int8_t>(dati[2]) * 300;
    const bool lara = dati[3] & 1;
    for (size_t i = 4; i < n && 99 + i - 4 < immagine.size(); ++i) immagine[99 + i - 4] = static_cast<char>(dati[i]);
    const std::string coda = immagine.substr(FineMoveable);

    const int32_t offset = CercaMoveableInRoom(immagine, lara, stanza);
    if (offset != -1 && (offset < InizioMoveable - 1 || offset >= DimensioneSavegame)) std::abort();

    bool fallito = false;
    const int32_t codice = (lara ? 0x300 : 0x400) + campo;
    LeggiValorePerCodice(codice, 0, stanza, immagine, fallito);
    ScriviValorePerCodice(codice, 0, stanza, immagine, valore);
    if (immagine.size() != static_cast<size_t>(DimensioneSavegame)) std::abort();
    if (immagine.substr(FineMoveable) != coda) std::abort();
    return 0;
}
