#pragma once
// Where the MPEG audio layer III frames of an .mp3 file lie and what their
// headers say: enough to hand the frames to the platform's decoder. No
// Windows header: the media player builds on it.
#include <cstddef>
#include <cstdint>

struct FrameMp3 {
    // The first frame's offset and the end of the frames (before a trailing
    // ID3v1 tag).
    size_t Inizio = 0;
    size_t Fine = 0;
    // 1 for MPEG-1, 2 for MPEG-2, 25 for MPEG-2.5.
    int32_t Versione = 0;
    uint32_t Frequenza = 0;
    uint16_t Canali = 0;
    uint32_t Kbps = 0;
    // The first frame's length in bytes, without its padding byte.
    uint32_t LunghezzaFrame = 0;
};

// False when no layer III frame whose length leads to the end of the file
// or to another frame of the same stream is found near the start (after an
// ID3v2 tag).
bool CercaFrameMp3(const uint8_t* dati, size_t dimensione, FrameMp3& frame);
