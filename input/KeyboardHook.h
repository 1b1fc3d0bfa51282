#pragma once
// Least form of the keyboard services the desktop code calls: the guardian's
// hook is only marked suspended, and pending key messages are dropped.

void SospendiHookTastiera();
void RipristinaHookTastiera();
void RimuoviMessaggiTastiera();
// Releases Return, F5 and F6 when they were left down.
void RilasciaTastiSpeciali();
// Removes the guardian's hook when StatoGioco says it is set.
void RimuoviHookTastiera();
