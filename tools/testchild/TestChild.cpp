// A program for the process tests: records what it was started with
// (command line, current folder, environment, its window) into
// child_record.txt in its current folder.
// Arguments, each a word without blanks or in double quotes: exit=N (exit
// code), sleep=N (ms to stay alive after recording), hold=PATH (keep PATH
// open for reading, sharing reads only, as the game holds its files),
// waitfor=NAME (stay alive until the file NAME exists, at most a minute),
// endmark (write child_end.txt just before exiting). A program started with a fixed command line takes these
// words from child_args.txt in its current folder instead.
// The record also gives the size of the file the first argument names
// (quotes removed, -1 when it cannot be opened) and the ids of the process
// and of its thread.
#include <windows.h>

#include <string>
#include <vector>

namespace {

// Split at blanks outside double quotes, as a program's start-up reads its
// command line; the quotes stay in the word.
std::vector<std::string> Parole(const std::string& riga) {
    std::vector<std::string> parole;
    size_t i = 0;
    while (i < riga.size()) {
        while (i < riga.size() && riga[i] == ' ') ++i;
        size_t fine = i;
        bool virgolette = false;
        while (fine < riga.size() && (virgolette || riga[fine] != ' ')) {
            if (riga[fine] == '"') virgolette = !virgolette;
            ++fine;
        }
        if (fine > i) parole.push_back(riga.substr(i, fine - i));
        i = fine;
    }
    return parole;
}

std::string Valore(const std::vector<std::string>& parole, const std::string& chiave) {
    for (size_t i = 1; i < parole.size(); ++i)
        if (parole[i].compare(0, chiave.size(), chiave) == 0) return parole[i].substr(chiave.size());
    return std::string();
}

std::string SenzaVirgolette(std::string testo) {
    if (testo.size() >= 2 && testo.front() == '"' && testo.back() == '"') testo = testo.substr(1, testo.size() - 2);
    return testo;
}

void ScriviFile(const char* nome, const std::string& contenuto) {
    HANDLE f = CreateFileA(nome, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE) return;
    DWORD scritti = 0;
    WriteFile(f, contenuto.data(), static_cast<DWORD>(contenuto.size()), &scritti, nullptr);
    CloseHandle(f);
}

std::string LeggiFile(const char* nome) {
    HANDLE f = CreateFileA(nome, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE) return std::string();
    char buffer[512];
    DWORD letti = 0;
    std::string testo;
    while (ReadFile(f, buffer, sizeof buffer, &letti, nullptr) && letti > 0) testo.append(buffer, letti);
    CloseHandle(f);
    return testo;
}

}  // namespace

int WINAPI WinMain(HINSTANCE istanza, HINSTANCE, LPSTR, int mostra) {
    const std::string riga = GetCommandLineA();
    std::vector<std::string> parole = Parole(riga);
    std::string dimensioneArgomento = "-1";
    if (parole.size() > 1) {
        HANDLE a = CreateFileA(SenzaVirgolette(parole[1]).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                               nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (a != INVALID_HANDLE_VALUE) {
            dimensioneArgomento = std::to_string(GetFileSize(a, nullptr));
            CloseHandle(a);
        }
    }
    std::string extra = LeggiFile("child_args.txt");
    for (char& c : extra)
        if (c == '\r' || c == '\n') c = ' ';
    for (const std::string& p : Parole(extra)) parole.push_back(p);

    HANDLE tenuto = INVALID_HANDLE_VALUE;
    const std::string daTenere = Valore(parole, "hold=");
    if (!daTenere.empty())
        tenuto = CreateFileA(daTenere.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL, nullptr);

    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = istanza;
    wc.lpszClassName = "LudovaneTestChild";
    RegisterClassA(&wc);
    HWND finestra = CreateWindowExA(0, wc.lpszClassName, "Test child", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100,
                                    nullptr, nullptr, istanza, nullptr);
    if (finestra) ShowWindow(finestra, mostra);

    char cartella[MAX_PATH + 1] = {};
    GetCurrentDirectoryA(MAX_PATH, cartella);

    std::string registro = "CMDLINE=" + riga + "\r\nCWD=" + cartella + "\r\n";
    registro += std::string("WINDOW=") + (finestra ? "1" : "0") + "\r\n";
    registro += std::string("VISIBLE=") + (finestra && IsWindowVisible(finestra) ? "1" : "0") + "\r\n";
    // The display the window lives on, as this process sees it.
    registro += "SCREEN=" + std::to_string(GetSystemMetrics(SM_CXSCREEN)) + "x" +
                std::to_string(GetSystemMetrics(SM_CYSCREEN)) + "\r\n";
    registro += std::string("HOLD=") + (tenuto != INVALID_HANDLE_VALUE ? "1" : "0") + "\r\n";
    registro += "ARGSIZE=" + dimensioneArgomento + "\r\n";
    registro += "PID=" + std::to_string(GetCurrentProcessId()) + "\r\nTID=" + std::to_string(GetCurrentThreadId()) + "\r\n";
    char* ambiente = GetEnvironmentStringsA();
    int variabili = 0;
    std::string elenco;
    for (const char* p = ambiente; p && *p; p += strlen(p) + 1) {
        ++variabili;
        elenco += std::string("VAR ") + p + "\r\n";
    }
    if (ambiente) FreeEnvironmentStringsA(ambiente);
    registro += "ENVCOUNT=" + std::to_string(variabili) + "\r\n" + elenco;

    // Written under another name first, so a reader never sees half of it.
    HANDLE f = CreateFileA("child_record.tmp", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                           nullptr);
    if (f != INVALID_HANDLE_VALUE) {
        DWORD scritti = 0;
        WriteFile(f, registro.data(), static_cast<DWORD>(registro.size()), &scritti, nullptr);
        CloseHandle(f);
        MoveFileExA("child_record.tmp", "child_record.txt", MOVEFILE_REPLACE_EXISTING);
    }

    const std::string attesa = Valore(parole, "sleep=");
    if (!attesa.empty()) {
        const DWORD fine = GetTickCount() + static_cast<DWORD>(std::stoul(attesa));
        MSG msg;
        while (static_cast<int32_t>(fine - GetTickCount()) > 0) {
            while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
            Sleep(10);
        }
    }
    const std::string atteso = Valore(parole, "waitfor=");
    if (!atteso.empty()) {
        const DWORD fine = GetTickCount() + 60000;
        while (GetFileAttributesA(atteso.c_str()) == INVALID_FILE_ATTRIBUTES &&
               static_cast<int32_t>(fine - GetTickCount()) > 0)
            Sleep(10);
    }
    if (tenuto != INVALID_HANDLE_VALUE) CloseHandle(tenuto);
    for (size_t i = 1; i < parole.size(); ++i)
        if (parole[i] == "endmark") ScriviFile("child_end.txt", "END\r\n");
    const std::string uscita = Valore(parole, "exit=");
    return uscita.empty() ? 0 : std::stoi(uscita);
}
