#pragma once
// Action media of the inventory. Least form: nothing is captured yet.
#include <cstdint>

// A picture of the inventory item's name.
struct ImmagineAzione {
    void* Bitmap = nullptr;
    int32_t Larghezza = 0;
    int32_t Altezza = 0;
};

// True when yellow text pixels were found.
bool CatturaRettangolo(ImmagineAzione& immagine);
// True when the trigger's image matches; the trigger is then performed.
bool ConfrontaActionMedia(int32_t indice, const ImmagineAzione& immagine);
