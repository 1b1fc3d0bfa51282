#pragma once
// The backup of the savegames that media may change for a while, the
// normalised slots before a load, and the check of the game folder's
// savegames at the start of the run.
#include <string>

#include "savegames/SavegameCache.h"

// The copy of the live cache a backup holds.
extern SavegameCache SavegameCacheBackup;
// The guardian's frozen savegames.
extern SavegameCache SavegameCacheBloccata;

// While saving is forbidden, a savegame the program itself wrote (its own
// save of the game, an edit of a media) joins the frozen savegames, so that
// the guardian neither undoes it nor takes it for the player's save. The
// entry keeps the slot order of the refreshed cache it is compared with.
void AggiornaSavegameBloccato(const std::string& percorso, const SavegameBin& immagine);

// The game folder's "Old_Savegames".
std::string CartellaOldSavegames();

// Copies every whole slot file of the game folder into the backup folder; a
// damaged one leaves the backup folder's copy as it is. False when one could
// not be read or copied.
bool CopiaSavegameInOld();

// The backup folder holds what the slots must go back to (a repair or a
// restore is still due): nothing may copy the slots over it.
bool SavegameInAttesaDiRipristino();

void BackupSavegames();
void RipristinaSavegames();
// Writes the newest cached savegame into every slot.
void NormalizzaSavegame();
// The name the media sequence calls it by.
inline void NormalizzaSavegames() { NormalizzaSavegame(); }
void RimuoviSavegameNormalizzati();
// Checks the savegames of the game folder once, at the start of the run.
// False when the slots left by the last run could not be put back: the run
// must not start, since the game would save over what is still to restore.
bool AnalizzaSavegameTrle();
