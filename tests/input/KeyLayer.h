#pragma once
// The key sender's platform calls caught: the driver's device calls on 98
// and Me, each synthetic input with the manual clock's time, the input
// block; a test may answer each input as the game would.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "core/SharedState.h"
#include "input/KeyMacros.h"
#include "platform/Clock.h"
#include "platform/KeyDriver.h"

namespace tastiprova {

struct Chiamata {
    std::string percorso;
    DWORD accesso = 0, condivisione = 0, creazione = 0, flags = 0;
};
struct ChiamataControllo {
    HANDLE driver = nullptr;
    DWORD codice = 0;
    std::string ingresso;
    DWORD lunghezzaUscita = 0;
    std::string uscita;
    HANDLE evento = nullptr;
    uint32_t tick = 0;
};
struct InputInviato {
    WORD vk = 0, scan = 0;
    DWORD flags = 0;
    uint32_t tick = 0;
};

inline const HANDLE DriverFinto = reinterpret_cast<HANDLE>(0x5150);
inline const HANDLE EventoFinto = reinterpret_cast<HANDLE>(0x5151);

inline std::vector<Chiamata> Aperture;
inline std::vector<std::pair<BOOL, BOOL>> Eventi;
inline std::vector<ChiamataControllo> Controlli;
inline std::vector<HANDLE> Chiusi;
inline std::vector<InputInviato> Inputs;
inline std::vector<BOOL> Blocchi;
inline HANDLE RispostaApri = DriverFinto;
inline HANDLE RispostaEvento = EventoFinto;
inline BOOL RispostaControllo = TRUE;
inline UINT RispostaInput = 1;
// The one call of SendInput (counted from 0) the system refuses; -1 none.
inline int InputRifiutato = -1;
inline int ChiamateInput = 0;
// The game's answer to each input that reached it.
inline std::function<void(const InputInviato&)> Gioco;

inline void Azzera() {
    Aperture.clear();
    Eventi.clear();
    Controlli.clear();
    Chiusi.clear();
    Inputs.clear();
    Blocchi.clear();
    RispostaApri = DriverFinto;
    RispostaEvento = EventoFinto;
    RispostaControllo = TRUE;
    RispostaInput = 1;
    InputRifiutato = -1;
    ChiamateInput = 0;
    Gioco = nullptr;
}

inline void Installa() {
    Azzera();
    DriverTasti.Apri = [](const char* p, DWORD a, DWORD c, DWORD cr, DWORD f) {
        Aperture.push_back({p, a, c, cr, f});
        return RispostaApri;
    };
    DriverTasti.CreaEvento = [](BOOL manuale, BOOL segnalato) {
        Eventi.emplace_back(manuale, segnalato);
        return RispostaEvento;
    };
    DriverTasti.Controllo = [](HANDLE d, DWORD codice, const void* in, DWORD n, void* out, DWORD nOut, HANDLE e) {
        Controlli.push_back({d, codice, std::string(static_cast<const char*>(in), n), nOut,
                             std::string(static_cast<const char*>(out)), e, ClockTick()});
        return RispostaControllo;
    };
    DriverTasti.Chiudi = [](HANDLE h) {
        Chiusi.push_back(h);
        return TRUE;
    };
    DriverTasti.InviaInput = [](const INPUT& in) -> UINT {
        if (ChiamateInput++ == InputRifiutato) return 0;
        if (in.type != INPUT_KEYBOARD || !RispostaInput) return 0;
        const InputInviato i{in.ki.wVk, in.ki.wScan, in.ki.dwFlags, ClockTick()};
        Inputs.push_back(i);
        if (Gioco) Gioco(i);
        return RispostaInput;
    };
    DriverTasti.BloccaInput = [](BOOL b) {
        Blocchi.push_back(b);
        return TRUE;
    };
}

// The calls caught, an empty macro cache and the NT family's table.
inline void PreparaTasti() {
    Installa();
    NumMacro = 0;
    MacroCache.clear();
    SistemaNT = true;
    InitSendKeys();
}

inline void Ripristina() {
    DriverTasti = ChiamateDriverTastiDiSistema();
    Gioco = nullptr;
}

// Scan codes of the inputs sent, key-ups with bit 0x80, extended ones
// behind 224, as a macro writes them.
inline std::vector<int> Codici() {
    std::vector<int> c;
    for (const InputInviato& i : Inputs) {
        if (i.flags & KEYEVENTF_EXTENDEDKEY) c.push_back(224);
        c.push_back(i.scan | ((i.flags & KEYEVENTF_KEYUP) ? 0x80 : 0));
    }
    return c;
}

}  // namespace tastiprova
