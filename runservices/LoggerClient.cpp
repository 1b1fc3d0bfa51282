#include "runservices/LoggerClient.h"

#include <windows.h>

#include <atomic>
#include <cstdio>
#include <cstring>
#include <exception>

#include "core/FileUtils.h"
#include "core/LevelVariables.h"
#include "core/MediaExtraction.h"
#include "core/TextUtils.h"
#include "core/MediaConfig.h"
#include "core/MediaLog.h"
#include "core/PassaggioCondiviso.h"
#include "core/MediaTrigger.h"
#include "core/SystemUtils.h"
#include "runservices/Desktop.h"
#include "runservices/GameWindow.h"
#include "runservices/LoadingState.h"
#include "runservices/RunState.h"
#include "runservices/VideoList.h"
#include "runservices/RunHooks.h"
#include "platform/Clock.h"
#include "platform/Forms.h"

void* hWndLogger = nullptr;
void* hProcessLogger = nullptr;
void* hMapLogger = nullptr;
SwapMediaView* ViewLogger = nullptr;
int32_t StruttureLette = 0;
LoggerStructure StrutturaLoggerGrezza = StrutturaIniziale();
StatoLogger StrutturaLogger;
std::vector<int32_t> BufferCd;
int32_t TotCdBuffer = 0;
uint32_t UltimaVerificaLogger = 0;
int32_t ErroriConsecutiviLogger = 0;
int32_t CdAvvioLivello = -1;
uint32_t TickInizioCaricamento = 0;
uint32_t TickEventoFineCaricamento = 0;
uint32_t TickUltimoSavegame = 0;
std::string UltimoSavegameCaricato;
bool CaricamentoDaiTitoli = false;
int32_t VideoLoggerX = 0, VideoLoggerY = 0;
int32_t FinestraGiocoX = 0, FinestraGiocoY = 0;
bool FinestraGiocoSpostata = true;
bool FineGiocoSegnalata = false;
bool LoggerChiuso = false;
bool LoggerHaRisposto = false;

namespace {


std::string Allinea(const std::string& testo, size_t larghezza, bool destra) {
    if (testo.size() >= larghezza) return testo;
    return destra ? std::string(larghezza - testo.size(), ' ') + testo
                  : testo + std::string(larghezza - testo.size(), ' ');
}

bool ProcessoLoggerVivo() {
    return hProcessLogger && WaitForSingleObject(static_cast<HANDLE>(hProcessLogger), 0) == WAIT_TIMEOUT;
}

// The logger's word on the files the game uses (see IsFileOccupato).
int32_t RispostaLogger(int32_t numero, int32_t tipo) {
    if (!LoggerAttivo()) return -1;
    LeggiLogger();
    switch (tipo) {
        case FileTracciaCd:
            return StrutturaLogger.CdTrack == numero ? 1 : 0;
        case FileLivello:
            return HaFase(StrutturaLogger.Fasi, LoggerFase::LoadingLevel) && StrutturaLogger.Livello == numero;
        case FileSavegame:
            return HaFase(StrutturaLogger.Fasi, LoggerFase::Inventory) ? 2 : 0;
        default:
            return 0;
    }
}

bool ScriviLoggerBinFile(const std::string& percorso) {
    LoggerBin bin;
    bin.TempoBaseLog = TickInizioLog;
    const int32_t quanti = NumLivelli < static_cast<int32_t>(FileLivelli.size()) ? NumLivelli
                                                                               : static_cast<int32_t>(FileLivelli.size());
    for (int32_t i = 0; i < quanti; ++i) bin.NomiLivelli.push_back(NomeFileDaPercorso(FileLivelli[i]));
    const std::vector<uint8_t> dati = ScriviLoggerBin(bin);
    FILE* f = std::fopen(percorso.c_str(), "wb");
    if (!f) return false;
    const bool ok = std::fwrite(dati.data(), 1, dati.size(), f) == dati.size();
    return std::fclose(f) == 0 && ok;
}

void AvviaScrivaneCorpo() {
    bool temporaneo = false;
    const std::string programma = EstraiFileMedia("Scrivane.exe", temporaneo, true, true);
    if (programma.empty()) return;

    const std::string bin = NellaCartella(CartellaDaPercorso(programma), NomeLoggerBin);
    CancellaFile(bin);
    StampaLog("Creating file for Scrivane in: " + bin);
    if (!ScriviLoggerBinFile(bin)) StampaLog("WARNING: error writing file for Scrivane: " + bin);
    const std::string argomento = LogFileRichiesto ? "-L" : "";

    if (HWND vecchio = FindWindowA(ClasseLogger, TitoloLogger)) {
        StampaLog("WARNING: found a previous instance of Scrivane: close it now");
        hWndLogger = vecchio;
        ChiudiLogger();
        AttendiMs(400, true);
    }

    InfoProcesso info;
    if (!AvviaProcessoInfo(programma, argomento, false, info, false)) {
        StampaLog("ERROR: error trying to start logger process: " + programma);
        return;
    }
    hProcessLogger = info.hProcess;
    if (info.hThread) CloseHandle(info.hThread);

    // The search below allows about two seconds, which a slow or emulated
    // machine can spend before the logger's window exists: first let the
    // logger reach its message loop (bounded, pumping our own events).
    const uint32_t inizioAttesa = ClockTick();
    while (WaitForInputIdle(hProcessLogger, 100) == WAIT_TIMEOUT && ClockTick() - inizioAttesa < 15000) DoEvents();

    hWndLogger = nullptr;
    StampaLog("Search for window handle of logger program");
    for (int prova = 0; prova < 7 && !hWndLogger; ++prova) {
        hWndLogger = FindWindowA(ClasseLogger, TitoloLogger);
        if (!hWndLogger) {
            AttendiMs(300, true);
            DoEvents();
        }
    }
    if (!hWndLogger) {
        StampaLog("WARNING: Not found logger window");
        return;
    }
    StampaLog("Found window handle of logger program");
    ImpostaBit(ModificheAvvio, FlagSuoniLogger);

    for (int prova = 0; prova < 5 && !hMapLogger; ++prova) {
        hMapLogger = OpenFileMappingA(FILE_MAP_ALL_ACCESS, FALSE, NomeMappaSwap);
        if (!hMapLogger) AttendiDecimi(1, true);
    }
    if (!hMapLogger) {
        StampaLog("WARNING: failed open map file. Don't use logger");
        DisabilitaLogger();
        return;
    }
    ViewLogger = static_cast<SwapMediaView*>(MapViewOfFile(hMapLogger, FILE_MAP_ALL_ACCESS, 0, 0, DimensioneSwapMedia));
    if (!ViewLogger) {
        StampaLog("WARNING: failed to get a view for map file");
        ChiudiLogger();
        return;
    }
    StampaLog("Get view of map file at address 0x" + Esadecimale(static_cast<uint32_t>(reinterpret_cast<uintptr_t>(ViewLogger))));

    if (!HandshakeLogger()) {
        StampaLog("WARNING: not received signal from logger. Don't use logger");
        ChiudiLogger();
        return;
    }
    LoggerHaRisposto = true;

    HANDLE copia = nullptr;
    if (!DuplicateHandle(GetCurrentProcess(), GetCurrentProcess(), hProcessLogger, &copia, 0, TRUE,
                         DUPLICATE_SAME_ACCESS))
        StampaLog("WARNING: error duplicating process handle of media module");
    else
        InviaComandoLogger(CmdMediaModuleHandle, reinterpret_cast<intptr_t>(copia));

    ImpostaBit(StatoGioco, FlagLoggerInUso);
    RispostaLoggerFileOccupato = RispostaLogger;
}

}  // namespace

void AzzeraLoggerClient() {
    if (ViewLogger) UnmapViewOfFile(ViewLogger);
    if (hMapLogger) CloseHandle(hMapLogger);
    ChiudiProcessoLogger();
    // It answers only while the logger is in use.
    RispostaLoggerFileOccupato = RispostaLogger;
    hWndLogger = nullptr;
    hMapLogger = nullptr;
    ViewLogger = nullptr;
    StruttureLette = 0;
    StrutturaLoggerGrezza = StrutturaIniziale();
    StrutturaLogger = StatoLogger{};
    BufferCd.clear();
    TotCdBuffer = 0;
    UltimaVerificaLogger = 0;
    ErroriConsecutiviLogger = 0;
    CdAvvioLivello = -1;
    TickInizioCaricamento = TickEventoFineCaricamento = TickUltimoSavegame = 0;
    UltimoSavegameCaricato.clear();
    CaricamentoDaiTitoli = false;
    VideoLoggerX = VideoLoggerY = FinestraGiocoX = FinestraGiocoY = 0;
    FinestraGiocoSpostata = true;
    FineGiocoSegnalata = false;
    LoggerChiuso = false;
    LoggerHaRisposto = false;
}

bool InviaComandoLogger(uint32_t comando, intptr_t argomento) {
    if (!hWndLogger) return false;
    DWORD_PTR risultato = 0;
    // A hung logger is no answer; it must never hang the run.
    return SendMessageTimeoutA(static_cast<HWND>(hWndLogger), MessaggioComando, comando, argomento,
                               SMTO_ABORTIFHUNG | SMTO_NORMAL, AttesaComandoLogger, &risultato) != 0;
}

bool HandshakeLogger() {
    const int32_t prima = SegnaleLogger();
    const uint32_t inizio = ClockTick();
    bool preso = InviaComandoLogger(CmdSendReceived, 0);
    // A command not taken within the short bound stays queued and may still be
    // answered; one taken without moving the count is a logger that does not answer.
    while (!preso && SegnaleLogger() == prima && ProcessoLoggerVivo() &&
           ClockTick() - inizio < AttesaHandshakeLogger) {
        ClockSleep(PausaHandshakeLogger);
        if (SegnaleLogger() != prima) break;
        preso = InviaComandoLogger(CmdSendReceived, 0);
    }
    return SegnaleLogger() != prima;
}

void ChiudiProcessoLogger() {
    if (hProcessLogger) CloseHandle(static_cast<HANDLE>(hProcessLogger));
    hProcessLogger = nullptr;
}

void TerminaLoggerMuto() {
    if (LoggerHaRisposto || !ProcessoLoggerVivo()) return;
    // A close command may have reached it: a moment to end by itself.
    if (ClockAttendiOggetto(hProcessLogger, AttesaFineLoggerMuto)) return;
    StampaLog("WARNING: Scrivane never answered: terminate its process");
    TerminateProcess(static_cast<HANDLE>(hProcessLogger), 0);
    ClockAttendiOggetto(hProcessLogger, AttesaFineLoggerMuto);
}

void AvviaScrivane() {
    StampaLog("Starting Scrivane:");
    CambiaTabulatoreLog(1);
    try {
        AvviaScrivaneCorpo();
    } catch (const std::exception& e) {
        StampaLog(std::string("ERROR: in AvviaScrivane(): ") + e.what(), true);
    }
    CambiaTabulatoreLog(-1);
}

bool LoggerAttivo() { return HaBit(StatoGioco, FlagLoggerInUso); }

int32_t NumeroStrutture() {
    if (!ViewLogger) return 0;
    const uint32_t n = static_cast<volatile uint32_t&>(ViewLogger->StructureCount);
    std::atomic_thread_fence(std::memory_order_acquire);
    // The view is anyone's to write: never trust a count past its capacity.
    return static_cast<int32_t>(n > MaxStrutture ? MaxStrutture : n);
}

int32_t SegnaleLogger() {
    if (!ViewLogger) return 0;
    return static_cast<int32_t>(static_cast<volatile uint32_t&>(ViewLogger->ReceivedCount));
}

void ChiudiLogger() {
    StampaLog("Send message to close Scrivane");
    InviaComandoLogger(CmdCloseLogger, 0);
    TogliBit(ModificheAvvio, FlagSuoniLogger);
}

void DisabilitaLogger() {
    StampaLog("Disable usage of logger functions");
    TogliBit(StatoGioco, FlagLoggerInUso);
}

void VerificaScrivane() {
    if (!LoggerAttivo()) return;
    const uint32_t adesso = ClockTick();
    if (!HaFase(StrutturaLogger.Fasi, LoggerFase::CreatedWindow)) {
        if (static_cast<int32_t>(adesso - static_cast<uint32_t>(TickAvvioGioco)) > 15000) {
            StampaLog("WARNING: passed 15 seconds from start tomb4 and 'create window' phase is yet missing: disable "
                      "logger mode");
            DisabilitaLogger();
        }
        return;
    }
    if (adesso - UltimaVerificaLogger < 5000) return;
    UltimaVerificaLogger = adesso;
    bool errore = false;
    if (!IsLoggerAlive()) {
        StampaLog("WARNING: logger is not running. Disable logger usage");
        DisabilitaLogger();
        ChiudiLogger();
        return;
    }
    const int32_t prima = SegnaleLogger();
    InviaComandoLogger(CmdSendReceived, 0);
    if (SegnaleLogger() == prima) {
        StampaLog("WARNING: Scrivane doesn't respond. Disable logger usage");
        DisabilitaLogger();
        ChiudiLogger();
        return;
    }
    if (CoverVisibile()) return;
    // While the logger is in use IsFileOccupato answers from its newest record.
    // The game's files cannot tell: a track that ends with no new one, and a
    // level file closed before its loading ends, are normal play.
    if (StrutturaLogger.CdTrack != -1 && !IsFileOccupato(StrutturaLogger.CdTrack, FileTracciaCd, false)) {
        errore = true;
        StampaLog("WARNING: Cd signaled by logger (" + std::to_string(StrutturaLogger.CdTrack) + ") is not playing");
    }
    bool tuttoNero = false;
    if (HaFase(StrutturaLogger.Fasi, LoggerFase::Inventory) && !Ganci.IsInventoryMode(false, tuttoNero, false)) {
        errore = true;
        StampaLog("WARNING: logger signals inventory mode but it doesn't result. Force logger to remove inventory mode");
        InviaComandoLogger(CmdSetPhase, static_cast<intptr_t>(StrutturaLogger.Fasi & ~LoggerFase::Inventory));
    }
    if (HaFase(StrutturaLogger.Fasi, LoggerFase::LoadingLevel) && StrutturaLogger.Livello != -1 &&
        !IsFileOccupato(StrutturaLogger.Livello, FileLivello, false)) {
        errore = true;
        StampaLog("WARNING: logger signals loading of level " + std::to_string(StrutturaLogger.Livello) +
                  " but this level is not corrently loading. Remove 'loading level' from phase");
        InviaComandoLogger(CmdSetPhase,
                           static_cast<intptr_t>(StrutturaLogger.Fasi & ~LoggerFase::LoadingLevel));
    }
    ErroriConsecutiviLogger = errore ? ErroriConsecutiviLogger + 1 : 0;
    if (ErroriConsecutiviLogger >= 1) StampaLog("Consecutive logger errors: " + std::to_string(ErroriConsecutiviLogger));
    if (ErroriConsecutiviLogger >= 5) {
        StampaLog("ERROR: 5 consecutive errors. Disable logger");
        DisabilitaLogger();
    }
}

bool LeggiStruttura(int32_t indice) {
    if (indice < 0 || indice >= static_cast<int32_t>(MaxStrutture) || !ViewLogger) {
        StampaLog("WARNING: index to logger structure is out of range: " + std::to_string(indice));
        return false;
    }
    StrutturaLoggerGrezza.CdTrack = CdCopiaFallita;
    StrutturaLoggerGrezza.Livello = LivelloCopiaFallita;
    std::memcpy(&StrutturaLoggerGrezza, &ViewLogger->Structures[indice], sizeof(LoggerStructure));
    if (StrutturaLoggerGrezza.CdTrack == CdCopiaFallita || StrutturaLoggerGrezza.Livello == LivelloCopiaFallita) {
        StampaLog("WARNING: failed CopyMemory() to get structure with index = " + std::to_string(indice));
        return false;
    }
    const LoggerStructure& r = StrutturaLoggerGrezza;
    StrutturaLogger.TickEvento = r.TickEvento;
    StrutturaLogger.Fasi = r.Fasi;
    StrutturaLogger.CdTrack = r.CdTrack == NessunValore ? -1 : r.CdTrack;
    StrutturaLogger.Livello = r.Livello == NessunValore ? -1 : r.Livello;
    StrutturaLogger.Codice = r.Codice;
    StrutturaLogger.ValoreX = r.ValoreX;
    StrutturaLogger.ValoreY = r.ValoreY;
    return true;
}

bool LeggiLogger() {
    if (HaBit(StatoGioco, FlagLetturaLogger) || !LoggerAttivo()) return false;
    VerificaScrivane();
    const int32_t n = NumeroStrutture();
    if (n == 0 || n == StruttureLette) return false;
    if (n < StruttureLette) StruttureLette = 0;
    // The game's answers shared in a pass of the tick may be these events' past.
    DimenticaCondivisi();
    ImpostaBit(StatoGioco, FlagLetturaLogger);
    StampaLog("LOGGER: read structures sent by logger:");
    CambiaTabulatoreLog(1);
    int32_t letti = 0;
    for (int32_t i = StruttureLette; i < n; ++i) {
        if (LeggiStruttura(i)) {
            ++letti;
            AggiornaVariazioniLogger();
        } else {
            StampaLog("WARNING: error trying to read structure with index= " + std::to_string(i) + " from map file");
        }
    }
    StruttureLette = n;
    StampaLog("Received " + std::to_string(letti) + " structures");
    StampaLog("Current Logger structure: \r\n" + TestoStrutturaLogger());
    const int32_t ritardo = static_cast<int32_t>(ClockTick() - StrutturaLogger.TickEvento);
    if (ritardo > 1000) StampaLog("WARNING: received last structure with big delay: " + std::to_string(ritardo) + " m.s.");
    if (n == static_cast<int32_t>(MaxStrutture)) {
        StampaLog("Reached end file map: send message to reset number of structure");
        PostMessageA(static_cast<HWND>(hWndLogger), MessaggioComando, CmdClearMapping, 0);
    }
    CambiaTabulatoreLog(-1);
    TogliBit(StatoGioco, FlagLetturaLogger);
    return true;
}

void AggiornaVariazioniLogger() {
    const StatoLogger& s = StrutturaLogger;
    const int32_t codice = s.Codice;
    const uint32_t adesso = ClockTick();
    if (codice == EndLoading) {
        StampaLog("End loading: clear cd buffer");
        TotCdBuffer = 0;
        BufferCd.clear();
    }
    if (codice == EndGame) FineGiocoSegnalata = true;
    if (s.CdTrack != -1 && (TotCdBuffer == 0 || s.CdTrack != BufferCd[TotCdBuffer - 1])) {
        StampaLog("Logger: Detected change in CD playing: put cd " + std::to_string(s.CdTrack) + " in buffer[" +
                  std::to_string(TotCdBuffer) + "]");
        BufferCd.push_back(s.CdTrack);
        ++TotCdBuffer;
    }
    if (codice == PreLoading) {
        StampaLog("Detected start loading");
        AttesaCaricamentoGioco = true;
        TickInizioCaricamento = adesso;
        if (adesso - TickUltimoSavegame > 2000) {
            UltimoSavegameCaricato.clear();
            StampaLog("Detected new game and not loading savegame");
        }
        // A load from the title is a new game or a savegame loaded from its
        // menu: the level it leads to tells them apart, once it is named.
        CaricamentoDaiTitoli = LivelloCorrente == 0;
        AggiornaCacheRichiesto = false;
    }
    if (codice == AlreadyInScene || codice == Time_Init) {
        AggiornaCacheRichiesto = true;
        StampaLog("Set 'check savegame change'");
    }
    if (codice == LoadSavegame) {
        UltimoSavegameCaricato = PercorsoSavegame(s.ValoreX);
        TickUltimoSavegame = adesso;
        StampaLog("Detected loading of savegame: " + UltimoSavegameCaricato);
        AggiornaCacheRichiesto = false;
        Ganci.GetVariablesLoading();
    }
    if (CaricamentoDaiTitoli && s.Livello != -1) {
        CaricamentoDaiTitoli = false;
        // A new game enters the script's first level; any other level comes
        // from a savegame, whose variables are those of the game in progress.
        if (s.Livello == PrimoLivelloGioco && UltimoSavegameCaricato.empty())
            Ganci.GetVariablesLoading();
        else if (s.Livello != 0 && UltimoSavegameCaricato.empty())
            StampaLog("Loaded level " + std::to_string(s.Livello) +
                      " from the title: a savegame, not a new game: keep private variables");
    }
    if (codice == GetVideoExclusive || codice == GetVideoShared) {
        VideoLoggerX = s.ValoreX;
        VideoLoggerY = s.ValoreY;
        VerificaDifferenzaVideo(VideoLoggerX, VideoLoggerY);
        StampaLog(std::string(codice == GetVideoExclusive ? "Detected video mode exclusive " : "Detected video mode shared ") +
                  std::to_string(VideoLoggerX) + " x " + std::to_string(VideoLoggerY));
        TombSchermoX = VideoLoggerX;
        TombSchermoY = VideoLoggerY;
        if (codice == GetVideoExclusive) {
            SchermoX = VideoLoggerX;
            SchermoY = VideoLoggerY;
        }
    }
    if (codice == EndLoading) {
        TickEventoFineCaricamento = s.TickEvento;
        AttesaFineCaricamentoGioco = true;
        StampaLog("Store time of end loading: " + std::to_string(static_cast<int32_t>(s.TickEvento - TickInizioLog)));
        LivelloInCaricamento(s.Livello);
    }
    if (codice == MovedWindow) {
        FinestraGiocoX = s.ValoreX;
        FinestraGiocoY = s.ValoreY;
        FinestraGiocoSpostata = true;
    }
    if (codice == PreLoading) CdAvvioLivello = -1;
    if (s.CdTrack != -1 && CdAvvioLivello == -1) {
        StampaLog("Cd at start of loading is: " + std::to_string(s.CdTrack));
        CdAvvioLivello = s.CdTrack;
        Ganci.ImpostaSospeso(s.CdTrack);
    }
    if (codice == StartChangeMode) NascondiCover();
    if (codice == EndChangeMode && !HaBit(StatoGioco, PatchAltEnterApplicata)) {
        const bool condiviso = HaFase(s.Fasi, LoggerFase::SharedMode);
        const bool richiesto = HaOpzione(OpzioniGioco, OpzioneHeader::SharedMode);
        if (condiviso != richiesto) {
            StampaLog("WARNING: video mode now is different than video mode required by media configuration file");
            if (HaOpzione(OpzioniGioco, OpzioneHeader::AbortOnSwapVideoMode)) {
                StampaLog("Swap video mode is complete and flag 'AbortOnSwapVideoMode' is flagged: abort game");
                ChiudiGioco();
                ImpostaBit(StatoGioco, CambioVideoAltEnter);
            } else {
                StampaLog("Send keystrokes ALT + ENTER to reverse current window status");
                Ganci.InviaCodici(false, {{56, 100}, {28, 150}, {156, 50}, {184, 50}});
            }
        } else {
            StampaLog("Restored correct video mode");
        }
    }
    if (HaFase(s.Fasi, LoggerFase::ABORT_LOG)) {
        StampaLog("Abort log: disable checking for logger data");
        DisabilitaLogger();
    }
    if (codice == ReceivedWMClose) {
        StampaLog("Scrivane has been closed with WM_CLOSE");
        LoggerChiuso = true;
    }
}

int32_t GetActiveCDFromBuffer() {
    LeggiLogger();
    if (LogAbilitato && TotCdBuffer >= 2) {
        std::string testo = "BUFFER CD: TotCdBuffer=" + std::to_string(TotCdBuffer) + " CD=";
        for (int32_t i = 0; i < TotCdBuffer; ++i) testo += std::to_string(BufferCd[i]) + " ";
        StampaLog(testo);
    }
    if (TotCdBuffer == 0) return StrutturaLogger.CdTrack;
    const int32_t cd = BufferCd.front();
    BufferCd.erase(BufferCd.begin());
    --TotCdBuffer;
    return cd;
}

void FineTriggerCd(int32_t cd) {
    FineTriggerCdSu(ListaMedia, cd, [](const std::string& riga) { StampaLog(riga); });
}

std::string TestoStrutturaLogger() {
    const StatoLogger& s = StrutturaLogger;
    const int32_t ms = static_cast<int32_t>(s.TickEvento - TickInizioLog);
    char secondi[32];
    std::snprintf(secondi, sizeof secondi, "%s%ld%c%03ld", ms < 0 ? "-" : "", static_cast<long>((ms < 0 ? -ms : ms) / 1000),
                  SeparatoreDecimale(), static_cast<long>((ms < 0 ? -ms : ms) % 1000));
    return Allinea(secondi, 6, true) + ": " + Allinea(NomeEvento(s.Codice), 17, false) + " " +
           Allinea(std::to_string(s.Livello), 3, true) + " " + Allinea(std::to_string(s.CdTrack), 3, true) + " " +
           Allinea(std::to_string(s.ValoreX), 4, true) + " " + Allinea(std::to_string(s.ValoreY), 4, true) + " " +
           NomiFasi(s.Fasi);
}
