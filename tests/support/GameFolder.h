#pragma once
// A game folder ready for a whole run of Ludovane.exe with the game
// stand-in, built from our own writers and from byte layouts by hand. Used
// by the process tests and by the run benchmark, so it needs no test
// framework.
#include <cstdint>
#include <string>
#include <vector>

// script.dat from its byte layout: the level paths (folder and base name,
// no extension) and the title level's CD track in the first level block.
std::string ScriptDatAMano(const std::vector<std::string>& percorsi, uint8_t cdTitolo);

// A PCM wav of no samples.
std::string WavVuoto();

struct OpzioniCartellaGioco {
    bool condiviso = false;  // the configuration's SharedMode option
    bool logger = true;      // Scrivane.exe in the store folder
    // The configuration's one trigger: an alert on CD 3 in level 1, disabled,
    // so that nothing is performed; stored with its working flag when asked
    // (the end of a run clears it on alerts).
    bool flagWorking = false;
    std::string scriptGioco;  // gamesim.txt
    // In place of that trigger: description lines of the configuration's
    // own triggers, each starting with "[Trigger]".
    std::string trigger;
    int32_t altreOpzioni = 0;        // further header option bits
    // The stand-in is no build of the game: the configuration says that its
    // executable already has every patch (TombExePatched), unless a test
    // lets the run patch it.
    bool exePatchato = true;
    std::vector<int32_t> tracce;     // further audio\NNN.wav files
};

// The description McfWriter turns into the folder's media.mcf.
std::string DescrizioneMcfGioco(const OpzioniCartellaGioco& o);

// Builds <trle>: Ludovane.exe, the stand-in as tomb4.exe with its script,
// script.dat with a title and one level, english.dat, the level and track
// files, media.mcf, and in store the cached videolist.bin, Tonvell.dll and
// (with the logger) Scrivane.exe. <programmi> is the folder of the built
// programs. False with the reason in <errore>.
bool CostruisciCartellaGioco(const std::string& trle, const std::string& programmi, const OpzioniCartellaGioco& o,
                             std::string& errore);

// Runs McfWriter on a description; false when it failed.
bool ScriviMcfDaDescrizione(const std::string& programmi, const std::string& cartella, const std::string& descrizione,
                            const std::string& mcf);
