#include "media/ProgressiveText.h"

DatiTestoProgressivoMedia DatiTestoProgressivo;
