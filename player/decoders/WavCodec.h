// The WAV decoder: plain PCM RIFF files, also ones that carry an ID3v2 tag in front.
#pragma once

#include "player/Modules.h"

#include <cstdint>

// Where a WAV file's PCM lies and what it is, as read from its headers.
struct WavLayout {
    uint32_t dataStart = 0;
    uint32_t dataSize = 0; // whole sample frames that are really in the file
    uint32_t sampleRate = 0;
    uint16_t channels = 0;
    uint16_t bitsPerSample = 0;
    uint32_t BlockAlign() const { return channels * (bitsPerSample / 8u); }
    uint32_t BytesPerSecond() const { return sampleRate * BlockAlign(); }
};

// Reads the headers of an open file; false when it is not a PCM WAV file we can play.
bool ReadWavLayout(HANDLE file, WavLayout& layout);
