#pragma once
// The player's screenshots from the clipboard, and captures of the game
// screen for the media that show it as background.
#include <windows.h>

#include <cstdint>
#include <string>

#include "core/ImageLoading.h"

extern uint32_t TickUltimaCatturaClipboard;

// A hidden picture: a memory device context holding a 24-bit bitmap of its
// own, saved as a Windows bitmap file.
class PictureNascosta {
public:
    PictureNascosta() = default;
    ~PictureNascosta();
    PictureNascosta(const PictureNascosta&) = delete;
    PictureNascosta& operator=(const PictureNascosta&) = delete;

    // A new black bitmap of that size; False when it cannot be made.
    bool Dimensiona(int32_t larghezza, int32_t altezza);
    // A copy of the bitmap at its own size.
    bool CaricaBitmap(HBITMAP bitmap);
    bool SalvaBmp(const std::string& percorso) const;
    HDC Dc() const { return dib_.dc; }
    int32_t Larghezza() const { return larghezza_; }
    int32_t Altezza() const { return altezza_; }

private:
    void Libera();

    DibMemoria dib_;
    int32_t larghezza_ = 0;
    int32_t altezza_ = 0;
};

// The clipboard picture receives a clipboard image; the capture picture the
// cut-out part of a screenshot and the screen captures.
PictureNascosta& PictureClipboard();
PictureNascosta& PictureCattura();

void CatturaImageClipboard(std::string& percorso);
// The first free numbered name: folder\name_NNNN.ext.
std::string CreaCartellaImmagini(const std::string& percorso);
// True when the captured picture is not black.
bool CatturaSchermoGioco(std::string& percorso);
void CopiaSchermoInImmagine(const std::string& percorso);
bool TestPixelSchermo();
