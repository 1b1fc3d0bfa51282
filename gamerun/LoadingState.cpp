#include "gamerun/LoadingState.h"

bool AttesaCaricamentoGioco = false;
bool AttesaFineCaricamentoGioco = false;
