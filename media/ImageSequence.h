#pragma once
// Image sequences: the "SEQ_IMAGE" syntax, the list of pictures and the
// random order.
#include <cstdint>
#include <string>
#include <vector>

#include "core/OldMediaConfig.h"
#include "core/SharedState.h"

struct ImmagineSequenza {
    std::string Image;
    std::string Nome;
    int32_t Durate = 0;
    int32_t IFlags = 0;
    Rettangolo Bound;
};

extern int32_t FlagSequenza;
extern int32_t NumImmagini;
extern std::vector<ImmagineSequenza> ListaImmagini;

bool LeggiSequenzaImmagini(const std::string& sezione);
std::string ComponiSequenzaImmagini();
// The list filled with the images of a converted old sequence, and its text.
std::string SequenzaImmaginiVecchia(int32_t flag, const std::vector<ImmagineConvertita>& immagini);
void IndiceImmagineCasuale(int32_t corrente, std::vector<int32_t>& mostrati, int32_t& conteggio, int32_t& prossimo);
std::string CercaSezioneImmagine(const std::string& nome);
