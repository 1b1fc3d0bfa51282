#pragma once
// Exec media. Least form: not performed yet.

// True when the program ran.
bool EseguiExecMedia();
