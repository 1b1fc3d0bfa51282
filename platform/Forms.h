#pragma once
// A small forms runtime: windows with load, query-unload and unload events,
// timers, the collection of open windows and the message pump.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class Form;
class PictureBox;

// Who asks a window to unload, as the QueryUnload event receives it.
enum UnloadMode : int16_t {
    UnloadDaMenu = 0,         // the window's own close command
    UnloadDaCodice = 1,       // the program unloads it
    UnloadDaWindows = 2,      // the Windows session ends
    UnloadDaTaskManager = 3,  // closed from outside (task manager)
};

// Fires its handler on the owner's thread every Interval ms while Enabled;
// an interval of 0 never fires. The owner's unload stops it.
class Timer {
public:
    Timer(Form& owner, uint32_t interval, bool enabled, std::function<void()> handler);
    ~Timer();
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;

    uint32_t Interval() const { return interval_; }
    bool Enabled() const { return enabled_; }
    void SetInterval(uint32_t ms);
    void SetEnabled(bool on);

private:
    friend class Form;
class PictureBox;
    void Applica();
    void Scatta();

    Form& owner_;
    UINT_PTR id_;
    uint32_t interval_;
    bool enabled_;
    std::function<void()> handler_;
};

class Form {
public:
    explicit Form(std::string className = "LudovaneForm", std::string caption = "");
    virtual ~Form();
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    // Creates the (hidden) window and runs the load event; a window already
    // loaded is left as it is.
    bool Load();
    // Runs QueryUnload and Unload and destroys the window; False when an
    // event cancelled it.
    bool Unload(int16_t mode = UnloadDaCodice);
    bool Loaded() const { return hwnd_ != nullptr; }
    HWND hWnd() const { return hwnd_; }
    const std::string& Caption() const { return caption_; }

    void Show();
    void Hide();
    // Loads and shows the window and returns once it has unloaded, the
    // program's other windows kept from input meanwhile.
    void MostraModale();
    // Places the window, in pixels.
    void Move(int32_t x, int32_t y, int32_t larghezza, int32_t altezza);

protected:
    // The window's styles; before Load they are used at creation.
    void ImpostaStile(DWORD stile, DWORD stileEsteso = 0);
    // A label (STATIC with SS_NOTIFY) or a button of the loaded window, with
    // the window's font, gone with it. Its clicks reach MessaggioFinestra as
    // WM_COMMAND with <id> and STN_CLICKED or BN_CLICKED.
    HWND AggiungiEtichetta(int id, const std::string& testo, int32_t x, int32_t y, int32_t larghezza,
                           int32_t altezza);
    HWND AggiungiPulsante(int id, const std::string& testo, int32_t x, int32_t y, int32_t larghezza,
                          int32_t altezza);

    virtual void Form_Load() {}
    virtual void Form_QueryUnload(int16_t& Cancel, int16_t UnloadMode) {}
    virtual void Form_Unload(int16_t& Cancel) {}
    // Messages a form wants for itself; return true when handled.
    virtual bool MessaggioFinestra(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) { return false; }

private:
    friend class Timer;
    friend class PictureBox;
    static LRESULT CALLBACK ProceduraFinestra(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    HWND AggiungiControllo(const char* classe, DWORD stile, int id, const std::string& testo, int32_t x, int32_t y,
                           int32_t larghezza, int32_t altezza);

    std::string className_;
    std::string caption_;
    HWND hwnd_ = nullptr;
    bool inScaricamento_ = false;
    // A close asked through the window's own menu (or Alt+F4), not from
    // outside the program.
    bool chiusuraDaMenu_ = false;
    DWORD stile_ = WS_OVERLAPPEDWINDOW;
    DWORD stileEsteso_ = 0;
    // Every window and control has a font, as WM_GETFONT tells; the system's
    // until one is set.
    HFONT font_ = nullptr;
    std::vector<Timer*> timers_;
    std::vector<PictureBox*> pictures_;
    UINT_PTR prossimoTimer_ = 1;
};

// A picture box: a child window of its form with a backing bitmap of its
// own size, so that what is drawn into its device context stays there until
// drawn over and is copied to the screen on refresh and on repaint.
class PictureBox {
public:
    explicit PictureBox(Form& owner);
    ~PictureBox();
    PictureBox(const PictureBox&) = delete;
    PictureBox& operator=(const PictureBox&) = delete;

    HWND hWnd() const { return hwnd_; }
    // The device context of the backing bitmap, its text colour ForeColor
    // and its text transparent; nullptr before the first Move.
    HDC hDC() const;
    // Places the box in its form, in pixels; a new size gives a new bitmap
    // filled with BackColor, what was drawn kept where it still fits.
    void Move(int32_t x, int32_t y, int32_t larghezza, int32_t altezza);
    int32_t Larghezza() const { return larghezza_; }
    int32_t Altezza() const { return altezza_; }
    // Fills the bitmap with BackColor.
    void Cls();
    // Copies the bitmap to the screen now.
    void Refresh();
    COLORREF ForeColor = RGB(0, 0, 0);
    COLORREF BackColor = RGB(0, 0, 0);

private:
    friend class Form;
    void CreaFinestra();
    static LRESULT CALLBACK ProceduraPicture(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

    Form& owner_;
    HWND hwnd_ = nullptr;
    HFONT font_ = nullptr;
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ precedente_ = nullptr;
    int32_t x_ = 0;
    int32_t y_ = 0;
    int32_t larghezza_ = 0;
    int32_t altezza_ = 0;
};

// The windows loaded now, in loading order.
std::vector<Form*> FormsAperti();
// Handles every pending message, then returns.
void DoEvents();
// Runs the message loop until the last window is unloaded; the exit code.
int EseguiApplicazione();
// True when another process of this same executable is running.
bool IstanzaPrecedente();
// The name that stands for the program at <programma>, however its path is
// spelled.
std::string NomeIstanza(const std::string& programma);
