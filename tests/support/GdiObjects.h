#pragma once
// The GDI objects of this process, for tests that must leave none behind.
#include <windows.h>

#include <cstdint>

// Wine reports none through the system's count, but its handle table
// answers for a bare index.
inline int32_t OggettiGdi() {
    const DWORD n = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    if (n > 0) return static_cast<int32_t>(n);
    int32_t vivi = 0;
    for (uintptr_t i = 1; i < 0x10000; ++i)
        if (GetObjectType(reinterpret_cast<HGDIOBJ>(i)) != 0) ++vivi;
    return vivi;
}
