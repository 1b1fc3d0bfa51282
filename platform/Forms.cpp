#include "platform/Forms.h"

#include <algorithm>
#include <cctype>

namespace {
std::vector<Form*> aperti;
}

Timer::Timer(Form& owner, uint32_t interval, bool enabled, std::function<void()> handler)
    : owner_(owner), id_(owner.prossimoTimer_++), interval_(interval), enabled_(enabled),
      handler_(std::move(handler)) {
    owner_.timers_.push_back(this);
    Applica();
}

Timer::~Timer() {
    if (owner_.hwnd_) KillTimer(owner_.hwnd_, id_);
    auto& t = owner_.timers_;
    t.erase(std::remove(t.begin(), t.end(), this), t.end());
}

void Timer::SetInterval(uint32_t ms) {
    interval_ = ms;
    Applica();
}

void Timer::SetEnabled(bool on) {
    enabled_ = on;
    Applica();
}

void Timer::Applica() {
    if (!owner_.hwnd_) return;
    if (enabled_ && interval_ > 0)
        SetTimer(owner_.hwnd_, id_, interval_, nullptr);
    else
        KillTimer(owner_.hwnd_, id_);
}

void Timer::Scatta() {
    if (enabled_ && interval_ > 0 && handler_) handler_();
}

Form::Form(std::string className, std::string caption)
    : className_(std::move(className)), caption_(std::move(caption)) {}

Form::~Form() {
    if (hwnd_) {
        HWND h = hwnd_;
        hwnd_ = nullptr;
        SetWindowLongPtrA(h, GWLP_USERDATA, 0);
        DestroyWindow(h);
        aperti.erase(std::remove(aperti.begin(), aperti.end(), this), aperti.end());
    }
}

bool Form::Load() {
    if (hwnd_) return true;
    HINSTANCE inst = GetModuleHandleA(nullptr);
    WNDCLASSA wc{};
    if (!GetClassInfoA(inst, className_.c_str(), &wc)) {
        wc.lpfnWndProc = ProceduraFinestra;
        wc.hInstance = inst;
        wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
        wc.hIcon = LoadIconA(inst, MAKEINTRESOURCEA(1));
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.lpszClassName = className_.c_str();
        if (!RegisterClassA(&wc)) return false;
    }
    HWND h = CreateWindowExA(0, className_.c_str(), caption_.c_str(), WS_OVERLAPPEDWINDOW,
                             CW_USEDEFAULT, CW_USEDEFAULT, 320, 240, nullptr, nullptr, inst, nullptr);
    if (!h) return false;
    hwnd_ = h;
    SetWindowLongPtrA(h, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    aperti.push_back(this);
    for (Timer* t : timers_) t->Applica();
    Form_Load();
    return true;
}

bool Form::Unload(int16_t mode) {
    if (!hwnd_ || inScaricamento_) return true;
    inScaricamento_ = true;
    int16_t cancel = 0;
    Form_QueryUnload(cancel, mode);
    if (cancel == 0) Form_Unload(cancel);
    if (cancel != 0) {
        inScaricamento_ = false;
        return false;
    }
    HWND h = hwnd_;
    if (h) {
        for (Timer* t : timers_) KillTimer(h, t->id_);
        hwnd_ = nullptr;
        SetWindowLongPtrA(h, GWLP_USERDATA, 0);
        DestroyWindow(h);
    }
    aperti.erase(std::remove(aperti.begin(), aperti.end(), this), aperti.end());
    inScaricamento_ = false;
    return true;
}

void Form::Show() {
    if (Load()) ShowWindow(hwnd_, SW_SHOW);
}

void Form::Hide() {
    if (hwnd_) ShowWindow(hwnd_, SW_HIDE);
}

LRESULT CALLBACK Form::ProceduraFinestra(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    auto* form = reinterpret_cast<Form*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (!form) return DefWindowProcA(hwnd, msg, wp, lp);
    LRESULT result = 0;
    if (form->MessaggioFinestra(msg, wp, lp, result)) return result;
    switch (msg) {
    case WM_TIMER:
        for (Timer* t : form->timers_) {
            if (t->id_ == wp) {
                t->Scatta();
                break;
            }
        }
        return 0;
    case WM_CLOSE:
        // A hidden window can only be closed from outside the program.
        form->Unload(IsWindowVisible(hwnd) ? UnloadDaMenu : UnloadDaTaskManager);
        return 0;
    case WM_QUERYENDSESSION:
        return form->Unload(UnloadDaWindows) ? TRUE : FALSE;
    default:
        return DefWindowProcA(hwnd, msg, wp, lp);
    }
}

std::vector<Form*> FormsAperti() { return aperti; }

void DoEvents() {
    MSG m;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
        if (m.message == WM_QUIT) {
            // Leave it for the main loop.
            PostQuitMessage(static_cast<int>(m.wParam));
            return;
        }
        TranslateMessage(&m);
        DispatchMessageA(&m);
    }
}

int EseguiApplicazione() {
    MSG m;
    while (!aperti.empty()) {
        const BOOL r = GetMessageA(&m, nullptr, 0, 0);
        if (r == 0) return static_cast<int>(m.wParam);
        if (r < 0) break;
        TranslateMessage(&m);
        DispatchMessageA(&m);
    }
    return 0;
}

std::string NomeIstanza(const std::string& programma) {
    // The full long form: a start by the 8.3 path and one by the long path
    // are the same program.
    char pieno[MAX_PATH * 2] = {};
    DWORD n = GetFullPathNameA(programma.c_str(), sizeof pieno, pieno, nullptr);
    if (n == 0 || n >= sizeof pieno) lstrcpynA(pieno, programma.c_str(), sizeof pieno);
    char percorso[MAX_PATH * 2] = {};
    n = GetLongPathNameA(pieno, percorso, sizeof percorso);
    if (n == 0 || n >= sizeof percorso) lstrcpynA(percorso, pieno, sizeof percorso);
    std::string nome = "Ludovane.PrevInstance.";
    for (const char* p = percorso; *p; ++p) {
        char c = static_cast<char>(std::toupper(static_cast<unsigned char>(*p)));
        nome += (c == '\\') ? '/' : c;
    }
    // The system refuses longer names, and a refused name would let every
    // instance run: a deep folder is named by a digest of its path.
    if (nome.size() >= MAX_PATH) {
        uint64_t h = 14695981039346656037ull;
        for (unsigned char c : nome) h = (h ^ c) * 1099511628211ull;
        char digest[17];
        for (int i = 15; i >= 0; --i, h >>= 4) digest[i] = "0123456789ABCDEF"[h & 15];
        digest[16] = '\0';
        nome = "Ludovane.PrevInstance." + std::string(digest) + "." + nome.substr(nome.size() - 160);
    }
    return nome;
}

bool IstanzaPrecedente() {
    char modulo[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, modulo, MAX_PATH);
    const std::string nome = NomeIstanza(modulo);
    // Kept open for the whole life of the process.
    static HANDLE mutex = nullptr;
    if (!mutex) {
        mutex = CreateMutexA(nullptr, FALSE, nome.c_str());
        return mutex != nullptr && GetLastError() == ERROR_ALREADY_EXISTS;
    }
    return false;
}

void Form::MostraModale() {}

PictureBox::PictureBox(Form& owner) : owner_(owner) {}
PictureBox::~PictureBox() = default;
void PictureBox::Move(int32_t, int32_t, int32_t larghezza, int32_t altezza) {
    larghezza_ = larghezza;
    altezza_ = altezza;
}
void PictureBox::Refresh() {}
