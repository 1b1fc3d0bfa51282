#include "tools/mediafuzz/FuzzRun.h"

#include <windows.h>

#include <atomic>
#include <cstdio>
#include <mutex>
#include <thread>

#include "core/MediaConfig.h"
#include "core/MediaLog.h"
#include "core/MediaTrigger.h"
#include "core/ModuleInit.h"
#include "core/SharedState.h"
#include "gamerun/MediaDispatcher.h"
#include "gamerun/Startup.h"
#include "input/GameOperation.h"
#include "input/Guardian.h"
#include "input/KeyMacros.h"
#include "input/MediaSequence.h"
#include "media/WorkingMedia.h"
#include "platform/Clock.h"
#include "runservices/Desktop.h"
#include "runservices/DisplayModes.h"
#include "runservices/RunState.h"
#include "runservices/TombSettings.h"
#include "savegames/SavegameBackup.h"
#include "savegames/SavegameCache.h"
#include "tests/media/KeyPresses.h"
#include "tests/support/GdiObjects.h"

void (*FermoFuzz)(const std::string& rapporto) = [](const std::string& rapporto) {
    std::fprintf(stderr, "%s\n", rapporto.c_str());
    std::fflush(stderr);
    TerminateProcess(GetCurrentProcess(), 3);
};

namespace {

std::string Cartella;
std::string ComandoGioco;
LimitiFuzz Limiti;
PROCESS_INFORMATION Gioco{};
HWND FinestraStandIn = nullptr;
DWORD ThreadPrincipale = 0;

// What the watchdog watches: the media in progress and its start.
std::mutex Guardia;
std::string Descrizione;
std::atomic<bool> InCorso{false};
std::atomic<bool> Fermato{false};
std::atomic<bool> EscapeTenuto{false};
std::atomic<bool> FineSorveglianza{false};
std::atomic<uint32_t> Generazione{0};
std::atomic<uint32_t> TickInizio{0};
std::atomic<DWORD> RealeInizio{0};
std::string RapportoFermo;
std::thread Sorvegliante;

// The same for kernel handles, which Wine does not count either.
int32_t Handle() {
    DWORD n = 0;
    if (GetProcessHandleCount(GetCurrentProcess(), &n) && n > 0) return static_cast<int32_t>(n);
    // Its handles take the lowest free slots: a long run of empty ones ends
    // the table. Each look is a call to the server, which the whole range
    // would make slow.
    int32_t vivi = 0, vuoti = 0;
    for (uintptr_t i = 4; i < 0x40000 && vuoti < 1024; i += 4) {
        DWORD flags = 0;
        if (GetHandleInformation(reinterpret_cast<HANDLE>(i), &flags)) {
            ++vivi;
            vuoti = 0;
        } else {
            ++vuoti;
        }
    }
    return vivi;
}

struct Risorse {
    int32_t gdi = 0;
    int32_t handle = 0;
    int32_t finestre = 0;
    bool operator>(const Risorse& r) const { return gdi > r.gdi || handle > r.handle || finestre > r.finestre; }
    std::string Testo() const {
        return std::to_string(gdi) + " GDI objects, " + std::to_string(handle) + " handles, " +
               std::to_string(finestre) + " windows";
    }
};

BOOL CALLBACK ContaFinestra(HWND, LPARAM conto) {
    ++*reinterpret_cast<int32_t*>(conto);
    return TRUE;
}

Risorse Conta() {
    Risorse r;
    r.gdi = OggettiGdi();
    r.handle = Handle();
    EnumThreadWindows(ThreadPrincipale, ContaFinestra, reinterpret_cast<LPARAM>(&r.finestre));
    return r;
}

using tasti::Tasto;

// The windows of a media that wait for the player, which the player closes.
BOOL CALLBACK ChiudiFinestraMedia(HWND h, LPARAM) {
    char classe[64] = {};
    GetClassNameA(h, classe, sizeof classe);
    const std::string c = classe;
    if (c == "LudovaneTitoli" || c == "LudovaneMovie" || c == "LudovaneForm" || c == "LudovaneLinkDownload")
        PostMessageA(h, WM_CLOSE, 0, 0);
    return TRUE;
}

// A message box that holds the run, named in the report.
BOOL CALLBACK TrovaDialogo(HWND h, LPARAM testo) {
    char classe[16] = {};
    GetClassNameA(h, classe, sizeof classe);
    if (std::string(classe) == "#32770" && IsWindowVisible(h)) {
        char titolo[256] = {};
        GetWindowTextA(h, titolo, sizeof titolo);
        *reinterpret_cast<std::string*>(testo) += std::string(" (a dialog is open: \"") + titolo + "\")";
    }
    return TRUE;
}

// The last lines of a log text.
std::string CodaDi(const std::string& log) {
    size_t inizio = log.size();
    for (int righe = 0; righe < 30 && inizio > 0; ++righe) {
        inizio = log.rfind('\n', inizio - 1);
        if (inizio == std::string::npos) {
            inizio = 0;
            break;
        }
    }
    return log.substr(inizio);
}

std::string PercorsoLog;
std::string LeggiLogScritto() {
    std::string testo;
    HANDLE f = CreateFileA(PercorsoLog.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                           nullptr, OPEN_EXISTING, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) return testo;
    testo.resize(GetFileSize(f, nullptr));
    DWORD letti = 0;
    ReadFile(f, testo.data(), static_cast<DWORD>(testo.size()), &letti, nullptr);
    CloseHandle(f);
    testo.resize(letti);
    return testo;
}

void Ferma(const std::string& motivo) {
    std::string rapporto;
    {
        std::lock_guard<std::mutex> blocco(Guardia);
        rapporto = "MEDIA FUZZ FAULT: " + motivo + "\r\n" + Descrizione;
    }
    EnumThreadWindows(ThreadPrincipale, TrovaDialogo, reinterpret_cast<LPARAM>(&rapporto));
    // What the log has written so far: the buffer is the main thread's.
    rapporto += "\r\n  log written so far:\r\n" + CodaDi(LeggiLogScritto());
    {
        std::lock_guard<std::mutex> blocco(Guardia);
        RapportoFermo = rapporto;
    }
    Fermato = true;
    FermoFuzz(rapporto);
}

void Sorveglia() {
    uint32_t attese = 0;
    DWORD ultimaAttesa = GetTickCount();
    bool intervenuto = false;
    uint32_t tickIntervento = 0;
    DWORD realeIntervento = 0, ultimoInvio = 0;
    uint32_t generazione = 0;
    while (!FineSorveglianza) {
        Sleep(50);
        const DWORD adesso = GetTickCount();
        if (!InCorso) continue;
        if (Generazione != generazione) {
            generazione = Generazione;
            intervenuto = false;
            attese = ClockAttese();
            ultimaAttesa = adesso;
        }
        if (Fermato) continue;
        const uint32_t ora = ClockAttese();
        if (ora != attese) {
            attese = ora;
            ultimaAttesa = adesso;
        }
        const uint32_t tick = ClockTick();
        if (adesso - ultimaAttesa > Limiti.RealeSenzaAttesa) {
            Ferma("the media ran " + std::to_string(adesso - ultimaAttesa) +
                  " ms of real time without one wait on the clock");
            continue;
        }
        if (!intervenuto && (tick - TickInizio > Limiti.TempoGiocatore || adesso - RealeInizio > Limiti.RealeGiocatore)) {
            // The player gives up waiting: Escape held, the media's window
            // closed, Enter for an input box.
            intervenuto = true;
            tickIntervento = tick;
            realeIntervento = ultimoInvio = adesso;
            Tasto(VK_ESCAPE, true);
            EscapeTenuto = true;
            EnumThreadWindows(ThreadPrincipale, ChiudiFinestraMedia, 0);
            continue;
        }
        if (intervenuto) {
            // A media on the manual clock runs minutes in a moment: the
            // player's keys and messages get a little real time to arrive.
            const DWORD dopo = adesso - realeIntervento;
            if ((tick - tickIntervento > Limiti.TempoDopo && dopo > 3000) || dopo > Limiti.RealeDopo) {
                Ferma("the media did not end within its bound: " + std::to_string(tick - TickInizio) +
                      " ms on the clock, " + std::to_string(adesso - RealeInizio) +
                      " ms of real time, the last part with Escape held and its window closed");
                continue;
            }
            if (adesso - ultimoInvio > 500) {
                ultimoInvio = adesso;
                Tasto(VK_RETURN, true);
                Tasto(VK_RETURN, false);
                EnumThreadWindows(ThreadPrincipale, ChiudiFinestraMedia, 0);
            }
        }
    }
}

bool AvviaGioco(std::string& errore) {
    STARTUPINFOA si{};
    si.cb = sizeof si;
    std::string riga = "tomb4.exe";
    if (!CreateProcessA(ComandoGioco.c_str(), riga.data(), nullptr, nullptr, FALSE, 0, nullptr, Cartella.c_str(), &si,
                        &Gioco)) {
        errore = "cannot start the game stand-in " + ComandoGioco;
        return false;
    }
    for (int i = 0; i < 600 && !FinestraStandIn; ++i) {
        FinestraStandIn = FindWindowA("TombSimWindow", nullptr);
        if (!FinestraStandIn) Sleep(50);
    }
    if (!FinestraStandIn) {
        errore = "the game stand-in shows no window";
        return false;
    }
    return true;
}

void FermaGioco() {
    if (Gioco.hProcess) {
        TerminateProcess(Gioco.hProcess, 0);
        WaitForSingleObject(Gioco.hProcess, 10000);
        CloseHandle(Gioco.hProcess);
        CloseHandle(Gioco.hThread);
    }
    Gioco = PROCESS_INFORMATION{};
    FinestraStandIn = nullptr;
}

// The run's state as a preview of the case finds it.
void StatoIniziale(const CasoFuzz& caso) {
    ClockUseManual(true, 1000);
    AzzeraStatoRun();
    FuoriGioco = true;
    SistemaNT = true;
    TaskBarAutoNascosta = false;
    PercorsoStore = CartellaTrle = Cartella;
    HeaderMcf = MediaConfigHeader{};
    HeaderMcf.CartellaMcf = Cartella;
    // Half the cases over a windowed game, half over a full-screen one.
    if (caso.Indice % 2 == 0) HeaderMcf.HeaderOptions = ParolaOpzioni(OpzioneHeader::SharedMode);
    CacheSavegame = SavegameCache{};
    SavegameCacheBackup = SavegameCache{};
    AggiornaCacheRichiesto = true;
    LogAbilitato = true;
    InitMediaLog();
    PercorsoLog = PercorsoFileLog;
    NomiFont = {"Courier New", "Arial"};
    SchermoX = SchermoOrigX = GetSystemMetrics(SM_CXSCREEN);
    SchermoY = SchermoOrigY = GetSystemMetrics(SM_CYSCREEN);
    RiferimentoX = SchermoX * TwipsPerPixel();
    RiferimentoY = SchermoY * TwipsPerPixel();
    TombSchermoX = 1024;
    TombSchermoY = 768;
    FlagGuardian = 1;
    IndiceEmailFinale = -1;
    SalvataggioPartita = [] { return true; };
    ListaMedia = caso.Media;
    HeaderMcf.TriggerCount = static_cast<int32_t>(ListaMedia.size());
}

void StatoFinale() {
    FuoriGioco = true;
    NascondiBackCover();
    ChiudiCover();
    RettCover = RettangoloDim{};
    ListaMedia.clear();
    HeaderMcf = MediaConfigHeader{};
    ModificheAvvio = 0;
    StatoGioco = 0;
    StatoSequenza = 0;
    RequisitiSequenza = 0;
    LivelloAnnidamento = 0;
    FlagGuardian = 1;
    if (ProcessoGioco.hProcess) CloseHandle(static_cast<HANDLE>(ProcessoGioco.hProcess));
    if (ProcessoGioco.hThread) CloseHandle(static_cast<HANDLE>(ProcessoGioco.hThread));
    ProcessoGioco = InfoProcesso{};
    FinestraGioco = nullptr;
    SalvataggioPartita = EseguiSalvataggioPartita;
    BufferLog.clear();
    LogAbilitato = false;
    ClockUseManual(false);
}

// The game as a media finds it: running, and its handles in ProcessoGioco
// (copies, which a media that closes the game closes). Out of a game run
// an error line would stop at a message box.
std::string PreparaGioco() {
    std::string errore;
    if (Gioco.hProcess && WaitForSingleObject(Gioco.hProcess, 0) == WAIT_OBJECT_0) {
        FermaGioco();
        if (!AvviaGioco(errore)) return errore;
    }
    if (ProcessoGioco.hProcess) return errore;
    HANDLE processo = nullptr, thread = nullptr;
    DuplicateHandle(GetCurrentProcess(), Gioco.hProcess, GetCurrentProcess(), &processo, 0, FALSE,
                    DUPLICATE_SAME_ACCESS);
    DuplicateHandle(GetCurrentProcess(), Gioco.hThread, GetCurrentProcess(), &thread, 0, FALSE, DUPLICATE_SAME_ACCESS);
    ProcessoGioco.hProcess = processo;
    ProcessoGioco.hThread = thread;
    ProcessoGioco.dwProcessId = Gioco.dwProcessId;
    ProcessoGioco.dwThreadId = Gioco.dwThreadId;
    FinestraGioco = FinestraStandIn;
    return errore;
}

// The last lines of the log, for the report.
std::string CodaLog() { return CodaDi(LeggiLogScritto() + BufferLog); }

// One performance of the trigger with that code, watched; its keyboard or
// sensory media polled a few times after it.
void Esegui(int32_t codice) {
    RealeInizio = GetTickCount();
    TickInizio = ClockTick();
    Fermato = false;
    ++Generazione;
    InCorso = true;
    bool errore = false;
    EseguiMediaCode(codice, errore);
    const int32_t indice = IndiceMediaDaCodice(codice);
    if (indice >= 0) {
        const int32_t tipo = TipoMediaDaFlags(ListaMedia[static_cast<size_t>(indice)].TypeFlags);
        if (tipo == TipoKeyboard || tipo == TipoSensory)
            for (int i = 0; i < 3 && (ListaMedia[static_cast<size_t>(indice)].Options & Working); ++i) {
                bool escape = false;
                EseguiWorkingMedia(indice, escape);
                ClockSleep(200);
            }
    }
    InCorso = false;
    if (EscapeTenuto.exchange(false)) Tasto(VK_ESCAPE, false);
}

std::string Intestazione(const CasoFuzz& caso) {
    return "seed " + std::to_string(caso.Seme) + " case " + std::to_string(caso.Indice) +
           " (MediaFuzz " + std::to_string(caso.Seme) + " 1 " + std::to_string(caso.Indice) + ")";
}

std::string DescriviCaso(const CasoFuzz& caso, int32_t codice) {
    std::string testo = Intestazione(caso) + ", performing code " + std::to_string(codice) + " (" +
                        (caso.Indice % 2 == 0 ? "windowed game" : "full-screen game") + ")\r\n";
    for (const MediaTrigger& m : caso.Media) testo += "- " + DescriviMedia(m) + "\r\n";
    return testo;
}

}  // namespace

bool FuzzFermato() { return Fermato; }

std::string PreparaFuzz(const std::string& cartella, const std::string& gioco, const std::string& programma,
                        const LimitiFuzz& limiti) {
    Cartella = cartella;
    Limiti = limiti;
    ThreadPrincipale = GetCurrentThreadId();
    CollegaServiziRun();
    CreateDirectoryA(Cartella.c_str(), nullptr);
    std::string eseguibile;
    {
        HANDLE f = CreateFileA(programma.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        if (f == INVALID_HANDLE_VALUE) return "cannot read " + programma;
        DWORD letti = 0;
        eseguibile.resize(GetFileSize(f, nullptr));
        ReadFile(f, eseguibile.data(), static_cast<DWORD>(eseguibile.size()), &letti, nullptr);
        CloseHandle(f);
    }
    for (const FileFuzz& file : FileDeiCasi(eseguibile)) {
        HANDLE f = CreateFileA((Cartella + "\\" + file.Nome).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0,
                               nullptr);
        if (f == INVALID_HANDLE_VALUE) return "cannot write " + file.Nome;
        DWORD scritti = 0;
        WriteFile(f, file.Byte.data(), static_cast<DWORD>(file.Byte.size()), &scritti, nullptr);
        CloseHandle(f);
    }
    // A level in colour: a black or grey top row is what the run takes for
    // the game's loading or inventory screen, which stops an alert's time.
    const std::string copione = "title Tomb Raider\r\nfill 40 90 160\r\nwait 86400000\r\n";
    HANDLE f = CreateFileA((Cartella + "\\gamesim.txt").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD scritti = 0;
    WriteFile(f, copione.data(), static_cast<DWORD>(copione.size()), &scritti, nullptr);
    CloseHandle(f);
    ComandoGioco = Cartella + "\\tomb4.exe";
    if (!CopyFileA(gioco.c_str(), ComandoGioco.c_str(), FALSE)) return "cannot copy " + gioco;
    std::string errore;
    if (!AvviaGioco(errore)) return errore;
    FineSorveglianza = false;
    Fermato = false;
    Sorvegliante = std::thread(Sorveglia);
    return {};
}

void ChiudiFuzz() {
    FineSorveglianza = true;
    if (Sorvegliante.joinable()) Sorvegliante.join();
    FermaGioco();
}

std::string EseguiCasoFuzz(const CasoFuzz& caso) {
    std::string guasto;
    StatoIniziale(caso);
    for (const int32_t codice : caso.Ordine) {
        {
            std::lock_guard<std::mutex> blocco(Guardia);
            Descrizione = DescriviCaso(caso, codice);
        }
        guasto = PreparaGioco();
        if (!guasto.empty()) break;
        const Risorse prima = Conta();
        Esegui(codice);
        if (Fermato) {
            std::lock_guard<std::mutex> blocco(Guardia);
            guasto = RapportoFermo;
            break;
        }
        const Risorse dopo = Conta();
        if (!(dopo > prima)) continue;
        // What a performer keeps for the next media grows once or twice;
        // what it loses grows again each time.
        std::string crescita = prima.Testo() + " before, " + dopo.Testo() + " after";
        bool cresce = true;
        for (int volta = 0; volta < 2 && cresce && guasto.empty(); ++volta) {
            ListaMedia = caso.Media;
            guasto = PreparaGioco();
            if (!guasto.empty()) break;
            const Risorse ancoraPrima = Conta();
            Esegui(codice);
            if (Fermato) {
                std::lock_guard<std::mutex> blocco(Guardia);
                guasto = RapportoFermo;
                break;
            }
            const Risorse ancora = Conta();
            cresce = ancora > ancoraPrima;
            crescita += "; once more " + ancoraPrima.Testo() + " before, " + ancora.Testo() + " after";
        }
        if (!guasto.empty()) break;
        if (cresce) {
            guasto = "MEDIA FUZZ FAULT: resources left behind: " + crescita + "\r\n" + DescriviCaso(caso, codice) +
                     "  log:\r\n" + CodaLog();
            break;
        }
    }
    StatoFinale();
    return guasto;
}
