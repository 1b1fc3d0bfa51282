#include "eventlogger/LoggerState.h"

#include <atomic>
#include <cstdio>
#include <cstring>

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

bool UgualiSenzaCaso(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        unsigned char x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
        if (x >= 'a' && x <= 'z') x = static_cast<unsigned char>(x - 32);
        if (y >= 'a' && y <= 'z') y = static_cast<unsigned char>(y - 32);
        if (x != y) return false;
    }
    return true;
}

// A decimal number at the start of <testo> (after blanks), as sscanf's %d reads it.
bool LeggiNumero(const std::string& testo, long& valore) {
    return std::sscanf(testo.c_str(), "%ld", &valore) == 1;
}

void Applica(int frammento, const std::string& argomento) {
    LoggerStructure& s = StatoCorrente;
    switch (frammento) {
        case 1: {
            s.Fasi &= ~SharedMode;
            int w = 0, h = 0, bit = 0;
            if (std::sscanf(argomento.c_str(), "%dx%dx%d", &w, &h, &bit) == 3) {
                s.ValoreX = static_cast<int16_t>(w);
                s.ValoreY = static_cast<int16_t>(h);
                s.Codice = GetVideoExclusive;
            }
            break;
        }
        case 2:
            s.Fasi = static_cast<uint8_t>((s.Fasi & ~Inventory) | LoadingLevel);
            s.CdTrack = NessunValore;
            s.Livello = NessunValore;
            s.Codice = PreLoading;
            break;
        case 3:
            s.Fasi = ABORT_LOG;
            s.Codice = EndGame;
            s.CdTrack = NessunValore;
            s.Livello = NessunValore;
            break;
        case 4: {
            long traccia = 0;
            if (!LeggiNumero(argomento.substr(0, argomento.find('.')), traccia)) break;
            // 190 and above would read as the main program's failed-copy mark.
            if (traccia < 0 || traccia > MaxCdTrack) {
                LogWrite(Formato("WARNING: CD track out of range ignored: %ld", traccia));
                break;
            }
            s.CdTrack = static_cast<uint8_t>(traccia);
            s.Fasi &= ~LoadingLevel;
            s.Codice = StartCDSound;
            break;
        }
        case 5:
            if (s.Fasi & LoadingLevel) {
                s.Fasi &= ~LoadingLevel;
                s.Codice = EndLoading;
            }
            if (s.Fasi & ChangingMode) {
                s.Fasi &= ~ChangingMode;
                s.Codice = EndChangeMode;
            }
            break;
        case 6:
            if (!(s.Fasi & (LoadingLevel | ChangingMode | Inventory)) && s.Livello != NessunValore) {
                s.Fasi |= Inventory;
                s.Codice = StartInventory;
            }
            break;
        case 7:
            if (s.Fasi & Inventory) {
                s.Fasi &= ~Inventory;
                s.Codice = EndInventory;
            }
            break;
        case 8:
            for (size_t i = 0; i < NomiLivelli.size(); ++i) {
                if (!UgualiSenzaCaso(NomiLivelli[i], argomento)) continue;
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
            if (!(s.Fasi & ChangingMode)) {
                s.Fasi |= HangGame;
                s.Codice = HangGameEvent;
            }
            break;
        case 10:
        case 15:
            if (s.Fasi & HangGame) {
                s.Fasi &= ~HangGame;
                s.Codice = ResumeGame;
            }
            break;
        case 11: {
            int x = 0, y = 0;
            if (std::sscanf(argomento.c_str(), "x %d y %d", &x, &y) == 2) {
                s.ValoreX = static_cast<int16_t>(x);
                s.ValoreY = static_cast<int16_t>(y);
                s.Codice = MovedWindow;
            }
            break;
        }
        case 12:
            WindowedModePending = true;
            break;
        case 13:
            s.Fasi |= CreatedWindow;
            s.Codice = BootScreen;
            break;
        case 14:
            s.Fasi |= ChangingMode;
            s.Codice = StartChangeMode;
            break;
        case 16:
            s.Codice = AlreadyInScene;
            break;
        case 17:
            if (s.Fasi & CreatedWindow) s.Codice = Time_Init;
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
        int w = 0, h = 0;
        if (std::sscanf(messaggio.c_str(), "w %d h %d", &w, &h) != 2) return;
        StatoCorrente.Codice = GetVideoShared;
        StatoCorrente.ValoreX = static_cast<int16_t>(w);
        StatoCorrente.ValoreY = static_cast<int16_t>(h);
        StatoCorrente.Fasi |= SharedMode;
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
    if (StatoCorrente.Fasi & ABORT_LOG) QuitPending = true;
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
