#pragma once
// Savegame slot files of the game folder: savegame.0 to savegame.14, read
// whole into images and written back with their checksum.
#include <cstdint>
#include <string>
#include <vector>

#include "core/FileUtils.h"
#include "core/PathNames.h"
#include "savegames/SavegameValues.h"

// PercorsoSavegame and EsisteFileOpenFile, the slot's path and the in-use
// test, are with the file routines in core/FileUtils.h, whose IsFileOccupato
// uses them.

// The whole file into <immagine>; False (after an error line) when it is
// missing or cannot be read.
bool CaricaSavegameBin(const std::string& percorso, SavegameBin& immagine);
// Writes the image, with its checksum byte recomputed unless <comeE>. The
// file is written beside the slot and takes its place only once complete,
// so that a failure never leaves a damaged savegame. An image too short to
// checksum is not written. A slot another process holds open is tried again
// every PassoSavegameInUso ms, up to AttesaSavegameInUso ms.
constexpr uint32_t AttesaSavegameInUso = 3000;
constexpr uint32_t PassoSavegameInUso = 100;
bool SalvaSavegameBin(const std::string& percorso, SavegameBin& immagine, bool comeE);
// The slot files present in a folder, in slot order.
std::vector<std::string> ElencoSavegameCartella(const std::string& cartella, int32_t& conteggio);
// Deletes the slot files of a folder, where present.
void CancellaSavegameCartella(const std::string& cartella);
// Copies each slot file of <sorgente> over the one of <destinazione>; False
// when one of them could not be copied (the others are copied still).
bool CopiaSavegameCartella(const std::string& sorgente, const std::string& destinazione);
// Moves a file into a folder (created when missing). A different file of
// that name stays: the moved one takes the name followed by ".1", ".2" ...
// The source goes only once the copy is complete.
bool SpostaSavegameInCartella(const std::string& percorso, const std::string& cartella);
// Keeps a copy of a slot file in a folder before the slot is overwritten or
// deleted: under the file's name followed by ".1", ".2" ..., never under a
// slot's own name, which in the backup folder is the backup's. Nothing new is
// written when the folder already holds the same bytes under a slot name or
// one of those names. <copia> names a new copy ("" when none was needed).
// False when the file cannot be read or the copy cannot be written whole.
bool ConservaSavegameInCartella(const std::string& percorso, const std::string& cartella, std::string& copia);

// True when the path names a slot file; unless <saltaCartella> it must also
// lie in the game folder, and a refusal outside preview mode is logged.
bool IsPathSavegame(const std::string& percorso, bool saltaCartella);

// The low 16 bits of the save counter and the title of a file; -1 and
// "<NOT READABLE>" when it cannot be read.
int32_t LeggiTitoloSavegame(const std::string& percorso, std::string& titolo);
// The savegame for the log: file name, " [", number, ": ", title, "]", or
// "MISSING " and the file name, with an error line for a missing, unreadable
// or zero-numbered file.
std::string VerificaFileSavegame(const std::string& percorso);
