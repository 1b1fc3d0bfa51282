// The game stand-in. Tests copy it into a trle folder as tomb4.exe beside
// a script, gamesim.txt; it acts the game line by line and writes what it
// did and what it received to gamesim_log.txt in the same folder.
//
// Script lines (blank lines and lines starting with # are skipped):
//   title <text>        the window's title
//   log <text>          a debug-log record, then WM_NULL to the logger
//   write <text>        a record without WM_NULL
//   signal [offset]     WM_NULL with the end offset, or the given one
//   burst <n> <a>[|<b>] <n> records as fast as possible, one WM_NULL each,
//                       alternating between the texts <a> and <b>
//   raw <n> <title>     <n> SendMessage WM_NULL to the window <title>
//   open <file>         hold a file open (a level while it loads)
//   close <file>        let it go
//   play <n>            hold audio\<nnn>.wav open; the previous track stops
//   stop                let the track go
//   wait <ms>           pause, answering messages
//   waitlogger <ms>     pause until the logger's window exists
//   waitsave <ms>       pause until the game has saved, up to ms; logs
//                       "saved" or "no save"
//   waitevent <name> <ms> pause, answering messages, until the named
//                       auto-reset event is set (by a test that saw what
//                       the game must wait for) or ms have passed; logs
//                       "event <name>" or "event-missing <name>"
//   altenter            the player's Alt+Enter: toggles windowed/full screen
//   boot [w h]          the boot screen in the mode the registry asks for,
//                       at w x h (default 640 x 480), then TIME_Init
//   load <file> [ms]    a level load: data\<file> held open from
//                       S_LoadLevelFile to CreateD3DLights, ms apart (100)
//   cd <n>              CD track n: audio\<nnn>.wav held open, a clock
//                       line "cd <n> clock", its record
//   inventory open      the inventory: a mid-grey band over the top rows of
//                       the client area, then the record "DXCreateSurface"
//   inventory close     the band goes, then "Released Mono Screen"
//   fill <r> <g> <b>    the colour of the client area (black at the start)
//   press <keys> <ms>   holds keys as the keyboard does, for ms, then lets
//                       them go in reverse order; <keys> is a '+'-joined
//                       list of shift ctrl alt enter escape space f1..f12
//                       a..z 0..9 vk<N>; logs "press <keys>", a clock
//                       line "press clock" once they are down, and
//                       "release <keys>"
//   screenshot [w h]    PRINT: a copy of the screen on the clipboard; with a
//                       size, ALT+PRINT: w x h of the client area
//   topmost on|off      sets or clears the window's top-most bit
//   hide                hides the window
//   destroy             destroys the window; the script goes on
//   quit                the "WinClose" record: the game's own end
//   crash [code]        dies at once, no "WinClose", files left to the system
//   hang [ms]           answers no message for ms, or for ever
//   levels <f0> <f1> .. the level files of the level numbers, for saves and
//                       loads
//   level <n>           the level being played, stored in the saves
//   savekeys on|off     whether the save and load keys are obeyed (on)
//   keyclock on|off     whether each key-down is preceded by a clock line
//                       "key clock" (off), for benches of key latency
//   peek <offset> <n>   logs "peek <offset> <hex>": n bytes of its own
//                       executable file at offset
//   stay                do not end after the "WinClose" record
//   exit [code]         end now
// Without "stay" the game ends after its "WinClose" record; it also ends at
// the end of the script. WM_CLOSE to its window writes "WinClose" and ends
// it. Alt+Enter keys it receives toggle the mode as "altenter" does: the
// game starts in the mode of the registry's System\Window value (full
// screen when there is none), and each toggle writes the records of a mode
// change (KA_ALTENTER, the new mode, CreateD3DLights). The boot and each
// toggle make the window top-most in full screen and clear the bit in a
// window: the program watches that bit as the game's mode.
// Keys are logged as "key down|up vk <vk> scan <scan>", with " extended"
// for an extended key. The save and load screens follow the game's keys: F5
// or F6 opens the screen (the inventory's record "DXCreateSurface"), Down
// picks a new slot, the second Enter saves or loads. A save writes a
// 15954-byte savegame with a valid checksum (number at 75 one above the
// highest found, level at 487, CD at 714) into the newest slot, or the first
// free one after Down, logs "savegame savegame.<n> number <x> level <l>",
// then "Released Mono Screen" and "Already In Scene". A load takes the
// savegame with the highest number, logs "loadgame savegame.<n> level <l>"
// and loads that level's file as "load" does (1500 ms).
// The client area is painted from the state that fill and inventory leave,
// on every WM_PAINT, so that a screen read by another process finds it.
// What others do to the window is logged too: "window shown clock" and
// "window hidden clock" when its visibility changes, "activated" and
// "deactivated".
// The log's first and last lines give the performance counter, which is
// the same clock in every process, so that a benchmark can time the start
// and the end of a run around the game.
#include <windows.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr DWORD DimensioneMappa = 1048576;
const char* const ClasseGioco = "TombSimWindow";

std::string Cartella;
FILE* Registro = nullptr;
HWND Finestra = nullptr;
HANDLE Mappa = nullptr;
char* Vista = nullptr;
DWORD Posizione = 0;
std::map<std::string, HANDLE> FileAperti;
HANDLE Traccia = nullptr;
bool Resta = false;
bool Fine = false;
int CodiceUscita = 0;
DWORD UltimaClasse = 0;
int UltimaPrioritaThread = 0;
bool Finestrato = false;
bool AltGiu = false;
COLORREF Sfondo = RGB(0, 0, 0);
bool Inventario = false;
// The save and load screens.
enum class Schermata { Nessuna, Salva, Carica };
Schermata Menu = Schermata::Nessuna;
int InvioNelMenu = 0;
bool NuovoSlot = false;
bool TastiSalvataggio = true;
int Salvataggi = 0;
bool OrologioTasti = false;
bool AzionePendente = false;
std::vector<std::string> Livelli;
int LivelloAttuale = 0;
int CdAttuale = 0;
// -1 until the first change is seen, so that the first one is logged.
int Visibile = -1;
int Attiva = -1;

// The inventory's band: the program reads the top row, a few more rows
// keep the picture sure under a frame of another window.
constexpr int RigheInventario = 40;
const COLORREF GrigioInventario = RGB(128, 128, 128);

void Scrivi(const std::string& riga) {
    if (!Registro) return;
    std::fprintf(Registro, "%s\n", riga.c_str());
    std::fflush(Registro);
}

void ControllaPriorita() {
    const DWORD classe = GetPriorityClass(GetCurrentProcess());
    const int thread = GetThreadPriority(GetCurrentThread());
    if (classe == UltimaClasse && thread == UltimaPrioritaThread) return;
    UltimaClasse = classe;
    UltimaPrioritaThread = thread;
    char riga[80];
    std::snprintf(riga, sizeof riga, "priority class 0x%lX thread %d", classe, thread);
    Scrivi(riga);
}

void Registra(const std::string& testo, bool segnala);

void ScriviOrologio(const char* quando) {
    LARGE_INTEGER f, t;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&t);
    char riga[120];
    std::snprintf(riga, sizeof riga, "%s clock %lld us", quando,
                  static_cast<long long>(t.QuadPart / f.QuadPart * 1000000LL + t.QuadPart % f.QuadPart * 1000000LL / f.QuadPart));
    Scrivi(riga);
}

void ImpostaTopMost(bool acceso) {
    if (Finestra)
        SetWindowPos(Finestra, acceso ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    Scrivi(acceso ? "topmost on" : "topmost off");
}

void CambiaModo() {
    Finestrato = !Finestrato;
    ImpostaTopMost(!Finestrato);
    Scrivi(Finestrato ? "mode windowed" : "mode full screen");
    Registra("KA_ALTENTER", true);
    if (Finestrato) {
        Registra("DXCreate: Windowed Mode", true);
        Registra("w 640 h 480", true);
    } else {
        Registra("SetDisplayMode - 640x480x16", true);
    }
    Registra("CreateD3DLights", true);
}

void NotaVisibilita(bool visibile) {
    if (Visibile == static_cast<int>(visibile)) return;
    Visibile = visibile;
    ScriviOrologio(visibile ? "window shown" : "window hidden");
}

void NotaAttivazione(bool attiva) {
    if (Attiva == static_cast<int>(attiva)) return;
    Attiva = attiva;
    Scrivi(attiva ? "activated" : "deactivated");
}

void Dipingi(HWND h, HDC dc) {
    RECT r{};
    GetClientRect(h, &r);
    HBRUSH sfondo = CreateSolidBrush(Sfondo);
    FillRect(dc, &r, sfondo);
    DeleteObject(sfondo);
    if (!Inventario) return;
    if (r.bottom > RigheInventario) r.bottom = RigheInventario;
    HBRUSH grigio = CreateSolidBrush(GrigioInventario);
    FillRect(dc, &r, grigio);
    DeleteObject(grigio);
}

void Ridipingi() {
    if (!Finestra) return;
    InvalidateRect(Finestra, nullptr, FALSE);
    UpdateWindow(Finestra);
}

constexpr size_t DimensioneSavegame = 15954;

std::string PercorsoSlot(int n) { return Cartella + "\\savegame." + std::to_string(n); }

// The number of a slot's savegame, -1 when there is none of the right size.
long long NumeroSlot(int n) {
    std::ifstream f(PercorsoSlot(n), std::ios::binary);
    std::string dati((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
    if (dati.size() != DimensioneSavegame) return -1;
    uint32_t v = 0;
    std::memcpy(&v, dati.data() + 75, 4);
    return v;
}

// The slot with the highest number, -1 when none.
int SlotPiuRecente() {
    int slot = -1;
    long long massimo = -1;
    for (int n = 0; n < 15; ++n) {
        const long long numero = NumeroSlot(n);
        if (numero > massimo) massimo = numero, slot = n;
    }
    return slot;
}

void Salva() {
    const int recente = SlotPiuRecente();
    int slot = recente < 0 ? 0 : recente;
    if (NuovoSlot && recente >= 0)
        for (int n = 0; n < 15; ++n)
            if (NumeroSlot(n) < 0) {
                slot = n;
                break;
            }
    const uint32_t numero = static_cast<uint32_t>(recente < 0 ? 1 : NumeroSlot(recente) + 1);
    std::string dati(DimensioneSavegame, '\0');
    const std::string titolo = "Sim save " + std::to_string(numero);
    dati.replace(0, titolo.size(), titolo);
    std::memcpy(&dati[75], &numero, 4);
    dati[487] = static_cast<char>(LivelloAttuale);
    dati[714] = static_cast<char>(CdAttuale);
    unsigned somma = 0;
    for (size_t i = 87; i < DimensioneSavegame; ++i)
        if (i != 488) somma += static_cast<unsigned char>(dati[i]);
    dati[488] = static_cast<char>((256 - somma % 256) % 256);
    // Whole or not at all: the program reads the slots while the game runs.
    const std::string temporaneo = Cartella + "\\savegame.tmp";
    std::ofstream(temporaneo, std::ios::binary | std::ios::trunc).write(dati.data(), static_cast<std::streamsize>(dati.size()));
    MoveFileExA(temporaneo.c_str(), PercorsoSlot(slot).c_str(), MOVEFILE_REPLACE_EXISTING);
    Scrivi("savegame savegame." + std::to_string(slot) + " number " + std::to_string(numero) + " level " +
           std::to_string(LivelloAttuale));
    ++Salvataggi;
    Registra("Released Mono Screen", true);
    Registra("Already In Scene", true);
}

void Esegui(const std::string& riga);

void Carica() {
    const int slot = SlotPiuRecente();
    std::ifstream f(slot < 0 ? std::string() : PercorsoSlot(slot), std::ios::binary);
    std::string dati((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
    const int livello = dati.size() == DimensioneSavegame ? static_cast<unsigned char>(dati[487]) : -1;
    if (livello < 0 || static_cast<size_t>(livello) >= Livelli.size()) {
        Scrivi("loadgame-failed");
        return;
    }
    Scrivi("loadgame savegame." + std::to_string(slot) + " level " + std::to_string(livello));
    LivelloAttuale = livello;
    Esegui("load " + Livelli[static_cast<size_t>(livello)] + " 1500");
}

// F5 or F6 opens a screen, Down picks a new slot, the second Enter acts,
// after the window procedure has returned.
void TastoMenu(unsigned vk, unsigned scan) {
    if (!TastiSalvataggio) return;
    if (vk == VK_F5 || vk == VK_F6) {
        if (Menu != Schermata::Nessuna) return;
        Menu = vk == VK_F5 ? Schermata::Salva : Schermata::Carica;
        InvioNelMenu = 0;
        NuovoSlot = false;
        Scrivi(Menu == Schermata::Salva ? "save screen" : "load screen");
        Registra("DXCreateSurface", true);
    } else if (Menu != Schermata::Nessuna && vk == VK_DOWN) {
        NuovoSlot = true;
    } else if (Menu != Schermata::Nessuna && (vk == VK_RETURN || scan == 28) && ++InvioNelMenu == 2) {
        AzionePendente = true;
    }
}

void AzioneMenu() {
    if (!AzionePendente) return;
    AzionePendente = false;
    const Schermata quale = Menu;
    Menu = Schermata::Nessuna;
    if (quale == Schermata::Salva) Salva();
    if (quale == Schermata::Carica) Carica();
}

LRESULT CALLBACK ProceduraGioco(HWND h, UINT m, WPARAM wp, LPARAM lp) {
    switch (m) {
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(h, &ps);
            Dipingi(h, dc);
            EndPaint(h, &ps);
            return 0;
        }
        case WM_SHOWWINDOW:
            NotaVisibilita(wp != 0);
            break;
        case WM_WINDOWPOSCHANGED: {
            const auto* pos = reinterpret_cast<const WINDOWPOS*>(lp);
            if (pos->flags & SWP_SHOWWINDOW) NotaVisibilita(true);
            if (pos->flags & SWP_HIDEWINDOW) NotaVisibilita(false);
            break;
        }
        case WM_ACTIVATEAPP:
            NotaAttivazione(wp != 0);
            break;
        case WM_ACTIVATE:
            NotaAttivazione(LOWORD(wp) != WA_INACTIVE);
            break;
        case WM_KEYDOWN:
        case WM_KEYUP:
        case WM_SYSKEYDOWN:
        case WM_SYSKEYUP: {
            const bool giu = m == WM_KEYDOWN || m == WM_SYSKEYDOWN;
            const unsigned scan = static_cast<unsigned>((lp >> 16) & 0xFF);
            char riga[80];
            std::snprintf(riga, sizeof riga, "key %s vk %u scan %u%s", giu ? "down" : "up", static_cast<unsigned>(wp),
                          scan, (lp & (1 << 24)) ? " extended" : "");
            // The moment it came, before the log's own write.
            if (giu && OrologioTasti) ScriviOrologio("key");
            Scrivi(riga);
            if (giu) TastoMenu(static_cast<unsigned>(wp), scan);
            // Scan codes as well as keys: the keys may come as scan codes only.
            if (wp == VK_MENU || scan == 56) AltGiu = giu;
            const bool conAlt = AltGiu || (lp & (1 << 29)) != 0;
            if (giu && (wp == VK_RETURN || scan == 28) && conAlt) CambiaModo();
            return 0;
        }
        case WM_CLOSE:
            Scrivi("received WM_CLOSE");
            Registra("WinClose", true);
            Fine = true;
            return 0;
        default:
            break;
    }
    return DefWindowProcA(h, m, wp, lp);
}

void Pompa() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            Fine = true;
            continue;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    ControllaPriorita();
}

void Attendi(DWORD ms) {
    const DWORD inizio = GetTickCount();
    for (;;) {
        Pompa();
        AzioneMenu();
        const DWORD passati = GetTickCount() - inizio;
        if (passati >= ms || Fine) break;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, ms - passati < 10 ? ms - passati : 10, QS_ALLINPUT);
    }
}

// The game's own settings key; the System values decide its mode.
const char* const ChiaveSistema = "Software\\Core Design\\Tomb Raider Level Editor\\System";

// A DWORD of the System key, or -1 when it is not there.
long long ValoreSistema(const char* nome) {
    HKEY h = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, ChiaveSistema, 0, KEY_READ, &h) != ERROR_SUCCESS) return -1;
    DWORD valore = 0;
    DWORD tipo = 0;
    DWORD n = sizeof valore;
    const LONG esito = RegQueryValueExA(h, nome, nullptr, &tipo, reinterpret_cast<BYTE*>(&valore), &n);
    RegCloseKey(h);
    return esito == ERROR_SUCCESS && tipo == REG_DWORD ? static_cast<long long>(valore) : -1;
}

HWND FinestraLogger() { return FindWindowA("DBLogWindowClass", "DBLog Server"); }

// Sends WM_NULL to the logger; false when there is none.
bool Segnala(DWORD offset) {
    HWND logger = FinestraLogger();
    if (!logger) return false;
    SendMessageA(logger, WM_NULL, 0, static_cast<LPARAM>(offset));
    return true;
}

void ScriviRecord(const std::string& testo) {
    const DWORD lunghezza = static_cast<DWORD>(testo.size()) + 2;
    if (!Vista || lunghezza > DimensioneMappa) return;
    if (Posizione + lunghezza > DimensioneMappa) Posizione = 0;
    Vista[Posizione] = 1;
    std::memcpy(Vista + Posizione + 1, testo.data(), testo.size());
    Vista[Posizione + 1 + testo.size()] = 0;
    Posizione += lunghezza;
}

void Registra(const std::string& testo, bool segnala) {
    ScriviRecord(testo);
    if (!segnala) {
        Scrivi("write " + std::to_string(Posizione) + " " + testo);
        return;
    }
    const bool ok = Segnala(Posizione);
    Scrivi(std::string(ok ? "log " : "log-nologger ") + std::to_string(Posizione) + " " + testo);
    if (testo.find("WinClose") != std::string::npos && !Resta) Fine = true;
}

// The virtual key of a key name of "press"; 0 for a name it does not know.
BYTE TastoDaNome(std::string nome) {
    for (char& c : nome) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    static const std::map<std::string, BYTE> nomi{{"shift", VK_SHIFT},   {"ctrl", VK_CONTROL},  {"alt", VK_MENU},
                                                  {"enter", VK_RETURN},  {"escape", VK_ESCAPE}, {"space", VK_SPACE}};
    if (auto it = nomi.find(nome); it != nomi.end()) return it->second;
    if (nome.size() == 1 && ((nome[0] >= 'a' && nome[0] <= 'z') || (nome[0] >= '0' && nome[0] <= '9')))
        return static_cast<BYTE>(std::toupper(static_cast<unsigned char>(nome[0])));
    const bool funzione = nome.size() >= 2 && nome[0] == 'f';
    const bool numero = nome.size() >= 3 && nome.compare(0, 2, "vk") == 0;
    if (!funzione && !numero) return 0;
    const std::string cifre = nome.substr(funzione ? 1 : 2);
    if (cifre.size() > 3 || cifre.find_first_not_of("0123456789") != std::string::npos) return 0;
    const int n = std::atoi(cifre.c_str());
    if (funzione) return n >= 1 && n <= 12 ? static_cast<BYTE>(VK_F1 + n - 1) : 0;
    return n >= 1 && n <= 254 ? static_cast<BYTE>(n) : 0;
}

// The keys of a '+'-joined list; empty when a name is unknown.
std::vector<BYTE> TastiDaElenco(const std::string& elenco) {
    std::vector<BYTE> tasti;
    size_t i = 0;
    for (;;) {
        const size_t piu = elenco.find('+', i);
        const BYTE vk = TastoDaNome(elenco.substr(i, piu == std::string::npos ? std::string::npos : piu - i));
        if (!vk) return {};
        tasti.push_back(vk);
        if (piu == std::string::npos) return tasti;
        i = piu + 1;
    }
}

// Through the system's input, as the keyboard does: other processes read
// the same key state.
void InviaTasto(BYTE vk, bool giu) {
    keybd_event(vk, static_cast<BYTE>(MapVirtualKeyA(vk, 0)), giu ? 0 : KEYEVENTF_KEYUP, 0);
}

// A copy of the screen, or of w x h of the client area, on the clipboard.
bool Screenshot(bool schermo, int w, int h) {
    HWND sorgente = schermo ? nullptr : Finestra;
    HDC dc = GetDC(sorgente);
    if (!dc) return false;
    HDC memoria = CreateCompatibleDC(dc);
    HBITMAP immagine = CreateCompatibleBitmap(dc, w, h);
    bool ok = memoria && immagine;
    if (ok) {
        HGDIOBJ prima = SelectObject(memoria, immagine);
        ok = BitBlt(memoria, 0, 0, w, h, dc, 0, 0, SRCCOPY) != 0;
        SelectObject(memoria, prima);
    }
    if (memoria) DeleteDC(memoria);
    ReleaseDC(sorgente, dc);
    // The clipboard may be held for a moment by the program that reads it.
    bool aperto = false;
    for (int prova = 0; ok && !aperto && prova < 50; ++prova) {
        aperto = OpenClipboard(Finestra) != 0;
        if (!aperto) Attendi(20);
    }
    ok = ok && aperto && EmptyClipboard() && SetClipboardData(CF_BITMAP, immagine);
    if (aperto) CloseClipboard();
    // Once on the clipboard the bitmap is the system's.
    if (!ok && immagine) DeleteObject(immagine);
    return ok;
}

std::string Resto(const std::string& riga, size_t da) { return da < riga.size() ? riga.substr(da) : std::string(); }

void Esegui(const std::string& riga) {
    std::istringstream in(riga);
    std::string comando;
    in >> comando;
    const size_t dopo = riga.find(' ');
    const std::string argomento = dopo == std::string::npos ? "" : Resto(riga, dopo + 1);

    if (comando == "title") {
        SetWindowTextA(Finestra, argomento.c_str());
        Scrivi("title " + argomento);
    } else if (comando == "log" || comando == "write") {
        Registra(argomento, comando == "log");
    } else if (comando == "signal") {
        DWORD offset = Posizione;
        if (!argomento.empty()) offset = std::strtoul(argomento.c_str(), nullptr, 10);
        Scrivi(std::string(Segnala(offset) ? "signal " : "signal-nologger ") + std::to_string(offset));
    } else if (comando == "burst") {
        long n = 0;
        in >> n;
        const size_t spazio = argomento.find(' ');
        const std::string testi = spazio == std::string::npos ? "" : argomento.substr(spazio + 1);
        const size_t barra = testi.find('|');
        const std::string primo = testi.substr(0, barra);
        const std::string secondo = barra == std::string::npos ? primo : testi.substr(barra + 1);
        HWND logger = FinestraLogger();
        LARGE_INTEGER f, t0, t1;
        QueryPerformanceFrequency(&f);
        QueryPerformanceCounter(&t0);
        for (long i = 0; i < n; ++i) {
            ScriviRecord(i % 2 ? secondo : primo);
            SendMessageA(logger, WM_NULL, 0, static_cast<LPARAM>(Posizione));
        }
        QueryPerformanceCounter(&t1);
        char r[120];
        std::snprintf(r, sizeof r, "burst %ld us %lld", n, (t1.QuadPart - t0.QuadPart) * 1000000LL / f.QuadPart);
        Scrivi(r);
    } else if (comando == "raw") {
        long n = 0;
        in >> n;
        const size_t spazio = argomento.find(' ');
        const std::string titolo = spazio == std::string::npos ? "" : argomento.substr(spazio + 1);
        HWND h = FindWindowA(nullptr, titolo.c_str());
        LARGE_INTEGER f, t0, t1;
        QueryPerformanceFrequency(&f);
        QueryPerformanceCounter(&t0);
        for (long i = 0; i < n; ++i) SendMessageA(h, WM_NULL, 0, i);
        QueryPerformanceCounter(&t1);
        char r[120];
        std::snprintf(r, sizeof r, "raw %ld us %lld", n, (t1.QuadPart - t0.QuadPart) * 1000000LL / f.QuadPart);
        Scrivi(r);
    } else if (comando == "open") {
        HANDLE h = CreateFileA((Cartella + "\\" + argomento).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                               nullptr, OPEN_EXISTING, 0, nullptr);
        if (h == INVALID_HANDLE_VALUE) {
            Scrivi("open-failed " + argomento);
        } else {
            if (FileAperti.count(argomento)) CloseHandle(FileAperti[argomento]);
            FileAperti[argomento] = h;
            Scrivi("open " + argomento);
        }
    } else if (comando == "close") {
        auto it = FileAperti.find(argomento);
        if (it != FileAperti.end()) {
            CloseHandle(it->second);
            FileAperti.erase(it);
        }
        Scrivi("close " + argomento);
    } else if (comando == "play") {
        const int n = std::atoi(argomento.c_str());
        char nome[32];
        std::snprintf(nome, sizeof nome, "audio\\%03d.wav", n);
        if (Traccia) CloseHandle(Traccia);
        Traccia = CreateFileA((Cartella + "\\" + nome).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
        if (Traccia == INVALID_HANDLE_VALUE) Traccia = nullptr;
        Scrivi(std::string(Traccia ? "play " : "play-failed ") + nome);
    } else if (comando == "stop") {
        if (Traccia) CloseHandle(Traccia);
        Traccia = nullptr;
        Scrivi("stop");
    } else if (comando == "wait") {
        Attendi(std::strtoul(argomento.c_str(), nullptr, 10));
    } else if (comando == "waitlogger") {
        const DWORD limite = std::strtoul(argomento.c_str(), nullptr, 10);
        const DWORD inizio = GetTickCount();
        while (!FinestraLogger() && GetTickCount() - inizio < limite && !Fine) Attendi(20);
        Scrivi(FinestraLogger() ? "logger found" : "logger missing");
    } else if (comando == "waitsave") {
        const DWORD limite = std::strtoul(argomento.c_str(), nullptr, 10);
        const int prima = Salvataggi;
        const DWORD inizio = GetTickCount();
        while (Salvataggi == prima && GetTickCount() - inizio < limite && !Fine) Attendi(20);
        Scrivi(Salvataggi != prima ? "saved" : "no save");
    } else if (comando == "waitevent") {
        std::string nome;
        unsigned long limite = 0;
        in >> nome >> limite;
        // Whoever comes first makes it: the test that sets it or the game.
        HANDLE evento = nome.empty() ? nullptr : CreateEventA(nullptr, FALSE, FALSE, nome.c_str());
        bool visto = false;
        const DWORD inizio = GetTickCount();
        while (evento && !Fine) {
            Pompa();
            AzioneMenu();
            const DWORD passati = GetTickCount() - inizio;
            if (passati >= limite) break;
            const DWORD resto = limite - passati;
            if (MsgWaitForMultipleObjects(1, &evento, FALSE, resto < 10 ? resto : 10, QS_ALLINPUT) == WAIT_OBJECT_0) {
                visto = true;
                break;
            }
        }
        if (evento) CloseHandle(evento);
        Scrivi((visto ? "event " : "event-missing ") + nome);
    } else if (comando == "altenter") {
        CambiaModo();
    } else if (comando == "boot") {
        int w = 0, h = 0;
        if (!(in >> w >> h) || w <= 0 || h <= 0) w = 640, h = 480;
        Scrivi(std::string("boot ") + (Finestrato ? "windowed " : "full screen ") + std::to_string(w) + "x" +
               std::to_string(h));
        // A window of the mode's size: a framed one, or one over the whole screen.
        RECT r{0, 0, w, h};
        if (Finestrato) {
            AdjustWindowRect(&r, WS_OVERLAPPEDWINDOW, FALSE);
        } else {
            SetWindowLongA(Finestra, GWL_STYLE, WS_POPUP | WS_VISIBLE);
        }
        SetWindowPos(Finestra, nullptr, 0, 0, r.right - r.left, r.bottom - r.top,
                     SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
        ImpostaTopMost(!Finestrato);
        Registra("do_boot_screen", true);
        if (Finestrato) {
            Registra("DXCreate: Windowed Mode", true);
            Registra("w " + std::to_string(w) + " h " + std::to_string(h), true);
        } else {
            Registra("SetDisplayMode - " + std::to_string(w) + "x" + std::to_string(h) + "x16", true);
        }
        Registra("TIME_Init", true);
    } else if (comando == "load") {
        std::string file;
        long ms = 0;
        in >> file;
        if (!(in >> ms) || ms < 0) ms = 100;
        if (file.empty()) {
            Scrivi("unknown " + riga);
            return;
        }
        const std::string percorso = "data\\" + file;
        HANDLE h = CreateFileA((Cartella + "\\" + percorso).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                               OPEN_EXISTING, 0, nullptr);
        Scrivi((h == INVALID_HANDLE_VALUE ? "load-failed " : "load ") + percorso);
        Registra("S_LoadLevelFile", true);
        Registra("FileOpen - DATA\\" + file, true);
        Attendi(static_cast<DWORD>(ms));
        Registra("CreateD3DLights", true);
        if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
        Scrivi("loaded " + percorso);
    } else if (comando == "cd") {
        const int n = std::atoi(argomento.c_str());
        CdAttuale = n;
        Esegui("play " + std::to_string(n));
        // The moment the program's reaction to the track is timed from.
        ScriviOrologio(("cd " + std::to_string(n)).c_str());
        char nome[32];
        std::snprintf(nome, sizeof nome, "audio\\%03d.wav", n);
        Registra(std::string("Playing ") + nome, true);
    } else if (comando == "inventory") {
        std::string quale;
        in >> quale;
        if (quale != "open" && quale != "close") {
            Scrivi("unknown " + riga);
            return;
        }
        // The picture first, then the record: whoever reads either finds both.
        Inventario = quale == "open";
        Ridipingi();
        Scrivi("inventory " + quale);
        Registra(Inventario ? "DXCreateSurface" : "Released Mono Screen", true);
    } else if (comando == "fill") {
        int r = -1, g = -1, b = -1;
        in >> r >> g >> b;
        if (r < 0 || r > 255 || g < 0 || g > 255 || b < 0 || b > 255) {
            Scrivi("unknown " + riga);
            return;
        }
        Sfondo = RGB(r, g, b);
        Ridipingi();
        Scrivi("fill " + std::to_string(r) + " " + std::to_string(g) + " " + std::to_string(b));
    } else if (comando == "press") {
        std::string elenco;
        long ms = -1;
        in >> elenco >> ms;
        const std::vector<BYTE> tasti = TastiDaElenco(elenco);
        if (tasti.empty() || ms < 0) {
            Scrivi("unknown " + riga);
            return;
        }
        Scrivi("press " + elenco);
        for (BYTE vk : tasti) InviaTasto(vk, true);
        ScriviOrologio("press");
        Attendi(static_cast<DWORD>(ms));
        for (auto it = tasti.rbegin(); it != tasti.rend(); ++it) InviaTasto(*it, false);
        Scrivi("release " + elenco);
    } else if (comando == "screenshot") {
        int w = 0, h = 0;
        const bool schermo = argomento.empty();
        if (schermo) {
            w = GetSystemMetrics(SM_CXSCREEN);
            h = GetSystemMetrics(SM_CYSCREEN);
        } else if (!(in >> w >> h) || w <= 0 || h <= 0) {
            Scrivi("unknown " + riga);
            return;
        }
        const std::string misura = std::to_string(w) + "x" + std::to_string(h);
        Scrivi((Screenshot(schermo, w, h) ? "screenshot " : "screenshot-failed ") + misura);
    } else if (comando == "topmost") {
        if (argomento != "on" && argomento != "off") {
            Scrivi("unknown " + riga);
            return;
        }
        ImpostaTopMost(argomento == "on");
    } else if (comando == "hide") {
        Scrivi("hide");
        if (Finestra) ShowWindow(Finestra, SW_HIDE);
    } else if (comando == "destroy") {
        Scrivi("destroy");
        if (Finestra) DestroyWindow(Finestra);
        Finestra = nullptr;
    } else if (comando == "quit") {
        Registra("WinClose", true);
    } else if (comando == "crash") {
        const UINT codice = argomento.empty() ? 0xC0000005u : static_cast<UINT>(std::strtoul(argomento.c_str(), nullptr, 0));
        Scrivi("crash " + std::to_string(codice));
        ScriviOrologio("end");
        if (Registro) std::fclose(Registro);
        TerminateProcess(GetCurrentProcess(), codice);
    } else if (comando == "hang") {
        const DWORD ms = argomento.empty() ? INFINITE : std::strtoul(argomento.c_str(), nullptr, 10);
        Scrivi("hang " + (argomento.empty() ? std::string("for ever") : std::to_string(ms)));
        Sleep(ms);
        Scrivi("resume");
    } else if (comando == "levels") {
        Livelli.clear();
        std::string file;
        while (in >> file) Livelli.push_back(file);
        Scrivi("levels " + std::to_string(Livelli.size()));
    } else if (comando == "level") {
        LivelloAttuale = std::atoi(argomento.c_str());
        Scrivi("level " + std::to_string(LivelloAttuale));
    } else if (comando == "savekeys") {
        TastiSalvataggio = argomento != "off";
        Scrivi(std::string("savekeys ") + (TastiSalvataggio ? "on" : "off"));
    } else if (comando == "keyclock") {
        OrologioTasti = argomento == "on";
        Scrivi(std::string("keyclock ") + (OrologioTasti ? "on" : "off"));
    } else if (comando == "peek") {
        // The bytes of its own executable as the file holds them now.
        unsigned long offset = 0, n = 0;
        in >> offset >> n;
        char percorso[MAX_PATH] = {};
        GetModuleFileNameA(nullptr, percorso, MAX_PATH);
        std::string esa;
        if (FILE* f = std::fopen(percorso, "rb")) {
            std::fseek(f, static_cast<long>(offset), SEEK_SET);
            for (unsigned long i = 0; i < n; ++i) {
                const int c = std::fgetc(f);
                if (c == EOF) break;
                char t[4];
                std::snprintf(t, sizeof t, "%02X", c);
                esa += t;
            }
            std::fclose(f);
        }
        Scrivi("peek " + std::to_string(offset) + " " + esa);
    } else if (comando == "stay") {
        Resta = true;
    } else if (comando == "exit") {
        CodiceUscita = std::atoi(argomento.c_str());
        Fine = true;
    } else {
        Scrivi("unknown " + riga);
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE istanza, HINSTANCE, LPSTR, int) {
    char percorso[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, percorso, MAX_PATH);
    Cartella = percorso;
    Cartella = Cartella.substr(0, Cartella.find_last_of('\\'));
    Registro = std::fopen((Cartella + "\\gamesim_log.txt").c_str(), "ab");

    ScriviOrologio("start");
    Scrivi("process " + std::to_string(GetCurrentProcessId()));
    Scrivi(std::string("commandline ") + GetCommandLineA());
    char corrente[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, corrente);
    Scrivi(std::string("folder ") + corrente);
    int variabili = 0;
    if (char* ambiente = GetEnvironmentStringsA()) {
        for (const char* p = ambiente; *p; p += std::strlen(p) + 1) {
            Scrivi(std::string("env ") + p);
            ++variabili;
        }
        FreeEnvironmentStringsA(ambiente);
    }
    Scrivi("environment " + std::to_string(variabili));
    ControllaPriorita();
    const long long finestrato = ValoreSistema("Window");
    Finestrato = finestrato > 0;
    Scrivi("registry Window " + std::to_string(finestrato) + " VMode " + std::to_string(ValoreSistema("VMode")));
    Scrivi(Finestrato ? "start windowed" : "start full screen");

    WNDCLASSA wc{};
    wc.lpfnWndProc = ProceduraGioco;
    wc.hInstance = istanza;
    wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    wc.lpszClassName = ClasseGioco;
    RegisterClassA(&wc);
    Finestra = CreateWindowExA(0, ClasseGioco, "Tomb Raider", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 320, 240,
                               nullptr, nullptr, istanza, nullptr);
    Scrivi(Finestra ? "window" : "window-failed");
    // A game takes the keyboard as it starts.
    if (Finestra) SetForegroundWindow(Finestra);

    Mappa = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, DimensioneMappa, "DBLOGMAPMEM");
    if (Mappa) Vista = static_cast<char*>(MapViewOfFile(Mappa, FILE_MAP_WRITE, 0, 0, DimensioneMappa));
    Scrivi(Vista ? "mapping" : "mapping-failed");

    std::ifstream script(Cartella + "\\gamesim.txt", std::ios::binary);
    std::string riga;
    while (!Fine && std::getline(script, riga)) {
        if (!riga.empty() && riga.back() == '\r') riga.pop_back();
        if (riga.empty() || riga[0] == '#') continue;
        Esegui(riga);
        Pompa();
    }
    for (auto& [nome, h] : FileAperti) CloseHandle(h);
    if (Traccia) CloseHandle(Traccia);
    if (Finestra) DestroyWindow(Finestra);
    if (Vista) UnmapViewOfFile(Vista);
    if (Mappa) CloseHandle(Mappa);
    ScriviOrologio("end");
    Scrivi("exit " + std::to_string(CodiceUscita));
    if (Registro) std::fclose(Registro);
    return CodiceUscita;
}
