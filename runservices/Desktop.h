#pragma once
// What hides the desktop while a level runs: the black back screen, the
// cover over the desktop in shared mode, the task bar, the pointer, window
// animations, the screen saver and the monitor.
#include <windows.h>

#include <cstdint>

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
    void Form_Resize();

protected:
    void Form_Load() override;
    void Form_QueryUnload(int16_t& Cancel, int16_t UnloadMode) override;
    void Form_Unload(int16_t& Cancel) override;
    bool MessaggioFinestra(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
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
