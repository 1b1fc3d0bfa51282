// Test programs that link the game run's control connect the layers below it
// to it, as the program's start-up does.
#include "gamerun/Startup.h"

namespace {
[[maybe_unused]] const bool Collegati = (CollegaServiziRun(), true);
}  // namespace
