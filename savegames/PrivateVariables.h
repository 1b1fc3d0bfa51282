#pragma once
// Private variables kept in savegames. Least form: nothing is loaded yet.

void GetVariablesLoading();
