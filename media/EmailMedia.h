#pragma once
// The e-mail media kept for the end of the run. Least form: the media is
// dropped and its failure described.
#include <string>

void EseguiEmailFinale(std::string& errore);
