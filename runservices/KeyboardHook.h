#pragma once
// The guardian's system-wide keyboard hook: a journal-record hook on the 9x
// family, a low-level keyboard hook on NT. Its procedures run on the main
// thread while it waits for messages, and only pass letters to the capture.
#include <cstdint>

// The installed hook; nullptr none.
extern void* HandleHookTastiera;
// The system paused the journal hook (between system-modal on and off).
extern bool JournalSospeso;

// Installs the guardian's hook; True when it is set.
bool InstallaHookTastiera();
// Removes it, also one only suspended: a watch lifted meanwhile must not
// come back with the restore.
void RimuoviHookTastiera();
// Around the media that send keys themselves, so that those are not taken
// for the player's.
void SospendiHookTastiera();
void RipristinaHookTastiera();

// The hook procedures, as the system calls them.
intptr_t __stdcall HookJournalProc(int codice, uintptr_t wParam, intptr_t lParam);
intptr_t __stdcall HookTastieraLLProc(int codice, uintptr_t wParam, intptr_t lParam);
