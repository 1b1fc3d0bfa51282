#pragma once
// Values of a savegame image and the moveable records of Lara and of the
// enemies that follow offset 721. Bytes in, bytes out: no file is touched.
#include <cstdint>
#include <string>

#include "core/SavegameBytes.h"

constexpr int32_t DimensioneSavegame = 15954;
constexpr int32_t OffsetTitoloSavegame = 0;
constexpr int32_t LunghezzaTitoloSavegame = 65;
constexpr int32_t OffsetNumeroSavegame = 75;
constexpr int32_t OffsetGiorniSavegame = 79;
constexpr int32_t OffsetOreSavegame = 81;
constexpr int32_t OffsetMinutiSavegame = 83;
constexpr int32_t OffsetSecondiSavegame = 85;
constexpr int32_t InizioChecksumSavegame = 87;
constexpr int32_t OffsetTitoliSavegame = 437;
constexpr int32_t OffsetLivelloSavegame = 487;
constexpr int32_t OffsetChecksumSavegame = 488;
constexpr int32_t OffsetTempoAssoluto = 489;
constexpr int32_t OffsetCdSavegame = 714;
constexpr int32_t InizioMoveable = 721;
constexpr int32_t OffsetCodeAlert = 15928;
constexpr int32_t OffsetTimeAlert = 15932;
constexpr int32_t OffsetVarA = 15936;
constexpr int32_t OffsetVarB = 15940;
constexpr int32_t OffsetVarC = 15944;
constexpr int32_t OffsetVarD = 15948;
constexpr int32_t OffsetMarcaEditor = 15953;
// The moveable area ends where the private variables begin.
constexpr int32_t FineMoveable = OffsetCodeAlert;

// Upper-case hexadecimal padded with "0"; Hex2 and Hex4 keep the rightmost
// digits of a longer text, so a negative value shows its low bytes.
std::string Hex2(int32_t v);
std::string Hex4(int32_t v);
std::string Hex8(int32_t v);
int32_t WordSenzaSegno(int32_t v);

// The checksum byte that makes bytes 87 to 15953 sum to 0 modulo 256; the
// image must hold 15954 bytes.
uint8_t ChecksumSavegame(const SavegameBin& immagine);
bool ChecksumValido(const SavegameBin& immagine);
// The save counter and the title (bytes 0 to 64 up to the first zero).
int32_t LeggiNumeroTitoloSavegame(const SavegameBin& immagine, std::string& titolo);
// "savegame.3 [12: Cave]".
std::string DescrizioneSavegameBin(const std::string& percorso, const SavegameBin& immagine);
// Makes the image lead back to the titles when the game loads it.
void ModificaSavegameTitoli(SavegameBin& immagine);

// A moveable as parsed; absent optional words are -1.
struct MoveableStruct {
    int16_t Mark = 0;
    int32_t PosX = 0;
    int16_t PosY = 0;
    int32_t PosZ = 0;
    uint8_t Room = 0;
    int16_t Orientation = 0;
    int32_t ew_0002 = -1, ew_0001 = -1, ew_0020 = -1, ew_0040 = -1;
    uint8_t CurrentAnimation = 0, NextAnimation = 0, SpecialAnimation = 0;
    int32_t AnimationId = 0, AnimationFrame = 0;
    int32_t ew_4000 = -1;
    int16_t TriggerStatus = 0;
    uint8_t Flags = 0;
    int32_t ew_0080 = -1, ew_0100 = -1, ew_0200 = -1, ew_0400 = -1, ew_0800 = -1, ew_1000 = -1;
    uint8_t EndByte = 0;
    int32_t Offset = 0;
    int32_t Length = 0;
};

extern MoveableStruct MoveableCorrente;
// True when the moveable found last is Lara's: field 15 reads differently.
extern bool TipoMoveable;

// Parses the structure at <offset> into MoveableCorrente; its length.
int32_t LeggiStrutturaMoveable(const SavegameBin& immagine, int32_t offset);
void ScriviPosizioneMoveable(SavegameBin& immagine, const MoveableStruct& s);
int32_t DimensioneStrutturaMoveable(const MoveableStruct& s);
// Moves the moveable area after the structure at <offset> so that it follows
// the new length. The private variables and the editor mark at the end of
// the file stay where they are.
void SpostaCodaSavegame(SavegameBin& immagine, int32_t offset, int32_t vecchia, int32_t nuova);
// Clamps illegal values, resizes the structure in the image and writes it
// whole. False, with nothing changed, when it does not fit the moveable area.
bool VerificaStrutturaMoveable(SavegameBin& immagine, MoveableStruct& s, bool isLara);
// One field by number (code AND 0xFF).
int32_t LeggiCampoMoveable(const MoveableStruct& s, int32_t codice);
// False, with the field unchanged, for an unknown field or a value that a
// byte or a signed word cannot hold.
bool ScriviCampoMoveable(MoveableStruct& s, int32_t codice, int32_t valore);
