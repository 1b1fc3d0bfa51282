#pragma once
// Backup of the savegames for the media that require it, and their
// normalisation before a load. Least form: nothing is backed up yet.

void BackupSavegames();
void NormalizzaSavegames();
void RimuoviSavegameNormalizzati();
