#pragma once
// The "SWITCH" section of a switch media's syntax text and its lists of
// media codes. Bytes and values only.
#include <cstdint>
#include <string>
#include <vector>

struct ListaCodiciMedia {
    std::vector<int32_t> Codici;
    int32_t Conteggio = 0;
};

struct ParametriSwitchMedia {
    int32_t Flags = 1;
    ListaCodiciMedia Codici;
};
extern ParametriSwitchMedia ParametriSwitch;

// Flags.
constexpr int32_t SwitchInizializzaTutti = 0x1;
constexpr int32_t SwitchInizializza = 0x2;
constexpr int32_t SwitchAbilita = 0x4;
constexpr int32_t SwitchDisabilita = 0x8;
constexpr int32_t SwitchEsegui = 0x10;
constexpr int32_t SwitchLasciaWorking = 0x20;
constexpr int32_t SwitchCasuale = 0x40;
constexpr int32_t SwitchSaltaDisabilitati = 0x80;
constexpr int32_t SwitchSoloLivello = 0x100;
constexpr int32_t SwitchAzzeraVariabili = 0x200;

// The section into ParametriSwitch. Without "#FLAGS#=" the flags are 1; a
// flags value that is not a number, as a code that is not, is a syntax
// error: False after the error line.
bool LeggiSintassiSwitch(const std::string& sezione);
// "#CODES#=" of the text, codes separated by ":"; no tag or an empty value
// give an empty list. False, the list emptied, after the error line.
bool LeggiListaMedia(const std::string& testo, ListaCodiciMedia& lista);
// "Medias=" and the codes joined by ";".
std::string TestoListaMedia(const ListaCodiciMedia& lista);
