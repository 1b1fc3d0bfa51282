#pragma once
// What the run's services and the performers ask of the layers above them:
// the game run's control, and the performers for the services. The start-up
// fills it (CollegaServiziRun); an entry left empty logs once that it was
// not performed and reports failure.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

struct GanciRun {
    // The run's control.
    bool (*EseguiMediaCode)(int32_t codice, bool& TestError);
    bool (*EseguiListaMedia)(const std::vector<int32_t>& indici, int32_t conteggio, bool& TestError);
    int32_t (*AnalisiGameProgress)(bool& BreakFlag, int32_t cd, bool IgnoraTitoli);
    void (*ControllaStartCd)();
    void (*ImpostaSospeso)(int32_t cd);
    void (*ImpostaMediaCdGiaMostrati)(int32_t cd);
    void (*AvviaCdAlert)(int32_t cd);
    bool (*IsInventoryMode)(bool AcceptBlack, bool& AllBlack, bool ForceScreen);
    // The performers, for the run's services.
    bool (*InviaCodici)(bool conRilascio, const std::vector<std::pair<int32_t, int32_t>>& tasti);
    bool (*RilevaTrucchi)();
    void (*ControllaStopSalvataggio)();
    void (*ImpostaGuardian)();
    void (*GetVariablesLoading)();
    // The savegames, for the other performers: the newest savegame of the
    // game folder ("" with none) and its image; False when there is none or
    // it cannot be read.
    bool (*LeggiUltimoSavegame)(std::string& percorso, std::string& immagine);
    // The key macros, for the media that hold the player's input off.
    void (*SospendiInputUtente)();
    void (*AbilitaInputUtente)();
    // The input box, for the splash: one key the player typed.
    void (*SostituisciPrompt)(int16_t tasto);
    // The game's screen into a new picture file; False when none was made.
    bool (*CatturaSchermoGioco)(std::string& percorso);
};

extern GanciRun Ganci;
