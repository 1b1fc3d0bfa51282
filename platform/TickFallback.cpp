#include "platform/TickFallback.h"

// The static thread runtime imports GetTickCount64, which Windows XP's
// kernel lacks: the loader would refuse every program that imports it. This
// object fills the runtime's import slot itself, so the import is never
// made: the system's own function where it exists, otherwise the 32-bit
// tick widened by counting its wraps. It is linked as an object into every
// program, since a library member would lose to the import library.
#ifdef _WIN32
#include <windows.h>
#endif

uint64_t AllargaTick(uint64_t precedente, uint32_t ora) {
    uint64_t nuovo = (precedente & ~uint64_t{0xFFFFFFFF}) | ora;
    if (nuovo < precedente) nuovo += uint64_t{1} << 32;
    return nuovo;
}

#ifdef _WIN32
namespace {

using FunzioneTick = ULONGLONG(WINAPI*)();

ULONGLONG WINAPI TickAllargato() {
    static uint64_t ultimo = 0;
    uint64_t visto = __atomic_load_n(&ultimo, __ATOMIC_ACQUIRE);
    for (;;) {
        // Read after <visto>, so only a wrap can make it smaller.
        const uint64_t nuovo = AllargaTick(visto, GetTickCount());
        if (__atomic_compare_exchange_n(&ultimo, &visto, nuovo, false, __ATOMIC_ACQ_REL, __ATOMIC_ACQUIRE))
            return nuovo;
    }
}

ULONGLONG WINAPI TickPrimaChiamata();

}  // namespace

extern "C" {
extern FunzioneTick SlotGetTickCount64 __asm__("__imp__GetTickCount64@0");
FunzioneTick SlotGetTickCount64 = TickPrimaChiamata;
}

namespace {

ULONGLONG WINAPI TickPrimaChiamata() {
    FunzioneTick scelta = TickAllargato;
    if (HMODULE kernel = GetModuleHandleA("kernel32.dll")) {
        if (FARPROC sistema = GetProcAddress(kernel, "GetTickCount64"))
            scelta = reinterpret_cast<FunzioneTick>(reinterpret_cast<void*>(sistema));
    }
    __atomic_store_n(&SlotGetTickCount64, scelta, __ATOMIC_RELEASE);
    return scelta();
}

}  // namespace
#endif
