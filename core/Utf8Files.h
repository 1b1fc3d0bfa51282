#pragma once
// Files named by UTF-8 paths: the paths built from the names a level author
// writes (packet entries, trigger file names), which may hold characters the
// ANSI code page lacks. Each routine behaves as its namesake of FileUtils.h;
// the Windows side calls the W functions, so a name the code page can show
// names the same file as before.
#include <cstdio>
#include <string>
#include <vector>

#include "core/DateTime.h"

std::FILE* ApriFileUtf8(const std::string& percorso, const char* modo);
bool EsisteFileUtf8(const std::string& percorso);
bool CancellaFileUtf8(const std::string& percorso);
bool CopiaFileUtf8(const std::string& sorgente, const std::string& destinazione);
bool StessoFileUtf8(const std::string& a, const std::string& b);
bool RinominaFileUtf8(const std::string& da, const std::string& a);
// SostituisciFile of FileUtils.h. On failure the last error is the failing
// step's own.
bool SostituisciFileUtf8(const std::string& nuovo, const std::string& percorso);
bool ImpostaDataFileUtf8(const std::string& percorso, const DataOra& data);

bool EsisteCartellaUtf8(const std::string& percorso);
bool CreaCartellaUtf8(const std::string& percorso);
std::vector<std::string> ElencoFileUtf8(const std::string& cartella, const std::string& modello);
bool CancellaFilesUtf8(const std::string& cartella, const std::string& modello);
bool RimuoviCartellaUtf8(const std::string& cartella);

// The path as the A functions take it: its ANSI form when the code page holds
// every character, else the file's short (8.3) form when the volume gives it
// one; "" when neither names the file.
std::string PercorsoAnsi(const std::string& percorso);
