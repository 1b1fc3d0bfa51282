#include "media/MediaWindow.h"

#include "core/MediaLog.h"

Dialog_Titoli& DialogTitoli() {
    static Dialog_Titoli finestra;
    return finestra;
}

void Dialog_Titoli::ImpostaValori() {
    AbortEscape = false;
    FileSuonoTemp.clear();
    EsitoMedia = false;
    ValoreMenu = -1;
    ErroreMedia = true;
    StampaNonCostruito("Dialog_Titoli");
}

void Dialog_Titoli::MostraModale() {}
