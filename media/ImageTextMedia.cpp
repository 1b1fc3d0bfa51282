// Image media with a fixed or a scrolling text.
#include "media/MediaWindow.h"

void Dialog_Titoli::MostraTestoFisso() {}

void Dialog_Titoli::MostraTestoScorrevole() {}
