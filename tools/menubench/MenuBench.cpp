// Times a text menu as the player sees it, from the screen's pixels: from a
// key pressed to the prompt redrawn with its letter (target under 50 ms),
// over a row of keys. The menu is performed in this process as the
// dispatcher does in a run, outside a configured game; a player thread
// presses the keys and reads the screen meanwhile, and ends the menu with
// Escape.
//
// Usage: MenuBench [keys]   (default 20)
// Exit code 0 when every key was seen on screen within the target.
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "core/ImageFormats.h"
#include "core/MediaLog.h"
#include "core/MediaTrigger.h"
#include "core/ModuleInit.h"
#include "core/SharedState.h"
#include "gamerun/MediaDispatcher.h"

namespace {

constexpr int32_t Larghezza = 1024, Altezza = 768;
constexpr COLORREF ColoreTesto = RGB(255, 255, 255);
constexpr COLORREF ColoreSfondo = RGB(40, 90, 160);

long long Microsecondi() {
    LARGE_INTEGER f, t;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&t);
    return t.QuadPart / f.QuadPart * 1000000LL + t.QuadPart % f.QuadPart * 1000000LL / f.QuadPart;
}

// Counts the pixels of a colour in a screen rectangle.
class Lettore {
public:
    explicit Lettore(const RECT& r) : r_(r) {
        schermo_ = GetDC(nullptr);
        memoria_ = CreateCompatibleDC(schermo_);
        BITMAPINFO bi{};
        bi.bmiHeader.biSize = sizeof bi.bmiHeader;
        bi.bmiHeader.biWidth = r.right - r.left;
        bi.bmiHeader.biHeight = -(r.bottom - r.top);
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        bitmap_ = CreateDIBSection(memoria_, &bi, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_), nullptr, 0);
        vecchia_ = SelectObject(memoria_, bitmap_);
    }
    ~Lettore() {
        SelectObject(memoria_, vecchia_);
        DeleteObject(bitmap_);
        DeleteDC(memoria_);
        ReleaseDC(nullptr, schermo_);
    }
    long Conta(COLORREF colore) {
        BitBlt(memoria_, 0, 0, r_.right - r_.left, r_.bottom - r_.top, schermo_, r_.left, r_.top, SRCCOPY);
        GdiFlush();
        const uint32_t cercato = GetRValue(colore) << 16 | GetGValue(colore) << 8 | GetBValue(colore);
        long n = 0;
        const size_t tutti = static_cast<size_t>(r_.right - r_.left) * (r_.bottom - r_.top);
        for (size_t i = 0; i < tutti; ++i)
            if ((bits_[i] & 0xFFFFFF) == cercato) ++n;
        return n;
    }

private:
    RECT r_;
    HDC schermo_, memoria_;
    HBITMAP bitmap_;
    HGDIOBJ vecchia_;
    uint32_t* bits_ = nullptr;
};

std::string ImmagineTinta(COLORREF colore) {
    std::string pixel;
    pixel.reserve(static_cast<size_t>(Larghezza) * Altezza * 3);
    for (int32_t i = 0; i < Larghezza * Altezza; ++i) {
        pixel += static_cast<char>(GetBValue(colore));
        pixel += static_cast<char>(GetGValue(colore));
        pixel += static_cast<char>(GetRValue(colore));
    }
    return ComponiBmp24(Larghezza, Altezza, pixel);
}

bool Scrivi(const std::string& percorso, const std::string& dati) {
    HANDLE h = CreateFileA(percorso.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    DWORD scritti = 0;
    const bool ok = WriteFile(h, dati.data(), static_cast<DWORD>(dati.size()), &scritti, nullptr) &&
                    scritti == dati.size();
    CloseHandle(h);
    return ok;
}

void Premi(WORD vk, wchar_t carattere) {
    INPUT in[2]{};
    for (INPUT& i : in) {
        i.type = INPUT_KEYBOARD;
        i.ki.wVk = vk;
        i.ki.wScan = vk ? static_cast<WORD>(MapVirtualKeyA(vk, 0)) : carattere;
        i.ki.dwFlags = vk ? 0 : KEYEVENTF_UNICODE;
    }
    in[1].ki.dwFlags |= KEYEVENTF_KEYUP;
    SendInput(2, in, sizeof(INPUT));
}

}  // namespace

int main(int argc, char** argv) {
    const int tasti = argc > 1 ? std::clamp(std::atoi(argv[1]), 1, 30) : 20;
    NomiFont = {"Courier New", "Arial"};
    LogAbilitato = false;
    FuoriGioco = true;
    SchermoX = GetSystemMetrics(SM_CXSCREEN);
    SchermoY = GetSystemMetrics(SM_CYSCREEN);
    if (SchermoX != Larghezza || SchermoY != Altezza)
        std::printf("note: the screen is %dx%d, not %dx%d\n", SchermoX, SchermoY, Larghezza, Altezza);

    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string immagine = std::string(temp) + "menubench.bmp";
    if (!Scrivi(immagine, ImmagineTinta(ColoreSfondo))) {
        std::printf("cannot write %s\n", immagine.c_str());
        return 1;
    }
    MediaCorrente = MediaTrigger{};
    MediaCorrente.TypeFlags = static_cast<int32_t>(BitTextMenu) | FixedText | BackgroundImage;
    MediaCorrente.MediaFile = immagine;
    MediaCorrente.Options = EscapeBreaks;
    MediaCorrente.TriggerCd = TriggerCdNessuno;
    MediaCorrente.Text = "<TEXT>Password: #PROMPT#<END_TEXT>";
    MediaCorrente.Syntax =
        "<TEXT_MENU>#ATTEMPTS#=0\r\n#FLAGS#=64\r\n#FAILURE_MEDIA#=-1\r\n#MAX_CHARS#=40\r\n#TOT_MENU#=1\r\n"
        "<MENU1>#VALUE#=never\r\n#MEDIA_CODE#=1\r\n<END_MENU1><END_TEXT_MENU>";
    MediaCorrente.Formato.Color = static_cast<int32_t>(ColoreTesto);
    MediaCorrente.Formato.CharRow = 39;
    MediaCorrente.Formato.BoundRect = {50, 600, 950, 950};

    std::vector<double> tempi;
    std::atomic<bool> finito{false};
    std::thread giocatore([&] {
        Lettore testo(RECT{40, 450, 1000, 740});
        // The text on screen: the menu waits for keys.
        const long long limite = Microsecondi() + 20000000LL;
        while (!finito && testo.Conta(ColoreTesto) == 0 && Microsecondi() < limite) Sleep(1);
        Sleep(200);
        {
            const long long t = Microsecondi();
            for (int i = 0; i < 10; ++i) testo.Conta(ColoreTesto);
            std::printf("one screen read: %.1f ms\n", (Microsecondi() - t) / 10000.0);
        }
        for (int i = 0; i < tasti && !finito; ++i) {
            const long prima = testo.Conta(ColoreTesto);
            const long long t0 = Microsecondi();
            Premi(0, L'W');
            while (!finito && Microsecondi() - t0 < 2000000LL) {
                if (testo.Conta(ColoreTesto) != prima) {
                    tempi.push_back((Microsecondi() - t0) / 1000.0);
                    break;
                }
            }
            // Keys at a player's pace, each landing at another point of the poll.
            Sleep(37 + 13 * (i % 7));
        }
        Premi(VK_ESCAPE, 0);
    });
    bool escape = false, errore = false;
    ShowMedia(escape, errore);
    finito = true;
    giocatore.join();
    DeleteFileA(immagine.c_str());

    for (size_t i = 0; i < tempi.size(); ++i) std::printf("key %zu: %.1f ms\n", i + 1, tempi[i]);
    bool ok = static_cast<int>(tempi.size()) == tasti;
    double mediana = -1, massimo = -1;
    if (!tempi.empty()) {
        std::vector<double> ordinati = tempi;
        std::sort(ordinati.begin(), ordinati.end());
        mediana = ordinati[ordinati.size() / 2];
        massimo = ordinati.back();
    }
    ok = ok && massimo < 50;
    std::printf("text menu, key to redrawn prompt: %d of %d keys seen, median %.1f ms, max %.1f ms (target < 50 ms): %s\n",
                static_cast<int>(tempi.size()), tasti, mediana, massimo, ok ? "met" : "NOT met");
    return ok ? 0 : 1;
}
