#pragma once
// The movie window. Least form: no movie is played yet.

class Dialog_Movie {
public:
    // True when the movie of MediaCorrente can be shown.
    bool ImpostaValori(bool anteprima, bool prova);
    void MostraModale();

    bool Risultato = false;
    bool AbortEscape = false;
};

Dialog_Movie& DialogMovie();
