#pragma once
// The comunicator: a dialogue of up to two persons with portraits, names,
// balloons of typed text and voices, read from the "COMUNICATOR" section.
#include <cstdint>
#include <string>
#include <vector>

#include "core/MediaTrigger.h"

struct ComunicatorPerson {
    std::string Name;
    std::string Image;
    TextFormat Formato;
};

struct ComunicatorSection {
    std::string Text;
    int32_t Index = 0;
    int32_t Flags = 0;
    std::string Image;
    int32_t Wait = 0;
};

struct ParametriComunicator {
    int32_t Flags = 0;
    std::string TImage;
    ComunicatorPerson Persons[2];
    int32_t TotSections = 0;
    int32_t TotPersons = 0;
    // The sections read, SECTION1 first; a faulty one ends the list.
    std::vector<ComunicatorSection> Sections;
};
extern ParametriComunicator ComunicatorParams;

// Beyond these an author's count is a mistake, not a dialogue.
constexpr int32_t MassimoSezioniComunicator = 1000;
constexpr int32_t MassimoPersoneComunicator = 2;

bool SintassiComunicator(const std::string& sezione);
bool LeggiSezioneComunicator(const std::string& sezione, ComunicatorSection& record);
bool LeggiPersonaComunicator(const std::string& sezione, ComunicatorPerson& record);
