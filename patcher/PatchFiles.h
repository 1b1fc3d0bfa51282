#pragma once
// The patcher's file and message-box side: program signatures, built-in
// sets and user patch files applied to the files on disk.
#include <cstdint>
#include <string>
#include <vector>

#include "core/DateTime.h"
#include "patcher/PatchEngine.h"
#include "patcher/PatchFile.h"

// Shows a message of the patcher: a modal box with the critical-error icon.
// Tests put a recorder of their own here.
extern void (*AvvisoPatch)(const std::string& testo);

// The version signature of a program file; "ERROR" after a message.
std::string FirmaEseguibile(const std::string& programma);
// The build date of a PE file; false when it cannot be read.
bool DataEseguibile(const std::string& programma, DataOra& data);

// A set of records applied to the file, all or nothing: the file is
// rewritten whole only when every record went through, and replaced only
// once the new copy is complete.
int32_t ApplicaSetPatch(const std::string& percorso, const std::vector<RecordPatch>& records, bool rimuovi);

// The patch loaded last.
extern FilePatch PatchCorrente;
bool CaricaFilePatch(const std::string& percorso);
// The argument in the patch file's name, or "" (after a message when a '#'
// is missing).
std::string LeggiArgomentoPatch(const std::string& percorso);
// A user patch file applied to (or, with <rimuovi>, taken out of) the
// target program. <firma> is the target's signature: computed here when it
// is empty and the patch needs it, and handed back. An EsitoPatch.
int32_t ApplicaPatch(const std::string& patch, const std::string& eseguibile, bool rimuovi, std::string& firma);
