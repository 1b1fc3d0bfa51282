#pragma once
// Alert media (alerts, countdowns, life bars). Least form: not performed yet.
#include <cstdint>

// The alert block the dispatcher keeps across nested media.
struct BloccoAlertMedia {
    int32_t FlagAlert = 0;
    int32_t ColoreBordo = 0;    // RGB
    int32_t SpessoreBordo = 0;  // pixels
};
// FlagAlert: the text's cover gets a border.
constexpr int32_t ConBordo = 0x100;
extern BloccoAlertMedia BloccoAlert;

bool EseguiAlertMedia(bool& TestError);
// The elapsed time stored in the "SUSPENDED" section of a trigger; 0 none.
int32_t LeggiElapsedSospeso(int32_t indice);
