#pragma once
// Equipment and check media, which edit or test the player's savegame.
// Least form: the performers are not built yet.
#include <cstdint>
#include <string>

struct IntestazioneEquipment {
    uint8_t Flags = 0;
};
enum BitFlagEquipment : uint8_t {
    EquipSenzaSalvataggio = 0x1,
    EquipSenzaNascondere = 0x2,
    EquipSenzaCaricamento = 0x4,
    EquipAttendiInput = 0x20,
    EquipBackupSavegame = 0x40,
};
extern IntestazioneEquipment EquipmentHeader;

// Fills EquipmentHeader from an "EQUIPMENT" section.
bool LeggiEquipmentChunk(const std::string& sezione);
bool EseguiEquipmentMedia();
bool EseguiCheckMedia(bool& TestError);
// Switches the monitor on when the sequence had switched it off; True then.
bool RiaccendiMonitorPerMedia();
