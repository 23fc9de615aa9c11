// The ten-band graphic equaliser that filters every block on its way to the device: one peaking
// biquad per band, each an octave wide, plus a gain before them.
#pragma once

#include "player/Modules.h"

#include <cstdint>

constexpr int kEqualiserBands = 10;
// The centre of each band in Hz. Bands at or above 45% of the sample rate are left out.
constexpr int kEqualiserBandHz[kEqualiserBands] = {31, 62, 125, 250, 500, 1000, 2000, 4000, 8000, 16000};
// Gains are in tenths of a decibel and are clamped to this range.
constexpr int32_t kEqualiserMinTenthsDb = -240;
constexpr int32_t kEqualiserMaxTenthsDb = 120;

// The settings block that message 0x800C carries (a heap block of exactly this size, which the
// engine frees): 48 bytes, little-endian 32-bit fields.
struct EqualiserSettings {
    int32_t enabled;                       // 0: blocks pass untouched
    int32_t preampTenthsDb;                // gain applied before the bands
    int32_t bandTenthsDb[kEqualiserBands]; // in the order of kEqualiserBandHz
};
static_assert(sizeof(EqualiserSettings) == 48);
