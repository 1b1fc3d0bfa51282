#pragma once
// The built-in patch sets of the game executable, each in the variant of the
// LE_UK build and of the international LE_INT4 build, as record tables.
#include <vector>

#include "patcher/PatchEngine.h"

enum class SetPatch {
    FastPatchUE,       // fast loading, LE_UK
    FastPatchLEInt4,   // fast loading, LE_INT4
    MappaturaUK,       // close-mapping-file fix
    MappaturaInt4,
    CaricamentoUK,     // loading-game fix
    CaricamentoInt4,
    AltEnterV1,        // Alt_Enter sequence, LE_UK
    AltEnterV2,        // Alt_Enter sequence, LE_INT4
};

// The records of a set, in application order.
const std::vector<RecordPatch>& RecordSet(SetPatch set);
