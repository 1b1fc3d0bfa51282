#include "media/TypingEngine.h"

#include "media/MediaWindow.h"

std::string TestoConCursore(const std::string& testo, int32_t) { return testo; }

bool IsSeparatore(char carattere) {
    return carattere == ' ' || carattere == '\r' || carattere == '\n' || carattere == '\t';
}

void Dialog_Titoli::MostraTestoDinamico(const std::string&, bool& completato) { completato = true; }
void Dialog_Titoli::ImpostaFontTesto() {}
void Dialog_Titoli::ImpostaFontFormattazione() {}
