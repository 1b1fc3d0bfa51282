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
}

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
        tickManuale += ms;
        return;
    }
#ifdef _WIN32
    Sleep(ms);
#else
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
#endif
}

uint32_t ClockAttese() { return attese; }

void ClockUseManual(bool manual, uint32_t start) {
    manuale = manual;
    tickManuale = start;
}

bool ClockIsManual() { return manuale; }

void ClockAdvance(uint32_t ms) { tickManuale += ms; }
