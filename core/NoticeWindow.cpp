#include "core/NoticeWindow.h"

#include <memory>

#include "core/SystemUtils.h"

namespace {
std::unique_ptr<Dialog_Avviso> Avviso;
}  // namespace

Dialog_Avviso::Dialog_Avviso() : Form("LudovaneAvviso", TitoloProgramma) {}

void Dialog_Avviso::Form_Load() {
    const int larghezza = 420, altezza = 120;
    SetWindowLongA(hWnd(), GWL_STYLE, WS_POPUP | WS_CAPTION | WS_BORDER);
    SetWindowPos(hWnd(), HWND_TOPMOST, (GetSystemMetrics(SM_CXSCREEN) - larghezza) / 2,
                 (GetSystemMetrics(SM_CYSCREEN) - altezza) / 2, larghezza, altezza, SWP_FRAMECHANGED);
    RECT r{};
    GetClientRect(hWnd(), &r);
    Label_Info = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_CENTER, 10, 10, r.right - 20,
                                 r.bottom - 20, hWnd(), nullptr, GetModuleHandleA(nullptr), nullptr);
}

void Dialog_Avviso::ImpostaTesto(const std::string& testo) {
    testo_ = testo;
    if (Label_Info) SetWindowTextA(Label_Info, testo.c_str());
}

void MostraAvviso(const std::string& testo) {
    if (!Avviso) Avviso = std::make_unique<Dialog_Avviso>();
    Avviso->Load();
    Avviso->ImpostaTesto(testo);
    Avviso->Show();
    DoEvents();
}

void ChiudiAvviso() {
    if (!Avviso) return;
    Avviso->Unload();
    Avviso.reset();
}

bool AvvisoAperto() { return Avviso && Avviso->Loaded(); }
std::string TestoAvviso() { return Avviso ? Avviso->Testo() : std::string(); }
