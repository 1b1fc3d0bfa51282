#pragma once
// What the movie checks open for the player, caught by the test: web pages
// opened with the shell, and the link window driven as the player would.
#include <windows.h>

#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "media/LinkDownload.h"
#include "tests/support/TestFolders.h"

// For the test, the http protocol's open command appends the address to a
// file of the test's folder instead of starting a browser; the prefix's own
// command is written back afterwards.
class PagineAperte {
public:
    explicit PagineAperte(const std::string& cartella) : registro_(cartella + "\\pages.txt") {
        DeleteFileA(registro_.c_str());
        if (RegCreateKeyExA(HKEY_CLASSES_ROOT, Comando, 0, nullptr, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr,
                            &chiave_, nullptr) != ERROR_SUCCESS) {
            chiave_ = nullptr;
            return;
        }
        char valore[1024] = {};
        DWORD tipo = 0, dimensione = sizeof valore - 1;
        if (RegQueryValueExA(chiave_, nullptr, nullptr, &tipo, reinterpret_cast<BYTE*>(valore), &dimensione) ==
            ERROR_SUCCESS) {
            precedente_ = valore;
            tipoPrecedente_ = tipo;
            cera_ = true;
        }
        char sistema[MAX_PATH] = {};
        GetSystemDirectoryA(sistema, MAX_PATH);
        const std::string comando = std::string(sistema) + "\\cmd.exe /c echo [%1]>>\"" + registro_ + "\"";
        pronta_ = Scrivi(REG_SZ, comando);
    }
    ~PagineAperte() {
        if (!chiave_) return;
        if (cera_)
            Scrivi(tipoPrecedente_, precedente_);
        else
            RegDeleteValueA(chiave_, nullptr);
        RegCloseKey(chiave_);
    }
    PagineAperte(const PagineAperte&) = delete;
    PagineAperte& operator=(const PagineAperte&) = delete;
    bool Pronta() const { return pronta_; }

    // The addresses opened so far, in order; waits (real time) until there
    // are <quante> of them or <ms> have passed.
    std::vector<std::string> Indirizzi(size_t quante, DWORD ms = 30000) const {
        const DWORD inizio = GetTickCount();
        std::vector<std::string> indirizzi;
        for (;;) {
            indirizzi = Leggi();
            if (indirizzi.size() >= quante || GetTickCount() - inizio > ms) return indirizzi;
            Sleep(50);
        }
    }

private:
    static constexpr const char* Comando = "http\\shell\\open\\command";
    bool Scrivi(DWORD tipo, const std::string& testo) {
        return RegSetValueExA(chiave_, nullptr, 0, tipo, reinterpret_cast<const BYTE*>(testo.c_str()),
                              static_cast<DWORD>(testo.size() + 1)) == ERROR_SUCCESS;
    }
    std::vector<std::string> Leggi() const {
        std::vector<std::string> indirizzi;
        const std::string s = LeggiFileProva(registro_);
        for (size_t i = 0; (i = s.find('[', i)) != std::string::npos;) {
            const size_t fine = s.find("]", i);
            if (fine == std::string::npos) break;
            std::string a = s.substr(i + 1, fine - i - 1);
            if (a.size() >= 2 && a.front() == '"' && a.back() == '"') a = a.substr(1, a.size() - 2);
            indirizzi.push_back(a);
            i = fine;
        }
        return indirizzi;
    }
    std::string registro_;
    HKEY chiave_ = nullptr;
    std::string precedente_;
    DWORD tipoPrecedente_ = REG_SZ;
    bool cera_ = false;
    bool pronta_ = false;
};

// What the link window showed when the guide found it.
struct VistaLinkDownload {
    bool trovata = false;
    std::string titolo;
    bool visibile = false;
    // The captions of the four links and of the button, in the order of
    // their ids; empty for a control that is missing or hidden.
    std::vector<std::string> controlli;
    // The window outlived the click or the close box and was closed from
    // outside, so that the test fails instead of hanging.
    bool chiusaAForza = false;
};

// Waits on its own thread for the link window of this process, clicks the
// links asked for, each after <dopoClic> of the clicks before returned, then
// closes it with Cancel or with its close box.
class GuidaLinkDownload {
public:
    GuidaLinkDownload(std::vector<int> clic, bool conCancel, std::function<void(size_t)> dopoClic = {},
                      DWORD attesaMs = 30000)
        : dopoClic_(std::move(dopoClic)),
          thread_([this, clic, conCancel, attesaMs] { Guida(clic, conCancel, attesaMs); }) {}
    ~GuidaLinkDownload() {
        if (thread_.joinable()) thread_.join();
    }
    GuidaLinkDownload(const GuidaLinkDownload&) = delete;
    GuidaLinkDownload& operator=(const GuidaLinkDownload&) = delete;
    VistaLinkDownload Vista() {
        if (thread_.joinable()) thread_.join();
        return vista_;
    }

private:
    static std::string Testo(HWND h) {
        char s[512] = {};
        GetWindowTextA(h, s, sizeof s);
        return s;
    }
    static BOOL CALLBACK Cerca(HWND h, LPARAM lp) {
        DWORD pid = 0;
        GetWindowThreadProcessId(h, &pid);
        if (pid == GetCurrentProcessId() && IsWindowVisible(h) && Testo(h) == TitoloLinkDownload) {
            *reinterpret_cast<HWND*>(lp) = h;
            return FALSE;
        }
        return TRUE;
    }
    void Guida(const std::vector<int>& clic, bool conCancel, DWORD attesaMs) {
        const DWORD inizio = GetTickCount();
        HWND finestra = nullptr;
        while (!finestra && GetTickCount() - inizio < attesaMs) {
            EnumWindows(Cerca, reinterpret_cast<LPARAM>(&finestra));
            if (!finestra) Sleep(50);
        }
        if (!finestra) return;
        vista_.trovata = true;
        vista_.titolo = Testo(finestra);
        vista_.visibile = IsWindowVisible(finestra) != 0;
        for (int id = Label_DownloadMPlayer; id <= Pul_Cancel; ++id) {
            HWND c = GetDlgItem(finestra, id);
            vista_.controlli.push_back(c && IsWindowVisible(c) ? Testo(c) : "");
        }
        // A label reports its click on the button's press, as the mouse gives it.
        for (size_t i = 0; i < clic.size(); ++i) {
            PostMessageA(GetDlgItem(finestra, clic[i]), WM_LBUTTONDOWN, MK_LBUTTON, 0);
            if (dopoClic_) dopoClic_(i + 1);
        }
        if (conCancel)
            PostMessageA(GetDlgItem(finestra, Pul_Cancel), BM_CLICK, 0, 0);
        else
            PostMessageA(finestra, WM_SYSCOMMAND, SC_CLOSE, 0);
        const DWORD chiusura = GetTickCount();
        while (IsWindow(finestra) && GetTickCount() - chiusura < attesaMs) Sleep(50);
        if (IsWindow(finestra)) {
            vista_.chiusaAForza = true;
            PostMessageA(finestra, WM_CLOSE, 0, 0);
        }
    }
    VistaLinkDownload vista_;
    std::function<void(size_t)> dopoClic_;
    std::thread thread_;
};
