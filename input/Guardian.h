#pragma once
#include <cstdint>
#include <string>

// The guardian media: forbidden saving and the cheat watch. Its triggers act
// without firing while they are enabled in the current level; the run reads
// them again whenever that set may have changed.

// The guardian media's flags ("#FLAGS#=", default 1).
extern int32_t FlagGuardian;
enum BitFlagGuardian : int32_t {
    GuardianChiudeGioco = 0x1,         // performed directly: close the game
    GuardianEreditaSalvataggio = 0x2,  // forbid saving the game
    GuardianTruccoVolo = 0x4,          // with 0x10: DOZY
    GuardianControllaCd = 0x8,         // with 0x2: only while its CD track sounds
    GuardianEreditaTrucchi = 0x10,     // forbid the cheats of the bits below
    GuardianTruccoMedikit = 0x20,      // GUNS
    GuardianTruccoLivello = 0x40,      // HELP
    GuardianTruccoArmi = 0x80,         // WEAPONS
    GuardianControllaSavegame = 0x100, // the traces of cheats in the savegames
};
// The media code performed to tell the player ("#CODE#=", -1 none).
extern int32_t CodiceGuardian;
// The CD track of the stop-save trigger whose track is sounding; -1 none.
extern int32_t MediaStopSave;
// The media code performed when a save was undone; -1 none.
extern int32_t CodiceStopSave;

// Reads "#FLAGS#=" and "#CODE#=" of a GUARDIAN section into FlagGuardian
// and CodiceGuardian, from their defaults; an empty section keeps them. A
// tag missing or not a number is an error line naming the media code (the
// current media's unless given) and leaves the values read so far.
bool LeggiCodiceGuardian(const std::string& sezione);
bool LeggiCodiceGuardian(const std::string& sezione, int32_t codiceMedia);
// The section text of the current flags and code.
std::string ComponiSintassiGuardian();
// The parameters of a guardian media converted from an old configuration.
std::string SintassiGuardianVecchia();

// Sets the cheat watch and its notify codes from the guardian triggers; the
// keyboard hook follows the fly cheat's watch.
void ImpostaGuardian();
// Sets or lifts the stop save from the guardian triggers.
void ControllaStopSalvataggio();
// Freezes the savegames when on.
void CambiaStopSave(bool on);
// While the stop save is on, puts the savegames of the game folder back to
// the frozen copy once a refreshed cache shows a change; True when they were
// put back.
bool ControllaSavegameBloccati();
