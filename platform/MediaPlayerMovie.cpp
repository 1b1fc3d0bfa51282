// The MCI road of the media player. A movie opens in a child window of the
// player's own, which takes the keys and the end-of-play notices and turns
// them into the player's events; a sound file of a format the player does
// not decode itself opens on the device MCI picks for it, with a hidden
// window for its end-of-play notices.
#include "platform/MediaPlayer.h"

#include <mmsystem.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/Clock.h"

namespace {

constexpr char ClasseFilmato[] = "LudovaneMoviePlayer";
// Events raised once the call that caused them has returned, as the
// control raises them.
constexpr UINT MsgErrore = WM_APP + 1;
constexpr UINT MsgCambioStato = WM_APP + 2;

std::string TestoErroreMci(MCIERROR codice) {
    char testo[256] = {};
    if (!mciGetErrorStringA(codice, testo, sizeof testo) || !testo[0])
        std::snprintf(testo, sizeof testo, "MCI error %lu", static_cast<unsigned long>(codice));
    return testo;
}

int16_t StatoShift() {
    int16_t s = 0;
    if (GetKeyState(VK_SHIFT) < 0) s |= 1;
    if (GetKeyState(VK_CONTROL) < 0) s |= 2;
    if (GetKeyState(VK_MENU) < 0) s |= 4;
    return s;
}

// A command string to the system's MCI, with the device's answer.
MCIERROR ComandoMci(const std::string& testo, std::string* risposta, HWND notifica) {
    char buffer[128] = {};
    const MCIERROR e = mciSendStringA(testo.c_str(), buffer, sizeof buffer, notifica);
    if (risposta) *risposta = buffer;
    return e;
}

}  // namespace

struct MediaPlayer::Filmato {
    MediaPlayer& player;
    HWND finestra = nullptr;
    std::string alias;
    bool aperto = false;
    // The movie ends with a notice only for the last play asked.
    bool attesaFine = false;

    explicit Filmato(MediaPlayer& p) : player(p) {
        static unsigned contatore = 0;
        alias = "ludovanemovie" + std::to_string(++contatore);
    }
    ~Filmato() {
        if (aperto) {
            // The driver's play thread can still be leaving after the device
            // reports the play over; closing frees what that thread holds.
            Comando("stop " + alias);
            ClockAttendiOggetto(nullptr, 100);
            Comando("close " + alias);
        }
        if (finestra) {
            SetWindowLongPtrA(finestra, GWLP_USERDATA, 0);
            DestroyWindow(finestra);
        }
    }
    Filmato(const Filmato&) = delete;
    Filmato& operator=(const Filmato&) = delete;

    MCIERROR Comando(const std::string& testo, std::string* risposta = nullptr, HWND notifica = nullptr) {
        return ComandoMci(testo, risposta, notifica);
    }
    // A number the device reports, -1 when it reports none.
    long Numero(const std::string& cosa) {
        std::string r;
        if (Comando("status " + alias + " " + cosa, &r) != 0 || r.empty()) return -1;
        return std::strtol(r.c_str(), nullptr, 10);
    }
    bool InRiproduzione() {
        std::string modo;
        return Comando("status " + alias + " mode", &modo) == 0 && modo == "playing";
    }
    void Errore(const std::string& testo) {
        player.errore_ = testo;
        if (finestra) PostMessageA(finestra, MsgErrore, 0, 0);
    }
    void Colloca() {
        if (!finestra || !aperto) return;
        RECT r{};
        GetClientRect(finestra, &r);
        const std::string rettangolo = " at 0 0 " + std::to_string(r.right) + " " + std::to_string(r.bottom);
        Comando("put " + alias + " window" + rettangolo);
        Comando("put " + alias + " destination" + rettangolo);
    }

    static bool RegistraClasse() {
        static const bool registrata = [] {
            WNDCLASSA c{};
            c.lpfnWndProc = Procedura;
            c.hInstance = GetModuleHandleA(nullptr);
            c.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
            c.lpszClassName = ClasseFilmato;
            return RegisterClassA(&c) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
        }();
        return registrata;
    }

    static LRESULT CALLBACK Procedura(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
        auto* f = reinterpret_cast<Filmato*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
        if (!f) return DefWindowProcA(hwnd, msg, wp, lp);
        MediaPlayer& p = f->player;
        switch (msg) {
        case WM_ERASEBKGND: {
            RECT r{};
            GetClientRect(hwnd, &r);
            HBRUSH b = CreateSolidBrush(p.sfondo_);
            FillRect(reinterpret_cast<HDC>(wp), &r, b);
            DeleteObject(b);
            return 1;
        }
        case WM_SIZE:
            f->Colloca();
            return 0;
        case WM_GETDLGCODE:
            return DLGC_WANTALLKEYS;
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
            if (p.KeyDown) p.KeyDown(static_cast<int16_t>(wp), StatoShift());
            return 0;
        case WM_CONTEXTMENU:
            return 0;
        case MM_MCINOTIFY:
            // A play that a pause cut short can report success late, while
            // the play that resumed it runs: only a halted device has ended.
            if (wp == MCI_NOTIFY_SUCCESSFUL && f->attesaFine && !f->InRiproduzione()) {
                f->attesaFine = false;
                p.NuovoStato(Fermo);
                if (p.EndOfStream) p.EndOfStream();
            } else if (wp == MCI_NOTIFY_FAILURE) {
                f->attesaFine = false;
                p.errore_ = "The movie could not be played to its end";
                p.NuovoStato(Fermo);
                if (p.Error) p.Error();
            }
            return 0;
        case MsgErrore:
            if (p.Error) p.Error();
            return 0;
        case MsgCambioStato:
            if (p.PlayStateChange) p.PlayStateChange(static_cast<int32_t>(wp), static_cast<int32_t>(lp));
            return 0;
        default:
            break;
        }
        return DefWindowProcA(hwnd, msg, wp, lp);
    }
};

void MediaPlayer::Open(const std::string& percorso) {
    // The MCI video drivers stay loaded: closing the last movie unloads a
    // driver, and its play thread may still be on its way out of that code.
    static const bool driverTenuti = [] {
        LoadLibraryA("mciavi32.dll");
        LoadLibraryA("mciqtz32.dll");
        return true;
    }();
    (void)driverTenuti;
    Close();
    Stop();
    file_ = percorso;
    errore_.clear();
    filmato_ = new Filmato(*this);
    RECT r{};
    if (contenitore_) GetClientRect(contenitore_, &r);
    if (!contenitore_ || !Filmato::RegistraClasse() ||
        !(filmato_->finestra = CreateWindowExA(0, ClasseFilmato, "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, r.right,
                                               r.bottom, contenitore_, nullptr, GetModuleHandleA(nullptr),
                                               nullptr))) {
        // No window to raise the event from: the error text alone tells it.
        errore_ = "No window to show the movie in";
        return;
    }
    SetWindowLongPtrA(filmato_->finestra, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(filmato_));
    const std::string apri = "open \"" + percorso + "\" alias " + filmato_->alias + " style child parent " +
                             std::to_string(reinterpret_cast<uintptr_t>(filmato_->finestra));
    if (percorso.empty() || percorso.find('"') != std::string::npos) {
        filmato_->Errore("Invalid movie file name: " + percorso);
        return;
    }
    if (const MCIERROR e = filmato_->Comando(apri)) {
        filmato_->Errore(TestoErroreMci(e));
        return;
    }
    filmato_->aperto = true;
    filmato_->Comando("set " + filmato_->alias + " time format milliseconds");
    filmato_->Colloca();
    filmato_->Comando("window " + filmato_->alias + " state show");
    prontezza_ = 4;
    if (avvioAutomatico_) RiproduciFilmato();
}

void MediaPlayer::Close() {
    if (!filmato_) return;
    delete filmato_;
    filmato_ = nullptr;
    prontezza_ = 0;
    statoFilmato_ = Fermo;
}

double MediaPlayer::Duration() {
    if (!filmato_ || !filmato_->aperto) return 0;
    const long ms = filmato_->Numero("length");
    return ms > 0 ? static_cast<double>(ms) / 1000.0 : 0;
}

void MediaPlayer::SetBackColor(COLORREF colore) {
    sfondo_ = colore;
    if (filmato_ && filmato_->finestra) InvalidateRect(filmato_->finestra, nullptr, TRUE);
}

void MediaPlayer::Move(int32_t x, int32_t y, int32_t larghezza, int32_t altezza) {
    if (filmato_ && filmato_->finestra) MoveWindow(filmato_->finestra, x, y, larghezza, altezza, TRUE);
}

void MediaPlayer::SetVisible(bool visibile) {
    if (filmato_ && filmato_->finestra) ShowWindow(filmato_->finestra, visibile ? SW_SHOW : SW_HIDE);
}

void MediaPlayer::SetFocus() {
    if (filmato_ && filmato_->finestra) ::SetFocus(filmato_->finestra);
}

int32_t MediaPlayer::StatoFilmato() { return statoFilmato_; }

void MediaPlayer::NuovoStato(int32_t nuovo) {
    if (nuovo == statoFilmato_) return;
    const int32_t vecchio = statoFilmato_;
    statoFilmato_ = nuovo;
    if (filmato_ && filmato_->finestra) PostMessageA(filmato_->finestra, MsgCambioStato, vecchio, nuovo);
}

void MediaPlayer::RiproduciFilmato() {
    Filmato& f = *filmato_;
    if (!f.aperto || statoFilmato_ == InRiproduzione) return;
    // Halted or played to its end: again from its first frame.
    if (statoFilmato_ != InPausa) f.Comando("seek " + f.alias + " to start");
    if (const MCIERROR e = f.Comando("play " + f.alias + " notify", nullptr, f.finestra)) {
        f.Errore(TestoErroreMci(e));
        return;
    }
    f.attesaFine = true;
    NuovoStato(InRiproduzione);
}

void MediaPlayer::PausaFilmato() {
    Filmato& f = *filmato_;
    if (!f.aperto || statoFilmato_ != InRiproduzione) return;
    f.attesaFine = false;
    f.Comando("pause " + f.alias);
    NuovoStato(InPausa);
}

void MediaPlayer::FermaFilmato() {
    Filmato& f = *filmato_;
    if (!f.aperto) return;
    f.attesaFine = false;
    f.Comando("stop " + f.alias);
    NuovoStato(Fermo);
}

namespace {

constexpr char ClasseSuono[] = "LudovaneSoundPlayer";

}  // namespace

struct MediaPlayer::SuonoMci {
    MediaPlayer& player;
    std::string alias;
    HWND finestra = nullptr;
    bool avviato = false;
    int32_t fatti = 0;

    explicit SuonoMci(MediaPlayer& p) : player(p) {
        static unsigned contatore = 0;
        alias = "ludovanesuono" + std::to_string(++contatore);
    }
    ~SuonoMci() {
        if (!alias.empty()) Comando("close " + alias);
        if (finestra) {
            SetWindowLongPtrA(finestra, GWLP_USERDATA, 0);
            DestroyWindow(finestra);
        }
    }
    SuonoMci(const SuonoMci&) = delete;
    SuonoMci& operator=(const SuonoMci&) = delete;

    MCIERROR Comando(const std::string& testo, std::string* risposta = nullptr, HWND notifica = nullptr) {
        return ComandoMci(testo, risposta, notifica);
    }

    static LRESULT CALLBACK Procedura(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
        auto* s = reinterpret_cast<SuonoMci*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
        if (s && msg == MM_MCINOTIFY) {
            s->player.ControllaFineSuonoMci();
            return 0;
        }
        return DefWindowProcA(hwnd, msg, wp, lp);
    }
    static bool RegistraClasse() {
        static const bool registrata = [] {
            WNDCLASSA c{};
            c.lpfnWndProc = Procedura;
            c.hInstance = GetModuleHandleA(nullptr);
            c.lpszClassName = ClasseSuono;
            return RegisterClassA(&c) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
        }();
        return registrata;
    }
};

bool MediaPlayer::ApriSuonoMci(const std::string& percorso) {
    if (percorso.empty() || percorso.find('"') != std::string::npos) return false;
    auto* s = new SuonoMci(*this);
    std::string lunghezza;
    if (s->Comando("open \"" + percorso + "\" alias " + s->alias) != 0) {
        // Nothing was opened: nothing to close.
        s->alias.clear();
        delete s;
        return false;
    }
    s->Comando("set " + s->alias + " time format milliseconds");
    const long ms = s->Comando("status " + s->alias + " length", &lunghezza) == 0
                        ? std::strtol(lunghezza.c_str(), nullptr, 10)
                        : 0;
    if (ms <= 0) {
        delete s;
        return false;
    }
    if (SuonoMci::RegistraClasse()) {
        s->finestra = CreateWindowExA(0, ClasseSuono, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                      GetModuleHandleA(nullptr), nullptr);
        if (s->finestra) SetWindowLongPtrA(s->finestra, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(s));
    }
    suonoMci_ = s;
    durata_ = static_cast<uint32_t>(ms);
    return true;
}

void MediaPlayer::ChiudiSuonoMci() {
    delete suonoMci_;
    suonoMci_ = nullptr;
}

bool MediaPlayer::AvviaSuonoMci() {
    SuonoMci& s = *suonoMci_;
    s.fatti = 0;
    s.avviato = s.Comando("play " + s.alias + " from 0 notify", nullptr, s.finestra) == 0;
    if (s.avviato) ApplicaVolume();
    return s.avviato;
}

bool MediaPlayer::AvviatoMci() const { return suonoMci_ && suonoMci_->avviato; }

void MediaPlayer::PausaSuonoMci() {
    if (AvviatoMci()) suonoMci_->Comando("pause " + suonoMci_->alias);
}

void MediaPlayer::RiprendiSuonoMci() {
    if (AvviatoMci()) suonoMci_->Comando("play " + suonoMci_->alias + " notify", nullptr, suonoMci_->finestra);
}

void MediaPlayer::FermaSuonoMci() {
    if (!suonoMci_) return;
    if (suonoMci_->avviato) suonoMci_->Comando("stop " + suonoMci_->alias);
    suonoMci_->avviato = false;
}

void MediaPlayer::VolumeSuonoMci(int32_t livello) {
    // Only some devices take a volume; the others play at theirs.
    if (AvviatoMci())
        suonoMci_->Comando("setaudio " + suonoMci_->alias + " volume to " + std::to_string(livello));
}

void MediaPlayer::ControllaFineSuonoMci() {
    if (!AvviatoMci() || stato_ != InRiproduzione) return;
    SuonoMci& s = *suonoMci_;
    std::string modo;
    if (s.Comando("status " + s.alias + " mode", &modo) == 0 && (modo == "playing" || modo == "seeking")) return;
    ++s.fatti;
    if ((volte_ == 0 || s.fatti < volte_) &&
        s.Comando("play " + s.alias + " from 0 notify", nullptr, s.finestra) == 0)
        return;
    s.avviato = false;
    trascorsoPrima_ = 0;
    stato_ = Fermo;
}
