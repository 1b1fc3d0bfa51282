#pragma once
// A date and time split in its parts, as files and packets carry them.
#include <cstdint>

struct DataOra {
    int32_t Anno = 0, Mese = 0, Giorno = 0;
    int32_t Ora = 0, Minuto = 0, Secondo = 0;
};
