#pragma once
// Checks of the movie player and codecs before a run.
#include <string>

// Least form: no movie is played yet, so nothing is missing.
bool VerificaMediaPlayer();
// Every movie of the configuration has a verified codec or is disabled for
// this run; True when done.
bool VerificaCodecFilmati();
// The movies VerificaCodecFilmati disabled get their Disabled bit back as it
// was, so that the configuration saved at the end does not keep it: the
// table of VideoCodec.bin disables them again at every run.
void RipristinaMovieDisabilitati();
// True when the Windows Media codec files the movie needs are in the system
// folder in sufficient versions; <rapporto> gets the report lines, each
// ended by CR LF. An empty path checks the codec files alone.
bool VerificaCodecMovie(const std::string& percorso, std::string& rapporto);
// Asks Windows to bring the default dial-up connection online; what it
// answers does not matter.
void ApriConnessioneInternet();
