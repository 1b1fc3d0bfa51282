#pragma once
// The media window that performs the image, text, countdown, comunicator and
// menu media. Least form: no window is drawn yet; the media reports failure.
#include <cstdint>
#include <string>

class Dialog_Titoli {
public:
    // Prepares the window from MediaCorrente.
    void ImpostaValori();
    // Shows the window modally; returns when the media has ended.
    void MostraModale();

    bool AbortEscape = false;
    bool ErroreMedia = false;
    std::string FileSuonoTemp;
    bool EsitoMedia = false;
    int32_t ValoreMenu = -1;
};

// The one instance, created on first use and kept.
Dialog_Titoli& DialogTitoli();
