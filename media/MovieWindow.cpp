#include "media/MovieWindow.h"

#include "core/MediaLog.h"

Dialog_Movie& DialogMovie() {
    static Dialog_Movie finestra;
    return finestra;
}

bool Dialog_Movie::ImpostaValori(bool, bool) {
    Risultato = false;
    AbortEscape = false;
    StampaNonCostruito("Dialog_Movie");
    return false;
}

void Dialog_Movie::MostraModale() {}
