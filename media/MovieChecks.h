#pragma once
// Checks of the movie player and codecs before a run.
#include <string>

// Least form: no movie is played yet, so nothing is missing.
bool VerificaMediaPlayer();
bool VerificaCodecFilmati();
// True when the Windows Media codec files the movie needs are in the system
// folder in sufficient versions; <rapporto> gets the report lines, each
// ended by CR LF. An empty path checks the codec files alone.
bool VerificaCodecMovie(const std::string& percorso, std::string& rapporto);
