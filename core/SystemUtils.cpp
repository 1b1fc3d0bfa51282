#include "core/SystemUtils.h"

#include <windows.h>
#include <commdlg.h>
#include <shellapi.h>
#include <shlobj.h>

#include "core/FileUtils.h"
#include "core/PassaggioCondiviso.h"
#include "core/TextUtils.h"
#include "platform/Clock.h"

const char* const TitoloProgramma = "Vorn Media Module";

std::vector<FinestraThread> FinestreThread;
int32_t NumFinestreThread = 0;
bool (*TastiAzioneGioco)(int16_t& tasto, int16_t& predefinito) = nullptr;
int16_t (*ControlloGiocoPremuto)(int16_t tasto, int16_t predefinito) = nullptr;

namespace {

// The one way every starter calls the system.
bool CreaProcesso(const std::string& programma, const std::string& argomenti, bool nascosto, DWORD flag,
                  bool ambienteVuoto, PROCESS_INFORMATION& pi) {
    const std::string corto = PercorsoCorto(programma);
    // Quoted: where the system keeps no short name the path may hold blanks,
    // which would split it into the program's first arguments.
    std::string riga = "\"" + corto + "\" " + argomenti;
    const std::string cartella = CartellaDaPercorso(programma);
    STARTUPINFOA si{};
    si.cb = sizeof si;
    if (nascosto) {
        si.dwFlags = STARTF_USESHOWWINDOW;
        si.wShowWindow = SW_HIDE;
    }
    // An ANSI environment block with no variable: two zero characters.
    static char ambiente[2] = {0, 0};
    pi = PROCESS_INFORMATION{};
    return CreateProcessA(corto.c_str(), riga.data(), nullptr, nullptr, TRUE, flag,
                          ambienteVuoto ? ambiente : nullptr, cartella.empty() ? nullptr : cartella.c_str(), &si,
                          &pi) != 0;
}

void Attendi(int32_t conteggio, int32_t unita, bool dormi) {
    if (conteggio <= 0) return;
    const uint32_t durata = static_cast<uint32_t>(conteggio) * static_cast<uint32_t>(unita);
    // A manual clock only moves when told, so a busy wait there is a jump.
    if (dormi || ClockIsManual()) {
        ClockSleep(durata);
        return;
    }
    const uint32_t inizio = ClockTick();
    while (ClockTick() - inizio < durata) {
    }
}

BOOL CALLBACK EnumFinestreThreadProc(HWND hWnd, LPARAM valore) {
    const std::string titolo = TitoloFinestra(hWnd);
    if (!titolo.empty() || valore > 0) {
        if (FinestreThread.size() < static_cast<size_t>(NumFinestreThread) + 1)
            FinestreThread.resize(static_cast<size_t>(NumFinestreThread) + 1);
        FinestreThread[NumFinestreThread].hWnd = hWnd;
        FinestreThread[NumFinestreThread].Titolo = titolo;
        ++NumFinestreThread;
    }
    return TRUE;
}

}  // namespace

bool EseguiEAttendi(const std::string& programma, const std::string& argomenti, bool nascosto) {
    PROCESS_INFORMATION pi;
    if (!CreaProcesso(programma, argomenti, nascosto, 0, true, pi)) return false;
    ClockAttendiOggetto(pi.hProcess, INFINITE);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return true;
}

int32_t AvviaProcesso(const std::string& programma, const std::string& argomenti, void*& handleProcesso,
                      bool nascosto) {
    handleProcesso = reinterpret_cast<void*>(static_cast<intptr_t>(-1));
    PROCESS_INFORMATION pi;
    if (!CreaProcesso(programma, argomenti, nascosto, 0, false, pi)) return -1;
    CloseHandle(pi.hThread);
    handleProcesso = pi.hProcess;
    return static_cast<int32_t>(pi.dwThreadId);
}

void* AvviaProcessoInfo(const std::string& programma, const std::string& argomenti, bool nascosto,
                        InfoProcesso& info, bool sospeso) {
    PROCESS_INFORMATION pi;
    if (!CreaProcesso(programma, argomenti, nascosto, sospeso ? CREATE_SUSPENDED : 0, true, pi)) return nullptr;
    info.hProcess = pi.hProcess;
    info.hThread = pi.hThread;
    info.dwProcessId = pi.dwProcessId;
    info.dwThreadId = pi.dwThreadId;
    return pi.hProcess;
}

bool ApriDocumento(const std::string& file, const std::string& parametri, bool nascosto, const std::string& cartella) {
    const std::string dove = cartella.empty() ? CartellaDaPercorso(file) : cartella;
    const HINSTANCE r = ShellExecuteA(GetDesktopWindow(), "open", file.c_str(),
                                      parametri.empty() ? nullptr : parametri.c_str(),
                                      dove.empty() ? nullptr : dove.c_str(), nascosto ? SW_HIDE : SW_SHOW);
    return reinterpret_cast<intptr_t>(r) > 32;
}

void AttendiSecondi(int32_t conteggio, bool dormi) { Attendi(conteggio, 1000, dormi); }
void AttendiMs(int32_t conteggio, bool dormi) { Attendi(conteggio, 1, dormi); }
void AttendiDecimi(int32_t conteggio, bool dormi) { Attendi(conteggio, 100, dormi); }

void ElencaFinestreThread(uint32_t idThread) {
    NumFinestreThread = 0;
    EnumThreadWindows(idThread, EnumFinestreThreadProc, 0);
}

std::string TitoloFinestra(void* hWnd) {
    char buffer[256];
    const int n = GetWindowTextA(static_cast<HWND>(hWnd), buffer, 255);
    if (n <= 0) return std::string();
    return std::string(buffer, static_cast<size_t>(n < 255 ? n : 255));
}

namespace {
// The keys read in a pass of the tick, by virtual key: every working media
// of the pass and every look at the game ask for the same few.
struct TastoLetto {
    TimbroCondiviso timbro;
    bool giu = false;
};
TastoLetto TastiLetti[256];

bool StatoTasto(int32_t vk) {
    if (!CondivisioneAttiva()) return (GetAsyncKeyState(vk) & 0x8000) != 0;
    TastoLetto& letto = TastiLetti[vk];
    if (!CondivisoValido(letto.timbro)) {
        letto.giu = (GetAsyncKeyState(vk) & 0x8000) != 0;
        letto.timbro = TimbraCondiviso();
    }
    return letto.giu;
}
}  // namespace

bool TastiPremuti(int32_t k1, int32_t k2, int32_t k3, int32_t k4) {
    const int32_t tasti[4] = {k1, k2, k3, k4};
    for (int i = 0; i < 4; ++i) {
        if (i > 0 && tasti[i] == 0) break;
        if (tasti[i] <= 0 || tasti[i] > 255) return false;
        if (!StatoTasto(tasti[i])) return false;
    }
    return true;
}

int16_t TastoAzioneAttivo() {
    int16_t tasto = 0, predefinito = 0;
    if (TastiAzioneGioco && ControlloGiocoPremuto && TastiAzioneGioco(tasto, predefinito)) {
        const int16_t r = ControlloGiocoPremuto(tasto, predefinito);
        if (r != 0) return r;
    }
    return TastiPremuti(VK_RETURN) ? -1 : 0;
}

int32_t PiattaformaDaVersione(uint32_t piattaforma, uint32_t maggiore, uint32_t minore) {
    if (piattaforma == VER_PLATFORM_WIN32_WINDOWS) return minore < 10 ? 1 : 4;
    if (piattaforma == VER_PLATFORM_WIN32_NT) return maggiore == 5 ? 5 : 6;
    return 0;
}

int32_t PiattaformaWindows() {
    OSVERSIONINFOA v{};
    v.dwOSVersionInfoSize = sizeof v;
    if (!GetVersionExA(&v)) return 0;
    return PiattaformaDaVersione(v.dwPlatformId, v.dwMajorVersion, v.dwMinorVersion);
}

bool IsWindowsNT() { return PiattaformaWindows() >= 5; }

int32_t NomeVersioneWindows(uint32_t piattaforma, uint32_t maggiore, uint32_t minore, std::string& nome) {
    if (piattaforma == 1) {
        if (minore == 0) return nome = "Windows 95", 1;
        if (minore == 10) return nome = "Windows 98", 2;
        if (minore == 90) return nome = "Windows ME", 3;
    } else if (piattaforma == 2) {
        if (maggiore == 3 || maggiore == 4) return nome = "Windows NT", 6;
        if (maggiore == 5 && minore == 0) return nome = "Windows 2000", 5;
        if (maggiore == 5 && minore == 1) return nome = "Windows Xp", 4;
        // Every later NT version (2003, Vista and on) is of the NT family.
        if (maggiore >= 5) return nome = "Windows NT", 7;
    } else if (piattaforma >= 3 && piattaforma <= 9) {
        return nome = "Windows NT", 7;
    }
    nome = "ERROR finding windows version";
    return 0;
}

int32_t VersioneWindows(std::string& nome) {
    OSVERSIONINFOA v{};
    v.dwOSVersionInfoSize = sizeof v;
    if (!GetVersionExA(&v)) {
        nome = "ERROR finding windows version";
        return 0;
    }
    return NomeVersioneWindows(v.dwPlatformId, v.dwMajorVersion, v.dwMinorVersion, nome);
}

int32_t LinguaSistema() {
    char buffer[16] = {};
    const int n = GetLocaleInfoA(0, LOCALE_ILANGUAGE, buffer, sizeof buffer - 1);
    if (n <= 0) return 0;
    std::string cifre(buffer, strnlen(buffer, sizeof buffer));
    if (cifre.size() > 4) cifre.resize(4);
    if (cifre.empty() || !IsEsadecimale(cifre) || cifre[0] == '-') return 0;
    return static_cast<int32_t>(std::stoul(cifre, nullptr, 16) & 0xFF);
}

std::string CartellaTemp() {
    char buffer[257];
    const DWORD n = GetTempPathA(256, buffer);
    if (n == 0 || n > 256) return std::string();
    return std::string(buffer, n);
}

std::string CartellaSpeciale(int32_t numero) {
    if (numero == -1) {
        std::string t = CartellaTemp();
        if (!t.empty() && t.back() == '\\') t.pop_back();
        return t;
    }
    char buffer[MAX_PATH + 1] = {};
    // The current user's folders: no token, no owner window.
    if (SHGetFolderPathA(nullptr, numero, nullptr, 0, buffer) != S_OK) return std::string();
    return PulisciStringa(std::string(buffer, strnlen(buffer, MAX_PATH)));
}

bool LeggiJoystick(PosizioneJoystick& lettura, uint32_t porta) { return InterrogaJoystick(porta, lettura); }

void NascondiCursore() { ShowCursor(FALSE); }
void MostraCursore() { ShowCursor(TRUE); }

void* CreaDCMemoria(void* hWnd, void* hdc, void*& oggettoPrecedente) {
    RECT r{};
    GetClientRect(static_cast<HWND>(hWnd), &r);
    HDC memoria = CreateCompatibleDC(static_cast<HDC>(hdc));
    HBITMAP bitmap = CreateCompatibleBitmap(static_cast<HDC>(hdc), r.right - r.left, r.bottom - r.top);
    oggettoPrecedente = SelectObject(memoria, bitmap);
    return memoria;
}

void DistruggiDCMemoria(void* dcMemoria, void* oggettoPrecedente) {
    HGDIOBJ bitmap = SelectObject(static_cast<HDC>(dcMemoria), static_cast<HGDIOBJ>(oggettoPrecedente));
    if (bitmap) DeleteObject(bitmap);
    DeleteDC(static_cast<HDC>(dcMemoria));
}

std::string DialogoFile(const std::string& titolo, const std::string& filtro, const std::string& cartellaIniziale,
                        bool salva) {
    std::string filtroDoppio = filtro;
    for (char& c : filtroDoppio)
        if (c == '|') c = '\0';
    filtroDoppio.append(2, '\0');
    char file[MAX_PATH + 1] = {};
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.lpstrFilter = filtroDoppio.c_str();
    ofn.lpstrFile = file;
    ofn.nMaxFile = MAX_PATH;
    ofn.lpstrInitialDir = cartellaIniziale.empty() ? nullptr : cartellaIniziale.c_str();
    ofn.lpstrTitle = titolo.c_str();
    ofn.Flags = OFN_HIDEREADONLY;
    const BOOL ok = salva ? GetSaveFileNameA(&ofn) : GetOpenFileNameA(&ofn);
    if (!ok) return std::string();
    return std::string(file, strnlen(file, MAX_PATH));
}

int32_t Messaggio(const std::string& testo, uint32_t stile, std::string titolo) {
    if (titolo.empty()) titolo = TitoloProgramma;
    return MessageBoxA(nullptr, testo.c_str(), titolo.c_str(), stile | MB_SETFOREGROUND);
}

char SeparatoreDecimale() {
    char buffer[8] = {};
    if (GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, buffer, sizeof buffer) > 0 && buffer[0] != '\0')
        return buffer[0];
    return '.';
}

bool Extra_InitGameConfig(bool) { return true; }
void ProceduraVuota() {}
