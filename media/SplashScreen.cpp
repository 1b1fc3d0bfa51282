#include "media/SplashScreen.h"

#include "core/MediaLog.h"

bool EseguiSplashScreen(bool& BreakEscape, bool& TestError) {
    StampaNonCostruito("EseguiSplashScreen");
    BreakEscape = false;
    TestError = true;
    return false;
}
