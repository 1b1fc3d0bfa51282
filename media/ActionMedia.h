#pragma once
// Action media: the item the player uses in the game's inventory, read from
// the screen and matched against each action media's reference image.
#include <cstdint>

#include "core/SharedState.h"
#include "media/ActionMatching.h"

// The item name last captured, and the box of its yellow text inside it.
struct ImmagineAzione {
    ImmaginePixel Immagine;
    Rettangolo Bordi{-1, -1, -1, -1};
};

// Where the item name lies on the screen.
void RettangoloNomeOggetto(Rettangolo& rettangolo);
// The item-name strip of the screen into <immagine>; True when it holds
// yellow text pixels.
bool CatturaRettangolo(ImmagineAzione& immagine);
// True when the trigger's image matches the captured one; its media code
// was then performed.
bool ConfrontaActionMedia(int32_t indice, const ImmagineAzione& immagine);
