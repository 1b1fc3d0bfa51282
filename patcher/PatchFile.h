#pragma once
// User patch files (.ptc): their layout, the argument carried in the file's
// name, and the patch applied to or removed from a program's image. Bytes
// and texts only; the file and message-box work is the caller's.
#include <cstdint>
#include <string>
#include <vector>

#include "patcher/PatchEngine.h"

enum FlagFilePatch : int32_t {
    Riloca = 0x1,         // locate the patch in the target first
    ConArgomento = 0x2,   // the file name carries an argument
    CercaAncora = 0x4,    // record 0 is an anchor, found by content, never written
    Forza = 0x8,          // write without testing the bytes in place
    VerificaFirma = 0x10, // only for a target of signature FirmaTarget
};

struct FilePatch {
    int32_t NumRecord = 0;
    int32_t FlagPatch = 0;
    int32_t NumOffsetArgomento = 0;
    std::vector<int32_t> OffsetArgomento;
    int32_t TipoArgomento = 0;
    int32_t DimArgomento = 0;
    std::string FirmaTarget;
    std::string TestoAggiuntivo1;
    std::string TestoAggiuntivo2;
    std::vector<RecordPatch> Record;
};

// Reads a patch file's bytes. Every count and length is checked against the
// bytes that remain; false with the reason in <errore> on a damaged file or
// a character code that is no ANSI code.
bool LeggiFilePatch(const std::string& dati, FilePatch& patch, std::string& errore);
// The file's bytes for a patch (the writer of tests and tools).
std::string ScriviFilePatch(const FilePatch& patch);

// The argument between the first two '#' of the file name (without folder
// and extension). False with the message's second line when a '#' is missing.
bool ArgomentoDaNome(const std::string& percorso, std::string& argomento, std::string& motivo);

// A numeric argument: spaces around, an optional sign, digits with an
// optional "." and decimals, or "&H" and up to eight hexadecimal digits (a
// 32-bit pattern). The same for every argument type, whatever the locale.
bool LeggiNumeroArgomento(const std::string& testo, double& valore);

// <valore> little-endian in <n> bytes, zero-extended (a negative value is
// its 32-bit pattern). False with the message when it needs more bytes.
bool NumeroInByte(std::string& byte, int32_t valore, int32_t n, std::string& messaggio);
// The single-precision bits of a numeric text; false when not numeric.
bool SingleInByte(const std::string& testo, int32_t& bit);

// The argument's bytes placed into the records' Nuovi at the argument
// offsets (nominal offsets, before relocation). False with the message to
// show, or with an empty message when there is nothing to show.
bool PreparaArgomento(FilePatch& patch, const std::string& percorsoPatch, std::string& messaggio);

// Relocation and records on the image (the patch's Forza, Riloca and
// CercaAncora), all or nothing; an EsitoPatch.
int32_t ApplicaFilePatch(const FilePatch& patch, std::string& immagine, bool rimuovi);
