#pragma once
// The letters the player types, kept for the cheat guardian. The keyboard
// hook and the inventory watch both feed them; the guardian acts on what was
// found later, from the run's own checks.
#include <cstdint>
#include <string>

// The last letters A to Z captured, at most 7, never one twice in a row.
extern std::string TastiCatturati;
// Tick of the last letter captured.
extern uint32_t TickUltimoTasto;
// The cheat word found, "" none; nothing is captured while it is set.
extern std::string TruccoRilevato;
// The guardian is acting on a cheat (its media, the game's close): no
// letter is captured and the same cheat is not acted on again meanwhile.
extern bool TruccoInAzione;
// The media code performed when each word is found; -1 none.
extern int32_t CodiceDozy, CodiceGuns, CodiceHelp, CodiceWeapons;

// The cheats the guardian can forbid, each known by the word the player types.
struct TruccoGuardian {
    const char* Parola;
    // Letters of the word that give it away; 0: the whole word in a row.
    int32_t Soglia;
    // Its watch's bit of StatoGioco.
    int32_t Guardia;
    // The guardian trigger's flag that forbids it.
    int32_t FlagTrigger;
    int32_t* Codice;
    const char* RigaRilevato;
    const char* RigaEreditato;
    const char* RigaPermesso;
};
extern const TruccoGuardian TrucchiGuardian[4];

// Letters further apart than this start a new word.
constexpr uint32_t PausaMassimaTasti = 2000;
constexpr size_t MaxTastiCatturati = 7;
// The key-down message, as both hooks report it.
constexpr uint32_t MessaggioTastoGiu = 0x100;

// Adds one letter the player typed and tests the watched words.
void AggiungiTastoCatturato(std::string& lettera);
// Tests the captured letters against every watched word.
void ControllaTastiGuardian();
// The inventory's words: found when <soglia> of the word's letters were typed.
void VerificaTruccoTasti(const std::string& parola, int32_t soglia);
// What both hook procedures pass on: a key-down of a letter while nothing is
// shown over the game and the game is not in its inventory or hung. True
// when the letter was taken.
bool CatturaTastoHook(uint32_t messaggio, uint32_t tasto);
// A new run forgets the letters, the word found and the notify codes.
void AzzeraCatturaTasti();
