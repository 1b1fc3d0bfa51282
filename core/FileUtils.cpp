#include "core/FileUtils.h"

#include <windows.h>

#include <exception>

#include "core/MediaExtraction.h"
#include "core/MediaLog.h"
#include "core/SystemUtils.h"
#include "core/TextUtils.h"
#include "core/Utf8Files.h"
#include "core/Utf8Text.h"
#include "gamerun/RunState.h"
#include "platform/Clock.h"
#include "savegames/SavegameFile.h"

int32_t (*RispostaLoggerFileOccupato)(int32_t numero, int32_t tipo) = nullptr;
int32_t (*PiattaformaSostituzione)() = PiattaformaWindows;

namespace {

class RicercaFile {
public:
    RicercaFile(const std::string& modello) { h_ = FindFirstFileA(modello.c_str(), &dati_); }
    ~RicercaFile() {
        if (h_ != INVALID_HANDLE_VALUE) FindClose(h_);
    }
    bool Valida() const { return h_ != INVALID_HANDLE_VALUE; }
    const WIN32_FIND_DATAA& Dati() const { return dati_; }
    bool Prossimo() { return FindNextFileA(h_, &dati_) != 0; }

private:
    HANDLE h_;
    WIN32_FIND_DATAA dati_;
};

bool IsCartellaDati(const WIN32_FIND_DATAA& d) { return (d.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }

}  // namespace

bool EsisteFile(const std::string& percorso) {
    if (PulisciStringa(percorso).empty()) return false;
    RicercaFile r(percorso);
    if (!r.Valida()) return false;
    bool trovato = false;
    do {
        if (!IsCartellaDati(r.Dati())) trovato = true;
    } while (r.Prossimo());
    return trovato;
}

bool CancellaFile(const std::string& percorso) {
    if (!EsisteFile(percorso)) return true;
    const DWORD attributi = GetFileAttributesA(percorso.c_str());
    if (attributi != INVALID_FILE_ATTRIBUTES && (attributi & FILE_ATTRIBUTE_READONLY)) {
        if (!SetFileAttributesA(percorso.c_str(), FILE_ATTRIBUTE_ARCHIVE)) return false;
    }
    return DeleteFileA(percorso.c_str()) != 0;
}

namespace {
// The full long form of a path, for comparing two spellings of one file.
std::string FormaPiena(const std::string& percorso) {
    char pieno[MAX_PATH * 2];
    const DWORD n = GetFullPathNameA(percorso.c_str(), sizeof pieno, pieno, nullptr);
    if (n == 0 || n >= sizeof pieno) return percorso;
    char lungo[MAX_PATH * 2];
    const DWORD l = GetLongPathNameA(pieno, lungo, sizeof lungo);
    if (l == 0 || l >= sizeof lungo) return pieno;
    return lungo;
}
}  // namespace

bool StessoFile(const std::string& a, const std::string& b) { return UgualeSenzaCaso(FormaPiena(a), FormaPiena(b)); }

bool CopiaFile(const std::string& sorgente, const std::string& destinazione) {
    // Deleting the destination would delete the source itself.
    if (StessoFile(sorgente, destinazione)) return EsisteFile(sorgente);
    if (EsisteFile(destinazione)) CancellaFile(destinazione);
    // A failed copy is a failure even when an older file of that name is
    // still there.
    return CopyFileA(sorgente.c_str(), destinazione.c_str(), FALSE) != 0;
}

bool LeggiFileIntero(const std::string& percorso, std::string& dati, int64_t massimo) {
    dati.clear();
    if (!EsisteFile(percorso)) return false;
    HANDLE h = CreateFileA(percorso.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    bool ok = false;
    LARGE_INTEGER dimensione{};
    try {
        if (GetFileSizeEx(h, &dimensione) && dimensione.QuadPart <= massimo) {
            dati.resize(static_cast<size_t>(dimensione.QuadPart));
            DWORD letti = 0;
            ok = dati.empty() || ReadFile(h, dati.data(), static_cast<DWORD>(dati.size()), &letti, nullptr);
            dati.resize(ok ? letti : 0);
        }
    } catch (const std::exception&) {
        // A file larger than the memory the program can have is not read.
        dati.clear();
        ok = false;
    }
    CloseHandle(h);
    return ok;
}

std::string LeggiFileIntero(const std::string& percorso) {
    std::string dati;
    LeggiFileIntero(percorso, dati);
    return dati;
}

bool ScriviFileTesto(const std::string& percorso, const std::string& testo) {
    HANDLE h = CreateFileA(percorso.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    const std::string dati = testo + "\r\n";
    DWORD scritti = 0;
    const bool ok = WriteFile(h, dati.data(), static_cast<DWORD>(dati.size()), &scritti, nullptr) &&
                    scritti == dati.size();
    return CloseHandle(h) && ok;
}

std::FILE* ApriFile(const std::string& percorso, const char* modo) { return std::fopen(percorso.c_str(), modo); }

bool RinominaFile(const std::string& da, const std::string& a) { return std::rename(da.c_str(), a.c_str()) == 0; }

std::string PercorsoBackup(const std::string& percorso) {
    return NellaCartella(CartellaDaPercorso(percorso), "backup_" + NomeFileDaPercorso(percorso));
}

bool SostituisciFile(const std::string& nuovo, const std::string& percorso) {
    return SostituisciFileUtf8(Utf8DaAnsi(nuovo), Utf8DaAnsi(percorso));
}

bool RiscriviConBackup(const std::string& percorso, const std::string& dati) {
    const std::string temporaneo = NellaCartella(CartellaDaPercorso(percorso), "_tem_" + NomeFileDaPercorso(percorso));
    CancellaFile(temporaneo);
    HANDLE h = CreateFileA(temporaneo.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                           nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    DWORD scritti = 0;
    bool ok = dati.empty() ||
              (WriteFile(h, dati.data(), static_cast<DWORD>(dati.size()), &scritti, nullptr) && scritti == dati.size());
    // On disk before it takes the old file's place.
    if (!FlushFileBuffers(h)) ok = false;
    if (!CloseHandle(h)) ok = false;
    if (!ok || !SostituisciFile(temporaneo, percorso)) {
        CancellaFile(temporaneo);
        return false;
    }
    return true;
}

bool ImpostaDataFile(const std::string& percorso, const DataOra& data) {
    if (percorso.empty()) return false;
    {
        RicercaFile r(percorso);
        if (!r.Valida()) return false;
    }
    HANDLE h = CreateFileA(percorso.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    SYSTEMTIME st{};
    st.wYear = static_cast<WORD>(data.Anno);
    st.wMonth = static_cast<WORD>(data.Mese);
    st.wDay = static_cast<WORD>(data.Giorno);
    st.wHour = static_cast<WORD>(data.Ora);
    st.wMinute = static_cast<WORD>(data.Minuto);
    st.wSecond = static_cast<WORD>(data.Secondo);
    FILETIME locale{}, universale{};
    bool ok = SystemTimeToFileTime(&st, &locale) && LocalFileTimeToFileTime(&locale, &universale) &&
              h != INVALID_HANDLE_VALUE && SetFileTime(h, &universale, &universale, &universale);
    if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
    return ok;
}

std::string VersioneFile(const std::string& percorso) {
    DWORD ignorato = 0;
    const DWORD dimensione = GetFileVersionInfoSizeA(percorso.c_str(), &ignorato);
    if (dimensione == 0) return std::string();
    std::string risorsa(dimensione, ' ');
    if (!GetFileVersionInfoA(percorso.c_str(), 0, dimensione, risorsa.data())) return std::string();

    const std::string maiuscola = MaiuscoloAscii(risorsa);
    bool doppio = false;
    std::string chiave = std::string("FILEVERSION") + '\0';
    size_t pos = maiuscola.find(chiave);
    if (pos == std::string::npos) {
        chiave = ConvertiInWide(chiave);
        pos = maiuscola.find(chiave);
        if (pos == std::string::npos) return std::string();
        doppio = true;
    }
    size_t inizio = pos + chiave.size();
    while (inizio < risorsa.size() && risorsa[inizio] == '\0') ++inizio;
    const size_t fine = risorsa.find(doppio ? std::string(2, '\0') : std::string(1, '\0'), inizio);
    if (inizio >= risorsa.size() || fine == std::string::npos) return std::string();
    std::string valore;
    for (size_t i = inizio; i < fine; ++i)
        if (risorsa[i] != '\0') valore += risorsa[i];
    return valore;
}

bool EsisteCartella(const std::string& percorso) {
    if (Trim(percorso).empty()) return false;
    const DWORD attributi = GetFileAttributesA(percorso.c_str());
    return attributi != INVALID_FILE_ATTRIBUTES && (attributi & FILE_ATTRIBUTE_DIRECTORY);
}

bool CreaCartella(const std::string& percorso) {
    if (EsisteCartella(percorso)) return true;
    return CreateDirectoryA(percorso.c_str(), nullptr) != 0;
}

std::vector<std::string> ElencoFile(const std::string& cartella, const std::string& modello, int32_t& conteggio) {
    std::vector<std::string> elenco;
    RicercaFile r(NellaCartella(cartella, modello));
    if (r.Valida()) {
        do {
            if (!IsCartellaDati(r.Dati())) elenco.push_back(NellaCartella(cartella, r.Dati().cFileName));
        } while (r.Prossimo());
    }
    conteggio = static_cast<int32_t>(elenco.size());
    return elenco;
}

bool CancellaFiles(const std::string& cartella, const std::string& modello) {
    int32_t n = 0;
    for (const std::string& f : ElencoFile(cartella, modello, n))
        if (!CancellaFile(f)) return false;
    return true;
}

bool RimuoviCartella(const std::string& cartella) {
    if (!CancellaFiles(cartella, "*")) return false;
    // The folder to remove must not be the current one.
    SetCurrentDirectoryA("c:\\");
    SetFileAttributesA(cartella.c_str(), FILE_ATTRIBUTE_NORMAL);
    return RemoveDirectoryA(cartella.c_str()) != 0;
}

bool IsFileOccupato(int32_t numero, int32_t tipo, bool forza) {
    try {
        if (!forza && RispostaLoggerFileOccupato) {
            const int32_t risposta = RispostaLoggerFileOccupato(numero, tipo);
            if (risposta == 0 || risposta == 1) return risposta == 1;
        }
        std::string nome;
        switch (tipo) {
        case FileTracciaCd:
            nome = NomeWavTraccia(numero);
            break;
        case FileLivello:
            if (numero < 0 || numero >= NumLivelli || numero >= static_cast<int32_t>(FileLivelli.size())) {
                if (LogAbilitato)
                    StampaLog("WARNING: IsFileOccupato(); not valid number of level to check: " +
                              std::to_string(numero));
                return false;
            }
            nome = FileLivelli[static_cast<size_t>(numero)];
            break;
        case FileSavegame:
            nome = PercorsoSavegame(numero);
            break;
        default:
            break;
        }
        if (!(tipo == FileTracciaCd && numero == CdCorrente)) ClockSleep(0);
        return EsisteFileOpenFile(nome);
    } catch (const std::exception& e) {
        StampaLog(std::string("ERROR in IsFileOccupato(): ") + e.what(), true);
        return false;
    }
}

std::string PercorsoCorto(const std::string& percorso) {
    char buffer[256];
    const DWORD n = GetShortPathNameA(percorso.c_str(), buffer, 255);
    if (n == 0 || n >= 255) return percorso;
    const std::string corto(buffer, n);
    if (Trim(corto).empty()) return percorso;
    return corto;
}

std::string PercorsoLungo(std::string& percorso) {
    percorso += "\\";
    if (percorso.size() < 3) return std::string();
    std::string nomi;
    for (size_t p = percorso.find('\\', 3); p != std::string::npos; p = percorso.find('\\', p + 1)) {
        RicercaFile r(percorso.substr(0, p));
        if (!r.Valida()) return std::string();
        if (!nomi.empty()) nomi += "\\";
        nomi += r.Dati().cFileName;
    }
    return MaiuscoloAscii(percorso.substr(0, 2)) + "\\" + nomi;
}
