// The background sound of the media window.
#include "media/MediaWindow.h"

void Dialog_Titoli::SuonaFileAudio(const std::string&) {}

void Dialog_Titoli::SfumaSuonoSottofondo() {}
