#include "runservices/RunState.h"

#include "runservices/CheatCapture.h"

bool TimerAbilitato = false;
bool AggiornaCacheRichiesto = true;
bool AttesaCaricamentoIniziale = false;
int32_t TickAvvioGioco = 0;
uint32_t TickFineCaricamento = 0;

int32_t CdAvvioAlert = -1;
uint32_t TickInizioInventario = 0;
int32_t CodeAlertCorrente = -1;
int32_t TimeAlertCorrente = 0;
int32_t CodeAlertCaricato = -1;
int32_t TimeAlertCaricato = 0;

void* FinestraGioco = nullptr;
Rettangolo RettClientGioco;
int32_t OpzioniGioco = 0;
int32_t TombSchermoX = 0, TombSchermoY = 0;
bool TaskBarAutoNascosta = false;

void AbilitaTimerPrincipale() { TimerAbilitato = true; }

void DisabilitaTimerPrincipale() { TimerAbilitato = false; }

bool IsPreviewMode() { return FuoriGioco; }

void AzzeraStatoRun() {
    CdCorrente = -1;
    CdPrecedente = -1;
    TastoAzioneCorrente = 0;
    TastoAzionePrecedente = 0;
    FuoriGioco = false;
    FinestraSplash = -1;
    FinestraMediaTitoli = -1;
    CdTitoli = -1;
    LivelloCorrente = -2;
    LivelloPrecedente = 0;
    ModificheAvvio = 0;
    StatoGioco = 0;
    OpzioniGioco = 0;
    ProcessoGioco = InfoProcesso{};
    FinestraGioco = nullptr;
    TickUltimoTimer = 0;
    IndiceEmailFinale = -1;
    AzzeraCatturaTasti();
}

int32_t LarghezzaRichiesta = 0, AltezzaRichiesta = 0;
