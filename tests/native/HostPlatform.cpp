// Host stand-ins for the routines of the Windows side that the byte and text
// modules call: message boxes are recorded, files go through POSIX calls,
// the code page is Windows-1252.
#include "tests/native/HostPlatform.h"

#include <cstdio>
#include <sys/stat.h>

#include <cstdio>
#include <unistd.h>

#include "core/AnsiCodePage.h"
#include "core/FileUtils.h"
#include "core/MediaConfig.h"
#include "core/MediaExtraction.h"
#include "core/MediaSyntax.h"
#include "core/SystemUtils.h"
#include "core/TextUtils.h"
#include "gamerun/RunState.h"

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

bool EsisteFile(const std::string& percorso) {
    struct stat s;
    return !PulisciStringa(percorso).empty() && stat(percorso.c_str(), &s) == 0 && S_ISREG(s.st_mode);
}

bool CancellaFile(const std::string& percorso) { return !EsisteFile(percorso) || unlink(percorso.c_str()) == 0; }

// Copies in blocks, so that a large packet never sits in memory whole.
bool CopiaFile(const std::string& sorgente, const std::string& destinazione) {
    std::FILE* in = std::fopen(sorgente.c_str(), "rb");
    if (!in) return false;
    std::FILE* out = std::fopen(destinazione.c_str(), "wb");
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
    if (cera && (!CancellaFile(backup) || link(percorso.c_str(), backup.c_str()) != 0)) return false;
    if (std::rename(nuovo.c_str(), percorso.c_str()) != 0) {
        if (cera) unlink(backup.c_str());
        return false;
    }
    return true;
}

bool RiscriviConBackup(const std::string& percorso, const std::string& dati) {
    const std::string temporaneo = Accanto(percorso, "_tem_" + NomeHost(percorso));
    std::FILE* f = std::fopen(temporaneo.c_str(), "wb");
    if (!f) return false;
    bool ok = std::fwrite(dati.data(), 1, dati.size(), f) == dati.size();
    if (std::fclose(f) != 0) ok = false;
    if (!ok || !SostituisciFile(temporaneo, percorso)) {
        unlink(temporaneo.c_str());
        return false;
    }
    return true;
}

bool EsisteCartella(const std::string& percorso) {
    struct stat s;
    return !Trim(percorso).empty() && stat(percorso.c_str(), &s) == 0 && S_ISDIR(s.st_mode);
}

bool CreaCartella(const std::string& percorso) {
    return EsisteCartella(percorso) || mkdir(percorso.c_str(), 0777) == 0;
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

// The packet manager is not built here: no virtual folder to mend.
void CartellaVirtuale() {}

std::string NomeLingua() { return LinguaForzata.empty() ? "ENGLISH" : LinguaForzata; }

void ImpostaFontSezione(void*, int32_t) {}
