#pragma once
// The layout of VideoList.bin, shared by the enumerator that writes it and
// the main program that reads it. Little-endian, no Windows types.
#include <cstdint>
#include <string>
#include <vector>

struct VideoMode {
    int32_t Width = 0;
    int32_t Height = 0;
    int32_t Bits = 0;
};

// One list per Direct3D device of a display driver.
struct VideoList {
    int32_t DD = 0;
    int32_t D3D = 0;
    int32_t Hardware = 0;
    std::vector<VideoMode> Modi;
};

constexpr size_t DimensioneVideoMode = 12;
constexpr size_t DimensioneTestaVideoList = 16;

// Bytes of a whole VideoList.bin.
std::string ScriviVideoListFile(const std::vector<VideoList>& liste);

// Reads a whole VideoList.bin. False with a reason in <errore> when the file
// is shorter than its counts say or a count is negative; <liste> then holds
// the lists read whole before the fault.
bool LeggiVideoListFile(const std::string& dati, std::vector<VideoList>& liste, std::string& errore);

// True when some list holds at least one mode: a list file worth keeping.
bool VideoListUsabile(const std::vector<VideoList>& liste);

// Pieces the enumerator writes as it goes.
std::string BytesInt32(int32_t valore);
std::string BytesVideoMode(const VideoMode& modo);

// The render-depth flag of a device description for a colour depth; 0 for a
// depth no device renders into.
uint32_t FlagProfonditaRender(int32_t bits);
