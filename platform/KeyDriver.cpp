#include "platform/KeyDriver.h"

namespace {

HANDLE ApriDiSistema(const char* percorso, DWORD accesso, DWORD condivisione, DWORD creazione, DWORD flags) {
    return CreateFileA(percorso, accesso, condivisione, nullptr, creazione, flags, nullptr);
}

HANDLE CreaEventoDiSistema(BOOL resetManuale, BOOL segnalato) {
    return CreateEventA(nullptr, resetManuale, segnalato, nullptr);
}

BOOL ControlloDiSistema(HANDLE driver, DWORD codice, const void* ingresso, DWORD lunghezzaIngresso, void* uscita,
                        DWORD lunghezzaUscita, HANDLE evento) {
    // The driver plays the events by itself: the record must outlive the call.
    static OVERLAPPED sovrapposto;
    sovrapposto = OVERLAPPED{};
    sovrapposto.hEvent = evento;
    return DeviceIoControl(driver, codice, const_cast<void*>(ingresso), lunghezzaIngresso, uscita, lunghezzaUscita,
                           nullptr, &sovrapposto);
}

BOOL ChiudiDiSistema(HANDLE h) { return CloseHandle(h); }

UINT InviaInputDiSistema(const INPUT& input) {
    INPUT copia = input;
    if (copia.type == INPUT_KEYBOARD) copia.ki.dwExtraInfo = MarcaTastiProgramma;
    return SendInput(1, &copia, sizeof copia);
}

BOOL BloccaInputDiSistema(BOOL blocca) { return BlockInput(blocca); }

SHORT StatoTastoDiSistema(int vk) { return GetAsyncKeyState(vk); }

}  // namespace

ChiamateDriverTasti ChiamateDriverTastiDiSistema() {
    return {.Apri = ApriDiSistema,
            .CreaEvento = CreaEventoDiSistema,
            .Controllo = ControlloDiSistema,
            .Chiudi = ChiudiDiSistema,
            .InviaInput = InviaInputDiSistema,
            .BloccaInput = BloccaInputDiSistema,
            .StatoTasto = StatoTastoDiSistema};
}

ChiamateDriverTasti DriverTasti = ChiamateDriverTastiDiSistema();
