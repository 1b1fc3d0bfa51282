#pragma once
// Patch records on an image of a program file held whole in memory. Nothing
// here touches a file: the callers read the image and write it back only
// when a whole set went through.
#include <cstdint>
#include <string>
#include <vector>

struct RecordPatch {
    int32_t Offset = 0;     // 0-based file offset of the first byte
    int32_t Lunghezza = 0;  // bytes covered
    std::string Originali;  // the unpatched program's bytes
    std::string Nuovi;      // the patched program's bytes
};

enum EsitoPatch : int32_t {
    GiaApplicata = 1,     // already in the target state of the direction
    NonRiconosciuta = 2,  // neither expected nor target bytes, or an error
    Applicata = 3,        // expected bytes found and target bytes written
};

// One record in the image. Remove: the expected bytes are Nuovi and the
// target Originali. Check only: the image is not changed. Force: no
// comparison. A record outside the image gives NonRiconosciuta.
int32_t VerificaPatchBytes(std::string& immagine, const RecordPatch& record, bool rimuovi, bool soloVerifica,
                           bool forza);
// The state of the record as if its offset were <spostamento> bytes larger.
int32_t StatoRecordPatch(const std::string& immagine, int32_t spostamento, const RecordPatch& record, bool rimuovi);

// The records from <primo> on, in order. Every record is judged before
// anything is kept: all in their expected state (or force), the image gets
// every record and the result is Applicata; all already in the target state,
// GiaApplicata; anything else NonRiconosciuta, and the image is untouched.
int32_t ApplicaRecordPatch(std::string& immagine, const std::vector<RecordPatch>& records, size_t primo,
                           bool rimuovi, bool forza);

// Locates the reference record of a relocatable patch; <spostamento> gets
// the shift found. Anchor (<cercaAncora>): the image is searched for the
// record's Originali, which an anchor always keeps, and the nearest
// occurrence to its offset wins (the lowest on ties): Applicata, or
// NonRiconosciuta when there is none. Otherwise the record's state is tried
// at shift 0, -48, +48 and then every shift from -112 to +112: the first
// that is not NonRiconosciuta is returned with its result.
int32_t CercaRecordPatch(const std::string& immagine, const RecordPatch& record, bool rimuovi,
                         int32_t& spostamento, bool cercaAncora);

// The distance between the two builds of the game in their patched areas.
constexpr int32_t SpostamentoBuild = 0x30;
