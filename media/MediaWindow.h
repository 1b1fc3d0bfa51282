#pragma once
// The media window: texts over images, scrolling texts, image sequences,
// countdowns, the comunicator and the menus are performed in it. One window
// per media covers the screen; the whole performance runs in the first tick
// of its 10 ms timer, and the window unloads itself at the end.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "core/SharedState.h"
#include "media/TypingEngine.h"
#include "platform/Forms.h"
#include "platform/MediaPlayer.h"

class Dialog_Titoli : public Form {
public:
    Dialog_Titoli();
    ~Dialog_Titoli() override;

    // Prepares a new window from MediaCorrente before it is shown.
    void ImpostaValori();
    // Loads and shows the window modally; returns when it has unloaded.
    void MostraModale();

    // Read by the creator after the window has closed.
    bool AbortEscape = false;
    bool ErroreMedia = false;
    int32_t ValoreMenu = -1;
    bool EsitoMedia = false;
    std::string FileSuonoTemp;

    PictureBox Picture1;
    Timer Timer1;
    Timer Timer_Dinamico;
    MediaPlayer MediaPlayer1;

    // The performance of the current media (the first tick of Timer1).
    void EseguiMediaDialogo();
    // True when Escape may end the media and is down, or when the window
    // has been closed from outside; <fine> then True.
    bool ControllaTastoEscape(bool& fine);

    // Text layout.
    Rettangolo CalcolaBoundRect(bool centra);

    // Comunicator: its performer, the portraits with their names, a picture
    // zoomed into a place (the image's top-left colour left out).
    void MostraComunicator();
    void DisegnaTestoFumetto(int32_t persona, COLORREF coloreNome);
    void DisegnaPersonaComunicator(const std::string& fileLayout, const std::string& immagine, int32_t chiParla,
                                   bool corrente, bool riempi);
    void DisegnaImmagineTrasparente(const std::string& file, const Rettangolo& millesimi, bool suono, bool riempi);
    // The portraits' files as taken out of the packet, "" when none.
    std::string RitrattiComunicator[2];
    // Layout I keeps every portrait inside an ellipse.
    bool ClipRitrattoComunicator = false;
    Rettangolo RettRitrattoComunicator;

    // Background sound.
    void SuonaFileAudio(const std::string& percorso);
    void SfumaSuonoSottofondo();

    // Drawing surface.
    void CreaMemoryDC();
    void SalvaSfondo();
    void RipristinaSfondo(bool aggiorna);
    void RipristinaSfondoRect(bool aggiorna, const Rettangolo& rettangolo);
    void ImpostaClipRect();
    void AnnullaClipRegion();
    void ApplicaBoundRectSalvato();
    void ImpostaClipRoundRect(const Rettangolo& rettangolo);
    void ScriviTestoRect(const std::string& testo);
    void DisegnaImmagineScalata(const std::string& file, const Rettangolo& millesimi);
    void CaricaImmagineMedia(int32_t indice, bool& ok);

    // Text typing engine.
    void MostraTestoDinamico(const std::string& testo, bool& completato);
    void ImpostaFontTesto();
    void ImpostaFontFormattazione();

    // Performers.
    void MostraTestoFisso();
    void MostraTestoScorrevole();
    void CaricaSequenzaImmagini(bool& ok);
    void MostraFormattazione();
    void MostraCountDown();

    // Window state of one media (reset by ImpostaValori where it says so).
    int32_t LarghezzaFinestra = 0;
    int32_t AltezzaFinestra = 0;
    HDC MemoriaDC = nullptr;
    HGDIOBJ BitmapSostituita = nullptr;
    Rettangolo RettClip;
    bool ClipAttivo = false;
    Rettangolo BoundRect;
    std::string TestoDinamico;
    bool TestoMostrato = false;
    bool CountDownInCorso = false;
    uint32_t InizioCountDown = 0;
    double UltimoContatore = 0;
    double DimensioneCarattere = 0;
    std::vector<std::string> FileTemporanei;
    // The text font in Picture1's device context; declared after Picture1
    // so that it lets the font go while the context still exists.
    FontTesto FontPicture;
    // Text menu: prompt active, answer given, attempts made.
    bool PromptAttivo = false;
    bool RispostaData = false;
    int32_t TentativiFatti = 0;
    // Graph menu: active, ended, cursor on screen, and its flags.
    bool MenuGraficoAttivo = false;
    bool MenuGraficoFinito = false;
    bool CursoreMostrato = false;
    int32_t FlagMenuGrafico = 0;
    // Graph menu: the performer, its cursor, the choice and the key-press
    // event; the selected item, 0-based.
    void ShowGraphMenu();
    void DisegnaCursoreGraphMenu();
    void GestioneFineGraphMenu();
    void TastoGraphMenu(int32_t tasto, bool ripetuto = false);
    void MuoviGraphMenu(int32_t direzioni, bool daControlli);
    int32_t VoceSelezionata = 0;
    // When the cursor last moved: a held direction moves again after a
    // while; and the directions the loop read for it (0 after a key press).
    uint32_t TickMossaGraphMenu = 0;
    int32_t DirezioniLetteGraphMenu = 0;
    // When Action or Enter last acted on the selected item: held on an item
    // that refuses, they act again at a held direction's pace.
    uint32_t TickSceltaGraphMenu = 0;
    void SceltaGraphMenu();
    // Where the cursor was last drawn, in pixels; empty before the first.
    RECT AreaCursoreGraphMenu{};

    // Text menu: the performer, the answer check and the key-press event;
    // the prompt, the text before the prompt is put in, the sounds flag.
    void MostraTextMenu();
    void VerificaRispostaMenu();
    void TextMenu_KeyPress(int32_t tasto);
    std::string TestoConPrompt() const;
    void AggiornaTestoMenu();
    std::string TestoPrompt;
    std::string ModelloTestoMenu;
    bool SuoniMenu = false;

    // The timers' handlers (tests call them too).
    void Timer1_Timer();
    void Timer_Dinamico_Timer();

protected:
    void Form_Load() override;
    void Form_Resize();
    void Form_QueryUnload(int16_t& Cancel, int16_t UnloadMode) override;
    void Form_Unload(int16_t& Cancel) override;
    bool MessaggioFinestra(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

private:
    void LiberaMemoryDC();
    // The picture file painted stretched over a place of Picture1, in pixels.
    bool DisegnaImmagine(const std::string& file, int32_t x, int32_t y, int32_t larghezza, int32_t altezza);
    // A rectangle in thousandths painted in twips, as pixels of Picture1.
    bool DisegnaImmagineMillesimi(const std::string& file, const Rettangolo& millesimi);
    bool inRidimensionamento_ = false;
    // The media's picture painted by the load event, before the window
    // shows: the performer's first painting takes it as it is.
    bool immaginePronta_ = false;
    bool immagineProntaOk_ = false;
    // The window has unloaded: a performance still running ends.
    bool scaricata_ = false;
};
