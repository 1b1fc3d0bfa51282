#include "media/MediaWindow.h"

#include "core/MediaLog.h"

Dialog_Titoli::Dialog_Titoli()
    : Form("LudovaneTitoli", ""),
      Picture1(*this),
      Timer1(*this, 10, false, [this] { Timer1_Timer(); }),
      Timer_Dinamico(*this, 0, false, [this] { Timer_Dinamico_Timer(); }) {}

Dialog_Titoli::~Dialog_Titoli() = default;

void Dialog_Titoli::ImpostaValori() {
    AbortEscape = false;
    FileSuonoTemp.clear();
    EsitoMedia = false;
    ValoreMenu = -1;
    ErroreMedia = true;
    StampaNonCostruito("Dialog_Titoli");
}

void Dialog_Titoli::MostraModale() {}

void Dialog_Titoli::EseguiMediaDialogo() {}

bool Dialog_Titoli::ControllaTastoEscape(bool& fine) {
    fine = false;
    return false;
}

void Dialog_Titoli::Form_Load() {}
void Dialog_Titoli::Form_QueryUnload(int16_t&, int16_t) {}
void Dialog_Titoli::Form_Unload(int16_t&) {}
void Dialog_Titoli::Timer1_Timer() {}
void Dialog_Titoli::Timer_Dinamico_Timer() {}
