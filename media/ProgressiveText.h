#pragma once
// The progressive text of splash screens. Least form: its record only.
#include <cstdint>

struct DatiTestoProgressivoMedia {
    int32_t FlagTestoProgressivo = 0;
};
extern DatiTestoProgressivoMedia DatiTestoProgressivo;
