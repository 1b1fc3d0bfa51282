#include "media/SplashScreen.h"

#include "core/MediaLog.h"

ParametriSplashMedia ParametriSplash;
AnimazioneSplashMedia StatoAnimazioneSplash;

bool EseguiSplashScreen(bool& BreakEscape, bool& TestError) {
    StampaNonCostruito("EseguiSplashScreen");
    BreakEscape = false;
    TestError = true;
    return false;
}

bool SintassiSplash(const std::string&) {
    ParametriSplash = ParametriSplashMedia{};
    return true;
}

void CopiaSfondoSplash(const AnimazioneSplashMedia&, bool) { StampaNonCostruito("CopiaSfondoSplash"); }

void DisegnaTestoSplash(const std::string&) { StampaNonCostruito("DisegnaTestoSplash"); }
