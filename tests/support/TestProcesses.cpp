#include "tests/support/TestProcesses.h"

#include <tlhelp32.h>

#include <cstdlib>

#include "tests/support/TestFolders.h"

int ProcessoProva::Attendi(DWORD ms) {
    if (!handle) return -1;
    if (WaitForSingleObject(handle, ms) != WAIT_OBJECT_0) return -1;
    DWORD codice = 0;
    GetExitCodeProcess(handle, &codice);
    return static_cast<int>(codice);
}

void ProcessoProva::Termina() {
    if (handle && WaitForSingleObject(handle, 0) == WAIT_TIMEOUT) {
        TerminateProcess(handle, 99);
        WaitForSingleObject(handle, 5000);
    }
}

ProcessoProva::~ProcessoProva() {
    Termina();
    if (handle) CloseHandle(handle);
}

bool AvviaProva(ProcessoProva& p, const std::string& programma, const std::string& argomenti,
                const std::string& cartella) {
    std::string riga = "\"" + programma + "\"";
    if (!argomenti.empty()) riga += " " + argomenti;
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessA(programma.c_str(), riga.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        cartella.empty() ? nullptr : cartella.c_str(), &si, &pi))
        return false;
    CloseHandle(pi.hThread);
    p.handle = pi.hProcess;
    p.pid = pi.dwProcessId;
    return true;
}

void TerminaProcessiDi(const std::string& nome) {
    HANDLE istantanea = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (istantanea == INVALID_HANDLE_VALUE) return;
    PROCESSENTRY32 voce{};
    voce.dwSize = sizeof voce;
    for (BOOL c = Process32First(istantanea, &voce); c; c = Process32Next(istantanea, &voce)) {
        if (lstrcmpiA(voce.szExeFile, nome.c_str()) != 0) continue;
        if (HANDLE h = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, voce.th32ProcessID)) {
            TerminateProcess(h, 99);
            WaitForSingleObject(h, 30000);
            CloseHandle(h);
        }
    }
    CloseHandle(istantanea);
}

Osservatore::Osservatore(const std::string& cartella, const std::string& pulsante, int quanti, DWORD pid,
                         DWORD attesaMs)
    : registro_(cartella + "\\dialogs.txt") {
    DeleteFileA(registro_.c_str());
    AvviaProva(processo_, CartellaProgrammi() + "\\DialogWatcher.exe",
               "\"" + registro_ + "\" " + pulsante + " " + std::to_string(quanti) + " " + std::to_string(attesaMs) + " " + std::to_string(pid),
               cartella);
}

Osservatore::~Osservatore() = default;

std::vector<BoxRegistrato> Osservatore::Boxes(DWORD ms) {
    processo_.Attendi(ms);
    std::vector<BoxRegistrato> boxes;
    const std::string s = LeggiFileProva(registro_);
    size_t i = 0;
    while (i < s.size()) {
        const size_t finetitolo = s.find('\n', i);
        if (s.compare(i, 8, "CAPTION ") != 0 || finetitolo == std::string::npos) break;
        BoxRegistrato b;
        b.titolo = s.substr(i + 8, finetitolo - i - 8);
        const size_t finelung = s.find('\n', finetitolo + 1);
        if (finelung == std::string::npos) break;
        const size_t n = std::strtoul(s.c_str() + finetitolo + 6, nullptr, 10);
        if (finelung + 1 + n > s.size()) break;
        b.testo = s.substr(finelung + 1, n);
        boxes.push_back(b);
        i = finelung + 1 + n + 1;
    }
    return boxes;
}
