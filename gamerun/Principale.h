#pragma once
// The hidden main window: first and last window of every process; its timer
// drives the game run.
#include "platform/Forms.h"

class Principale : public Form {
public:
    Principale();
    Timer Timer1;

protected:
    void Form_Load() override;
    void Form_QueryUnload(int16_t& Cancel, int16_t UnloadMode) override;
    void Form_Unload(int16_t& Cancel) override;

private:
    void Timer1_Timer();
};

Principale& FormPrincipale();
