#pragma once
// A media window's surroundings: a run in preview with the log in memory,
// the desktop's screen, no audio device (the player follows the manual
// clock), pictures written as bitmap files, and the pointer put back.
#include <windows.h>

#include <string>

#include "core/ImageFormats.h"
#include "core/MediaTrigger.h"
#include "core/ModuleInit.h"
#include "media/CountdownMedia.h"
#include "media/ImageSequence.h"
#include "media/MediaWindow.h"
#include "platform/MediaPlayer.h"
#include "tests/gamerun/RunFixture.h"

class ProvaFinestraMedia : public ProvaRun {
protected:
    void SetUp() override {
        ProvaRun::SetUp();
        SchermoReale();
        FuoriGioco = true;
        MediaCorrente = MediaTrigger{};
        FormatoTestoCorrente = TextFormat{};
        FileCatturaSchermo = store / "tr_capture_screen.bmp";
        ConservaCatture = false;
        dispositivi_ = NumeroDispositiviAudio;
        NumeroDispositiviAudio = [] { return 0u; };
        GetCursorPos(&mouse_);
    }
    void TearDown() override {
        SetCursorPos(mouse_.x, mouse_.y);
        NumeroDispositiviAudio = dispositivi_;
        MediaCorrente = MediaTrigger{};
        FormatoTestoCorrente = TextFormat{};
        ListaImmagini.clear();
        NumImmagini = 0;
        FileCatturaSchermo.clear();
        ConservaCatture = false;
        FuoriGioco = false;
        ProvaRun::TearDown();
    }

    // A bitmap file of one colour, written by our own writer.
    std::string Bitmap(const std::string& nome, int32_t larghezza, int32_t altezza, COLORREF colore) {
        std::string pixel;
        for (int32_t i = 0; i < larghezza * altezza; ++i) {
            pixel += static_cast<char>(GetBValue(colore));
            pixel += static_cast<char>(GetGValue(colore));
            pixel += static_cast<char>(GetRValue(colore));
        }
        const std::string percorso = store / nome;
        EXPECT_TRUE(ScriviFileProva(percorso, ComponiBmp24(larghezza, altezza, pixel)));
        return percorso;
    }

    // A window loaded at the screen's size, its first tick held back so that
    // the test draws into it alone.
    static void CaricaSenzaEseguire(Dialog_Titoli& f) {
        f.ImpostaValori();
        ASSERT_TRUE(f.Load());
        f.Timer1.SetEnabled(false);
    }

    static COLORREF Pixel(Dialog_Titoli& f, int x, int y) { return GetPixel(f.Picture1.hDC(), x, y); }

    static void Riempi(HDC dc, const RECT& r, COLORREF colore) {
        HBRUSH b = CreateSolidBrush(colore);
        FillRect(dc, &r, b);
        DeleteObject(b);
    }

private:
    POINT mouse_{};
    uint32_t (*dispositivi_)() = nullptr;
};
