#pragma once
// The main program's side of the logger Scrivane: start and handshake, the
// game event records read from "SWAPMEDIADAT", the CD buffer, the health
// check and the close.
#include <cstdint>
#include <string>
#include <vector>

#include "eventlogger/LoggerProtocol.h"

// The last record unpacked: 255 becomes -1 in CdTrack and Livello.
struct StatoLogger {
    uint32_t TickEvento = 0;
    LoggerFase Fasi{};
    int32_t CdTrack = -1;
    int32_t Livello = -1;
    int32_t Codice = 0;
    int32_t ValoreX = 0;
    int32_t ValoreY = 0;
};

extern void* hWndLogger;
extern void* hProcessLogger;
extern void* hMapLogger;
extern SwapMediaView* ViewLogger;
extern int32_t StruttureLette;
extern LoggerStructure StrutturaLoggerGrezza;
extern StatoLogger StrutturaLogger;
extern std::vector<int32_t> BufferCd;
extern int32_t TotCdBuffer;
extern uint32_t UltimaVerificaLogger;
extern int32_t ErroriConsecutiviLogger;
extern int32_t CdAvvioLivello;
extern uint32_t TickInizioCaricamento;
extern uint32_t TickEventoFineCaricamento;
extern uint32_t TickUltimoSavegame;
extern std::string UltimoSavegameCaricato;
// A level load began in the title and its level is not named yet.
extern bool CaricamentoDaiTitoli;
// The level a new game starts.
constexpr int32_t PrimoLivelloGioco = 1;
extern int32_t VideoLoggerX, VideoLoggerY;
extern int32_t FinestraGiocoX, FinestraGiocoY;
extern bool FinestraGiocoSpostata;
extern bool FineGiocoSegnalata;
extern bool LoggerChiuso;
// The logger of this run answered the handshake: it holds this program's
// process handle and ends with it.
extern bool LoggerHaRisposto;

// How long a command may wait for the logger before it counts as no answer.
constexpr uint32_t AttesaComandoLogger = 2000;
// How long the handshake waits for a logger whose process runs: a working
// logger takes no message while it loads its sounds. Each try keeps the
// short bound; the pause comes between tries.
constexpr uint32_t AttesaHandshakeLogger = 15000;
constexpr uint32_t PausaHandshakeLogger = 100;

void AvviaScrivane();
void VerificaScrivane();
bool LeggiLogger();
bool LeggiStruttura(int32_t indice);
int32_t NumeroStrutture();
int32_t SegnaleLogger();
void AggiornaVariazioniLogger();
int32_t GetActiveCDFromBuffer();
void FineTriggerCd(int32_t cd);
std::string TestoStrutturaLogger();
bool LoggerAttivo();
void ChiudiLogger();
void DisabilitaLogger();

// Sends a command with a bounded wait; false when the logger did not take it.
bool InviaComandoLogger(uint32_t comando, intptr_t argomento);
// Command 1 until ReceivedCount moves: True when the logger answered.
bool HandshakeLogger();
// Closes the logger's process handle, which only this program owns.
void ChiudiProcessoLogger();
// How long a logger that never answered may take to end by itself.
constexpr uint32_t AttesaFineLoggerMuto = 1000;
// The end of a run: a logger started but never connected has no handle of
// this program to notice its end; it is ended here.
void TerminaLoggerMuto();
// Puts the client's state to its start values (a new run), closing first
// the handles a previous run left.
void AzzeraLoggerClient();

// The re-arming walk of FineTriggerCd over any list of trigger records with
// TriggerCd, Options and MediaCode.
constexpr int32_t BitAlreadyShown = 0x2000;
template <class Lista, class Log>
void FineTriggerCdSu(Lista& lista, int32_t cd, Log log) {
    if (cd == -1) return;
    for (auto& media : lista) {
        if (media.TriggerCd == 999) break;
        if ((media.Options & BitAlreadyShown) && media.TriggerCd != cd) {
            log("End cd trigger " + std::to_string(media.TriggerCd) + " for media code = " +
                std::to_string(media.MediaCode) + ": it is newly ready for further activations");
            media.Options &= ~BitAlreadyShown;
        }
    }
}
