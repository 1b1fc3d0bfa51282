#pragma once
// The guardian's keyboard hook. Least form: the hook is only marked
// suspended, and says once that it was not performed.

// Installs the guardian's hook; True when it is set.
bool InstallaHookTastiera();
void SospendiHookTastiera();
void RipristinaHookTastiera();
// Removes the guardian's hook when StatoGioco says it is set.
void RimuoviHookTastiera();
