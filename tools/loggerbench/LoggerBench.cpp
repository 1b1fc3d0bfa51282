// Drives the game stand-in's debug messages through Scrivane as fast as the
// game can send them, and measures in the same run the raw rate of
// cross-process SendMessage toward a window that does nothing. Every message
// changes the game state, so every message must become a record: the map
// must hold exactly one record per message, alternating as sent.
//
// Usage: LoggerBench [messages]   (default 5000, at most 5439: the map's
// capacity). Scrivane.exe and GameSim.exe are taken from this program's
// folder. Exit code 0 when the logger kept at least 80% of the raw rate and
// lost no record.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

namespace {

const char* const TitoloPozzo = "LoggerBench Raw Sink";

LRESULT CALLBACK Pozzo(HWND h, UINT m, WPARAM wp, LPARAM lp) {
    if (m == WM_NULL) return 0;
    return DefWindowProcA(h, m, wp, lp);
}

std::string Leggi(const std::string& percorso) {
    std::ifstream f(percorso, std::ios::binary);
    std::stringstream s;
    s << f.rdbuf();
    return s.str();
}

// Waits for the process, answering the messages of this thread's window.
bool AttendiProcesso(HANDLE p, DWORD ms) {
    const DWORD inizio = GetTickCount();
    for (;;) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
        if (WaitForSingleObject(p, 0) == WAIT_OBJECT_0) return true;
        if (GetTickCount() - inizio > ms) return false;
        MsgWaitForMultipleObjects(1, &p, FALSE, 50, QS_ALLINPUT);
    }
}

// The raw sink: a window on a thread of its own with a plain message loop,
// as Scrivane's.
DWORD WINAPI ThreadPozzo(LPVOID pronto) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = Pozzo;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "LoggerBenchSink";
    RegisterClassA(&wc);
    CreateWindowExA(0, wc.lpszClassName, TitoloPozzo, WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr, wc.hInstance,
                    nullptr);
    SetEvent(static_cast<HANDLE>(pronto));
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
    return 0;
}

bool Avvia(const std::string& programma, const std::string& cartella, PROCESS_INFORMATION& pi) {
    std::string riga = "\"" + programma + "\"";
    STARTUPINFOA si{};
    si.cb = sizeof si;
    return CreateProcessA(programma.c_str(), riga.data(), nullptr, nullptr, FALSE, 0, nullptr, cartella.c_str(), &si,
                          &pi) != 0;
}

// Microseconds of "<parola> <n> us <t>" in the stand-in's log.
long long Misura(const std::string& log, const std::string& parola) {
    const size_t p = log.find(parola + " ");
    if (p == std::string::npos) return -1;
    const size_t us = log.find(" us ", p);
    return us == std::string::npos ? -1 : std::atoll(log.c_str() + us + 4);
}

}  // namespace

int main(int argc, char** argv) {
    long messaggi = argc > 1 ? std::atol(argv[1]) : 5000;
    if (messaggi < 2 || messaggi > 5439) messaggi = 5000;

    char modulo[MAX_PATH];
    GetModuleFileNameA(nullptr, modulo, MAX_PATH);
    std::string programmi = modulo;
    programmi = programmi.substr(0, programmi.find_last_of('\\'));
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string cartella = std::string(temp) + "loggerbench" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(cartella.c_str(), nullptr);
    CopyFileA((programmi + "\\Scrivane.exe").c_str(), (cartella + "\\Scrivane.exe").c_str(), FALSE);
    CopyFileA((programmi + "\\GameSim.exe").c_str(), (cartella + "\\tomb4.exe").c_str(), FALSE);
    {
        std::ofstream bin(cartella + "\\Logger.bin", std::ios::binary);
        const char zero[8] = {};
        bin.write(zero, 8);
    }

    HANDLE pronto = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    CreateThread(nullptr, 0, ThreadPozzo, pronto, 0, nullptr);
    WaitForSingleObject(pronto, 10000);

    PROCESS_INFORMATION logger{};
    if (!Avvia(cartella + "\\Scrivane.exe", cartella, logger)) {
        std::printf("Scrivane did not start\n");
        return 2;
    }
    HWND finestra = nullptr;
    for (int i = 0; i < 500 && !finestra; ++i, Sleep(20)) finestra = FindWindowA("DBLogWindowClass", "DBLog Server");
    HANDLE mappa = OpenFileMappingA(FILE_MAP_READ, FALSE, "SWAPMEDIADAT");
    const char* vista = mappa ? static_cast<const char*>(MapViewOfFile(mappa, FILE_MAP_READ, 0, 0, 65536)) : nullptr;
    if (!finestra || !vista) {
        std::printf("Scrivane has no window or map\n");
        TerminateProcess(logger.hProcess, 1);
        return 2;
    }

    const std::string n = std::to_string(messaggi);
    {
        std::ofstream script(cartella + "\\gamesim.txt", std::ios::binary);
        script << "waitlogger 10000\n"
               << "raw " << n << " " << TitoloPozzo << "\n"
               << "burst " << n << " HangGameThread|WM_ACTIVE\n"
               << "raw " << n << " " << TitoloPozzo << "\n"
               << "exit 0\n";
    }
    PROCESS_INFORMATION gioco{};
    if (!Avvia(cartella + "\\tomb4.exe", cartella, gioco) || !AttendiProcesso(gioco.hProcess, 120000)) {
        std::printf("the game stand-in did not end\n");
        TerminateProcess(logger.hProcess, 1);
        return 2;
    }

    const std::string log = Leggi(cartella + "\\gamesim_log.txt");
    const long long raw1 = Misura(log, "raw " + n);
    const long long burst = Misura(log, "burst " + n);
    const long long raw2 = Misura(log.substr(log.find("burst ")), "raw " + n);
    uint32_t conteggio = 0;
    std::memcpy(&conteggio, vista, 4);
    long persi = 0;
    for (uint32_t i = 0; i < conteggio && i < 5439; ++i) {
        const unsigned char fasi = static_cast<unsigned char>(vista[264 + i * 12 + 4]);
        if (fasi != ((i % 2 == 0) ? 0x04 : 0x00)) ++persi;
    }
    persi += messaggi - static_cast<long>(conteggio);

    DWORD_PTR r;
    SendMessageTimeoutA(finestra, WM_USER, 8, 0, SMTO_ABORTIFHUNG, 5000, &r);
    AttendiProcesso(logger.hProcess, 10000);
    UnmapViewOfFile(vista);
    CloseHandle(mappa);

    if (raw1 <= 0 || raw2 <= 0 || burst <= 0) {
        std::printf("missing measures in the stand-in's log\n");
        return 2;
    }
    const long long raw = raw1 < raw2 ? raw1 : raw2;  // the faster of the two raw runs
    const double rawRate = messaggi * 1e6 / static_cast<double>(raw);
    const double loggerRate = messaggi * 1e6 / static_cast<double>(burst);
    std::printf("messages:                 %ld\n", messaggi);
    std::printf("raw SendMessage:          %.0f msg/s (%lld us; other run %lld us)\n", rawRate, raw,
                raw1 < raw2 ? raw2 : raw1);
    std::printf("through Scrivane:         %.0f msg/s (%lld us)\n", loggerRate, burst);
    std::printf("ratio:                    %.1f%%\n", 100.0 * loggerRate / rawRate);
    std::printf("records in the map:       %lu, lost or out of order: %ld\n", static_cast<unsigned long>(conteggio), persi);

    // Tidy the folder.
    for (const char* f : {"Scrivane.exe", "tomb4.exe", "Logger.bin", "gamesim.txt", "gamesim_log.txt", "tomb4_log.txt"})
        DeleteFileA((cartella + "\\" + f).c_str());
    RemoveDirectoryA(cartella.c_str());
    return (loggerRate >= 0.8 * rawRate && persi == 0) ? 0 : 1;
}
