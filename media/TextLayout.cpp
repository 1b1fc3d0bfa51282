#include "media/TextLayout.h"

#include "media/MediaWindow.h"

Rettangolo Dialog_Titoli::CalcolaBoundRect(bool) { return Rettangolo{}; }

void CentraRettangoloTesto(Rettangolo&, bool) {}
Rettangolo RettangoloPredefinito(const std::string&, int32_t, int32_t) { return Rettangolo{}; }
Rettangolo ScalaRettangoloTwips(const Rettangolo&) { return Rettangolo{}; }
void InitFormattazioneTesto() {}
void CalcolaRettangoloTesto(Rettangolo&, int32_t) {}
void DisegnaRettangolo() {}
