#include "savegames/SavegameBackup.h"

#include "core/MediaLog.h"

void BackupSavegames() { StampaNonCostruito("BackupSavegames"); }

void NormalizzaSavegames() { StampaNonCostruito("NormalizzaSavegames"); }

void RimuoviSavegameNormalizzati() {}
