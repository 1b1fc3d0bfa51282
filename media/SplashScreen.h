#pragma once
// Splash screens. Least form: not performed yet.
#include "media/SplashAnimation.h"
#include "media/SplashSyntax.h"

bool EseguiSplashScreen(bool& BreakEscape, bool& TestError);
