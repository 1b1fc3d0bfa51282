#include "savegames/PrivateVariables.h"

void GetVariablesLoading() {}
