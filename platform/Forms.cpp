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
    HWND h = CreateWindowExA(stileEsteso_, className_.c_str(), caption_.c_str(), stile_ & ~WS_VISIBLE,
                             CW_USEDEFAULT, CW_USEDEFAULT, 320, 240, nullptr, nullptr, inst, nullptr);
    if (!h) return false;
    hwnd_ = h;
    font_ = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    SetWindowLongPtrA(h, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    aperti.push_back(this);
    for (PictureBox* p : pictures_) p->CreaFinestra();
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
    // A timer of a window that is gone never fires again: it counts as stopped.
    for (Timer* t : timers_) t->enabled_ = false;
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
    case WM_SYSCOMMAND:
        if ((wp & 0xFFF0) == SC_CLOSE) {
            // The default handling sends WM_CLOSE before it returns.
            form->chiusuraDaMenu_ = true;
            const LRESULT r = DefWindowProcA(hwnd, msg, wp, lp);
            if (GetWindowLongPtrA(hwnd, GWLP_USERDATA)) form->chiusuraDaMenu_ = false;
            return r;
        }
        return DefWindowProcA(hwnd, msg, wp, lp);
    case WM_CLOSE: {
        // A close that no menu command asked for came from outside the
        // program, as the task manager's does.
        const bool daMenu = form->chiusuraDaMenu_;
        form->chiusuraDaMenu_ = false;
        form->Unload(daMenu ? UnloadDaMenu : UnloadDaTaskManager);
        return 0;
    }
    case WM_SETFONT:
        form->font_ = reinterpret_cast<HFONT>(wp);
        if (LOWORD(lp)) InvalidateRect(hwnd, nullptr, FALSE);
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(form->font_);
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

void Form::Move(int32_t x, int32_t y, int32_t larghezza, int32_t altezza) {
    if (hwnd_) SetWindowPos(hwnd_, nullptr, x, y, larghezza, altezza, SWP_NOZORDER | SWP_NOACTIVATE);
}

HWND Form::AggiungiControllo(const char* classe, DWORD stile, int id, const std::string& testo, int32_t x, int32_t y,
                             int32_t larghezza, int32_t altezza) {
    if (!hwnd_) return nullptr;
    HWND h = CreateWindowExA(0, classe, testo.c_str(), WS_CHILD | WS_VISIBLE | stile, x, y, larghezza, altezza, hwnd_,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr), nullptr);
    if (h) SendMessageA(h, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    return h;
}

HWND Form::AggiungiEtichetta(int id, const std::string& testo, int32_t x, int32_t y, int32_t larghezza,
                             int32_t altezza) {
    return AggiungiControllo("STATIC", SS_NOTIFY, id, testo, x, y, larghezza, altezza);
}

HWND Form::AggiungiPulsante(int id, const std::string& testo, int32_t x, int32_t y, int32_t larghezza,
                            int32_t altezza) {
    return AggiungiControllo("BUTTON", BS_PUSHBUTTON | WS_TABSTOP, id, testo, x, y, larghezza, altezza);
}

void Form::ImpostaStile(DWORD stile, DWORD stileEsteso) {
    stile_ = stile;
    stileEsteso_ = stileEsteso;
    if (!hwnd_) return;
    const DWORD visibile = static_cast<DWORD>(GetWindowLongA(hwnd_, GWL_STYLE)) & WS_VISIBLE;
    SetWindowLongA(hwnd_, GWL_STYLE, static_cast<LONG>((stile & ~WS_VISIBLE) | visibile));
    SetWindowLongA(hwnd_, GWL_EXSTYLE, static_cast<LONG>(stileEsteso));
    SetWindowPos(hwnd_, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

namespace {
BOOL CALLBACK RaccogliAttive(HWND h, LPARAM lp) {
    auto* elenco = reinterpret_cast<std::vector<HWND>*>(lp);
    if (IsWindowEnabled(h)) elenco->push_back(h);
    return TRUE;
}
}  // namespace

void Form::MostraModale() {
    if (!Load() || !hwnd_) return;
    // The program's windows all live on this thread; those disabled already
    // (by an outer modal window) stay so afterwards.
    std::vector<HWND> disabilitate;
    EnumThreadWindows(GetCurrentThreadId(), RaccogliAttive, reinterpret_cast<LPARAM>(&disabilitate));
    disabilitate.erase(std::remove(disabilitate.begin(), disabilitate.end(), hwnd_), disabilitate.end());
    for (HWND h : disabilitate) EnableWindow(h, FALSE);
    ShowWindow(hwnd_, SW_SHOW);
    SetForegroundWindow(hwnd_);
    MSG m;
    while (hwnd_) {
        const BOOL r = GetMessageA(&m, nullptr, 0, 0);
        if (r == 0) {
            // Leave it for the main loop.
            PostQuitMessage(static_cast<int>(m.wParam));
            break;
        }
        if (r < 0) break;
        TranslateMessage(&m);
        DispatchMessageA(&m);
    }
    for (HWND h : disabilitate)
        if (IsWindow(h)) EnableWindow(h, TRUE);
}

PictureBox::PictureBox(Form& owner) : owner_(owner) { owner_.pictures_.push_back(this); }

PictureBox::~PictureBox() {
    if (hwnd_) {
        SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
        DestroyWindow(hwnd_);
    }
    if (dc_) {
        SelectObject(dc_, precedente_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    auto& p = owner_.pictures_;
    p.erase(std::remove(p.begin(), p.end(), this), p.end());
}

HDC PictureBox::hDC() const {
    if (dc_) SetTextColor(dc_, ForeColor);
    return dc_;
}

void PictureBox::Move(int32_t x, int32_t y, int32_t larghezza, int32_t altezza) {
    x_ = x;
    y_ = y;
    larghezza = std::max(larghezza, 0);
    altezza = std::max(altezza, 0);
    if (!dc_ || larghezza != larghezza_ || altezza != altezza_) {
        HDC schermo = GetDC(nullptr);
        HDC nuovo = CreateCompatibleDC(schermo);
        HBITMAP bitmap = CreateCompatibleBitmap(schermo, std::max(larghezza, 1), std::max(altezza, 1));
        ReleaseDC(nullptr, schermo);
        if (!nuovo || !bitmap) {
            if (bitmap) DeleteObject(bitmap);
            if (nuovo) DeleteDC(nuovo);
            return;
        }
        HGDIOBJ precedente = SelectObject(nuovo, bitmap);
        SetBkMode(nuovo, TRANSPARENT);
        HBRUSH pennello = CreateSolidBrush(BackColor);
        RECT tutto{0, 0, std::max(larghezza, 1), std::max(altezza, 1)};
        FillRect(nuovo, &tutto, pennello);
        DeleteObject(pennello);
        if (dc_) {
            BitBlt(nuovo, 0, 0, std::min(larghezza, larghezza_), std::min(altezza, altezza_), dc_, 0, 0, SRCCOPY);
            SelectObject(dc_, precedente_);
            DeleteObject(bitmap_);
            DeleteDC(dc_);
        }
        dc_ = nuovo;
        bitmap_ = bitmap;
        precedente_ = precedente;
        larghezza_ = larghezza;
        altezza_ = altezza;
    }
    if (hwnd_)
        MoveWindow(hwnd_, x_, y_, larghezza_, altezza_, TRUE);
    else
        CreaFinestra();
}

void PictureBox::Cls() {
    if (!dc_) return;
    HBRUSH pennello = CreateSolidBrush(BackColor);
    RECT tutto{0, 0, larghezza_, altezza_};
    FillRect(dc_, &tutto, pennello);
    DeleteObject(pennello);
}

void PictureBox::Refresh() {
    if (!hwnd_ || !dc_) return;
    HDC schermo = GetDC(hwnd_);
    BitBlt(schermo, 0, 0, larghezza_, altezza_, dc_, 0, 0, SRCCOPY);
    ReleaseDC(hwnd_, schermo);
    ValidateRect(hwnd_, nullptr);
}

void PictureBox::CreaFinestra() {
    if (hwnd_ || !dc_ || !owner_.hwnd_) return;
    HINSTANCE inst = GetModuleHandleA(nullptr);
    static const char* const classe = "LudovanePicture";
    WNDCLASSA wc{};
    if (!GetClassInfoA(inst, classe, &wc)) {
        wc.lpfnWndProc = ProceduraPicture;
        wc.hInstance = inst;
        wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
        wc.lpszClassName = classe;
        if (!RegisterClassA(&wc)) return;
    }
    hwnd_ = CreateWindowExA(0, classe, "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, x_, y_, larghezza_, altezza_,
                            owner_.hwnd_, nullptr, inst, nullptr);
    if (hwnd_) SetWindowLongPtrA(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    font_ = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

LRESULT CALLBACK PictureBox::ProceduraPicture(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    auto* box = reinterpret_cast<PictureBox*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (!box) return DefWindowProcA(hwnd, msg, wp, lp);
    switch (msg) {
    case WM_ERASEBKGND:
        // The bitmap covers the whole box.
        return 1;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC d = BeginPaint(hwnd, &ps);
        const RECT& r = ps.rcPaint;
        BitBlt(d, r.left, r.top, r.right - r.left, r.bottom - r.top, box->dc_, r.left, r.top, SRCCOPY);
        EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_SETFONT:
        box->font_ = reinterpret_cast<HFONT>(wp);
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(box->font_);
    case WM_NCDESTROY:
        // Its form's window went first.
        box->hwnd_ = nullptr;
        return DefWindowProcA(hwnd, msg, wp, lp);
    default:
        return DefWindowProcA(hwnd, msg, wp, lp);
    }
}
