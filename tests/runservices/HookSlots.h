#pragma once
// The entries of the hook table that hold no routine, by their place in it:
// every member is a pointer to a routine, so the table is read whole and
// an entry added to it is looked at without a list to keep.
#include <cstring>
#include <vector>

#include "runservices/RunHooks.h"

inline std::vector<size_t> GanciVuotiDi(const GanciRun& ganci) {
    using Voce = void (*)();
    static_assert(sizeof(GanciRun) % sizeof(Voce) == 0);
    std::vector<size_t> vuoti;
    for (size_t i = 0; i < sizeof(GanciRun) / sizeof(Voce); ++i) {
        Voce voce = nullptr;
        std::memcpy(&voce, reinterpret_cast<const char*>(&ganci) + i * sizeof(Voce), sizeof voce);
        if (!voce) vuoti.push_back(i);
    }
    return vuoti;
}
