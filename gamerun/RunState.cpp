#include "gamerun/RunState.h"

int32_t TipoProgramma = 0;
bool SistemaNT = false;
int32_t CodicePiattaforma = 0;
std::string CartellaTrle;
std::string PercorsoStore;
std::string LinguaForzata;
bool AvviatoConOpzioneS = false;
bool ConservaCatture = false;

bool TimerAbilitato = false;
bool AttesaCaricamentoIniziale = false;
int32_t TickAvvioGioco = 0;
bool FuoriGioco = false;

InfoProcesso ProcessoGioco;
void* FinestraGioco = nullptr;
Rettangolo RettClientGioco;
int32_t OpzioniGioco = 0;
int32_t SchermoOrigX = 0, SchermoOrigY = 0;
int32_t RiferimentoX = 0, RiferimentoY = 0;
int32_t SchermoX = 0, SchermoY = 0;
int32_t TombSchermoX = 0, TombSchermoY = 0;
bool TaskBarAutoNascosta = false;

std::vector<std::string> FileLivelli;
int32_t NumLivelli = 0;
int32_t LivelloCorrente = 0;
int32_t LivelloPrecedente = 0;
int32_t CdCorrente = 0, CdPrecedente = 0;
int32_t CdTitoli = 0;
int16_t TastoAzioneCorrente = 0, TastoAzionePrecedente = 0;
int32_t TickUltimoTimer = 0;

int32_t LivelloAnnidamento = 0;
int32_t RequisitiSequenza = 0;
int32_t StatoSequenza = 0;
int32_t IndiceEmailFinale = 0;
int32_t FinestraMediaTitoli = 0;
int32_t FinestraSplash = 0;

int32_t ModificheAvvio = 0;
int32_t StatoGioco = 0;

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
}

int32_t LarghezzaRichiesta = 0, AltezzaRichiesta = 0;
