#pragma once
// The graph menu: areas of a picture chosen with the game's direction and
// Action controls, Enter or hot keys, and its "GRAPH_MENU" syntax.
#include <cstdint>
#include <string>
#include <vector>

#include "core/SharedState.h"

struct GraphMenuItem {
    Rettangolo Bound;
    // -1 leaves the menu, -2 cannot be chosen; an item its section never
    // gave a code chooses nothing either.
    int32_t MediaCode = -2;
    std::string HotKey;
};

struct GraphMenuParams {
    int32_t Flags = 34;
    int32_t PenColor = 0xFFFFFF;
    int32_t PenSize = 3;
    int32_t BlinkDelay = 500;
    int32_t TotMenu = 0;
    int32_t Columns = 1;
    int32_t SMenu = 0;
    // TotMenu + 1 of them.
    std::vector<GraphMenuItem> Items = std::vector<GraphMenuItem>(1);
};

extern GraphMenuParams ParametriGraphMenu;

// The most items a menu may declare: more areas than a screen could show
// apart are a damaged count.
constexpr int32_t MassimoVociGraphMenu = 1000;

constexpr int32_t MediaCodeEsciMenu = -1;
constexpr int32_t MediaCodeNonScegliere = -2;

bool SintassiGraphMenu(const std::string& sezione);
// The item a move of dx columns and dy rows leads to on a grid of <colonne>
// columns; <voce> itself when the move leaves the grid (no wrapping).
int32_t VoceDopoMossa(int32_t voce, int32_t dx, int32_t dy, int32_t colonne, int32_t totale);
