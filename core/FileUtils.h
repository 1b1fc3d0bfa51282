#pragma once
// Files, folders and paths. No routine here but IsFileOccupato writes to the
// log or lets an error reach its caller: failure shows only in the result.
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "core/DateTime.h"
#include "core/PathNames.h"

// Files.
bool EsisteFile(const std::string& percorso);
bool CancellaFile(const std::string& percorso);
// A copy onto the source itself copies nothing and keeps the file.
bool CopiaFile(const std::string& sorgente, const std::string& destinazione);
// Two spellings of one path (short or long form, letter case, relative).
bool StessoFile(const std::string& a, const std::string& b);
// The whole file, one character per byte; "" when it is missing or cannot
// be read.
std::string LeggiFileIntero(const std::string& percorso);
// The same, with failure told apart from an empty file: False when the file
// is missing, cannot be read or holds more than <massimo> bytes.
bool LeggiFileIntero(const std::string& percorso, std::string& dati, int64_t massimo = 0x7FFFFFFE);
// The text followed by CR LF.
bool ScriviFileTesto(const std::string& percorso, const std::string& testo);
// A stream on a file, as fopen opens it; byte modules open files only
// through this, so that the host build can map the path.
std::FILE* ApriFile(const std::string& percorso, const char* modo);
// False when the file could not be renamed (a file at <a> makes it fail).
bool RinominaFile(const std::string& da, const std::string& a);

// Files rewritten whole keep their previous version beside them as
// backup_<name>.
std::string PercorsoBackup(const std::string& percorso);
// Puts the finished file <nuovo> in place of <percorso>. An existing file
// becomes the backup; when <percorso> is missing afterwards the backup is
// moved back. On NT the file is replaced in one move, so that it is never
// missing; 95, 98 and Me, which have no replacing move, rename twice. False
// when <percorso> did not get the new file; <nuovo> is then left for the
// caller.
bool SostituisciFile(const std::string& nuovo, const std::string& percorso);
// Writes <dati> into _tem_<name> beside the file, then SostituisciFile.
bool RiscriviConBackup(const std::string& percorso, const std::string& dati);
// What a write or a deletion came to. InUso: the system refused it because
// another process holds the file; the same attempt may succeed once that
// process lets it go, so a caller that must wait for the game retries on
// this answer of the attempt itself, never on a look of its own before it.
enum class EsitoFile { Fatto, InUso, Fallito };
EsitoFile RiscriviConBackupEsito(const std::string& percorso, const std::string& dati);
// A missing file counts as deleted.
EsitoFile CancellaFileEsito(const std::string& percorso);
// The same without a backup, for a file whose backup name is taken by
// something else: the file is replaced only once the new one is whole on
// disk. False, the file untouched, when it is read-only or cannot be
// replaced (a running program).
bool RiscriviSenzaBackup(const std::string& percorso, const std::string& dati);
// The platform code (as PiattaformaWindows gives it) that chooses the road
// of SostituisciFile; tests take the other road through it.
extern int32_t (*PiattaformaSostituzione)();

// Sets creation, access and write time alike; the date is local time.
bool ImpostaDataFile(const std::string& percorso, const DataOra& data);
// The "FileVersion" text of an executable's version resource; "" when none.
std::string VersioneFile(const std::string& percorso);

// Folders.
bool EsisteCartella(const std::string& percorso);
bool CreaCartella(const std::string& percorso);
// Full paths of the files matching folder\pattern, in the file system's order.
std::vector<std::string> ElencoFile(const std::string& cartella, const std::string& modello, int32_t& conteggio);
bool CancellaFiles(const std::string& cartella, const std::string& modello);
// Deletes the files, then the folder itself; a subfolder makes it fail.
bool RimuoviCartella(const std::string& cartella);

// Kinds of file IsFileOccupato looks at.
constexpr int32_t FileTracciaCd = 1;
constexpr int32_t FileLivello = 2;
constexpr int32_t FileSavegame = 3;

// True while the game uses the sound file of a CD track, a level file or a
// savegame.
bool IsFileOccupato(int32_t numero, int32_t tipo, bool forza);
// The trimmed game folder, "\savegame." and the number.
std::string PercorsoSavegame(int32_t numero);
// True while another process holds the file open (a sharing violation). A
// missing file is not in use; a read-only one is tested with read access.
bool EsisteFileOpenFile(const std::string& percorso);

// Seam toward the logger client, which fills it in when it exists. Given the
// number and kind it answers from the logger's last record: -1 when the
// logger is not in use (the files decide), 0 or 1 for False or True, 2 to go
// on with the file test (a savegame while the inventory is shown).
extern int32_t (*RispostaLoggerFileOccupato)(int32_t numero, int32_t tipo);

// Paths on disk.
// The 8.3 form of an existing path; any other path comes back unchanged.
std::string PercorsoCorto(const std::string& percorso);
// The path in the letter case stored on disk; "" when a component is
// missing. A "\" is appended to the caller's text, as callers expect.
std::string PercorsoLungo(std::string& percorso);
