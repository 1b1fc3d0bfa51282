#pragma once
// Save and load of the running game through its own screens: F5 or F6,
// then Enter twice, sent as key macros one step every 100 ms; a save is
// seen in the savegame cache (a higher number), a load through the logger's
// loading events or the level file being in use. Up to three attempts.
#include <cstdint>
#include <string>
#include <vector>

struct OperazioneGiocoCorrente {
    std::vector<std::string> ListaMacro;
    int32_t TotMacro = 0;
    std::string MacroRilascioF5;
    std::string MacroRilascioEnter;
    int32_t IndiceMacro = -1;  // -1: a new attempt starts
    bool InizioCaricamento = false;
    bool FineCaricamento = false;
    bool Completata = false;
    uint32_t TickInizio = 0;
    int32_t Flags = 0;   // option bits of the splash's input
    int32_t Codice = 0;  // the splash's operation
    uint32_t TickPasso = 0;
    int32_t Tentativi = 0;
    std::string UltimoSavegame;
    int32_t NumeroUltimoSavegame = -1;
    int32_t LivelloDaCaricare = -1;  // -1: no savegame to load
    int32_t CdSavegame = -1;
    std::string FileCdSavegame;
    uint32_t TickFineInvio = 0;
    bool NuovoSlot = false;
    bool OperazioneCaricamento = false;
    std::string NomeOperazione;
    int32_t SegnaleOperazione = 0;
    // The splash that drives the operation: its time-out and its phases.
    uint32_t TickTimeOut = 0;
    int32_t SecondiTimeOut = -1;
    bool TestoProgressivoAttivo = false;
    bool AnimazioniAbilitate = false;
    bool OperazioniAbilitate = false;
    bool InitAnimazioneRichiesto = false;
    bool PrimoControllo = false;
    int32_t LunghezzaMaxInput = 0;
};
enum BitFlagOperazione : int32_t {
    CaricamentoCompletoAllInizio = 0x20,
    AttendiFineInputGiocatore = 0x400,
    SalvaInNuovoSlot = 0x200000,
    NormalizzaPrimaDiCaricare = 0x400000,
};

extern OperazioneGiocoCorrente OperazioneGioco;

// Scan codes of the keys of the game's save and load screens.
constexpr int32_t ScanF5 = 63;
constexpr int32_t ScanF6 = 64;
constexpr int32_t ScanInvio = 28;
constexpr int32_t ScanGiu = 80;

void InitSaveGameOperation(bool azzera);
void CaricaPartitaConMacro(bool mantieniParametri);
// One sending step; False ends the operation as failed.
bool EseguiOperazioneGioco();
// One check of a save; after it the media of operation 32, which sets
// <TestError> as its own error flag.
bool VerificaSalvataggio(bool& TestError);
bool VerificaCaricamento();
// A whole save of the running game; True when the game was saved.
bool EseguiSalvataggioPartita();
// Loads the newest savegame in the running game; True once it is loaded.
bool CaricaUltimoSavegame();
void AttendiTastoEscape();
// Releases Return, F5 and F6 when they were left down.
void RilasciaTastiSpeciali();
void InviaEscape();
// Locates the files of the splash being performed: the background image
// (its path replaces the media's file), the sound when the splash captures
// the keyboard, the images of its animations (their paths replace the
// names). Extracted copies join <lista> once, for the caller to delete.
// False when a file cannot be located.
bool EstraiFileSplash(std::vector<std::string>& lista, int32_t& conteggio);
