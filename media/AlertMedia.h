#pragma once
// Alert media: a text, countdown or life bar over the running game, drawn
// straight on the screen in exclusive full screen and in the cover window in
// shared mode, that ends on time, on its CD or when the game stops it.
#include <cstdint>
#include <string>

#include "media/AlertSyntax.h"

// Why a display loop ended.
enum EsitoAlert : int32_t {
    AlertNessunEsito = 0,
    AlertInterrotto = 1,     // its CD sound ended or the break CD started
    AlertTempoCompleto = 2,  // duration, countdown or life bar complete
    AlertAbortito = 3,       // loading, title, the game's end, a refused set-up
};

// Runs the alert of MediaCorrente and its follow-up media; True when it
// ended regularly (the follow-up decides then).
bool EseguiAlertMedia(bool& TestError);

// What both display loops share.
// Seconds the alert lasts: Duration, or the countdown's span when larger.
int32_t DurataAlertSecondi();
// The text with "#COUNTER#" at the countdown's value after <ms>; completo
// once the counter reached its end value (it then stays there).
std::string TestoContatoreAlert(const std::string& base, int32_t ms, bool& completo);
// Milliseconds a suspended alert resumes from: its stored time plus the time
// since the end of the level's loading, when it starts within 3 s of that end
// on the CD track the start of the alert was taken from. 0 with a trigger
// that starts afresh, whose stored time is then taken away; False when the
// trigger marked Suspended is missing from the list.
bool TempoRipresaSospeso(int32_t& elapsed, bool schermoIntero);
// While the player is in the inventory: the time shown up to the moment the
// inventory was entered, kept in the trigger.
void SalvaTempoInventario(int32_t elapsed);
// Milliseconds from <inizio> to now on the wrapping tick; 0 before it.
int32_t TrascorsiDa(uint32_t inizio);

// An interrupted alert keeps the milliseconds it had shown in a "SUSPENDED"
// section of its trigger's syntax in ListaMedia, with Options Suspended.
// The stored time of the trigger at the index; 0 when the section, the tag or
// a whole non-negative number is missing.
int32_t LeggiElapsedSospeso(int32_t indice);
// Stores the time in the trigger with the code and marks it Suspended; False
// when no trigger has the code or its section is damaged.
bool ScriviElapsedSospeso(int32_t codice, int32_t elapsed);
// Takes the section and Suspended away from the trigger with the code (and
// from MediaCorrente when it is that trigger): an alert that starts from
// zero has nothing left to resume.
bool CancellaElapsedSospeso(int32_t codice);
// The same for every loaded trigger, so that media.mcf is saved without them.
bool CancellaTuttiSospesi();
// Milliseconds from inizio to ora on the wrapping tick count; 0 when ora
// comes before inizio.
int32_t TickTrascorsi(uint32_t ora, uint32_t inizio);
