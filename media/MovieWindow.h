#pragma once
// The movie window. Least form: no movie is played yet.
#include <string>

class Dialog_Movie {
public:
    // True when the movie of MediaCorrente can be shown.
    bool ImpostaValori(bool anteprima, bool prova);
    void MostraModale();

    // The lines shown while the player opens a connection to fetch a codec.
    std::string MessaggioDownload;
    bool Risultato = false;
    bool AbortEscape = false;
};

Dialog_Movie& DialogMovie();
