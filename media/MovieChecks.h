#pragma once
// Checks of the movie player and codecs before a run. Least form: no movie
// is played yet, so nothing is missing.
bool VerificaMediaPlayer();
bool VerificaCodecFilmati();
