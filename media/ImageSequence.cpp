#include "media/ImageSequence.h"

#include "media/MediaWindow.h"

int32_t FlagSequenza = 0;
int32_t NumImmagini = 0;
std::vector<ImmagineSequenza> ListaImmagini;

bool LeggiSequenzaImmagini(const std::string&) { return false; }
std::string ComponiSequenzaImmagini() { return std::string(); }
void IndiceImmagineCasuale(int32_t, std::vector<int32_t>&, int32_t&, int32_t& prossimo) { prossimo = -1; }
std::string CercaSezioneImmagine(const std::string&) { return std::string(); }

void Dialog_Titoli::CaricaSequenzaImmagini(bool& ok) { ok = false; }
void Dialog_Titoli::MostraFormattazione() {}
