#pragma once
// Starting the programs under test and answering their message boxes.
#include <windows.h>

#include <string>
#include <vector>

struct ProcessoProva {
    HANDLE handle = nullptr;
    DWORD pid = 0;
    // Exit code, or -1 when it did not end within the wait.
    int Attendi(DWORD ms);
    void Termina();
    ~ProcessoProva();
};

// Starts <programma> with <argomenti> in <cartella>; false when it could not start.
bool AvviaProva(ProcessoProva& p, const std::string& programma, const std::string& argomenti,
                const std::string& cartella);

// Ends every process of the test's Wine prefix whose program is <nome>
// (a file name such as "tomb4.exe"), and waits for each to be gone.
void TerminaProcessiDi(const std::string& nome);

struct BoxRegistrato {
    std::string titolo;
    std::string testo;
};

// The dialog watcher answering <quanti> boxes of process <pid> with <pulsante>
// (one button, or a list such as "OK,YES" for the boxes in their order).
class Osservatore {
public:
    Osservatore(const std::string& cartella, const std::string& pulsante, int quanti, DWORD pid,
                DWORD attesaMs = 30000);
    ~Osservatore();
    // Waits for the watcher to end, then reads what it recorded.
    std::vector<BoxRegistrato> Boxes(DWORD ms = 30000);
    // Stops the watcher now: for a program that may show fewer boxes.
    void Interrompi() { processo_.Termina(); }

private:
    ProcessoProva processo_;
    std::string registro_;
};
