// The MP3 bitrate presets: the triple the MP3 encoder is configured with, and the table of the
// presets a user chooses from.
#pragma once

#include <cstdint>

struct Mp3Preset {
    int32_t vbr;        // 0 constant bitrate, 1 variable
    int32_t bitrate;    // kbit/s; the minimum for VBR
    int32_t maxBitrate; // kbit/s

    bool operator==(const Mp3Preset&) const = default;
};

// The encoder parameters: the preset table and the triple the MP3 encoder uses.
class Mp3EncoderParams {
public:
    static constexpr int kPresetCount = 21;
    static const Mp3Preset kPresets[kPresetCount];

    // Row index, or row 0 for an index outside the table.
    static const Mp3Preset& PresetRow(int index);

    Mp3Preset current{0, 160, 160};
};
