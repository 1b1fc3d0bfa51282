// The media window's drawing surface: the saved background, the clip, the
// text rectangle and the media's pictures.
#include "media/MediaWindow.h"

void Dialog_Titoli::CreaMemoryDC() {}
void Dialog_Titoli::SalvaSfondo() {}
void Dialog_Titoli::RipristinaSfondo(bool) {}
void Dialog_Titoli::RipristinaSfondoRect(bool, const Rettangolo&) {}
void Dialog_Titoli::ImpostaClipRect() {}
void Dialog_Titoli::AnnullaClipRegion() {}
void Dialog_Titoli::ApplicaBoundRectSalvato() {}
void Dialog_Titoli::ImpostaClipRoundRect(const Rettangolo&) {}
void Dialog_Titoli::ScriviTestoRect(const std::string&) {}
void Dialog_Titoli::DisegnaImmagineScalata(const std::string&, const Rettangolo&) {}
void Dialog_Titoli::CaricaImmagineMedia(int32_t, bool& ok) { ok = false; }
