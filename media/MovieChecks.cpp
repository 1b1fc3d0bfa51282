#include "media/MovieChecks.h"

#include "core/MediaLog.h"

bool VerificaMediaPlayer() {
    StampaNonCostruito("VerificaMediaPlayer");
    return true;
}

bool VerificaCodecFilmati() {
    StampaNonCostruito("VerificaCodecFilmati");
    return true;
}
