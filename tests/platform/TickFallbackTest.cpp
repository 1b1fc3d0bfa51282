#include "platform/TickFallback.h"

#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
extern "C" ULONGLONG(WINAPI* SlotGetTickCount64)() __asm__("__imp__GetTickCount64@0");
#endif

namespace {

struct CasoTick {
    uint64_t precedente;
    uint32_t ora;
    uint64_t atteso;
};

class AllargaTickTest : public testing::TestWithParam<CasoTick> {};

TEST_P(AllargaTickTest, CountsEachWrapOfTheShortTick) {
    EXPECT_EQ(AllargaTick(GetParam().precedente, GetParam().ora), GetParam().atteso);
}

INSTANTIATE_TEST_SUITE_P(
    Casi, AllargaTickTest,
    testing::Values(CasoTick{0, 0, 0}, CasoTick{0, 5000, 5000}, CasoTick{5000, 5000, 5000},
                    CasoTick{0xFFFFFF00u, 0x10, 0x100000010ull},
                    CasoTick{0x1FFFFFFF0ull, 0xFFFFFFF5u, 0x1FFFFFFF5ull},
                    CasoTick{0x1FFFFFFF0ull, 3, 0x200000003ull}));

#ifdef _WIN32
TEST(TickFallback, RuntimeImportSlotGivesTheSystemTick) {
    const DWORD prima = GetTickCount();
    const uint64_t tick = SlotGetTickCount64();
    const DWORD dopo = GetTickCount();
    EXPECT_LE(static_cast<DWORD>(static_cast<DWORD>(tick) - prima), static_cast<DWORD>(dopo - prima));
    EXPECT_GE(SlotGetTickCount64(), tick);
}
#endif

}  // namespace
