#include "core/SharedState.h"

int32_t TipoProgramma = 0;
bool SistemaNT = false;
int32_t CodicePiattaforma = 0;
std::string CartellaTrle;
std::string PercorsoStore;
std::string LinguaForzata;
bool AvviatoConOpzioneS = false;
bool ConservaCatture = false;

bool FuoriGioco = false;

InfoProcesso ProcessoGioco;
int32_t SchermoOrigX = 0, SchermoOrigY = 0;
int32_t RiferimentoX = 0, RiferimentoY = 0;
int32_t SchermoX = 0, SchermoY = 0;

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
