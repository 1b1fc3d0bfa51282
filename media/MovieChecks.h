#pragma once
// Checks of the movie player and codecs before a run.
#include <string>

// True when msdxm.ocx is of version 6.4 or later and the codec files are
// sufficient; otherwise the player is told what to download.
bool VerificaMediaPlayer();
// True when the version of msdxm.ocx is 6.4 or later.
bool VersioneMediaPlayer();
// Asks Windows to bring the default dial-up connection online.
void ApriConnessioneInternet();
// Every movie of the configuration has a verified codec or is disabled for
// this run; True when done.
bool VerificaCodecFilmati();
// The movies VerificaCodecFilmati disabled for this run only (the player
// answered No) get their Disabled bit back as it was, so that the
// configuration saved at the end does not keep it; those disabled for good
// keep it there.
void RipristinaMovieDisabilitati();
// True when the Windows Media codec files the movie needs are in the system
// folder in sufficient versions; <rapporto> gets the report lines, each
// ended by CR LF. An empty path checks the codec files alone.
bool VerificaCodecMovie(const std::string& percorso, std::string& rapporto);
