#pragma once
// Switch media: enables, disables or initialises other triggers by their
// media codes, or performs them.
#include <cstdint>
#include <vector>

#include "media/SwitchSyntax.h"

// Performs MediaCorrente. TestError is set for a faulty section, a code
// naming no trigger or unknown flags; performed media report their own.
bool EseguiSwitchMedia(bool& TestError);
// The indices in ListaMedia of the listed codes; <conteggio> is the list's
// count, or 0 (with no index) as soon as a code names no trigger, whose
// code the error line gives.
std::vector<int32_t> IndiciDaListaMedia(const ListaCodiciMedia& lista, int32_t& conteggio);
