// Host stand-ins for the routines of the Windows side that the byte and text
// modules call: message boxes are recorded, files go through POSIX calls
// on paths mapped as Windows finds them, the code page is Windows-1252.
#include "tests/native/HostPlatform.h"

#include <dirent.h>
#include <strings.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <ctime>

#include "core/AnsiCodePage.h"
#include "core/FileUtils.h"
#include "core/MediaConfig.h"
#include "core/MediaLog.h"
#include "core/MediaPacket.h"
#include "core/MediaSyntax.h"
#include "core/PacketEntries.h"
#include "core/SharedState.h"
#include "core/SystemUtils.h"
#include "core/TextUtils.h"
#include "core/Utf8Files.h"
#include "runservices/LoggerClient.h"
#include "runservices/RunState.h"

std::vector<BoxHost> BoxMostrati;
char SeparatoreHost = '.';

const char* const TitoloProgramma = "Vorn Media Module";

int32_t Messaggio(const std::string& testo, uint32_t stile, std::string titolo) {
    if (titolo.empty()) titolo = TitoloProgramma;
    BoxMostrati.push_back({testo, stile, titolo});
    return 1;
}

int32_t PiattaformaWindows() { return 5; }
bool IsWindowsNT() { return true; }
char SeparatoreDecimale() { return SeparatoreHost; }

std::string PercorsoHost(const std::string& percorso) {
    std::string p = percorso;
    std::replace(p.begin(), p.end(), '\\', '/');
    std::string risolto = !p.empty() && p[0] == '/' ? "/" : "";
    bool trovato = true;
    size_t inizio = 0;
    while (inizio <= p.size()) {
        size_t fine = p.find('/', inizio);
        if (fine == std::string::npos) fine = p.size();
        const std::string parte = p.substr(inizio, fine - inizio);
        inizio = fine + 1;
        if (parte.empty()) continue;
        std::string nome = parte;
        struct stat s;
        // Past a missing component nothing more can be found.
        if (trovato && parte != "." && parte != ".." && lstat((risolto + parte).c_str(), &s) != 0) {
            trovato = false;
            if (DIR* d = opendir(risolto.empty() ? "." : risolto.c_str())) {
                while (const dirent* e = readdir(d))
                    if (strcasecmp(e->d_name, parte.c_str()) == 0) {
                        nome = e->d_name;
                        trovato = true;
                        break;
                    }
                closedir(d);
            }
        }
        risolto += nome;
        if (fine < p.size()) risolto += "/";
    }
    return risolto;
}

bool EsisteFile(const std::string& percorso) {
    struct stat s;
    return !PulisciStringa(percorso).empty() && stat(PercorsoHost(percorso).c_str(), &s) == 0 && S_ISREG(s.st_mode);
}

bool CancellaFile(const std::string& percorso) {
    return !EsisteFile(percorso) || unlink(PercorsoHost(percorso).c_str()) == 0;
}

bool StessoFile(const std::string& a, const std::string& b) {
    struct stat sa, sb;
    if (stat(PercorsoHost(a).c_str(), &sa) != 0 || stat(PercorsoHost(b).c_str(), &sb) != 0)
        return PercorsoHost(a) == PercorsoHost(b);
    return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

std::FILE* ApriFile(const std::string& percorso, const char* modo) {
    return std::fopen(PercorsoHost(percorso).c_str(), modo);
}

bool LeggiFileIntero(const std::string& percorso, std::string& dati, int64_t massimo) {
    dati.clear();
    struct stat s;
    if (!EsisteFile(percorso) || stat(PercorsoHost(percorso).c_str(), &s) != 0 || s.st_size > massimo) return false;
    std::FILE* f = ApriFile(percorso, "rb");
    if (!f) return false;
    dati.resize(static_cast<size_t>(s.st_size));
    dati.resize(std::fread(dati.data(), 1, dati.size(), f));
    const bool ok = !std::ferror(f);
    std::fclose(f);
    if (!ok) dati.clear();
    return ok;
}

std::string LeggiFileIntero(const std::string& percorso) {
    std::string dati;
    LeggiFileIntero(percorso, dati, 0x7FFFFFFE);
    return dati;
}

bool ScriviFileTesto(const std::string& percorso, const std::string& testo) {
    std::FILE* f = ApriFile(percorso, "wb");
    if (!f) return false;
    const std::string dati = testo + "\r\n";
    const bool ok = std::fwrite(dati.data(), 1, dati.size(), f) == dati.size();
    return std::fclose(f) == 0 && ok;
}

// As Windows renames: a file already at <a> makes it fail.
bool RinominaFile(const std::string& da, const std::string& a) {
    struct stat s;
    if (lstat(PercorsoHost(a).c_str(), &s) == 0) return false;
    return std::rename(PercorsoHost(da).c_str(), PercorsoHost(a).c_str()) == 0;
}

// Copies in blocks, so that a large packet never sits in memory whole; the
// copy keeps the file's times, as CopyFile does.
bool CopiaFile(const std::string& sorgente, const std::string& destinazione) {
    if (StessoFile(sorgente, destinazione)) return EsisteFile(sorgente);
    std::FILE* in = ApriFile(sorgente, "rb");
    if (!in) return false;
    std::FILE* out = ApriFile(destinazione, "wb");
    if (!out) {
        std::fclose(in);
        return false;
    }
    bool ok = true;
    char blocco[65536];
    size_t letti;
    while ((letti = std::fread(blocco, 1, sizeof blocco, in)) > 0)
        if (std::fwrite(blocco, 1, letti, out) != letti) {
            ok = false;
            break;
        }
    if (std::ferror(in)) ok = false;
    std::fclose(in);
    if (std::fclose(out) != 0) ok = false;
    struct stat s;
    if (ok && stat(PercorsoHost(sorgente).c_str(), &s) == 0) {
        const timeval tempi[2] = {{s.st_atime, 0}, {s.st_mtime, 0}};
        utimes(PercorsoHost(destinazione).c_str(), tempi);
    }
    return ok;
}

namespace {
// Host paths may use either separator.
std::string Accanto(const std::string& percorso, const std::string& nome) {
    const size_t p = percorso.find_last_of("\\/");
    return p == std::string::npos ? nome : percorso.substr(0, p + 1) + nome;
}
std::string NomeHost(const std::string& percorso) {
    const size_t p = percorso.find_last_of("\\/");
    return p == std::string::npos ? percorso : percorso.substr(p + 1);
}
}  // namespace

std::string PercorsoBackup(const std::string& percorso) { return Accanto(percorso, "backup_" + NomeHost(percorso)); }

// POSIX renames replace in one step; the backup is a second link of the old
// file.
bool SostituisciFile(const std::string& nuovo, const std::string& percorso) {
    if (!EsisteFile(nuovo)) return false;
    const std::string backup = PercorsoBackup(percorso);
    const bool cera = EsisteFile(percorso);
    if (cera && (!CancellaFile(backup) || link(PercorsoHost(percorso).c_str(), PercorsoHost(backup).c_str()) != 0))
        return false;
    if (std::rename(PercorsoHost(nuovo).c_str(), PercorsoHost(percorso).c_str()) != 0) {
        if (cera) unlink(PercorsoHost(backup).c_str());
        return false;
    }
    return true;
}

namespace {

// <dati> whole in _tem_<name> beside the file: its path, or "".
std::string ScriviTemporaneo(const std::string& percorso, const std::string& dati) {
    const std::string temporaneo = Accanto(percorso, "_tem_" + NomeHost(percorso));
    std::FILE* f = ApriFile(temporaneo, "wb");
    if (!f) return std::string();
    bool ok = std::fwrite(dati.data(), 1, dati.size(), f) == dati.size();
    if (std::fclose(f) != 0) ok = false;
    if (!ok) {
        CancellaFile(temporaneo);
        return std::string();
    }
    return temporaneo;
}

}  // namespace

// No lock here keeps another process's file from being replaced.
bool EsisteFileOpenFile(const std::string&) { return false; }

bool RiscriviConBackup(const std::string& percorso, const std::string& dati) {
    const std::string temporaneo = ScriviTemporaneo(percorso, dati);
    if (temporaneo.empty()) return false;
    if (!SostituisciFile(temporaneo, percorso)) {
        CancellaFile(temporaneo);
        return false;
    }
    return true;
}

// Nothing here holds a file against its writer.
EsitoFile RiscriviConBackupEsito(const std::string& percorso, const std::string& dati) {
    return RiscriviConBackup(percorso, dati) ? EsitoFile::Fatto : EsitoFile::Fallito;
}

EsitoFile CancellaFileEsito(const std::string& percorso) {
    return CancellaFile(percorso) ? EsitoFile::Fatto : EsitoFile::Fallito;
}

bool RiscriviSenzaBackup(const std::string& percorso, const std::string& dati) {
    const std::string temporaneo = ScriviTemporaneo(percorso, dati);
    if (temporaneo.empty()) return false;
    if (std::rename(PercorsoHost(temporaneo).c_str(), PercorsoHost(percorso).c_str()) != 0) {
        CancellaFile(temporaneo);
        return false;
    }
    return true;
}

bool EsisteCartella(const std::string& percorso) {
    struct stat s;
    return !Trim(percorso).empty() && stat(PercorsoHost(percorso).c_str(), &s) == 0 && S_ISDIR(s.st_mode);
}

bool CreaCartella(const std::string& percorso) {
    return EsisteCartella(percorso) || mkdir(PercorsoHost(percorso).c_str(), 0777) == 0;
}

namespace {
// The wildcards of a file search, without regard to case; "*.*" takes
// names without a dot too.
bool Corrisponde(const char* nome, const char* modello) {
    if (std::string(modello) == "*.*") return true;
    for (; *modello; ++modello, ++nome) {
        if (*modello == '*') {
            for (const char* resto = nome;; ++resto) {
                if (Corrisponde(resto, modello + 1)) return true;
                if (!*resto) return false;
            }
        }
        if (!*nome || (*modello != '?' && std::tolower(static_cast<unsigned char>(*modello)) !=
                                              std::tolower(static_cast<unsigned char>(*nome))))
            return false;
    }
    return !*nome;
}
}  // namespace

// In name order, so that runs are alike whatever the host's file system.
std::vector<std::string> ElencoFile(const std::string& cartella, const std::string& modello, int32_t& conteggio) {
    std::vector<std::string> nomi;
    const std::string host = PercorsoHost(cartella);
    if (DIR* d = opendir(host.c_str())) {
        while (const dirent* e = readdir(d)) {
            struct stat s;
            if (Corrisponde(e->d_name, modello.c_str()) && stat((host + "/" + e->d_name).c_str(), &s) == 0 &&
                S_ISREG(s.st_mode))
                nomi.push_back(e->d_name);
        }
        closedir(d);
    }
    std::sort(nomi.begin(), nomi.end());
    std::vector<std::string> elenco;
    for (const std::string& n : nomi) elenco.push_back(NellaCartella(cartella, n));
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
    return CancellaFiles(cartella, "*") && rmdir(PercorsoHost(cartella).c_str()) == 0;
}

// File dates as the Windows side gives them: local time, whole seconds.
// Host file names are UTF-8 bytes already: the UTF-8 routines are the plain ones.
std::FILE* ApriFileUtf8(const std::string& percorso, const char* modo) { return ApriFile(percorso, modo); }
bool EsisteFileUtf8(const std::string& percorso) { return EsisteFile(percorso); }
bool CancellaFileUtf8(const std::string& percorso) { return CancellaFile(percorso); }
bool CopiaFileUtf8(const std::string& sorgente, const std::string& destinazione) {
    return CopiaFile(sorgente, destinazione);
}
bool StessoFileUtf8(const std::string& a, const std::string& b) { return StessoFile(a, b); }
bool RinominaFileUtf8(const std::string& da, const std::string& a) { return RinominaFile(da, a); }
bool SostituisciFileUtf8(const std::string& nuovo, const std::string& percorso) {
    return SostituisciFile(nuovo, percorso);
}
bool EsisteCartellaUtf8(const std::string& percorso) { return EsisteCartella(percorso); }
bool CreaCartellaUtf8(const std::string& percorso) { return CreaCartella(percorso); }
std::vector<std::string> ElencoFileUtf8(const std::string& cartella, const std::string& modello) {
    int32_t n = 0;
    return ElencoFile(cartella, modello, n);
}
bool CancellaFilesUtf8(const std::string& cartella, const std::string& modello) {
    return CancellaFiles(cartella, modello);
}
bool RimuoviCartellaUtf8(const std::string& cartella) { return RimuoviCartella(cartella); }
std::string PercorsoAnsi(const std::string& percorso) { return percorso; }

namespace {
double DaTempo(std::time_t t) {
    std::tm tm{};
    localtime_r(&t, &tm);
    DataOra d;
    d.Anno = tm.tm_year + 1900;
    d.Mese = tm.tm_mon + 1;
    d.Giorno = tm.tm_mday;
    d.Ora = tm.tm_hour;
    d.Minuto = tm.tm_min;
    d.Secondo = tm.tm_sec;
    return DataOle(d);
}
}  // namespace

bool DataModificaFile(const std::string& percorso, double& data) {
    struct stat s;
    if (stat(PercorsoHost(percorso).c_str(), &s) != 0) return false;
    data = DaTempo(s.st_mtime);
    return true;
}

double DataOraCorrente() { return DaTempo(std::time(nullptr)); }

bool ImpostaDataFileOle(const std::string& percorso, double data) {
    const DataOra d = DaDataOle(data);
    std::tm tm{};
    tm.tm_year = d.Anno - 1900;
    tm.tm_mon = d.Mese - 1;
    tm.tm_mday = d.Giorno;
    tm.tm_hour = d.Ora;
    tm.tm_min = d.Minuto;
    tm.tm_sec = d.Secondo;
    tm.tm_isdst = -1;
    const std::time_t t = std::mktime(&tm);
    if (t == static_cast<std::time_t>(-1)) return false;
    const timeval tempi[2] = {{t, 0}, {t, 0}};
    return utimes(PercorsoHost(percorso).c_str(), tempi) == 0;
}

namespace {
// Windows-1252 from 0x80 to 0x9F; the rest of the page is Latin-1.
const char16_t Alti[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
                           0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
                           0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
}

std::u16string Utf16DaAnsi(const std::string& testo) {
    std::u16string s;
    for (char c : testo) {
        const auto b = static_cast<unsigned char>(c);
        s += b >= 0x80 && b < 0xA0 ? Alti[b - 0x80] : static_cast<char16_t>(b);
    }
    return s;
}

std::string AnsiDaUtf16(const std::u16string& testo) {
    std::string s;
    for (char16_t u : testo) {
        char c = '?';
        if (u < 0x80 || (u >= 0xA0 && u < 0x100)) {
            c = static_cast<char>(u);
        } else {
            for (int i = 0; i < 32; ++i)
                if (Alti[i] == u) c = static_cast<char>(0x80 + i);
        }
        s += c;
    }
    return s;
}

std::string ScegliFileMediaConfig() { return ""; }

std::string NomeLingua() { return LinguaForzata.empty() ? "ENGLISH" : LinguaForzata; }

void ImpostaFontSezione(void*, int32_t) {}

// The run's state that the game executable patcher reads and changes.
int32_t OpzioniGioco = 0;
void DisabilitaLogger() {
    StampaLog("Disable usage of logger functions");
    StatoGioco &= ~static_cast<int32_t>(FlagLoggerInUso);
}
