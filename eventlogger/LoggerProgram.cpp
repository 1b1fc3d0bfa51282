#include "eventlogger/LoggerProgram.h"

#include <shellapi.h>

#include <cstdio>
#include <cstring>
#include <vector>

#include "eventlogger/LoggerLog.h"
#include "eventlogger/LoggerProtocol.h"
#include "eventlogger/LoggerState.h"
#include "eventlogger/SoundEffects.h"

HANDLE MediaModuleHandle = nullptr;
HANDLE TombProcessHandle = nullptr;
bool ClosedByWmClose = false;

namespace {

constexpr UINT IdIconaGrande = 107;
constexpr UINT IdIconaPiccola = 108;
constexpr UINT IdTitolo = 103;
constexpr UINT IdClasse = 109;
constexpr UINT IdMenu = 109;
constexpr UINT ComandoApriLog = 33;
constexpr UINT ComandoEsci = 105;

char Titolo[101] = "DBLog Server";
char Classe[101] = "DBLogWindowClass";
std::string Cartella;

HANDLE hMappaMedia = nullptr;
HANDLE hMappaTomb = nullptr;
const char* VistaTomb = nullptr;
HWND FinestraLogger = nullptr;
int LarghezzaIniziale = 0, AltezzaIniziale = 0;

std::string Formato(const char* formato, unsigned long valore) {
    char riga[200];
    std::snprintf(riga, sizeof riga, formato, valore);
    return riga;
}

void PostaUscita() { PostQuitMessage(0); }

HANDLE CreaOApriMappa(const char* nome, DWORD dimensione) {
    HANDLE h = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE | SEC_COMMIT | SEC_NOCACHE, 0,
                                  dimensione, nome);
    if (!h) h = OpenFileMappingA(FILE_MAP_ALL_ACCESS, FALSE, nome);
    return h;
}

void ChiudiPerMorteModulo() {
    AppendToLogFile("\t:LOGGER: WARNING: media module had abnormal termination: restore windows settings\r\n");
    RestoreDesktop();
    FlushLogBuffer();
    DestroyWindow(FinestraLogger);
}

void EseguiComando(WPARAM comando, LPARAM argomento) {
    switch (comando) {
        case CmdSendCache:
            if (Cache.Count > 0)
                LogWrite(Formato("Received message WM_USER:0 Send %lu structures from cache",
                                 static_cast<unsigned long>(Cache.Count)));
            SendStructures();
            VerificaUscitaPendente();
            break;
        case CmdSendReceived:
            LogWrite("Received message WM_USER:1 Send 'received' code");
            SetReceivedCount(GetReceivedCount() + 1);
            break;
        case CmdSetPhase:
            LogWrite(Formato("Received message WM_USER:2 Set new phase value with 0x%2X value",
                             static_cast<unsigned long>(argomento & 0xFF)));
            StatoCorrente.Fasi = static_cast<LoggerFase>(argomento & 0xFF);
            break;
        case CmdExtendedLog:
            ExtendedLog = true;
            LogEnabled = true;
            LogWrite("Received message WM_USER:3 Enable extended log [L+G]");
            break;
        case CmdWriteLog:
            AppendToLogFile("\tLOGGER: Received message WM_USER:4 write buffer log on disk\r\n");
            FlushLogBuffer();
            break;
        case CmdMediaModuleHandle:
            if (MediaModuleHandle) CloseHandle(MediaModuleHandle);
            MediaModuleHandle = reinterpret_cast<HANDLE>(argomento);
            LogWrite(Formato("Received process handle of media module=0x%X", static_cast<unsigned long>(argomento)));
            break;
        case CmdTombProcessHandle:
            if (TombProcessHandle) CloseHandle(TombProcessHandle);
            TombProcessHandle = reinterpret_cast<HANDLE>(argomento);
            LogWrite("Received process handle of tomb raider");
            break;
        case CmdClearMapping:
            LogWrite("Received message WM_USER:7 Clear media mapping file and write cached structures");
            SetStructureCount(0);
            SendStructures();
            VerificaUscitaPendente();
            break;
        case CmdCloseLogger:
            LogWrite("Received message to close Scrivane");
            DestroyWindow(FinestraLogger);
            break;
        case CmdPlayEffect:
            ComandoEffetto(static_cast<int32_t>(argomento));
            break;
        case CmdStopSounds:
            ComandoFermaSuoni();
            break;
        case CmdPlaySpecialSound: {
            std::string percorso;
            if (VistaMedia) {
                const char* p = VistaMedia->SpecialSoundPath;
                size_t n = 0;
                while (n < DimensioneSpecialSound && p[n] != 0) ++n;
                percorso.assign(p, n);
            }
            ComandoSuonoSpeciale(percorso, argomento != 0);
            break;
        }
        default:
            break;
    }
}

}  // namespace

void SetStructureCount(uint32_t valore) {
    if (VistaMedia) static_cast<volatile uint32_t&>(VistaMedia->StructureCount) = valore;
}
uint32_t GetStructureCount() { return VistaMedia ? static_cast<volatile uint32_t&>(VistaMedia->StructureCount) : 0; }
void SetReceivedCount(uint32_t valore) {
    if (VistaMedia) static_cast<volatile uint32_t&>(VistaMedia->ReceivedCount) = valore;
}
uint32_t GetReceivedCount() { return VistaMedia ? static_cast<volatile uint32_t&>(VistaMedia->ReceivedCount) : 0; }

bool IsProcessAlive(HANDLE processo) {
    if (!processo) return true;
    return WaitForSingleObject(processo, 0) != WAIT_OBJECT_0;
}

bool InitLogger() {
    LarghezzaIniziale = GetSystemMetrics(SM_CXSCREEN);
    AltezzaIniziale = GetSystemMetrics(SM_CYSCREEN);
    ClosedByWmClose = false;
    char cartella[255] = {};
    const DWORD n = GetCurrentDirectoryA(sizeof cartella, cartella);
    Cartella = (n > 0 && n < sizeof cartella) ? std::string(cartella, n) : std::string(".");
    if (Cartella.size() > 3 && Cartella.back() == '\\') Cartella.pop_back();
    const bool esteso = ExtendedLog;
    InitLoggerLog(Cartella);
    ExtendedLog = esteso;
    if (ExtendedLog) LogWrite("Found command line option: -L. Enable extended log");
    QuitPending = false;
    LastOffset = 0;
    WindowedModePending = false;

    hMappaMedia = CreaOApriMappa(NomeMappaSwap, DimensioneSwapMedia);
    if (!hMappaMedia) {
        LogWrite("ERROR: cann't create or open media mapping file");
        return false;
    }
    VistaMedia = static_cast<SwapMediaView*>(MapViewOfFile(hMappaMedia, FILE_MAP_WRITE, 0, 0, DimensioneSwapMedia));
    if (!VistaMedia) {
        LogWrite("ERROR: cann't open a view on media mapping file");
        return false;
    }
    LogWrite(Formato("Get view of map file for media: 0x%X", reinterpret_cast<uintptr_t>(VistaMedia)));
    SetStructureCount(0);
    SetReceivedCount(0);

    hMappaTomb = CreaOApriMappa(NomeMappaTomb, DimensioneMappaTomb);
    if (!hMappaTomb) {
        LogWrite("ERROR: cann't create or open tomb raider mapping file");
        return false;
    }
    VistaTomb = static_cast<const char*>(MapViewOfFile(hMappaTomb, FILE_MAP_READ, 0, 0, DimensioneMappaTomb));
    if (!VistaTomb) {
        LogWrite("ERROR: cann't open view of tomb raider mapping file");
        return false;
    }
    if (!LeggiFileLivelli(Cartella)) return false;
    InitLoggerState();
    RichiediUscita = PostaUscita;
    return true;
}

bool RegisterLoggerClass(HINSTANCE istanza) {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = LoggerWndProc;
    wc.hInstance = istanza;
    wc.hIcon = LoadIconA(istanza, MAKEINTRESOURCEA(IdIconaGrande));
    wc.hIconSm = LoadIconA(istanza, MAKEINTRESOURCEA(IdIconaPiccola));
    wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszMenuName = MAKEINTRESOURCEA(IdMenu);
    wc.lpszClassName = Classe;
    return RegisterClassExA(&wc) != 0;
}

HWND CreateLoggerWindow(HINSTANCE istanza) {
    FinestraLogger = CreateWindowExA(0, Classe, Titolo, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
                                     CW_USEDEFAULT, CW_USEDEFAULT, 500, 150, nullptr, nullptr, istanza, nullptr);
    return FinestraLogger;
}

LRESULT CALLBACK LoggerWndProc(HWND finestra, UINT messaggio, WPARAM wp, LPARAM lp) {
    switch (messaggio) {
        case WM_NULL:
            if (MediaModuleHandle && !IsProcessAlive(MediaModuleHandle)) {
                ChiudiPerMorteModulo();
                return 0;
            }
            LeggiMessaggiTomb(VistaTomb, VistaTomb ? DimensioneMappaTomb : 0, static_cast<uint32_t>(lp));
            return 0;
        case WM_CLOSE:
            LogWrite("Received message WM_CLOSE: destroywindow");
            ClosedByWmClose = true;
            DestroyWindow(finestra);
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        case WM_PAINT:
            ValidateRect(finestra, nullptr);
            return 0;
        case WM_COMMAND:
            if (LOWORD(wp) == ComandoApriLog) {
                ShellExecuteA(finestra, "open", LogPath.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
                return 0;
            }
            if (LOWORD(wp) == ComandoEsci) {
                DestroyWindow(finestra);
                return 0;
            }
            break;
        case WM_USER:
            EseguiComando(wp, lp);
            return 0;
        default:
            break;
    }
    return DefWindowProcA(finestra, messaggio, wp, lp);
}

void RestoreDesktop() {
    if (MediaModuleHandle) CloseHandle(MediaModuleHandle);
    MediaModuleHandle = nullptr;
    LogWrite("WARNING: reset all");
    if (TombProcessHandle) {
        LogWrite("Terminate tomb raider process");
        TerminateProcess(TombProcessHandle, 0);
        CloseHandle(TombProcessHandle);
        TombProcessHandle = nullptr;
    }
    if (GetSystemMetrics(SM_CXSCREEN) != LarghezzaIniziale || GetSystemMetrics(SM_CYSCREEN) != AltezzaIniziale) {
        LogWrite("Restore windows resolution");
        ChangeDisplaySettingsA(nullptr, 0);
    }
    if (HWND barra = FindWindowA("Shell_traywnd", ""); barra) {
        LogWrite("Restore task bar");
        ShowWindow(barra, SW_SHOW);
    }
}

void QuitLogger(bool errore) {
    StatoCorrente.TickEvento = GetTickCount();
    StatoCorrente.CdTrack = NessunValore;
    StatoCorrente.Livello = NessunValore;
    StatoCorrente.Fasi = LoggerFase::ABORT_LOG;
    StatoCorrente.Codice = errore ? ErrorEvent : (ClosedByWmClose ? ReceivedWMClose : EventoNullo);
    LogWrite(errore ? "Error in logger: send ABORT_LOG structure to media module"
                    : "Logger quits: send ABORT_LOG structure to media module");
    RichiediUscita = nullptr;
    PushStructure();

    if (VistaMedia && !UnmapViewOfFile(VistaMedia))
        AppendToLogFile("ERROR  calling UnmapViewOfFile for media mapping file\r\n");
    VistaMedia = nullptr;
    if (hMappaMedia && !CloseHandle(hMappaMedia))
        AppendToLogFile("ERROR calling CloseHandle() to close map file for media\r\n");
    hMappaMedia = nullptr;
    if (VistaTomb) {
        unsigned long rilasciate = 0;
        while (UnmapViewOfFile(VistaTomb)) ++rilasciate;
        VistaTomb = nullptr;
        LogWrite(Formato("Released %lu views of tomb map file", rilasciate));
    }
    if (hMappaTomb && !CloseHandle(hMappaTomb))
        AppendToLogFile("ERROR calling CloseHandle() to close map file for tomb\r\n");
    hMappaTomb = nullptr;
    NomiLivelli.clear();
    CachePronta = false;
    FlushLogBuffer();
    FreeLoggerLog();
    FreeAllSounds();
}

int LoggerWinMain(HINSTANCE istanza, const char* rigaComando) {
    LoadStringA(istanza, IdTitolo, Titolo, sizeof Titolo);
    LoadStringA(istanza, IdClasse, Classe, sizeof Classe);
    RegisterLoggerClass(istanza);
    ExtendedLog = rigaComando && std::strstr(rigaComando, "-L") != nullptr;
    if (!InitLogger()) {
        QuitLogger(true);
        return 0;
    }
    if (!CreateLoggerWindow(istanza)) return 0;
    LoadSoundEffects(FinestraLogger, Cartella);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    QuitLogger(false);
    return static_cast<int>(msg.wParam);
}
