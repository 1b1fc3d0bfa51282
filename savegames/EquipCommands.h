#pragma once
// The command lists of equipment and check media: the "EQUIPMENT" section
// read into a header and a command table, and the interpreter that runs one
// command against a savegame image. Bytes and values only; the backups go
// through the savegame file routines.
#include <cstdint>
#include <string>
#include <vector>

#include "savegames/SavegameValues.h"

enum TipoComandoEquip : int32_t {
    StandardCommand = 0,
    IsLaraInRoom = 1,
    IsEnemyInRoom = 2,
    IsMediaEnabled = 3,
    MoveLaraTo = 4,
    KillEnemy = 5,
    MoveEnemyFromTo = 6,
    SetDozy = 7,
    ClearDozy = 8,
    DisarmLara = 9,
    BackupFile = 10,
    RestoreFile = 11,
    ClearUsedCD = 12,
    IsLastInputTextEqualTo = 13,
    IsComputerLanguageEqual = 14,
};

enum OperatoreEquip : int32_t {
    OpNone = 0,
    OpGreaterThan = 1,
    OpLessThan = 2,
    OpEqualTo = 3,
    OpDifferentThan = 4,
    OpBitIsSet = 5,
    OpBitIsClear = 6,
    OpSetTo = 7,
    OpAdd = 8,
    OpDivide = 9,
    OpMultiply = 10,
    OpSetBit = 11,
    OpClearBit = 12,
    OpAssign = 13,
};

enum CategoriaRipristino : int32_t {
    RipristinaTutto = 0x01,
    RipristinaArmi = 0x02,
    RipristinaMedipack = 0x04,
    RipristinaOggetti = 0x08,
    RipristinaNemici = 0x10,
    RipristinaPosizioneLara = 0x20,
    RipristinaEsterno = 0x40,
    RipristinaStatistiche = 0x80,
};

// The anti-trigger kill of KillEnemy: the enemy is only moved away.
constexpr int32_t UccisioneAntiTrigger = 1212121;

struct EquipCommand {
    int32_t PreviousOperator = 0;
    int32_t CommandType = 0;
    int32_t Offset = 0;
    int32_t OffsetSize = 0;
    int32_t Operation = 0;
    int32_t Value = 0;
    int32_t SrcRoom = 0;
    int16_t TargetX = 0;
    int16_t TargetY = 0;
    int16_t TargetZ = 0;
    uint8_t TargetRoom = 0;
    int16_t TargetOrientation = 0;
    int32_t RestoreFlags = 0;
    std::string ExternBackup;
    std::string LastInput;
};

enum BitFlagEquipment : int32_t {
    EquipSenzaSalvataggio = 0x1,
    EquipSenzaNascondere = 0x2,
    EquipSenzaCaricamento = 0x4,
    StoreResults = 0x10,
    EquipAttendiInput = 0x20,
    EquipBackupSavegame = 0x40,
    ContinueAlways = 0x80,
};

struct IntestazioneEquipment {
    int32_t Flags = 0;
    int32_t TotRecords = 0;
    // Indices 0 to TotRecords: one spare record, all zero.
    std::vector<EquipCommand> Records = std::vector<EquipCommand>(1);
    int32_t MediaTrue = -1;
    int32_t MediaFalse = -1;
};
extern IntestazioneEquipment EquipmentHeader;

// More records than any media holds: a count above it is a damaged text.
constexpr int32_t MassimoRecordEquip = 9999;

// Fills EquipmentHeader from the text of an "EQUIPMENT" section; False at
// the first missing or wrong tag, with what was read so far kept.
bool LeggiEquipmentChunk(const std::string& sezione);
bool LeggiRecordEquip(const std::string& sezione, EquipCommand& record);
// A missing or non-numeric tag sets <errore> and writes the error line.
int32_t LeggiTagNumerico(const std::string& testo, const std::string& tag, bool& errore);
std::string LeggiTagTesto(const std::string& testo, const std::string& tag, bool& errore);

// Runs record <indice> of EquipmentHeader on the image. False is an unmet
// condition, or a failure when <errore> is set.
bool EseguiIstruzioneEquip(SavegameBin& immagine, int32_t indice, bool& errore);
// The store folder's backup file of a number: "...\store\BackS3".
std::string FileBackupEquip(int32_t numero);
