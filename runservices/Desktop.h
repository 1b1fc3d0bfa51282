#pragma once
// What hides the desktop while a level runs: the black back screen, the
// cover over the desktop in shared mode, the task bar, the pointer, window
// animations, the screen saver and the monitor.
#include <windows.h>

#include <cstdint>
#include <string>

#include "runservices/DisplayModes.h"
#include "platform/Forms.h"

class Dialog_Blank : public Form {
public:
    Dialog_Blank() : Form("LudovaneBlank", "") {}
    int32_t LarghezzaForm = 0;  // twips
    int32_t AltezzaForm = 0;

protected:
    void Form_Load() override;
    void Form_QueryUnload(int16_t& Cancel, int16_t UnloadMode) override;
    void Form_Unload(int16_t& Cancel) override;
    bool MessaggioFinestra(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

private:
    void Form_Resize();
};

class Dialog_Cover : public Form {
public:
    Dialog_Cover() : Form("LudovaneCover", "") {}
    ~Dialog_Cover() override;
    void Form_Resize();

    // What the alerts draw on the cover stays in a surface of the cover's
    // client size and is shown on every repaint, until cleared. The surface
    // is made on the first call; its text is drawn in ForeColor, without a
    // background, in the cover's font. Null while the cover is not loaded.
    HDC DCCover();
    // Fills the surface with BackColor.
    void PulisciCover();
    // Copies the surface to the screen now.
    void RidisegnaCover();
    // Gives the surface back: the cover shows plain black again.
    void LiberaSuperficie();
    // A character height in pixels; the previous font is deleted.
    void ImpostaFontCover(const std::string& nome, int32_t altezzaPixel, bool grassetto);
    COLORREF ForeColor = RGB(255, 255, 255);
    COLORREF BackColor = RGB(0, 0, 0);

protected:
    void Form_Load() override;
    void Form_QueryUnload(int16_t& Cancel, int16_t UnloadMode) override;
    void Form_Unload(int16_t& Cancel) override;
    bool MessaggioFinestra(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

private:
    void AdattaSuperficie();
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ bitmapPrecedente_ = nullptr;
    HFONT font_ = nullptr;
    HGDIOBJ fontPrecedente_ = nullptr;
    int32_t larghezza_ = 0;
    int32_t altezza_ = 0;
};

// The one instance of each form.
Dialog_Blank& DialogBlank();
Dialog_Cover& DialogCover();

extern RettangoloDim RettCover;
extern ANIMATIONINFO AnimazioniSalvate;
extern void* ProcessoWizmo;

void MostraBackCover();
void NascondiBackCover();
// The cover window is loaded and shown.
bool CoverVisibile();
void NascondiCover();
// Shows the cover above the game without taking the focus from it: an
// activated cover would hand the focus back and let the game rise over it.
void MostraCoverSopraGioco();
void MostraCoverTopMost();
void ChiudiCover();
bool NascondiTaskBar();
void MostraTaskBar();
bool StatoTaskBar();
void NascondiMouse();
void MostraMouse();
void SpostaMouseNascosto();
void DisabilitaAnimazioni();
void RipristinaAnimazioni();
bool IsScreenSaverAttivo();
void VerificaScreenSaver();
void ImpostaMonitorPower(int32_t stato);
void SpegniMonitor();
void AccendiMonitor(bool Riallinea);
