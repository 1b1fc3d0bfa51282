#pragma once
// The key-injection driver of Windows 98 and Me, Vantrek.vxd, and the
// synthetic input of the NT family: the calls the key sender makes. Tests
// put functions of their own here to watch the driver's road, which this
// platform cannot take, and the inputs and the keys held without touching
// the desktop.
#include <windows.h>

#include <cstdint>

struct ChiamateDriverTasti {
    HANDLE (*Apri)(const char* percorso, DWORD accesso, DWORD condivisione, DWORD creazione, DWORD flags);
    HANDLE (*CreaEvento)(BOOL resetManuale, BOOL segnalato);
    // DeviceIoControl with an overlapped record holding <evento>; no
    // bytes-returned pointer.
    BOOL (*Controllo)(HANDLE driver, DWORD codice, const void* ingresso, DWORD lunghezzaIngresso, void* uscita,
                      DWORD lunghezzaUscita, HANDLE evento);
    BOOL (*Chiudi)(HANDLE h);
    // SendInput of one keyboard input: the inputs sent.
    UINT (*InviaInput)(const INPUT& input);
    // BlockInput.
    BOOL (*BloccaInput)(BOOL blocca);
    // GetAsyncKeyState: whether a key the sender may have to release is down.
    SHORT (*StatoTasto)(int vk);
};

// Rides in the extra information of every key the program sends, so that
// the guardian's hook tells them from the player's.
constexpr ULONG_PTR MarcaTastiProgramma = 0x4C55444Fu;

extern ChiamateDriverTasti DriverTasti;
// The platform's own calls, for tests that put them back.
ChiamateDriverTasti ChiamateDriverTastiDiSistema();
