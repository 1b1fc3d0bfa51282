#pragma once
// The part of the run state that the core services and the subsystems the
// game run builds on (media, savegames, input, patcher) read and write: the
// program's folders and role, the desktop's screen, the game's process, the
// level and CD track followed, the media sequence and the run's bit words.
// What only the game run itself uses stays in runservices/RunState.h.
#include <cstdint>
#include <string>
#include <vector>

// The game's process as the system reports it when started.
struct InfoProcesso {
    void* hProcess = nullptr;
    void* hThread = nullptr;
    uint32_t dwProcessId = 0;
    uint32_t dwThreadId = 0;
};

struct Rettangolo {
    int32_t Left = 0;
    int32_t Top = 0;
    int32_t Right = 0;
    int32_t Bottom = 0;
};

// Program and folders.
extern int32_t TipoProgramma;
extern bool SistemaNT;
// The platform code of PiattaformaWindows (4: Windows 98 and Me).
extern int32_t CodicePiattaforma;
extern std::string CartellaTrle;
extern std::string PercorsoStore;
extern std::string LinguaForzata;
extern bool AvviatoConOpzioneS;
extern bool ConservaCatture;

// True outside a configured run (LogAbilitato lives with the log writer).
extern bool FuoriGioco;

// Game process and the desktop's screen.
extern InfoProcesso ProcessoGioco;
extern int32_t SchermoOrigX, SchermoOrigY;
extern int32_t RiferimentoX, RiferimentoY;
extern int32_t SchermoX, SchermoY;

// Level and CD tracking.
extern std::vector<std::string> FileLivelli;
extern int32_t NumLivelli;
extern int32_t LivelloCorrente;
extern int32_t LivelloPrecedente;
extern int32_t CdCorrente, CdPrecedente;
extern int32_t CdTitoli;
extern int16_t TastoAzioneCorrente, TastoAzionePrecedente;
extern int32_t TickUltimoTimer;

// Media sequence bookkeeping.
extern int32_t LivelloAnnidamento;
extern int32_t RequisitiSequenza;
extern int32_t StatoSequenza;
extern int32_t IndiceEmailFinale;
extern int32_t FinestraMediaTitoli;
extern int32_t FinestraSplash;

// What the start of the run changed and its end must undo.
extern int32_t ModificheAvvio;
enum BitModificheAvvio : int32_t {
    MediaTriggerAttivi = 0x1,
    RisoluzioneCambiata = 0x2,
    ImpostazioniCambiate = 0x4,
    DriverTastiCaricato = 0x8,
    CoverMostrata = 0x10,
    TaskBarNascosta = 0x20,
    AlertInCorso = 0x40,
    AnimazioniDisattivate = 0x80,
    SchermoNeroMostrato = 0x100,
    GiocoInStandBy = 0x200,
    TempoInventarioInCorso = 0x400,
    SwapTaskBloccato = 0x800,
    InputBoxAttivo = 0x1000,
    FaseSpecialMedia = 0x2000,
    NoAntiTrigger = 0x4000,
    SplashAttivo = 0x8000,
    MouseNascosto = 0x10000,
    GiocoConfigurato = 0x20000,
    FlagSuoniLogger = 0x100000,
};

// The run's state and option bits.
extern int32_t StatoGioco;
enum BitStatoGioco : int32_t {
    StopSave = 0x1,
    GuardiaDozy = 0x2,
    NoInheritSave = 0x4,
    NoInheritCheat = 0x8,
    HookTastieraAttivo = 0x10,
    GuardiaGuns = 0x20,
    GuardiaHelp = 0x40,
    GuardiaWeapons = 0x80,
    HookSospeso = 0x100,
    ControlloTrucchiSavegame = 0x200,
    ModoTester = 0x800,
    PrimaEsecuzione = 0x1000,
    ComandoInCorso = 0x4000,
    InputUtenteSospeso = 0x8000,
    PrioritaGiocoRidotta = 0x10000,
    ModuloVeloce = 0x20000,
    AbortSuErrore = 0x40000,
    CodecGiaRichiesto = 0x80000,
    RisoluzioneVerificata = 0x100000,
    FlagLoggerInUso = 0x200000,
    CambioVideoAltEnter = 0x400000,
    ScreenshotCatturati = 0x800000,
    FlagLetturaLogger = 0x1000000,
    PatchLoadingBugApplicata = 0x2000000,
    RefreshSchermoRichiesto = 0x4000000,
    PatchAltEnterApplicata = 0x8000000,
};

// Bits of the requirement word built for each media of a list, whose union
// for the sequence is RequisitiSequenza.
enum BitRequisitiMedia : int32_t {
    RichiedeStandBy = 0x1,
    RichiedeSalvataggio = 0x2,
    RichiedeMouseNascosto = 0x4,
    RichiedeCaricamentoFinale = 0x8,
    RichiedeSchermoNascosto = 0x10,
    RichiedeCattura = 0x20,
    RichiedeInputFermo = 0x40,
    RichiedeBackupSavegame = 0x80,
    RichiedeNormalizzazione = 0x100,  // normalize the savegames before the final load
    RichiedeAbortSuErrore = 0x200,
};

// The state of the media sequence being performed.
enum BitStatoSequenza : int32_t {
    StandByAttivo = 0x1,
    PartitaSalvata = 0x2,
    // An equipment media of the sequence has done its work: the game must
    // load what it changed.
    EquipmentEseguito = 0x4,
    CaricamentoAnnullato = 0x8,
    MonitorSpento = 0x10,
    SchermoCatturato = 0x20,
    RipristinaBackupSavegame = 0x80,
    SavegameNormalizzati = 0x100,
};

inline bool HaBit(int32_t parola, int32_t bit) { return (parola & bit) != 0; }
inline void ImpostaBit(int32_t& parola, int32_t bit) { parola |= bit; }
inline void TogliBit(int32_t& parola, int32_t bit) { parola &= ~bit; }
