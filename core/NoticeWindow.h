#pragma once
// The notice window: a small modeless window holding one label.
#include <string>

#include "platform/Forms.h"

class Dialog_Avviso : public Form {
public:
    Dialog_Avviso();
    void ImpostaTesto(const std::string& testo);
    std::string Testo() const { return testo_; }

protected:
    void Form_Load() override;

private:
    HWND Label_Info = nullptr;
    std::string testo_;
};
