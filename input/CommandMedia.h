#pragma once
// Command media: command codes of the "COMMAND" section turned into key
// macros in the player's own bindings and sent to the game, each followed
// by a wait of some seconds, for a still screen or for a quiet player.
#include <cstdint>
#include <string>
#include <vector>

#include "input/KeyMacros.h"

struct ParametriComandoMedia {
    int32_t NumComandi = 0;
    std::vector<int32_t> Comandi;
    int32_t FlagsComando = 4;
    int32_t SecondiAttesa = 1;
};
enum BitFlagComando : int32_t {
    ComandoAttendiSchermoFermo = 0x1,
    ComandoAttendiSecondi = 0x2,
    ComandoAttendiSilenzio = 0x4,
    ComandoSoloFineGioco = 0x8,
    ComandoBloccaInput = 0x10,
};
extern ParametriComandoMedia ParametriComando;

constexpr int32_t PixelRigaSchermo = 100;
using RigaPixel = std::vector<uint32_t>;

bool SintassiCommandMedia(const std::string& testo);
bool EseguiCommandMedia();
// The list of delays of one code: keys pressed, held keys released last
// first.
void CommandCodeToKeys(int32_t codice, std::vector<MacroEvent>& eventi, int32_t& conteggio);
int32_t ScanCodeDaComando(int32_t tasto, int32_t predefinito);
RigaPixel CatturaRigaSchermo();
bool ConfrontaRighePixel(const RigaPixel& a, const RigaPixel& b);
void AttendiSchermoFermo(const RigaPixel& riga);
