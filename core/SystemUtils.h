#pragma once
// Processes, waits and system queries.
#include <cstdint>
#include <string>
#include <vector>

#include "core/SharedState.h"
#include "platform/JoystickPort.h"

// Button and icon styles of Messaggio, as the system numbers them.
constexpr uint32_t StileOk = 0x0;
constexpr uint32_t StileSiNo = 0x4;
constexpr uint32_t StileErroreCritico = 0x10;
constexpr uint32_t StileAttenzione = 0x30;
constexpr int32_t RispostaSi = 6;

extern const char* const TitoloProgramma;  // "Vorn Media Module"

// Programs are started with their 8.3 path as application name, that path
// in double quotes, a blank and the arguments as command line, and their own
// folder as current folder.

// Waits for the end; the program gets an empty environment. True when it
// started and ended.
bool EseguiEAttendi(const std::string& programma, const std::string& argomenti, bool nascosto);
// Inherits this program's environment. The thread id, or -1 (also in the
// handle) when the start failed; the caller owns the handle.
int32_t AvviaProcesso(const std::string& programma, const std::string& argomenti, void*& handleProcesso,
                      bool nascosto);
// Empty environment; the whole process record goes into <info>. The process
// handle, or nullptr when the start failed; the caller owns the handles.
void* AvviaProcessoInfo(const std::string& programma, const std::string& argomenti, bool nascosto,
                        InfoProcesso& info, bool sospeso);
// The shell's "open"; an empty folder means the document's own.
bool ApriDocumento(const std::string& file, const std::string& parametri, bool nascosto, const std::string& cartella);

// Waits that block the thread: one sleep, or a busy loop on the tick count.
void AttendiSecondi(int32_t conteggio, bool dormi);
void AttendiMs(int32_t conteggio, bool dormi);
void AttendiDecimi(int32_t conteggio, bool dormi);

// Titled top-level windows of a thread.
struct FinestraThread {
    void* hWnd = nullptr;
    std::string Titolo;
};
extern std::vector<FinestraThread> FinestreThread;
extern int32_t NumFinestreThread;
void ElencaFinestreThread(uint32_t idThread);
std::string TitoloFinestra(void* hWnd);

// True when the virtual keys are down, up to the first 0; in a pass of the
// tick (PassaggioCondiviso) each key is read once.
bool TastiPremuti(int32_t k1, int32_t k2 = 0, int32_t k3 = 0, int32_t k4 = 0);
// Non-zero while the game's Action control (else Enter) is held.
int16_t TastoAzioneAttivo();
// Seams toward the game settings and the game-control test, which lie above
// the core: the Action control's bound and default keys, and whether such a
// control is held. Until the settings module fills them in, only Enter counts.
extern bool (*TastiAzioneGioco)(int16_t& tasto, int16_t& predefinito);
extern int16_t (*ControlloGiocoPremuto)(int16_t tasto, int16_t predefinito);

// 0 unknown, 1 Windows 95/98, 4 Windows Me and later 9x, 5 NT 5, 6 other NT.
int32_t PiattaformaWindows();
int32_t PiattaformaDaVersione(uint32_t piattaforma, uint32_t maggiore, uint32_t minore);
bool IsWindowsNT();
// The version's name and code.
int32_t VersioneWindows(std::string& nome);
int32_t NomeVersioneWindows(uint32_t piattaforma, uint32_t maggiore, uint32_t minore, std::string& nome);

// The low 8 bits of the locale's language identifier (9 English, 16 Italian).
int32_t LinguaSistema();
// With its trailing "\".
std::string CartellaTemp();
// -1: the temporary folder without its "\"; else a shell folder number of
// the current user; "" when the shell has none.
std::string CartellaSpeciale(int32_t numero);

// The position and buttons of the joystick <porta>; False when it cannot be
// read.
bool LeggiJoystick(PosizioneJoystick& lettura, uint32_t porta);

void NascondiCursore();
void MostraCursore();

// A memory device context with a bitmap of the window's client size.
void* CreaDCMemoria(void* hWnd, void* hdc, void*& oggettoPrecedente);
void DistruggiDCMemoria(void* dcMemoria, void* oggettoPrecedente);

// The chosen file, or "" when cancelled. The filter as "Text|*.txt|All|*.*".
std::string DialogoFile(const std::string& titolo, const std::string& filtro, const std::string& cartellaIniziale,
                        bool salva);

// A message box with the program's caption when the title is empty; the
// code of the button pressed.
int32_t Messaggio(const std::string& testo, uint32_t stile, std::string titolo = "");

// The modeless notice window.
void MostraAvviso(const std::string& testo);
void ChiudiAvviso();
// Its label's text and whether it is shown (for tests and callers that look).
bool AvvisoAperto();
std::string TestoAvviso();

// The decimal separator of the user's locale.
char SeparatoreDecimale();

// Hooks of the start-up that do nothing.
bool Extra_InitGameConfig(bool);
void ProceduraVuota();
