#pragma once
// What a splash screen shares with the routines that draw for it: its
// parameters and its animations. The performer drives game operations and
// lives with them (input/SplashRun.h).
#include "media/SplashAnimation.h"
#include "media/SplashSyntax.h"
