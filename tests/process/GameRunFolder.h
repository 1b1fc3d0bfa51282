#pragma once
// A whole game run: a game folder with the stand-in as tomb4.exe, the game's
// registry key filled as the game leaves it, the desktop read before and
// after, Ludovane.exe run to its end with its boxes answered.
#include <gtest/gtest.h>
#include <windows.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "tests/process/LudovaneFolder.h"
#include "tests/support/GameFolder.h"
#include "tests/support/TestRegistry.h"

// What a run must leave as it found it.
struct Scrivania {
    bool taskBarVisibile = false;
    BOOL animazioni = FALSE;
    bool puntatore = false;
    DWORD larghezza = 0, altezza = 0, bits = 0;
    bool operator==(const Scrivania&) const = default;
};

inline std::ostream& operator<<(std::ostream& o, const Scrivania& s) {
    return o << "task bar " << s.taskBarVisibile << " animations " << s.animazioni << " pointer " << s.puntatore
             << " mode " << s.larghezza << "x" << s.altezza << "x" << s.bits;
}

inline Scrivania LeggiScrivania() {
    Scrivania s;
    HWND barra = FindWindowA("Shell_traywnd", "");
    s.taskBarVisibile = barra && IsWindowVisible(barra);
    ANIMATIONINFO a{sizeof a, 0};
    SystemParametersInfoA(SPI_GETANIMATION, sizeof a, &a, 0);
    s.animazioni = a.iMinAnimate;
    CURSORINFO c{};
    c.cbSize = sizeof c;
    s.puntatore = GetCursorInfo(&c) && (c.flags & CURSOR_SHOWING);
    DEVMODEA m{};
    m.dmSize = sizeof m;
    if (EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &m)) {
        s.larghezza = m.dmPelsWidth;
        s.altezza = m.dmPelsHeight;
        s.bits = m.dmBitsPerPel;
    }
    return s;
}

// A window of the shell's task bar class on a thread of its own, since
// Wine's desktop has none and the run hides and shows it from its process.
class TaskBarFinta {
public:
    TaskBarFinta() {
        pronto_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        thread_ = CreateThread(nullptr, 0, Corpo, this, 0, &id_);
        WaitForSingleObject(pronto_, 5000);
    }
    ~TaskBarFinta() {
        PostThreadMessageA(id_, WM_QUIT, 0, 0);
        WaitForSingleObject(thread_, 5000);
        CloseHandle(thread_);
        CloseHandle(pronto_);
    }

private:
    static DWORD WINAPI Corpo(LPVOID p) {
        auto* self = static_cast<TaskBarFinta*>(p);
        WNDCLASSA wc{};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "Shell_TrayWnd";
        RegisterClassA(&wc);
        HWND h = CreateWindowExA(WS_EX_TOOLWINDOW, "Shell_TrayWnd", "", WS_POPUP | WS_VISIBLE, 0, 740, 1024, 28,
                                 nullptr, nullptr, wc.hInstance, nullptr);
        SetEvent(self->pronto_);
        MSG m;
        while (GetMessageA(&m, nullptr, 0, 0) > 0) DispatchMessageA(&m);
        DestroyWindow(h);
        return 0;
    }
    HANDLE pronto_ = nullptr;
    HANDLE thread_ = nullptr;
    DWORD id_ = 0;
};

class CartellaRun : public CartellaLudovane {
protected:
    void SetUp() override {
        // The game folder brings its own copy of the program.
        chiave = std::make_unique<ChiaveGiocoSalvata>();
        ScriviRegistroDelGioco(ChiaveGiocoRegistro);
        registroPrima = FotografiaRegistro(ChiaveGiocoRegistro);
        // A player's desktop shows its task bar: Wine's own may be a hidden
        // window, which is shown for the test and hidden again after it.
        if (HWND vera = FindWindowA("Shell_traywnd", "")) {
            if (!IsWindowVisible(vera)) {
                ShowWindow(vera, SW_SHOWNA);
                barraNascostaPrima = vera;
            }
        } else {
            barra = std::make_unique<TaskBarFinta>();
        }
        scrivaniaPrima = LeggiScrivania();
    }
    void TearDown() override {
        if (const DWORD pid = PidGioco()) {
            if (HANDLE h = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid)) {
                TerminateProcess(h, 99);
                WaitForSingleObject(h, 5000);
                CloseHandle(h);
            }
        }
        barra.reset();
        if (barraNascostaPrima) ShowWindow(barraNascostaPrima, SW_HIDE);
        chiave.reset();
    }

    bool Costruisci(const OpzioniCartellaGioco& o) {
        std::string errore;
        const bool ok = CostruisciCartellaGioco(trle.Percorso(), CartellaProgrammi(), o, errore);
        EXPECT_TRUE(ok) << errore;
        return ok;
    }

    // Runs Ludovane.exe to its end, answering every box with OK, or with
    // the buttons of <risposte> in their order; its exit code, -1 when it
    // did not end.
    int Run(const std::string& argomenti = "/v", DWORD ms = 90000, const std::string& risposte = "OK") {
        ProcessoProva p;
        if (!AvviaProva(p, Exe(), argomenti, trle.Percorso())) return -2;
        Osservatore osservatore(trle.Percorso(), risposte, 20, p.pid, ms);
        const int codice = p.Attendi(ms);
        osservatore.Interrompi();
        boxes = osservatore.Boxes(0);
        return codice;
    }

    std::string LogGioco() const { return LeggiFileProva(trle / "gamesim_log.txt"); }
    bool GiocoHaScritto(const std::string& riga) const {
        return LogGioco().find("\n" + riga + "\n") != std::string::npos;
    }
    DWORD PidGioco() const {
        const std::string log = LogGioco();
        const size_t i = log.find("\nprocess ");
        return i == std::string::npos ? 0 : std::strtoul(log.c_str() + i + 9, nullptr, 10);
    }
    bool HaRigaCheInizia(const std::string& inizio) const {
        for (const std::string& r : Righe())
            if (r.rfind(inizio, 0) == 0) return true;
        return false;
    }
    bool HaBoxCheInizia(const std::string& inizio) const {
        for (const BoxRegistrato& b : boxes)
            if (b.testo.rfind(inizio, 0) == 0) return true;
        return false;
    }

    // Neither the game nor the logger nor their shared memories are left.
    bool NessunProcessoRimasto() const {
        const DWORD pid = PidGioco();
        HANDLE gioco = pid ? OpenProcess(SYNCHRONIZE, FALSE, pid) : nullptr;
        const bool giocoFinito = !gioco || WaitForSingleObject(gioco, 30000) == WAIT_OBJECT_0;
        if (gioco) CloseHandle(gioco);
        const DWORD inizio = GetTickCount();
        for (;;) {
            HANDLE swap = OpenFileMappingA(FILE_MAP_READ, FALSE, "SWAPMEDIADAT");
            if (swap) CloseHandle(swap);
            const bool loggerFinito = !swap && !FindWindowA("DBLogWindowClass", "DBLog Server");
            if (loggerFinito || GetTickCount() - inizio > 30000) return giocoFinito && loggerFinito;
            Sleep(50);
        }
    }

    // The registry, the desktop and the crash-recovery file as before the run.
    void VerificaRipristino(const std::string& caso) {
        EXPECT_EQ(FotografiaRegistro(ChiaveGiocoRegistro), registroPrima) << caso;
        EXPECT_FALSE(EsisteFileProva(trle / "store\\Old_Settings.trg")) << caso;
        EXPECT_EQ(LeggiScrivania(), scrivaniaPrima) << caso;
        EXPECT_TRUE(NessunProcessoRimasto()) << caso;
    }

    std::unique_ptr<ChiaveGiocoSalvata> chiave;
    std::unique_ptr<TaskBarFinta> barra;
    std::map<std::string, ValoreGrezzo> registroPrima;
    HWND barraNascostaPrima = nullptr;
    Scrivania scrivaniaPrima;
    std::vector<BoxRegistrato> boxes;
};
