// DialogWatcher <record file> <button> [count] [timeout ms] [process id]
//
// Finds the dialog boxes shown on the desktop (only those of the given
// process when one is named, so that tests running side by side never
// answer each other's boxes), appends each one's caption and
// text to the record file and presses the button asked for (OK, YES, NO,
// CANCEL or a control id; a list such as OK,YES,NO answers the boxes in
// their order, its last button the boxes after). Ends after <count> boxes (default 1) or the
// timeout (default 60000 ms). Record of a box:
//   CAPTION <caption>\n
//   TEXT <length>\n<text>\n
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

namespace {

std::set<HWND> gestiti;
std::vector<HWND> trovati;
DWORD processo = 0;

std::string Testo(HWND h) {
    const int n = GetWindowTextLengthA(h);
    std::string s(static_cast<size_t>(n) + 1, '\0');
    const int letti = GetWindowTextA(h, s.data(), n + 1);
    s.resize(static_cast<size_t>(letti > 0 ? letti : 0));
    return s;
}

std::string Classe(HWND h) {
    char nome[64] = {};
    GetClassNameA(h, nome, sizeof nome);
    return nome;
}

BOOL CALLBACK SuFinestra(HWND h, LPARAM) {
    DWORD pid = 0;
    GetWindowThreadProcessId(h, &pid);
    if (processo != 0 && pid != processo) return TRUE;
    if (IsWindowVisible(h) && Classe(h) == "#32770" && !gestiti.count(h)) trovati.push_back(h);
    return TRUE;
}

BOOL CALLBACK SuFiglio(HWND h, LPARAM param) {
    auto* testi = reinterpret_cast<std::string*>(param);
    if (_stricmp(Classe(h).c_str(), "Static") == 0) {
        const std::string t = Testo(h);
        if (!t.empty()) {
            if (!testi->empty()) *testi += "\n";
            *testi += t;
        }
    }
    return TRUE;
}

int IdPulsante(const std::string& nome) {
    if (_stricmp(nome.c_str(), "OK") == 0) return IDOK;
    if (_stricmp(nome.c_str(), "CANCEL") == 0) return IDCANCEL;
    if (_stricmp(nome.c_str(), "YES") == 0) return IDYES;
    if (_stricmp(nome.c_str(), "NO") == 0) return IDNO;
    return std::atoi(nome.c_str());
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    if (__argc < 3) return 2;
    const std::string registro = __argv[1];
    std::vector<int> pulsanti;
    for (std::string elenco = __argv[2];;) {
        const size_t virgola = elenco.find(',');
        pulsanti.push_back(IdPulsante(elenco.substr(0, virgola)));
        if (virgola == std::string::npos) break;
        elenco.erase(0, virgola + 1);
    }
    const int quanti = __argc > 3 ? std::atoi(__argv[3]) : 1;
    const DWORD attesa = __argc > 4 ? static_cast<DWORD>(std::atol(__argv[4])) : 60000;
    processo = __argc > 5 ? static_cast<DWORD>(std::strtoul(__argv[5], nullptr, 10)) : 0;

    const DWORD inizio = GetTickCount();
    int fatti = 0;
    while (fatti < quanti && GetTickCount() - inizio < attesa) {
        trovati.clear();
        EnumWindows(SuFinestra, 0);
        for (HWND h : trovati) {
            Sleep(100);  // let the box finish drawing its texts
            std::string testo;
            EnumChildWindows(h, SuFiglio, reinterpret_cast<LPARAM>(&testo));
            const std::string titolo = Testo(h);
            if (FILE* f = std::fopen(registro.c_str(), "ab")) {
                std::fprintf(f, "CAPTION %s\nTEXT %u\n", titolo.c_str(), static_cast<unsigned>(testo.size()));
                std::fwrite(testo.data(), 1, testo.size(), f);
                std::fputs("\n", f);
                std::fclose(f);
            }
            gestiti.insert(h);
            const int pulsante = pulsanti[std::min<size_t>(static_cast<size_t>(fatti), pulsanti.size() - 1)];
            HWND bottone = GetDlgItem(h, pulsante);
            PostMessageA(h, WM_COMMAND, MAKEWPARAM(pulsante, BN_CLICKED), reinterpret_cast<LPARAM>(bottone));
            if (++fatti >= quanti) break;
        }
        Sleep(50);
    }
    return fatti >= quanti ? 0 : 1;
}
