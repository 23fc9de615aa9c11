// The MP3 choices of the settings: ID3 flags and the bitrate preset.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

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

class Mp3EncoderSettings {
public:
    static constexpr int kDefaultPreset = 4;

    int32_t id3v1 = 1;
    int32_t id3v2 = 1;

    // Creates the parameter object with its initial triple (start-up), or drops it (shut-down).
    void CreateParams();
    void ReleaseParams();

    void SetPreset(int index);
    // The first row equal to the current triple (CBR rows compare VBR flag and bitrate only),
    // or -1.
    int GetPreset();
    // "%d bps-CBR" or "%d-%d bps-VBR" for the row (row 0 for an index outside the table).
    static std::string DescribePreset(int index);

    // The triple the encoder uses; the parameter object is created on first use.
    Mp3Preset& Current();

private:
    std::unique_ptr<Mp3EncoderParams> m_params;
};
