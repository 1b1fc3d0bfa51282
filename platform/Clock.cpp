#include "platform/Clock.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <chrono>
#include <thread>
#endif

namespace {
bool manuale = false;
uint32_t tickManuale = 0;
uint32_t attese = 0;
bool serviMessaggi = false;

#ifdef _WIN32
// Only what is sent to the thread runs: posted messages, timers and input
// stay queued for the loop that owns them.
void RispondiInviati() {
    MSG m;
    PeekMessageA(&m, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
}

// The wait of both: answers what is sent meanwhile. WAIT_OBJECT_0 when the
// handle was signalled, WAIT_TIMEOUT otherwise.
DWORD AttendiServendo(HANDLE h, DWORD ms) {
    const DWORD inizio = GetTickCount();
    for (;;) {
        RispondiInviati();
        DWORD resto = INFINITE;
        if (ms != INFINITE) {
            const DWORD trascorsi = GetTickCount() - inizio;
            if (trascorsi >= ms) return h && WaitForSingleObject(h, 0) == WAIT_OBJECT_0 ? WAIT_OBJECT_0 : WAIT_TIMEOUT;
            resto = ms - trascorsi;
        }
        const DWORD esito = MsgWaitForMultipleObjects(h ? 1 : 0, h ? &h : nullptr, FALSE, resto, QS_SENDMESSAGE);
        if (h && esito == WAIT_OBJECT_0) return WAIT_OBJECT_0;
        if (esito == WAIT_FAILED) return h ? WaitForSingleObject(h, resto) : (Sleep(resto), WAIT_TIMEOUT);
    }
}
#endif
}  // namespace

uint32_t ClockTick() {
    if (manuale) return tickManuale;
#ifdef _WIN32
    return GetTickCount();
#else
    using namespace std::chrono;
    return static_cast<uint32_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
#endif
}

void ClockSleep(uint32_t ms) {
    // A yield lets no time pass.
    if (ms > 0) ++attese;
    if (manuale) {
#ifdef _WIN32
        if (serviMessaggi) RispondiInviati();
#endif
        tickManuale += ms;
        return;
    }
#ifdef _WIN32
    if (serviMessaggi)
        AttendiServendo(nullptr, ms);
    else
        Sleep(ms);
#else
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
#endif
}

uint32_t ClockAttese() { return attese; }

void ClockServiMessaggi(bool servi) { serviMessaggi = servi; }

bool ClockServeMessaggi() { return serviMessaggi; }

#ifdef _WIN32
bool ClockAttendiOggetto(void* handle, uint32_t ms) {
    HANDLE h = static_cast<HANDLE>(handle);
    if (serviMessaggi) return AttendiServendo(h, ms) == WAIT_OBJECT_0;
    if (!h) {
        Sleep(ms);
        return false;
    }
    return WaitForSingleObject(h, ms) == WAIT_OBJECT_0;
}
#endif

void ClockUseManual(bool manual, uint32_t start) {
    manuale = manual;
    tickManuale = start;
}

bool ClockIsManual() { return manuale; }

void ClockAdvance(uint32_t ms) { tickManuale += ms; }
