#pragma once
// The game's settings in the current user's registry, and the copy kept in
// Old_Settings.trg while a run lasts, so that a run after a crash gives back
// the settings of before the crash.
#include <cstdint>
#include <string>

#include "runservices/TombSettingsRecord.h"

extern ImpostazioniTomb ImpostazioniTombCorrenti;
extern ImpostazioniTomb ImpostazioniTombSalvate;

// "Software\Core Design\Tomb Raider Level Editor\"; tests point it elsewhere.
extern std::string ChiaveRegistroTomb;

bool ReadTombSettings();
// <percorso> is "Game\Key0" and the like. The whole 32-bit value
// (0 to 4294967295), or -1 when it cannot be read.
int64_t LeggiValoreRegistro(const std::string& percorso);
bool ScriviValoreRegistro(const std::string& percorso, int32_t valore);
bool ScriviSettingsTomb(const ImpostazioniTomb& imp, bool SoloSistema);
bool CreaChiaviRegistroTomb();
bool CreaChiaveRegistro(const std::string& sottochiave);

std::string PercorsoOldSettings();
void SalvaOldSettings(const ImpostazioniTomb& imp);
bool LeggiOldSettings(ImpostazioniTomb& imp);
void CancellaOldSettings();

// The saved settings were taken from the Old_Settings.trg of a crashed run:
// the registry may still hold that run's values, so the end writes the
// saved ones back even when this run changed nothing. Set by LeggiOldSettings.
extern bool ImpostazioniDaOldSettings;
// Old_Settings.trg holds this run's own copy, written by SalvaOldSettings;
// a copy the run never read or wrote belongs to a crash and is kept.
extern bool OldSettingsDiQuestaRun;
