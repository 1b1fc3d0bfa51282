#include "core/Utf8Files.h"

#include <windows.h>

#include "core/FileUtils.h"
#include "core/PathNames.h"
#include "core/TextUtils.h"
#include "core/Utf8Text.h"

namespace {

std::wstring W(const std::string& percorso) {
    const std::u16string u = Utf16DaUtf8(percorso);
    return std::wstring(u.begin(), u.end());
}

std::string Utf8(const wchar_t* testo) {
    const std::wstring w(testo);
    return Utf8DaUtf16(std::u16string(w.begin(), w.end()));
}

class RicercaFile {
public:
    explicit RicercaFile(const std::string& modello) { h_ = FindFirstFileW(W(modello).c_str(), &dati_); }
    ~RicercaFile() {
        if (h_ != INVALID_HANDLE_VALUE) FindClose(h_);
    }
    bool Valida() const { return h_ != INVALID_HANDLE_VALUE; }
    const WIN32_FIND_DATAW& Dati() const { return dati_; }
    bool Prossimo() { return FindNextFileW(h_, &dati_) != 0; }

private:
    HANDLE h_;
    WIN32_FIND_DATAW dati_;
};

bool IsCartellaDati(const WIN32_FIND_DATAW& d) { return (d.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }

std::wstring FormaPiena(const std::string& percorso) {
    wchar_t pieno[MAX_PATH * 2];
    const DWORD n = GetFullPathNameW(W(percorso).c_str(), MAX_PATH * 2, pieno, nullptr);
    if (n == 0 || n >= MAX_PATH * 2) return W(percorso);
    wchar_t lungo[MAX_PATH * 2];
    const DWORD l = GetLongPathNameW(pieno, lungo, MAX_PATH * 2);
    if (l == 0 || l >= MAX_PATH * 2) return pieno;
    return lungo;
}

}  // namespace

std::FILE* ApriFileUtf8(const std::string& percorso, const char* modo) {
    const std::string m = modo;
    return _wfopen(W(percorso).c_str(), std::wstring(m.begin(), m.end()).c_str());
}

bool EsisteFileUtf8(const std::string& percorso) {
    if (PulisciStringa(percorso).empty()) return false;
    RicercaFile r(percorso);
    if (!r.Valida()) return false;
    do {
        if (!IsCartellaDati(r.Dati())) return true;
    } while (r.Prossimo());
    return false;
}

bool CancellaFileUtf8(const std::string& percorso) {
    if (!EsisteFileUtf8(percorso)) return true;
    const std::wstring w = W(percorso);
    const DWORD attributi = GetFileAttributesW(w.c_str());
    if (attributi != INVALID_FILE_ATTRIBUTES && (attributi & FILE_ATTRIBUTE_READONLY)) {
        if (!SetFileAttributesW(w.c_str(), FILE_ATTRIBUTE_ARCHIVE)) return false;
    }
    return DeleteFileW(w.c_str()) != 0;
}

bool StessoFileUtf8(const std::string& a, const std::string& b) {
    // Letter case is compared by the system's own rule, as file names are.
    return CompareStringW(LOCALE_INVARIANT, NORM_IGNORECASE, FormaPiena(a).c_str(), -1, FormaPiena(b).c_str(), -1) ==
           CSTR_EQUAL;
}

bool CopiaFileUtf8(const std::string& sorgente, const std::string& destinazione) {
    // Deleting the destination would delete the source itself.
    if (StessoFileUtf8(sorgente, destinazione)) return EsisteFileUtf8(sorgente);
    if (EsisteFileUtf8(destinazione)) CancellaFileUtf8(destinazione);
    // A failed copy is a failure even when an older file of that name is
    // still there.
    return CopyFileW(W(sorgente).c_str(), W(destinazione).c_str(), FALSE) != 0;
}

bool RinominaFileUtf8(const std::string& da, const std::string& a) {
    return _wrename(W(da).c_str(), W(a).c_str()) == 0;
}

bool EsisteCartellaUtf8(const std::string& percorso) {
    if (Trim(percorso).empty()) return false;
    const DWORD attributi = GetFileAttributesW(W(percorso).c_str());
    return attributi != INVALID_FILE_ATTRIBUTES && (attributi & FILE_ATTRIBUTE_DIRECTORY);
}

bool CreaCartellaUtf8(const std::string& percorso) {
    if (EsisteCartellaUtf8(percorso)) return true;
    return CreateDirectoryW(W(percorso).c_str(), nullptr) != 0;
}

std::vector<std::string> ElencoFileUtf8(const std::string& cartella, const std::string& modello) {
    std::vector<std::string> elenco;
    RicercaFile r(NellaCartella(cartella, modello));
    if (r.Valida()) {
        do {
            if (!IsCartellaDati(r.Dati())) elenco.push_back(NellaCartella(cartella, Utf8(r.Dati().cFileName)));
        } while (r.Prossimo());
    }
    return elenco;
}

bool CancellaFilesUtf8(const std::string& cartella, const std::string& modello) {
    for (const std::string& f : ElencoFileUtf8(cartella, modello))
        if (!CancellaFileUtf8(f)) return false;
    return true;
}

bool RimuoviCartellaUtf8(const std::string& cartella) {
    if (!CancellaFilesUtf8(cartella, "*")) return false;
    // The folder to remove must not be the current one.
    SetCurrentDirectoryA("c:\\");
    const std::wstring w = W(cartella);
    SetFileAttributesW(w.c_str(), FILE_ATTRIBUTE_NORMAL);
    return RemoveDirectoryW(w.c_str()) != 0;
}

std::string PercorsoAnsi(const std::string& percorso) {
    const std::string ansi = AnsiDaUtf8(percorso);
    if (Utf8DaAnsi(ansi) == percorso) return ansi;
    wchar_t corto[MAX_PATH * 2];
    const DWORD n = GetShortPathNameW(W(percorso).c_str(), corto, MAX_PATH * 2);
    if (n == 0 || n >= MAX_PATH * 2) return "";
    const std::string cortoUtf8 = Utf8(corto);
    const std::string cortoAnsi = AnsiDaUtf8(cortoUtf8);
    return Utf8DaAnsi(cortoAnsi) == cortoUtf8 ? cortoAnsi : "";
}

namespace {
bool IsFileSoloW(const std::wstring& percorso) {
    const DWORD attributi = GetFileAttributesW(percorso.c_str());
    return attributi != INVALID_FILE_ATTRIBUTES && !(attributi & FILE_ATTRIBUTE_DIRECTORY);
}
}  // namespace

bool SostituisciFileUtf8(const std::string& nuovo, const std::string& percorso) {
    const std::wstring n = W(nuovo), p = W(percorso);
    // The caller reads the failing step's own error: each clean-up below
    // puts it back.
    const auto fallisce = [](DWORD errore) {
        SetLastError(errore);
        return false;
    };
    if (!IsFileSoloW(n)) return fallisce(ERROR_FILE_NOT_FOUND);
    const std::string backupUtf8 = PercorsoBackup(percorso);
    const std::wstring b = W(backupUtf8);
    const bool cera = IsFileSoloW(p);
    if (cera) {
        // A read-only copy left by the user must not block the next one.
        const DWORD attributi = GetFileAttributesW(p.c_str());
        if (attributi & FILE_ATTRIBUTE_READONLY)
            SetFileAttributesW(p.c_str(), attributi & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY));
        if (!CancellaFileUtf8(backupUtf8)) return false;
    }
    if (PiattaformaSostituzione() >= 5) {
        // The backup is a second name of the old file (a copy where the disk
        // has no links), made before the one move that replaces it.
        if (cera && !CreateHardLinkW(b.c_str(), p.c_str(), nullptr) && !CopyFileW(p.c_str(), b.c_str(), FALSE))
            return false;
        if (!MoveFileExW(n.c_str(), p.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
            DWORD errore = GetLastError();
            // The system refuses to replace a file that another process has
            // open with a denial: for a file that was there, writable, that
            // is the sharing violation it is.
            if (cera && errore == ERROR_ACCESS_DENIED) errore = ERROR_SHARING_VIOLATION;
            // The file stayed as it was, and a linked backup would change
            // with it.
            if (cera) DeleteFileW(b.c_str());
            return fallisce(errore);
        }
    } else {
        if (cera && !MoveFileW(p.c_str(), b.c_str())) return false;
        if (!MoveFileW(n.c_str(), p.c_str())) {
            const DWORD errore = GetLastError();
            if (cera) MoveFileW(b.c_str(), p.c_str());
            return fallisce(errore);
        }
    }
    if (IsFileSoloW(p)) return true;
    if (cera) MoveFileW(b.c_str(), p.c_str());
    return fallisce(ERROR_FILE_NOT_FOUND);
}

bool ImpostaDataFileUtf8(const std::string& percorso, const DataOra& data) {
    if (percorso.empty()) return false;
    SYSTEMTIME st{};
    st.wYear = static_cast<WORD>(data.Anno);
    st.wMonth = static_cast<WORD>(data.Mese);
    st.wDay = static_cast<WORD>(data.Giorno);
    st.wHour = static_cast<WORD>(data.Ora);
    st.wMinute = static_cast<WORD>(data.Minuto);
    st.wSecond = static_cast<WORD>(data.Secondo);
    FILETIME locale{}, universale{};
    if (!SystemTimeToFileTime(&st, &locale) || !LocalFileTimeToFileTime(&locale, &universale)) return false;
    HANDLE h = CreateFileW(W(percorso).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    const bool ok = SetFileTime(h, &universale, &universale, &universale) != 0;
    CloseHandle(h);
    return ok;
}
