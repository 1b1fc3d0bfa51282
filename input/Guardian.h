#pragma once
#include <cstdint>
#include <string>

// The guardian media: forbidden saving and the cheat watch. Least form:
// nothing is set up for a new level; each check says once that it was not
// performed.

void ControllaStopSalvataggio();
// The CD track of the guardian's stop-save media; -1 none.
extern int32_t MediaStopSave;
void ImpostaGuardian();
// The guardian media's flags ("#FLAGS#=", default 1).
extern int32_t FlagGuardian;
enum BitFlagGuardian : int32_t {
    GuardianChiudeGioco = 0x1,        // close the game on a cheat
    GuardianEreditaSalvataggio = 0x2, // inherit the saving of the game
    GuardianControllaCd = 0x8,        // watch its CD for that saving
    GuardianEreditaTrucchi = 0x10,    // inherit cheats
};
// The media code performed to tell the player of a cheat ("#CODE#=", -1).
extern int32_t CodiceGuardian;
// Reads "#FLAGS#=" and "#CODE#=" of a GUARDIAN section into FlagGuardian
// and CodiceGuardian.
void LeggiCodiceGuardian(const std::string& sezione);
// The parameter text of the current flags and code.
std::string LeggiFlagGuardian();
// The parameters of a guardian media converted from an old configuration.
std::string SintassiGuardianVecchia();
// Undoes new savegames the guardian keeps frozen; True when none was found
// (the least form, which looks at none, says False).
bool ControllaSavegameBloccati();
