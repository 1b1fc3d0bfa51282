#include "eventlogger/LoggerState.h"

#include <atomic>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "core/FileUtils.h"
#include "core/TextUtils.h"
#include "eventlogger/LoggerLog.h"
#include "platform/Clock.h"

LoggerStructure StatoCorrente = StrutturaIniziale();
LoggerStructure StatoPrecedente = StrutturaIniziale();
bool WindowedModePending = false;
bool QuitPending = false;
int32_t LastOffset = 0;
std::vector<std::string> NomiLivelli;
SwapMediaView* VistaMedia = nullptr;
void (*RichiediUscita)() = nullptr;
StructureCache Cache;
bool CachePronta = false;

const char* const TabellaFrammenti[NumeroFrammenti] = {
    "SetDisplayMode -", "S_LoadLevelFile", "WinClose",       "Playing audio\\",     "CreateD3DLights",
    "DXCreateSurface",  "Released Mono Screen", "FileOpen - DATA\\", "HangGameThread", "WM_ACTIVE",
    "DXMove :",         "DXCreate: Windowed Mode", "do_boot_screen", "KA_ALTENTER", "Game Thread Resumed",
    "Already In Scene", "TIME_Init",
};

namespace {

constexpr int MaxCdTrack = 189;

std::string Formato(const char* formato, long valore) {
    char testo[160];
    std::snprintf(testo, sizeof testo, formato, valore);
    return testo;
}

// Reads <testo> as sscanf would read it with <formato> of "%d" items,
// blanks and other characters, each number with strtol and within
// [minimo, massimo]; what follows the last item is not looked at. False
// when the text does not match, and then <fuori> tells a number that did
// but lies outside the bounds (its value is still given back).
bool LeggiNumeri(const std::string& testo, const char* formato, long minimo, long massimo, long* valori,
                 bool& fuori) {
    fuori = false;
    const char* p = testo.c_str();
    int n = 0;
    for (const char* f = formato; *f; ++f) {
        if (std::isspace(static_cast<unsigned char>(*f))) {
            while (std::isspace(static_cast<unsigned char>(*p))) ++p;
        } else if (f[0] == '%' && f[1] == 'd') {
            ++f;
            char* fine = nullptr;
            errno = 0;
            const long valore = std::strtol(p, &fine, 10);
            if (fine == p) return false;
            valori[n++] = valore;
            if (errno == ERANGE || valore < minimo || valore > massimo) {
                fuori = true;
                return false;
            }
            p = fine;
        } else if (*p == *f) {
            ++p;
        } else {
            return false;
        }
    }
    return true;
}

// Sizes and positions go to 16-bit fields.
bool LeggiValori(const std::string& testo, const char* formato, long* valori) {
    bool fuori = false;
    if (LeggiNumeri(testo, formato, INT16_MIN, INT16_MAX, valori, fuori)) return true;
    if (fuori) LogWrite("WARNING: number out of range in game message ignored: " + testo);
    return false;
}

void Applica(int frammento, const std::string& argomento) {
    LoggerStructure& s = StatoCorrente;
    switch (frammento) {
        case 1: {
            s.Fasi &= ~LoggerFase::SharedMode;
            long v[3] = {};
            if (LeggiValori(argomento, "%dx%dx%d", v)) {
                s.ValoreX = static_cast<int16_t>(v[0]);
                s.ValoreY = static_cast<int16_t>(v[1]);
                s.Codice = GetVideoExclusive;
            }
            break;
        }
        case 2:
            s.Fasi = (s.Fasi & ~LoggerFase::Inventory) | LoggerFase::LoadingLevel;
            s.CdTrack = NessunValore;
            s.Livello = NessunValore;
            s.Codice = PreLoading;
            break;
        case 3:
            s.Fasi = LoggerFase::ABORT_LOG;
            s.Codice = EndGame;
            s.CdTrack = NessunValore;
            s.Livello = NessunValore;
            break;
        case 4: {
            long traccia = 0;
            bool fuori = false;
            // 190 and above would read as the main program's failed-copy mark.
            if (!LeggiNumeri(argomento.substr(0, argomento.find('.')), "%d", 0, MaxCdTrack, &traccia, fuori)) {
                if (fuori) LogWrite(Formato("WARNING: CD track out of range ignored: %ld", traccia));
                break;
            }
            s.CdTrack = static_cast<uint8_t>(traccia);
            s.Fasi &= ~LoggerFase::LoadingLevel;
            s.Codice = StartCDSound;
            break;
        }
        case 5:
            if (HaFase(s.Fasi, LoggerFase::LoadingLevel)) {
                s.Fasi &= ~LoggerFase::LoadingLevel;
                s.Codice = EndLoading;
            }
            if (HaFase(s.Fasi, LoggerFase::ChangingMode)) {
                s.Fasi &= ~LoggerFase::ChangingMode;
                s.Codice = EndChangeMode;
            }
            break;
        case 6:
            if (!HaFase(s.Fasi, LoggerFase::LoadingLevel | LoggerFase::ChangingMode | LoggerFase::Inventory) &&
                s.Livello != NessunValore) {
                s.Fasi |= LoggerFase::Inventory;
                s.Codice = StartInventory;
            }
            break;
        case 7:
            if (HaFase(s.Fasi, LoggerFase::Inventory)) {
                s.Fasi &= ~LoggerFase::Inventory;
                s.Codice = EndInventory;
            }
            break;
        case 8:
            for (size_t i = 0; i < NomiLivelli.size(); ++i) {
                if (!UgualeSenzaCaso(NomiLivelli[i], argomento)) continue;
                if (i >= LivelloCopiaFallita) {
                    LogWrite(Formato("WARNING: level index out of range ignored: %ld", static_cast<long>(i)));
                    break;
                }
                s.Livello = static_cast<uint8_t>(i);
                s.Codice = LoadingLevelIdentified;
                break;
            }
            break;
        case 9:
            if (!HaFase(s.Fasi, LoggerFase::ChangingMode)) {
                s.Fasi |= LoggerFase::HangGame;
                s.Codice = HangGameEvent;
            }
            break;
        case 10:
        case 15:
            if (HaFase(s.Fasi, LoggerFase::HangGame)) {
                s.Fasi &= ~LoggerFase::HangGame;
                s.Codice = ResumeGame;
            }
            break;
        case 11: {
            long v[2] = {};
            if (LeggiValori(argomento, "x %d y %d", v)) {
                s.ValoreX = static_cast<int16_t>(v[0]);
                s.ValoreY = static_cast<int16_t>(v[1]);
                s.Codice = MovedWindow;
            }
            break;
        }
        case 12:
            WindowedModePending = true;
            break;
        case 13:
            s.Fasi |= LoggerFase::CreatedWindow;
            s.Codice = BootScreen;
            break;
        case 14:
            s.Fasi |= LoggerFase::ChangingMode;
            s.Codice = StartChangeMode;
            break;
        case 16:
            s.Codice = AlreadyInScene;
            break;
        case 17:
            if (HaFase(s.Fasi, LoggerFase::CreatedWindow)) s.Codice = Time_Init;
            break;
        default:
            break;
    }
}

}  // namespace

void InitLoggerState() {
    StatoCorrente = StrutturaIniziale();
    StatoPrecedente = StrutturaIniziale();
    WindowedModePending = false;
    QuitPending = false;
    LastOffset = 0;
    Cache = StructureCache{};
    CachePronta = true;
}

int FindTombFragment(const std::string& messaggio, std::string& argomento) {
    argomento.clear();
    for (int i = 0; i < NumeroFrammenti; ++i) {
        const char* frammento = TabellaFrammenti[i];
        const size_t pos = messaggio.find(frammento);
        if (pos == std::string::npos) continue;
        const size_t lunghezza = std::strlen(frammento);
        const char ultimo = frammento[lunghezza - 1];
        if (ultimo == '-' || ultimo == '\\' || ultimo == ':') {
            size_t inizio = pos + lunghezza;
            while (inizio < messaggio.size() && (messaggio[inizio] == ' ' || messaggio[inizio] == '\t')) ++inizio;
            size_t fine = messaggio.find_first_of("\r\n", inizio);
            if (fine == std::string::npos) fine = messaggio.size();
            while (fine > inizio && (messaggio[fine - 1] == ' ' || messaggio[fine - 1] == '\t')) --fine;
            argomento = messaggio.substr(inizio, fine - inizio);
        }
        return i + 1;
    }
    return 0;
}

void ParseTombMessage(const std::string& messaggio) {
    LogWrite(messaggio, false);
    StatoPrecedente = StatoCorrente;
    if (WindowedModePending) {
        WindowedModePending = false;
        long v[2] = {};
        if (!LeggiValori(messaggio, "w %d h %d", v)) return;
        StatoCorrente.Codice = GetVideoShared;
        StatoCorrente.ValoreX = static_cast<int16_t>(v[0]);
        StatoCorrente.ValoreY = static_cast<int16_t>(v[1]);
        StatoCorrente.Fasi |= LoggerFase::SharedMode;
        StatoCorrente.TickEvento = ClockTick();
    } else {
        std::string argomento;
        const int frammento = FindTombFragment(messaggio, argomento);
        if (frammento == 0) return;
        StatoCorrente.TickEvento = ClockTick();
        Applica(frammento, argomento);
    }
    if (StruttureUguali(StatoCorrente, StatoPrecedente)) return;
    PushStructure();
}

void PushStructure() {
    if (!CachePronta) return;
    if (HaFase(StatoCorrente.Fasi, LoggerFase::ABORT_LOG)) QuitPending = true;
    if (++Cache.Count > DimensioneCache) {
        LogWrite("WARNING, overflow in cache Buffer: reset cache");
        StatoCorrente.Codice = OverflowBuffer;
        Cache.Lettura = Cache.Scrittura = 0;
        Cache.Count = 1;
    }
    Cache.Record[Cache.Scrittura] = StatoCorrente;
    Cache.Scrittura = (Cache.Scrittura + 1) % DimensioneCache;
    SendStructures();
    VerificaUscitaPendente();
}

void VerificaUscitaPendente() {
    if (!QuitPending || Cache.Count != 0) return;
    LogWrite("Detected WinClose with empty cache: PostQuimessage() for logger");
    if (RichiediUscita) RichiediUscita();
}

void SendStructures() {
    if (!CachePronta || VistaMedia == nullptr) return;
    if (Cache.Count == 0) {
        LogWrite("No structure in chache to send");
        return;
    }
    volatile SwapMediaView* vista = VistaMedia;
    const uint32_t n = vista->StructureCount;
    if (n >= MaxStrutture) {
        LogWrite("WARNING: Swap map file is full, cann't send any structure");
        return;
    }
    const uint32_t spazio = MaxStrutture - n;
    const int k = static_cast<uint32_t>(Cache.Count) < spazio ? Cache.Count : static_cast<int>(spazio);
    for (int i = 0; i < k; ++i) {
        std::memcpy(&VistaMedia->Structures[n + i], &Cache.Record[Cache.Lettura], sizeof(LoggerStructure));
        Cache.Lettura = (Cache.Lettura + 1) % DimensioneCache;
    }
    Cache.Count -= k;
    // Records first, count after: the reader trusts everything below the count.
    std::atomic_thread_fence(std::memory_order_release);
    vista->StructureCount = n + static_cast<uint32_t>(k);
    LogWrite(Formato("Sent %ld structures", k));
}

void LeggiMessaggiTomb(const char* vista, uint32_t dimensione, uint32_t fine) {
    // Any process may send WM_NULL: 0 is no news, and nothing past the view is read.
    if (vista == nullptr || fine == 0) return;
    if (fine > dimensione) {
        LogWrite(Formato("WARNING: game message offset out of the map file ignored: %ld", static_cast<long>(fine)));
        return;
    }
    if (fine < static_cast<uint32_t>(LastOffset)) LastOffset = 0;
    uint32_t pos = static_cast<uint32_t>(LastOffset);
    if (fine - pos > 1000) {
        LogWrite(
            "WARNING: too long tomb mexage. probably logger lost many previous mexages: reset starting by last tomb4 "
            "message");
        const uint32_t da = fine >= 200 ? fine - 200 : 0;
        const void* nul = std::memchr(vista + da, 0, fine - da);
        if (nul == nullptr) {
            LastOffset = static_cast<int32_t>(fine);
            return;
        }
        pos = static_cast<uint32_t>(static_cast<const char*>(nul) - vista) + 1;
    }
    while (pos < fine) {
        ++pos;  // the byte before each message is the game's own
        if (pos >= dimensione) break;
        const void* nul = std::memchr(vista + pos, 0, dimensione - pos);
        const uint32_t lunghezza =
            nul ? static_cast<uint32_t>(static_cast<const char*>(nul) - (vista + pos)) : dimensione - pos;
        ParseTombMessage(std::string(vista + pos, lunghezza));
        pos += lunghezza + 1;
    }
    LastOffset = static_cast<int32_t>(fine);
}

bool LeggiFileLivelli(const std::string& cartella) {
    const std::string percorso = NellaCartella(cartella, NomeLoggerBin);
    FILE* f = ApriFile(percorso, "rb");
    if (!f) {
        LogWrite("ERROR: not found logger file in: " + percorso);
        return false;
    }
    std::vector<uint8_t> immagine;
    uint8_t blocco[4096];
    size_t letti;
    // Levels beyond the 256 kept need not be read.
    const size_t massimo = sizeof(LoggerBinHeader) + MaxNomiLivelli * DimensioneNomeLivello;
    while (immagine.size() < massimo && (letti = std::fread(blocco, 1, sizeof blocco, f)) > 0)
        immagine.insert(immagine.end(), blocco, blocco + letti);
    std::fclose(f);
    LoggerBin bin;
    std::string errore;
    if (!LeggiLoggerBin(immagine.data(), immagine.size(), bin, errore)) {
        LogWrite("ERROR: damaged logger file " + percorso + ": " + errore);
        return false;
    }
    TempoBaseLog = bin.TempoBaseLog;
    NomiLivelli = bin.NomiLivelli;
    return true;
}
