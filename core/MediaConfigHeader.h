#pragma once
// Least form of the loaded media configuration header: only the fields the
// run's screen and settings code reads. The configuration loader replaces it.
#include <cstdint>

struct MediaConfigHeader {
    int32_t HeaderOptions = 0;
    int32_t VideoMode = 0;  // 0 the game's own setting, 1 640x480, 2 800x600, 3 1024x768
};

constexpr int32_t OpzioneSharedMode = 0x1000;

extern MediaConfigHeader HeaderMcf;
