// A program for the process tests: records what it was started with
// (command line, current folder, environment, its window) into
// child_record.txt in its current folder.
// Arguments, each a blank-free word: exit=N (exit code), sleep=N (ms to stay
// alive after recording), hold=PATH (keep PATH open for reading, sharing
// reads only, as the game holds its files).
#include <windows.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> Parole(const std::string& riga) {
    std::vector<std::string> parole;
    size_t i = 0;
    while (i < riga.size()) {
        while (i < riga.size() && riga[i] == ' ') ++i;
        size_t fine = i;
        while (fine < riga.size() && riga[fine] != ' ') ++fine;
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

}  // namespace

int WINAPI WinMain(HINSTANCE istanza, HINSTANCE, LPSTR, int mostra) {
    const std::string riga = GetCommandLineA();
    const std::vector<std::string> parole = Parole(riga);

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
    registro += std::string("HOLD=") + (tenuto != INVALID_HANDLE_VALUE ? "1" : "0") + "\r\n";
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
    if (tenuto != INVALID_HANDLE_VALUE) CloseHandle(tenuto);
    const std::string uscita = Valore(parole, "exit=");
    return uscita.empty() ? 0 : std::stoi(uscita);
}
