#include "core/FileUtils.h"

#include <windows.h>

#include <exception>

#include "core/MediaExtraction.h"
#include "core/MediaLog.h"
#include "core/SharedState.h"
#include "core/SystemUtils.h"
#include "core/TextUtils.h"
#include "core/Utf8Files.h"
#include "core/Utf8Text.h"
#include "platform/Clock.h"

int32_t (*RispostaLoggerFileOccupato)(int32_t numero, int32_t tipo) = nullptr;
int32_t (*PiattaformaSostituzione)() = PiattaformaWindows;

// The ANSI routines are the UTF-8 ones: the system turns an ANSI path into
// UTF-16 through the code page, as Utf8DaAnsi does, so both name one file.
bool EsisteFile(const std::string& percorso) { return EsisteFileUtf8(Utf8DaAnsi(percorso)); }

bool CancellaFile(const std::string& percorso) { return CancellaFileUtf8(Utf8DaAnsi(percorso)); }

bool StessoFile(const std::string& a, const std::string& b) { return StessoFileUtf8(Utf8DaAnsi(a), Utf8DaAnsi(b)); }

bool CopiaFile(const std::string& sorgente, const std::string& destinazione) {
    return CopiaFileUtf8(Utf8DaAnsi(sorgente), Utf8DaAnsi(destinazione));
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

std::FILE* ApriFile(const std::string& percorso, const char* modo) { return ApriFileUtf8(Utf8DaAnsi(percorso), modo); }

bool RinominaFile(const std::string& da, const std::string& a) {
    return RinominaFileUtf8(Utf8DaAnsi(da), Utf8DaAnsi(a));
}

std::string PercorsoBackup(const std::string& percorso) {
    return NellaCartella(CartellaDaPercorso(percorso), "backup_" + NomeFileDaPercorso(percorso));
}

bool SostituisciFile(const std::string& nuovo, const std::string& percorso) {
    return SostituisciFileUtf8(Utf8DaAnsi(nuovo), Utf8DaAnsi(percorso));
}

namespace {

// <dati> in _tem_<name> beside <percorso>, on disk: its path, or "" when it
// could not be written whole (nothing is left behind then).
std::string ScriviTemporaneo(const std::string& percorso, const std::string& dati) {
    const std::string temporaneo = NellaCartella(CartellaDaPercorso(percorso), "_tem_" + NomeFileDaPercorso(percorso));
    CancellaFile(temporaneo);
    HANDLE h = CreateFileA(temporaneo.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                           nullptr);
    if (h == INVALID_HANDLE_VALUE) return std::string();
    DWORD scritti = 0;
    bool ok = dati.empty() ||
              (WriteFile(h, dati.data(), static_cast<DWORD>(dati.size()), &scritti, nullptr) && scritti == dati.size());
    // On disk before it takes the old file's place.
    if (!FlushFileBuffers(h)) ok = false;
    if (!CloseHandle(h)) ok = false;
    if (!ok) {
        CancellaFile(temporaneo);
        return std::string();
    }
    return temporaneo;
}

}  // namespace

namespace {

EsitoFile EsitoDaErrore(DWORD errore) {
    return errore == ERROR_SHARING_VIOLATION || errore == ERROR_LOCK_VIOLATION ? EsitoFile::InUso
                                                                                : EsitoFile::Fallito;
}

}  // namespace

bool RiscriviConBackup(const std::string& percorso, const std::string& dati) {
    return RiscriviConBackupEsito(percorso, dati) == EsitoFile::Fatto;
}

EsitoFile RiscriviConBackupEsito(const std::string& percorso, const std::string& dati) {
    const std::string temporaneo = ScriviTemporaneo(percorso, dati);
    if (temporaneo.empty()) return EsitoFile::Fallito;
    if (!SostituisciFile(temporaneo, percorso)) {
        const DWORD errore = GetLastError();
        CancellaFile(temporaneo);
        return EsitoDaErrore(errore);
    }
    return EsitoFile::Fatto;
}

EsitoFile CancellaFileEsito(const std::string& percorso) {
    if (CancellaFile(percorso)) return EsitoFile::Fatto;
    const DWORD errore = GetLastError();
    return EsisteFile(percorso) ? EsitoDaErrore(errore) : EsitoFile::Fatto;
}

bool RiscriviSenzaBackup(const std::string& percorso, const std::string& dati) {
    const std::string temporaneo = ScriviTemporaneo(percorso, dati);
    if (temporaneo.empty()) return false;
    const DWORD attributi = GetFileAttributesA(percorso.c_str());
    if (attributi != INVALID_FILE_ATTRIBUTES && (attributi & FILE_ATTRIBUTE_READONLY)) {
        CancellaFile(temporaneo);
        return false;
    }
    bool ok;
    if (PiattaformaSostituzione() >= 5) {
        ok = MoveFileExA(temporaneo.c_str(), percorso.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    } else {
        // No replacing move: the old file steps aside until the new one is in.
        const std::string vecchio =
            NellaCartella(CartellaDaPercorso(percorso), "_old_" + NomeFileDaPercorso(percorso));
        CancellaFile(vecchio);
        ok = MoveFileA(percorso.c_str(), vecchio.c_str());
        if (ok && !MoveFileA(temporaneo.c_str(), percorso.c_str())) {
            MoveFileA(vecchio.c_str(), percorso.c_str());
            ok = false;
        }
        if (ok) CancellaFile(vecchio);
    }
    if (!ok) CancellaFile(temporaneo);
    return ok;
}

bool ImpostaDataFile(const std::string& percorso, const DataOra& data) {
    return ImpostaDataFileUtf8(Utf8DaAnsi(percorso), data);
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

bool EsisteCartella(const std::string& percorso) { return EsisteCartellaUtf8(Utf8DaAnsi(percorso)); }

bool CreaCartella(const std::string& percorso) { return CreaCartellaUtf8(Utf8DaAnsi(percorso)); }

std::vector<std::string> ElencoFile(const std::string& cartella, const std::string& modello, int32_t& conteggio) {
    std::vector<std::string> elenco;
    // A name the code page lacks comes back with "?" for those characters,
    // as the system's own ANSI search gives it.
    for (const std::string& f : ElencoFileUtf8(Utf8DaAnsi(cartella), Utf8DaAnsi(modello)))
        elenco.push_back(NellaCartella(cartella, AnsiDaUtf8(NomeFileDaPercorso(f))));
    conteggio = static_cast<int32_t>(elenco.size());
    return elenco;
}

// By the files' own names, so that a name the code page lacks goes too.
bool CancellaFiles(const std::string& cartella, const std::string& modello) {
    return CancellaFilesUtf8(Utf8DaAnsi(cartella), Utf8DaAnsi(modello));
}

bool RimuoviCartella(const std::string& cartella) { return RimuoviCartellaUtf8(Utf8DaAnsi(cartella)); }

std::string PercorsoSavegame(int32_t numero) { return Trim(CartellaTrle) + "\\savegame." + std::to_string(numero); }

bool EsisteFileOpenFile(const std::string& percorso) {
    if (PulisciStringa(percorso).empty()) return false;
    const DWORD attributi = GetFileAttributesA(percorso.c_str());
    if (attributi == INVALID_FILE_ATTRIBUTES || (attributi & FILE_ATTRIBUTE_DIRECTORY)) return false;
    DWORD accesso = (attributi & FILE_ATTRIBUTE_READONLY) ? GENERIC_READ : GENERIC_READ | GENERIC_WRITE;
    for (;;) {
        HANDLE h = CreateFileA(percorso.c_str(), accesso, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h != INVALID_HANDLE_VALUE) {
            CloseHandle(h);
            return false;
        }
        const DWORD errore = GetLastError();
        if (errore == ERROR_ACCESS_DENIED && accesso != GENERIC_READ) {
            accesso = GENERIC_READ;
            continue;
        }
        return errore == ERROR_SHARING_VIOLATION || errore == ERROR_LOCK_VIOLATION;
    }
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
        WIN32_FIND_DATAA dati;
        const HANDLE h = FindFirstFileA(percorso.substr(0, p).c_str(), &dati);
        if (h == INVALID_HANDLE_VALUE) return std::string();
        FindClose(h);
        if (!nomi.empty()) nomi += "\\";
        nomi += dati.cFileName;
    }
    return MaiuscoloAscii(percorso.substr(0, 2)) + "\\" + nomi;
}
